// Checks shared by the setup tests: the installed files, shortcuts and the
// end of a run (package and program file gone).
#ifndef QUELT_TESTS_SETUP_CHECKS_H
#define QUELT_TESTS_SETUP_CHECKS_H

#include <gtest/gtest.h>
#include <objbase.h>
#include <string.h>

#include "setup_driver.h"
#include "support/files.h"
#include "support/shortcut.h"
#include "test_paths.h"

inline void ExpectShortcut(const Zint_Std::CString& link, const Zint_Std::CString& target,
                           const char* arguments, const Zint_Std::CString& folder)
{
    Zint_Std::ShortcutContents contents;
    ASSERT_TRUE(Zint_Std::ReadShortcutFile(link.data, contents)) << link.data;
    EXPECT_STREQ(target.data, contents.target.Text()) << link.data;
    EXPECT_STREQ(arguments, contents.arguments.Text())
        << link.data;
    EXPECT_STREQ(folder.data, contents.workingFolder.Text())
        << link.data;
    EXPECT_STREQ("", contents.description.Text()) << link.data;
}

inline void ExpectExists(const Zint_Std::CString& path)
{
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.data)) << path.data;
}

inline void ExpectMissing(const Zint_Std::CString& path)
{
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.data)) << path.data;
}

// The package folder is gone at the end of the run, and the program file
// and its batch file once the run has ended.
inline void ExpectPackageRemoved(const CSetupPackage& package)
{
    ExpectMissing(package.payload);
    EXPECT_TRUE(WaitForPathGone(package.setupPath)) << package.setupPath.data;
    EXPECT_TRUE(WaitForPathGone(package.folder + "setup.bat")) << "setup.bat stayed";
}

// A run that installed nothing keeps the package for another try: no
// package removal and no batch file (it is written before the run ends).
inline void ExpectPackageKept(const CSetupPackage& package)
{
    ExpectExists(package.setupPath);
    ExpectExists(package.payload + "quelt_.exe");
    ExpectExists(package.payload + "quelt_.ini");
    ExpectMissing(package.folder + "setup.bat");
}

// The programs of the package arrived in the install folder.
inline void ExpectProgramFiles(const Zint_Std::CString& folder, const bool& withPinlet)
{
    static const char* const kFiles[] = {"quelt_.exe", "quelt_.dll",
                                         "cmd_org.txt", "quelt_.ini",
                                         "readme.txt", "setup.exe",
                                         "omake\\Purgel.exe", "omake\\Datora.exe",
                                         "omake\\Purgel.txt", "omake\\Datora.txt"};
    for (size_t i = 0; i < sizeof(kFiles) / sizeof(kFiles[0]); ++i)
        ExpectExists(folder + kFiles[i]);
    if (withPinlet)
        ExpectExists(folder + "Pinlet.exe");
}

// Every test starts and ends without an installation.
class SetupTestBase : public ::testing::Test {
protected:
    CSetupPackage package;

    void SetUp() override
    {
        CoInitialize(0);
        CleanInstallationTraces();
        ASSERT_TRUE(package.Build(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    }

    void TearDown() override
    {
        CleanInstallationTraces();
        if (!package.folder.IsEmpty()) {
            Zint_Std::CString scratch(package.folder);
            scratch.Delete(scratch.GetLength() - 1, 1);
            RemoveScratchFolder(scratch);
        }
        CoUninitialize();
    }
};

#endif
