#include "clean_steps.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "purgel_app.h"
#include "support/files.h"
#include "test_paths.h"

using Zint_Std::CString;

namespace {

class CleanStepsTest : public testing::Test {
protected:
    void SetUp() override { root = MakeScratchFolder("purgel-clean"); }
    void TearDown() override
    {
        for (int i = 0; i < heldCount; i++)
            CloseHandle(held[i]);
        RemoveScratchFolder(root);
    }

    CString At(const char* rest) const { return root + CString(rest); }
    bool Exists(const char* rest) const { return Zint_Std::PathExists(At(rest).data); }
    DWORD Attributes(const char* rest) const { return GetFileAttributesA(At(rest).data); }

    void MakeFolder(const char* rest) { ASSERT_TRUE(CreateDirectoryA(At(rest).data, 0)); }
    void MakeFile(const char* rest, const char* text, const DWORD& attributes = 0)
    {
        ASSERT_TRUE(WriteTextFile(At(rest), text));
        if (attributes) {
            ASSERT_TRUE(SetFileAttributesA(At(rest).data, attributes));
        }
    }
    // Opened without sharing, as a running program keeps its file, or
    // sharing only the deletion.
    void Hold(const char* rest, const DWORD& sharing = 0)
    {
        HANDLE file = CreateFileA(At(rest).data, GENERIC_READ, sharing, 0, OPEN_EXISTING, 0, 0);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        held[heldCount++] = file;
    }

    CString root;
    HANDLE held[4];
    int heldCount = 0;
};

}  // namespace

TEST_F(CleanStepsTest, FolderContentsGoDeepestFirstAndTheFolderStays)
{
    MakeFile("a.txt", "a");
    MakeFile("b.log", "read-only", FILE_ATTRIBUTE_READONLY);
    MakeFile("c.dat", "hidden system", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    MakeFolder("sub1");
    MakeFile("sub1\\x.txt", "x");
    MakeFolder("sub1\\sub2");
    MakeFile("sub1\\sub2\\y.txt", "y", FILE_ATTRIBUTE_READONLY);
    MakeFolder("sub1\\sub2\\sub3");
    MakeFolder("空の\\");
    MakeFile("空の\\表.txt", "sjis");

    int files = 0;
    int folders = 0;
    DeleteFolderContents(root, files, folders);
    EXPECT_EQ(6, files);
    EXPECT_EQ(4, folders);
    EXPECT_TRUE(Zint_Std::FolderExists(root));
    EXPECT_FALSE(Exists("a.txt"));
    EXPECT_FALSE(Exists("sub1"));
    EXPECT_FALSE(Exists("空の"));
}

TEST_F(CleanStepsTest, FolderContentsAddToTheCounts)
{
    MakeFile("a.txt", "a");
    int files = 10;
    int folders = 20;
    DeleteFolderContents(root, files, folders);
    EXPECT_EQ(11, files);
    EXPECT_EQ(20, folders);
}

TEST_F(CleanStepsTest, FileInUseStaysWithItsFoldersAndAttributes)
{
    MakeFolder("busy");
    MakeFolder("busy\\inner");
    MakeFile("busy\\inner\\held.dat", "in use", FILE_ATTRIBUTE_HIDDEN);
    MakeFile("busy\\other.txt", "free");
    ASSERT_TRUE(SetFileAttributesA(At("busy").data, FILE_ATTRIBUTE_HIDDEN));
    Hold("busy\\inner\\held.dat");

    int files = 0;
    int folders = 0;
    DeleteFolderContents(root, files, folders);
    EXPECT_EQ(1, files);
    EXPECT_EQ(0, folders);
    EXPECT_TRUE(Exists("busy\\inner\\held.dat"));
    EXPECT_FALSE(Exists("busy\\other.txt"));
    // What stays keeps its attributes.
    EXPECT_TRUE(Attributes("busy\\inner\\held.dat") & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(Attributes("busy") & FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(CleanStepsTest, EmptyFolderCountsNothing)
{
    int files = 0;
    int folders = 0;
    DeleteFolderContents(root, files, folders);
    EXPECT_EQ(0, files);
    EXPECT_EQ(0, folders);
    EXPECT_TRUE(Zint_Std::FolderExists(root));
}

TEST_F(CleanStepsTest, MissingFolderCountsNothing)
{
    int files = 0;
    int folders = 0;
    DeleteFolderContents(At("gone\\"), files, folders);
    EXPECT_EQ(0, files);
    EXPECT_EQ(0, folders);
}

TEST_F(CleanStepsTest, OnlyEmptyTmpFilesOfTheFolderItselfGo)
{
    MakeFile("empty.tmp", "");
    MakeFile("full.tmp", "data");
    MakeFile("hidden.tmp", "", FILE_ATTRIBUTE_HIDDEN);
    MakeFile("ro-empty.tmp", "", FILE_ATTRIBUTE_READONLY);
    MakeFile("other.txt", "");
    MakeFolder("sub");
    MakeFile("sub\\nested.tmp", "");
    // Their short names (KEEP~1.TMP) match "*.tmp", their own names do not.
    MakeFile("keep.tmpl", "");
    MakeFile("x.tmp1", "");
    MakeFile("UPPER.TMP", "");

    EXPECT_EQ(4, DeleteEmptyTmpFiles(root));
    EXPECT_FALSE(Exists("UPPER.TMP"));
    EXPECT_TRUE(Exists("keep.tmpl"));
    EXPECT_TRUE(Exists("x.tmp1"));
    EXPECT_FALSE(Exists("empty.tmp"));
    EXPECT_FALSE(Exists("hidden.tmp"));
    EXPECT_FALSE(Exists("ro-empty.tmp"));
    EXPECT_TRUE(Exists("full.tmp"));
    EXPECT_TRUE(Exists("other.txt"));
    EXPECT_TRUE(Exists("sub\\nested.tmp"));
}

TEST_F(CleanStepsTest, TmpFileThatCannotBeOpenedIsKeptUnlessEmpty)
{
    MakeFile("ro-full.tmp", "keep me", FILE_ATTRIBUTE_READONLY);
    MakeFile("open-full.tmp", "keep me too");
    MakeFile("open-empty.tmp", "");
    Hold("open-full.tmp");
    Hold("open-empty.tmp");

    EXPECT_EQ(0, DeleteEmptyTmpFiles(root));
    EXPECT_TRUE(Exists("ro-full.tmp"));
    EXPECT_TRUE(Attributes("ro-full.tmp") & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(Exists("open-full.tmp"));
    EXPECT_TRUE(Exists("open-empty.tmp"));
}

TEST_F(CleanStepsTest, TmpFileInUseThatAllowsDeletionIsKeptUnlessEmpty)
{
    MakeFile("shared-full.tmp", "a program's data");
    Hold("shared-full.tmp", FILE_SHARE_DELETE);
    // It cannot be opened exclusively, so its size reads 0.
    ASSERT_EQ(0u, Zint_Std::GetFileSizeOf(At("shared-full.tmp")));
    EXPECT_EQ(0, DeleteEmptyTmpFiles(root));
    CloseHandle(held[--heldCount]);
    EXPECT_TRUE(Exists("shared-full.tmp"));
}

TEST_F(CleanStepsTest, EmptinessIsTheSizeOnTheDisk)
{
    MakeFile("empty.tmp", "");
    MakeFile("full.tmp", "x");
    MakeFile("ro-full.tmp", "x", FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(IsEmptyFile(At("empty.tmp")));
    EXPECT_FALSE(IsEmptyFile(At("full.tmp")));
    EXPECT_FALSE(IsEmptyFile(At("ro-full.tmp")));
    EXPECT_FALSE(IsEmptyFile(At("missing.tmp")));
}

TEST_F(CleanStepsTest, TempFolderStepEmptiesTheProcessTempFolder)
{
    char saved[MAX_PATH] = {0};
    GetEnvironmentVariableA("TEMP", saved, sizeof(saved));
    MakeFolder("temp");
    MakeFile("temp\\a.txt", "a");
    MakeFolder("temp\\sub");
    MakeFile("temp\\sub\\b.txt", "b", FILE_ATTRIBUTE_READONLY);
    // Removing a link may reach what it points at when that is empty.
    MakeFolder("empty-outside");
    ASSERT_TRUE(MakeUnixLink(At("temp\\link"), At("empty-outside")));
    ASSERT_TRUE(SetEnvironmentVariableA("TEMP", At("temp\\").data));
    ASSERT_TRUE(SetEnvironmentVariableA("TMP", At("temp\\").data));
    char seen[MAX_PATH] = {0};
    GetTempPathA(sizeof(seen), seen);
    int files = -1;
    int folders = -1;
    if (CString(seen).EqualsNoCase(At("temp\\")))
        CleanTempFolder(files, folders);
    SetEnvironmentVariableA("TEMP", saved);
    SetEnvironmentVariableA("TMP", saved);
    ASSERT_STREQ(At("temp\\").data, seen) << "TEMP did not reach GetTempPathA";
    EXPECT_EQ(2, files);
    // The link goes only where the system removes it as a link.
    EXPECT_EQ(Exists("temp\\link") ? 1 : 2, folders);
    EXPECT_TRUE(Exists("temp"));
    EXPECT_FALSE(Exists("temp\\sub"));
    EXPECT_TRUE(Zint_Std::FolderExists(At("empty-outside")));
}

TEST_F(CleanStepsTest, UpdateFolderStepCountsNothingWithoutTheFolder)
{
    char windows[MAX_PATH] = {0};
    GetWindowsDirectoryA(windows, sizeof(windows));
    CString update;
    ASSERT_TRUE(UpdateFolderOf(windows, update));
    ASSERT_FALSE(Zint_Std::PathExists((update + CString("*")).data))
        << "the test prefix has an update folder: " << update.data;
    int files = -1;
    int folders = -1;
    CleanUpdateFolder(files, folders);
    EXPECT_EQ(0, files);
    EXPECT_EQ(0, folders);
}

TEST(CleanGuards, DriveRootsWindowsAndProfileAreProtected)
{
    CString windows("C:\\windows");
    CString profile("C:\\users\\someone\\");
    EXPECT_TRUE(IsProtectedFolder(CString("C:\\"), windows, profile));
    EXPECT_TRUE(IsProtectedFolder(CString("D:"), windows, profile));
    EXPECT_TRUE(IsProtectedFolder(CString("\\"), windows, profile));
    EXPECT_TRUE(IsProtectedFolder(CString("\\\\server\\share\\"), windows, profile));
    EXPECT_TRUE(IsProtectedFolder(CString("\\\\server\\share"), windows, profile));
    EXPECT_TRUE(IsProtectedFolder(CString("C:\\WINDOWS\\"), windows, profile));
    EXPECT_TRUE(IsProtectedFolder(CString("c:\\Users\\Someone"), windows, profile));
    EXPECT_FALSE(IsProtectedFolder(CString("C:\\windows\\temp\\"), windows, profile));
    EXPECT_FALSE(IsProtectedFolder(CString("C:\\users\\someone\\Temp\\"), windows, profile));
    EXPECT_FALSE(IsProtectedFolder(CString("\\\\server\\share\\temp\\"), windows, profile));
    EXPECT_FALSE(IsProtectedFolder(CString("C:\\temp\\"), CString(), CString()));
}

TEST(CleanGuards, UpdateFolderIsAtTheRootOfTheWindowsDrive)
{
    CString folder;
    EXPECT_TRUE(UpdateFolderOf("C:\\windows", folder));
    EXPECT_STREQ("C:\\WUTemp\\", folder.data);
    EXPECT_TRUE(UpdateFolderOf("D:\\WINNT\\", folder));
    EXPECT_STREQ("D:\\WUTemp\\", folder.data);
    EXPECT_FALSE(UpdateFolderOf("\\\\server\\share\\windows", folder));
    EXPECT_FALSE(UpdateFolderOf("", folder));
    EXPECT_TRUE(folder.IsEmpty());
}

TEST(MediaPlayerList, TheRecentFileListKeyIsDeleted)
{
    HKEY key = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kMediaPlayerListKey, 0, 0, 0,
                                             KEY_ALL_ACCESS, 0, &key, 0));
    RegSetValueExA(key, "File0", 0, REG_SZ, reinterpret_cast<const BYTE*>("C:\\a.wma"), 9);
    RegCloseKey(key);
    DeleteMediaPlayerList();
    key = 0;
    EXPECT_NE(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_CURRENT_USER, kMediaPlayerListKey, 0, KEY_READ, &key));
    if (key)
        RegCloseKey(key);
    // A second time there is nothing to delete, and nothing happens.
    DeleteMediaPlayerList();
}

TEST(CleanCounts, TotalsAddTheRightSteps)
{
    CleanCounts counts;
    ClearCounts(counts);
    EXPECT_EQ(0, TotalFiles(counts));
    EXPECT_EQ(0, TotalFolders(counts));
    counts.windowsTmpFiles = 1;
    counts.tempFiles = 20;
    counts.tempFolders = 300;
    counts.recentFiles = 4000;
    counts.recentFolders = 50000;
    counts.updateFiles = 600000;
    counts.updateFolders = 7000000;
    EXPECT_EQ(604021, TotalFiles(counts));
    EXPECT_EQ(7050300, TotalFolders(counts));
}

TEST(ResultText, NumbersAreAtLeastThreeWideAndRightAligned)
{
    CString text;
    FormatResultText(text, 5, 12);
    EXPECT_STREQ("[クリーン終了]\n 削除したファイル数 :   5 \n 削除したフォルダ数 :  12 ", text.data);
    FormatResultText(text, 1234, 0);
    EXPECT_STREQ("[クリーン終了]\n 削除したファイル数 : 1234 \n 削除したフォルダ数 :   0 ",
                 text.data);
}
