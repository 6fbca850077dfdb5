// Purgel's start-folder guard against start folders that lead elsewhere.
// Its deletion over a tree of links, loops and names the code page cannot
// give is checked end to end (check_purgel_run.sh).
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
