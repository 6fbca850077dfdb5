#include "support/files.h"

#include <shlobj.h>

#include <gtest/gtest.h>

using Zint_Std::CString;

TEST(SpecialFolders, KnownFoldersEndInBackslashAndExist)
{
    const int folders[] = {CSIDL_PROGRAMS, CSIDL_STARTUP, CSIDL_RECENT, CSIDL_SENDTO,
                           CSIDL_COMMON_PROGRAMS, CSIDL_COMMON_STARTUP, CSIDL_APPDATA,
                           CSIDL_PROGRAM_FILES};
    for (int csidl : folders) {
        CString path;
        ASSERT_TRUE(Zint_Std::GetSpecialFolderPath(path, csidl)) << "csidl " << csidl;
        EXPECT_TRUE(Zint_Std::EndsWithBackslash(path.data)) << path.data;
        EXPECT_EQ(':', path.data[1]) << path.data;
        EXPECT_GE(path.capacity, 512);
        EXPECT_TRUE(Zint_Std::FolderExists(path)) << path.data;
    }
}

TEST(SpecialFolders, VirtualFolderHasNoPath)
{
    // "My Computer" exists in the shell but not on disk.
    CString path("stale");
    EXPECT_FALSE(Zint_Std::GetSpecialFolderPath(path, CSIDL_DRIVES));
}

TEST(SpecialFolders, ProgramFilesFromTheRegistryWhenItExists)
{
    char before[MAX_PATH];
    GetCurrentDirectoryA(sizeof(before), before);

    CString fromRegistry;
    ASSERT_TRUE(Zint_Std::GetProgramFilesFromRegistry(fromRegistry));
    EXPECT_TRUE(Zint_Std::EndsWithBackslash(fromRegistry.data));
    CString fromShell;
    ASSERT_TRUE(Zint_Std::GetSpecialFolderPath(fromShell, CSIDL_PROGRAM_FILES));
    EXPECT_TRUE(fromRegistry.EqualsNoCase(fromShell)) << fromRegistry.data << " / "
                                                      << fromShell.data;

    char after[MAX_PATH];
    GetCurrentDirectoryA(sizeof(after), after);
    EXPECT_STREQ(before, after);
}
