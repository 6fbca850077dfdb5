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

CString ShortForm(const CString& path)
{
    char spelled[MAX_PATH] = {0};
    return GetShortPathNameA(path.data, spelled, sizeof(spelled)) ? CString(spelled) : path;
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
        {"ordinary", true},
        {"link", true},
        {"windows", false},
        {"profile", false},
        {"users", false},
        {"program", false},
        {"above program", false},
        {"root", false},
        {"missing", false},
    };
    const CString starts[] = {
        hostile.tree,
        hostile.root + "temp-link\\",
        hostile.root + "windows-link\\",
        hostile.root + "profile-link",
        Parent(profile),
        program,
        Parent(program),
        CString("C:\\"),
        hostile.root + "gone\\",
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

TEST_F(PurgelHostileTest, ShortNamesNameTheSameFolders)
{
    // Stand-ins with long names: without the final-path call (XP) only the
    // names tell "C:\\DOCUME~1\\taro" from "C:\\Documents and Settings\\taro".
    static const struct {
        const char* relative;
        bool accepted;
    } kStarts[] = {
        {"Windows folder\\", false},
        {"Documents and Settings\\taro\\", false},
        {"Documents and Settings\\", false},
        {"Program Files\\quelt_\\omake\\", false},
        {"Program Files\\", false},
        {"Temporary files\\", true},
    };
    for (size_t i = 0; i < sizeof(kStarts) / sizeof(kStarts[0]); i++)
        ASSERT_TRUE(Zint_Std::MakeFolderPath(hostile.root + kStarts[i].relative));
    const CString windows = hostile.root + kStarts[0].relative;
    const CString profile = hostile.root + kStarts[1].relative;
    const CString program = hostile.root + kStarts[3].relative;
    const ProtectedFolders spelled[2] = {
        {windows, profile, program}, {ShortForm(windows), ShortForm(profile), ShortForm(program)}};
    ASSERT_STRNE(spelled[0].profile.data, spelled[1].profile.data) << "no short names";
    for (int use = kFinalPathWhereKnown; use <= kNamesOnly; use++) {
        for (size_t i = 0; i < sizeof(kStarts) / sizeof(kStarts[0]); i++) {
            const CString path = hostile.root + kStarts[i].relative;
            // A short path against long folders, a long one against short.
            for (int s = 0; s < 2; s++) {
                const CString start = s == 0 ? ShortForm(path) : path;
                CString resolved;
                EXPECT_EQ(kStarts[i].accepted, AcceptStartFolder(start, spelled[s],
                                                                 FinalPathUse(use), resolved))
                    << start.data << (use == kNamesOnly ? " by names" : " by final path");
                EXPECT_TRUE(!kStarts[i].accepted || resolved.EqualsNoCase(path)) << resolved.data;
            }
        }
    }
}
