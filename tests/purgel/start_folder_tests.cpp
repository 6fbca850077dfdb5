// Purgel's deletion and its start-folder guard against trees and folders
// that lead elsewhere: links, loops, names the code page cannot give, and
// start folders that are links themselves.
#include "clean_steps.h"
#include "start_folder.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "support/files.h"
#include "test_paths.h"

using Zint_Std::CString;

namespace {

class PurgelHostileTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(hostile.Build("purgel-hostile")) << hostile.failure; }
    void TearDown() override { hostile.Remove(); }

    bool Exists(const CString& path) const
    {
        return GetFileAttributesA(path.data) != INVALID_FILE_ATTRIBUTES;
    }

    CHostileTree hostile;
};

CString Parent(const CString& folder)
{
    CString parent(folder);
    parent.Delete(parent.GetLength() - 1, 1);
    Zint_Std::CutAfterLastBackslash(parent.data);
    return parent;
}

}  // namespace

TEST_F(PurgelHostileTest, ContentsGoButNothingOutsideAndNoLinkTarget)
{
    int files = 0;
    int folders = 0;
    DeleteFolderContents(hostile.tree, files, folders);
    std::string why;
    EXPECT_TRUE(hostile.OutsideIsIntact(why)) << why;
    EXPECT_TRUE(hostile.UnusableNamesStay(why)) << why;
    // a.txt, sub\b.txt and 表\c.txt; the link to a file stays.
    EXPECT_EQ(3, files);
    EXPECT_TRUE(Exists(hostile.tree + "filelink"));
    // 表, the folder links that could be removed as links, and sub once the
    // link in it is gone.
    int linksGone = 0;
    const char* const links[] = {"link", "loop", "sub\\loop"};
    for (size_t i = 0; i < sizeof(links) / sizeof(links[0]); i++) {
        if (!Exists(hostile.tree + links[i]))
            linksGone++;
    }
    EXPECT_EQ(1 + linksGone + (Exists(hostile.tree + "sub") ? 0 : 1), folders);
    EXPECT_FALSE(Exists(hostile.tree + "sub\\b.txt"));
    EXPECT_FALSE(Exists(hostile.tree + "表"));
    EXPECT_TRUE(Exists(hostile.tree));
}

TEST_F(PurgelHostileTest, StartFoldersAreJudgedByWhereTheyReallyAre)
{
    const CString real = hostile.root + "ram\\";
    ASSERT_TRUE(CreateDirectoryA(real.data, 0));
    ASSERT_TRUE(MakeUnixLink(hostile.root + "temp-link", real));
    char windows[MAX_PATH] = {0};
    GetWindowsDirectoryA(windows, sizeof(windows));
    ASSERT_TRUE(MakeUnixLink(hostile.root + "windows-link", CString(windows)));
    CString profile;
    ASSERT_TRUE(Zint_Std::GetSpecialFolderPath(profile, CSIDL_PROFILE));
    ASSERT_TRUE(MakeUnixLink(hostile.root + "profile-link", profile));
    const CString program = Zint_Std::ModuleFolder(0);

    static const struct {
        const char* name;
        bool accepted;
    } kStarts[] = {
        {"ordinary", true},  {"link", true},      {"windows", false}, {"profile", false},
        {"users", false},    {"program", false},  {"above program", false},
        {"root", false},     {"missing", false},
    };
    const CString starts[] = {
        hostile.tree,          hostile.root + "temp-link\\", hostile.root + "windows-link\\",
        hostile.root + "profile-link", Parent(profile), program, Parent(program),
        CString("C:\\"),       hostile.root + "gone\\",
    };
    for (size_t i = 0; i < sizeof(kStarts) / sizeof(kStarts[0]); i++) {
        CString resolved;
        EXPECT_EQ(kStarts[i].accepted, AcceptStartFolder(starts[i], resolved))
            << kStarts[i].name << ": " << starts[i].data << " resolved as " << resolved.data;
    }
    // A link to an ordinary folder is cleaned as that folder.
    CString resolved;
    ASSERT_TRUE(AcceptStartFolder(hostile.root + "temp-link", resolved));
    CString realPath;
    ASSERT_TRUE(ResolveStartFolder(real, realPath));
    EXPECT_TRUE(resolved.EqualsNoCase(realPath)) << resolved.data;
}
