// The path rules of setup: folders compared as whole components, and the
// recorded shortcut paths it may delete.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include "install_folder_check.h"
#include "setup_driver.h"
#include "setup_paths.h"

using Zint_Std::CString;

TEST(SetupPathsTest, FoldersCompareByWholeComponents)
{
    EXPECT_TRUE(SameResolvedFolder("C:\\work\\x\\..\\quelt_", "c:\\WORK\\QUELT_\\"));
    EXPECT_FALSE(FoldersOverlap("C:\\work\\quelt_2\\", "C:\\work\\quelt_\\"));
    EXPECT_TRUE(FoldersOverlap("C:\\work\\quelt_\\inside\\", "C:\\work\\quelt_\\"));
    EXPECT_TRUE(FoldersOverlap("C:\\work\\", "C:\\work\\quelt_\\"));
    // A trail byte in the letter range is no letter: ア (83 41) is not ヂ (83 61).
    EXPECT_FALSE(FoldersOverlap("C:\\ソフト\\ア\\", "C:\\ソフト\\ヂ\\"));
    EXPECT_TRUE(FoldersOverlap("", "C:\\work\\"));
}

TEST(SetupPathsTest, UninstallCommandNamesTheSetupOfItsFolder)
{
    const CString folder("C:\\Program Files\\quelt_\\");
    EXPECT_TRUE(UninstallCommandNamesFolder("\"C:\\Program Files\\quelt_\\setup.exe\" -U", folder));
    EXPECT_TRUE(UninstallCommandNamesFolder("c:\\program files\\QUELT_\\SETUP.EXE -U", folder));
    EXPECT_FALSE(UninstallCommandNamesFolder("\"C:\\Program Files\\quelt_2\\setup.exe\" -U", folder));
    EXPECT_FALSE(UninstallCommandNamesFolder("\"C:\\Program Files\\quelt_\\other.exe\" -U", folder));
    EXPECT_FALSE(UninstallCommandNamesFolder("\"C:\\Program Files\\quelt_\\setup.exe -U", folder));
    EXPECT_FALSE(UninstallCommandNamesFolder("C:\\Program Files\\quelt_\\setup.exe", folder));
}

TEST(SetupPathsTest, OnlyTheSuitesOwnShortcutsMayBeDeleted)
{
    const CString programs = SpecialFolder(CSIDL_PROGRAMS);
    const CString common = SpecialFolder(CSIDL_COMMON_PROGRAMS);
    const CString startup = SpecialFolder(CSIDL_STARTUP);
    EXPECT_STREQ((common + "Quelt\\").data, OwnMenuFolder(common + "Quelt\\").data);
    EXPECT_TRUE(OwnMenuFolder(CString("Quelt\\")).IsEmpty());
    EXPECT_TRUE(OwnMenuFolder(programs + "Other\\").IsEmpty());
    EXPECT_TRUE(OwnMenuFolder(programs + "..\\..\\Quelt\\").IsEmpty());
    EXPECT_STREQ((startup + "Quelt.lnk").data, OwnStartupLink(startup + "Quelt.lnk").data);
    EXPECT_TRUE(OwnStartupLink(CString("Quelt.lnk")).IsEmpty());
    EXPECT_TRUE(OwnStartupLink(startup + "Other.lnk").IsEmpty());
    EXPECT_TRUE(OwnStartupLink(programs + "Quelt.lnk").IsEmpty());
}

TEST(SetupPathsTest, InstallFolderChecks)
{
    const struct {
        const char* typed;
        InstallFolderVerdict verdict;
        const char* folder;
    } kCases[] = {
        {" \tC:\\Apps\\quelt_ \t", kFolderUsable, "C:\\Apps\\quelt_\\"},
        {"C:\\ソフト\\表", kFolderUsable, "C:\\ソフト\\表\\"},  // trail byte 0x5C
        {"\\\\server\\share\\folder", kFolderUsable, "\\\\server\\share\\folder\\"},
        {" \t ", kFolderEmpty, ""},
        {"quelt", kFolderNotAbsolute, ""},
        {"D:quelt", kFolderNotAbsolute, ""},
        {"\\quelt", kFolderNotAbsolute, ""},
        {"C:\\", kFolderIsRoot, ""},
        {"C:\\quelt_\\..", kFolderIsRoot, ""},
        {"\\\\server\\share", kFolderIsRoot, ""},
    };
    for (size_t i = 0; i < sizeof(kCases) / sizeof(kCases[0]); ++i) {
        CString folder;
        EXPECT_EQ(kCases[i].verdict, CheckInstallFolder(kCases[i].typed, folder)) << i;
        EXPECT_STREQ(kCases[i].folder, folder.Text()) << i;
        EXPECT_EQ(kCases[i].verdict == kFolderUsable, !InstallFolderRefusal(kCases[i].verdict));
    }
}
