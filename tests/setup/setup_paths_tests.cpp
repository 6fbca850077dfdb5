// The path rules of setup on the real file system: folders compared as
// whole components, and the recorded shortcut paths it may delete.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include "setup_driver.h"
#include "setup_paths.h"

using Zint_Std::CString;

TEST(SetupPathsTest, FoldersCompareByWholeComponents)
{
    EXPECT_TRUE(SameFolder("C:\\Work\\quelt_", "c:\\work\\QUELT_\\"));
    EXPECT_TRUE(SameFolder("C:\\work\\x\\..\\quelt_\\", "C:\\work\\quelt_\\"));
    EXPECT_FALSE(FoldersOverlap("C:\\work\\quelt_2\\", "C:\\work\\quelt_\\"));
    EXPECT_FALSE(FoldersOverlap("C:\\work\\quelt\\", "C:\\work\\quelt_\\"));
    EXPECT_TRUE(FoldersOverlap("C:\\work\\quelt_\\inside\\", "C:\\work\\quelt_\\"));
    EXPECT_TRUE(FoldersOverlap("C:\\work\\", "C:\\work\\quelt_\\"));
    EXPECT_TRUE(FolderIsOrLiesIn("C:\\work\\quelt_\\a\\", "C:\\work\\"));
    EXPECT_FALSE(FolderIsOrLiesIn("C:\\work\\", "C:\\work\\quelt_\\"));
    // Trail bytes in the letter range are no letters: ア (83 41) is not ヂ
    // (83 61).
    EXPECT_FALSE(SameFolder("C:\\ア\\", "C:\\ヂ\\"));
    EXPECT_TRUE(SameFolder("C:\\ソフト\\ア\\", "C:\\ソフト\\ア"));
    EXPECT_FALSE(FoldersOverlap("C:\\ソフト\\ア\\", "C:\\ソフト\\ヂ\\"));
    // Doubt never passes for a separate folder.
    EXPECT_TRUE(FoldersOverlap("", "C:\\work\\"));
}

TEST(SetupPathsTest, OnlyTheSuitesOwnShortcutsMayBeDeleted)
{
    const CString programs = SpecialFolder(CSIDL_PROGRAMS);
    const CString common = SpecialFolder(CSIDL_COMMON_PROGRAMS);
    ASSERT_FALSE(programs.IsEmpty());
    EXPECT_STREQ((programs + "Quelt\\").data, OwnMenuFolder(programs + "Quelt\\").data);
    EXPECT_STREQ((common + "Quelt\\").data, OwnMenuFolder(common + "Quelt\\").data);
    EXPECT_TRUE(OwnMenuFolder(CString("Quelt\\")).IsEmpty());
    EXPECT_TRUE(OwnMenuFolder(programs + "Other\\").IsEmpty());
    EXPECT_TRUE(OwnMenuFolder(programs).IsEmpty());
    EXPECT_TRUE(OwnMenuFolder(programs + "..\\..\\Quelt\\").IsEmpty());
    EXPECT_TRUE(OwnMenuFolder(CString("C:\\Quelt\\")).IsEmpty());

    const CString startup = SpecialFolder(CSIDL_STARTUP);
    const CString commonStartup = SpecialFolder(CSIDL_COMMON_STARTUP);
    ASSERT_FALSE(startup.IsEmpty());
    EXPECT_STREQ((startup + "Quelt.lnk").data, OwnStartupLink(startup + "Quelt.lnk").data);
    EXPECT_STREQ((commonStartup + "Quelt.lnk").data,
                 OwnStartupLink(commonStartup + "Quelt.lnk").data);
    EXPECT_TRUE(OwnStartupLink(CString("Quelt.lnk")).IsEmpty());
    EXPECT_TRUE(OwnStartupLink(startup + "Other.lnk").IsEmpty());
    EXPECT_TRUE(OwnStartupLink(CString("C:\\Quelt.lnk")).IsEmpty());
    EXPECT_TRUE(OwnStartupLink(programs + "Quelt.lnk").IsEmpty());
}
