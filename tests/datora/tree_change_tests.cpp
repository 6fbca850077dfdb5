// The change applied to a real folder tree: every file at every depth, the
// read-only ones included; folders only get attributes; the tally counts
// what really changed.
#include <windows.h>

#include <gtest/gtest.h>

#include "datora/tree_change.h"
#include "support/files.h"
#include "test_paths.h"

using Zint_Std::CString;

namespace {

FILETIME Utc(const int& year, const int& month, const int& day, const int& hour)
{
    SYSTEMTIME time;
    ZeroMemory(&time, sizeof(time));
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(hour);
    FILETIME result;
    SystemTimeToFileTime(&time, &result);
    return result;
}

bool SameTime(const FILETIME& left, const FILETIME& right)
{
    return CompareFileTime(&left, &right) == 0;
}

WIN32_FILE_ATTRIBUTE_DATA Info(const CString& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    ZeroMemory(&data, sizeof(data));
    GetFileAttributesExA(path.data, GetFileExInfoStandard, &data);
    return data;
}

DWORD Attributes(const CString& path)
{
    return GetFileAttributesA(path.data);
}

// The attribute bits the dialog can set.
DWORD Settable(const DWORD& attributes)
{
    return attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                         FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
}

// Those bits of a file that can be told apart: Wine reports every file as
// archived, whatever was set.
DWORD FileBits(const CString& path)
{
    return Settable(GetFileAttributesA(path.data)) & ~FILE_ATTRIBUTE_ARCHIVE;
}

class TreeChange : public ::testing::Test {
protected:
    CString root;
    CString sub;
    CString a, b, c;
    FILETIME chosen;
    FILETIME old;

    void SetUp() override
    {
        // 3 files, one of them in the one sub-folder.
        root = MakeScratchFolder("datora-tree");
        sub = root + CString("sub");
        ASSERT_TRUE(CreateDirectoryA(sub.data, 0));
        a = root + CString("a.txt");
        b = root + CString("b.txt");
        c = sub + CString("\\c.txt");
        ASSERT_TRUE(WriteTextFile(a, "a"));
        ASSERT_TRUE(WriteTextFile(b, "b"));
        ASSERT_TRUE(WriteTextFile(c, "c"));
        chosen = Utc(2020, 5, 6, 7);
        old = Utc(2011, 1, 2, 3);
        SetTimes(sub, old);
        SetTimes(root, old);
    }

    void TearDown() override { RemoveScratchFolder(root); }

    static void SetTimes(const CString& path, const FILETIME& time)
    {
        HANDLE handle = CreateFileA(path.data, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, 0,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, 0);
        ASSERT_NE(INVALID_HANDLE_VALUE, handle);
        ASSERT_TRUE(SetFileTime(handle, &time, &time, &time));
        CloseHandle(handle);
    }

    ChangeRequest Request(const bool& setTime, const bool& setAttributes,
                          const DWORD& attributes, const bool& includeFolders)
    {
        ChangeRequest request;
        ZeroMemory(&request, sizeof(request));
        request.setTime = setTime;
        request.time = chosen;
        request.setAttributes = setAttributes;
        request.attributes = attributes;
        request.includeFolders = includeFolders;
        return request;
    }

    void ExpectChosenTimes(const CString& path)
    {
        WIN32_FILE_ATTRIBUTE_DATA data = Info(path);
        EXPECT_TRUE(SameTime(chosen, data.ftLastWriteTime)) << path.data;
        EXPECT_TRUE(SameTime(chosen, data.ftLastAccessTime)) << path.data;
    }
};

}  // namespace

TEST_F(TreeChange, EveryFileAtEveryDepthGetsTheChosenTimes)
{
    ChangeTally tally;
    ChangeTree(root, Request(true, false, 0, false), tally);
    EXPECT_EQ(3, tally.changed);
    EXPECT_EQ(0, tally.failed);
    ExpectChosenTimes(a);
    ExpectChosenTimes(b);
    ExpectChosenTimes(c);
}

TEST_F(TreeChange, WithFoldersTheSubFolderAndTheFolderItselfAreCounted)
{
    ChangeTally tally;
    ChangeTree(root, Request(true, true, FILE_ATTRIBUTE_NORMAL, true), tally);
    EXPECT_EQ(5, tally.changed);
    EXPECT_EQ(0, tally.failed);
    EXPECT_EQ(0, tally.skipped);
}

TEST_F(TreeChange, FoldersKeepTheirTimes)
{
    ChangeTally tally;
    ChangeTree(root, Request(true, true, FILE_ATTRIBUTE_HIDDEN, true), tally);
    EXPECT_EQ(5, tally.changed);
    EXPECT_TRUE(SameTime(old, Info(sub).ftLastWriteTime));
    EXPECT_TRUE(SameTime(old, Info(root).ftLastWriteTime));
    EXPECT_EQ(FILE_ATTRIBUTE_HIDDEN, Settable(Attributes(sub)));
    EXPECT_TRUE(Attributes(sub) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(FILE_ATTRIBUTE_HIDDEN, Settable(Attributes(root)));
    ExpectChosenTimes(c);
}

TEST_F(TreeChange, FoldersAreLeftOutWhenOnlyTimesAreAsked)
{
    ChangeTally tally;
    ChangeTree(root, Request(true, false, 0, true), tally);
    EXPECT_EQ(3, tally.changed);
    EXPECT_EQ(2, tally.skipped);
    EXPECT_EQ(0, tally.failed);
    EXPECT_TRUE(SameTime(old, Info(sub).ftLastWriteTime));
}

TEST_F(TreeChange, WithoutFoldersTheirAttributesStay)
{
    SetFileAttributesA(sub.data, FILE_ATTRIBUTE_HIDDEN);
    ChangeTally tally;
    ChangeTree(root, Request(false, true, FILE_ATTRIBUTE_READONLY, false), tally);
    EXPECT_EQ(3, tally.changed);
    EXPECT_EQ(FILE_ATTRIBUTE_HIDDEN, Settable(Attributes(sub)));
    EXPECT_EQ(FILE_ATTRIBUTE_READONLY, FileBits(c));
}

TEST_F(TreeChange, AReadOnlyFileGetsTheTimesAndStaysReadOnly)
{
    ASSERT_TRUE(SetFileAttributesA(b.data, FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesA(b.data, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    ASSERT_EQ(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, FileBits(b));
    // It cannot be opened for writing as it is.
    HANDLE handle = CreateFileA(b.data, GENERIC_READ | GENERIC_WRITE, 0, 0, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, 0);
    if (handle != INVALID_HANDLE_VALUE)
        CloseHandle(handle);
    ASSERT_EQ(INVALID_HANDLE_VALUE, handle);

    ChangeTally tally;
    ChangeTree(root, Request(true, false, 0, false), tally);
    EXPECT_EQ(3, tally.changed);
    EXPECT_EQ(0, tally.failed);
    ExpectChosenTimes(b);
    EXPECT_EQ(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, FileBits(b));
}

TEST_F(TreeChange, AReadOnlyFileGetsTheTimesAndTheNewAttributes)
{
    ASSERT_TRUE(SetFileAttributesA(a.data, FILE_ATTRIBUTE_READONLY));
    ChangeTally tally;
    ChangeTree(root, Request(true, true, FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_SYSTEM, false),
               tally);
    EXPECT_EQ(3, tally.changed);
    ExpectChosenTimes(a);
    EXPECT_EQ(FILE_ATTRIBUTE_SYSTEM, FileBits(a));
}

TEST_F(TreeChange, NormalClearsEveryAttribute)
{
    ASSERT_TRUE(SetFileAttributesA(a.data, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                               FILE_ATTRIBUTE_SYSTEM));
    ChangeTally tally;
    ChangeTree(root, Request(false, true, FILE_ATTRIBUTE_NORMAL, false), tally);
    EXPECT_EQ(3, tally.changed);
    EXPECT_EQ(0u, FileBits(a));
}

TEST_F(TreeChange, AFileInUseIsCountedAsFailed)
{
    HANDLE busy = CreateFileA(b.data, GENERIC_READ, 0, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, 0);
    ASSERT_NE(INVALID_HANDLE_VALUE, busy);
    ChangeTally tally;
    ChangeTree(root, Request(true, false, 0, false), tally);
    CloseHandle(busy);
    EXPECT_EQ(2, tally.changed);
    EXPECT_EQ(1, tally.failed);
    ExpectChosenTimes(a);
    ExpectChosenTimes(c);
    EXPECT_FALSE(SameTime(chosen, Info(b).ftLastWriteTime));
}

TEST_F(TreeChange, AJapanesePathOfMoreThanMaxPathBytesIsChanged)
{
    CString folder = root;
    CString file;
    for (int i = 0; i < 60; i++) {
        folder += "表";
        file += "あ";
    }
    file = folder + "\\" + file + ".txt";
    ASSERT_GE(file.GetLength(), MAX_PATH);
    ASSERT_TRUE(CreateDirectoryA(folder.data, 0) && WriteTextFile(file, "x"));
    ChangeTally tally;
    ChangeTree(root, Request(true, false, 0, false), tally);
    EXPECT_EQ(4, tally.changed);
    EXPECT_EQ(0, tally.refused);
    ExpectChosenTimes(file);
}

TEST_F(TreeChange, AFolderThatCannotBeReadIsReported)
{
    const CString unixSub = WineUnixPath(sub);
    ASSERT_TRUE(RunUnixShell(("chmod 000 '" + unixSub + "'").data));
    ChangeTally tally;
    ChangeTree(root, Request(true, false, 0, false), tally);
    EXPECT_TRUE(RunUnixShell(("chmod 755 '" + unixSub + "'").data));
    EXPECT_EQ(2, tally.changed);
    EXPECT_EQ(1, tally.unlisted);
    CString report;
    EXPECT_FALSE(FormatReport(tally, report));
    EXPECT_STREQ("変更できなかったものがあります.\n変更した数：2\n中身を読み取れなかったフォルダの数：1",
                 report.data);
}

TEST_F(TreeChange, AMissingFolderChangesNothing)
{
    ChangeTally tally;
    ChangeTree(root + CString("missing\\"), Request(true, true, FILE_ATTRIBUTE_NORMAL, false),
               tally);
    EXPECT_EQ(0, tally.changed);
    EXPECT_EQ(0, tally.failed);
    // Asked to change the folder itself too, that is one failure.
    ChangeTree(root + CString("missing\\"), Request(true, true, FILE_ATTRIBUTE_NORMAL, true),
               tally);
    EXPECT_EQ(0, tally.changed);
    EXPECT_EQ(1, tally.failed);
}

TEST(ChosenAttributes, EachBoxAddsItsBitToNormal)
{
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL), ChosenAttributes(false, false, false, false));
    EXPECT_EQ(0x81u, ChosenAttributes(true, false, false, false));
    EXPECT_EQ(0x82u, ChosenAttributes(false, true, false, false));
    EXPECT_EQ(0xA0u, ChosenAttributes(false, false, true, false));
    EXPECT_EQ(0x84u, ChosenAttributes(false, false, false, true));
    EXPECT_EQ(0xA7u, ChosenAttributes(true, true, true, true));
}

TEST(Report, AllChangedKeepsTheUsualText)
{
    ChangeTally tally = {5, 0, 2, 0, 0, 0};
    CString text;
    EXPECT_TRUE(FormatReport(tally, text));
    EXPECT_STREQ("変更は正常に終了しました.\n変更した数：5", text.data);
    // Links left alone are no failure, but they are counted.
    tally.links = 3;
    EXPECT_TRUE(FormatReport(tally, text));
    EXPECT_STREQ("変更は正常に終了しました.\n変更した数：5\nリンクのため変更しなかった数：3",
                 text.data);
}

TEST(Report, FailuresAreReportedWithBothNumbers)
{
    ChangeTally tally = {7, 2, 0, 0, 0, 0};
    CString text;
    EXPECT_FALSE(FormatReport(tally, text));
    EXPECT_STREQ("変更できなかったものがあります.\n変更した数：7\n変更できなかった数：2", text.data);
}
