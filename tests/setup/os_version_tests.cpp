// The version record and the all-users capability test on the real system.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include "os_version.h"
#include "setup_driver.h"
#include "support/files.h"

using Zint_Std::CString;

namespace {

int ProbeFilesIn(const CString& folder)
{
    Zint_Std::CArray<CString> found;
    Zint_Std::ListFolder(folder, found, "_qu*.tmp", false, false);
    return found.count;
}

}  // namespace

TEST(OsVersionTest, RecordIsFilled)
{
    COsVersion version;
    EXPECT_EQ(sizeof(OSVERSIONINFOA), version.info.dwOSVersionInfoSize);
    EXPECT_EQ(static_cast<DWORD>(VER_PLATFORM_WIN32_NT), version.info.dwPlatformId);
    EXPECT_LE(5u, version.info.dwMajorVersion);
}

TEST(OsVersionTest, CapabilityLeavesNoFileAndIsComputedOnce)
{
    const CString common = SpecialFolder(CSIDL_COMMON_PROGRAMS);
    ASSERT_FALSE(common.IsEmpty());
    const int before = ProbeFilesIn(common);
    COsVersion version;
    // The test user may write the all-users menu of the test prefix.
    EXPECT_EQ(1, version.CanWriteCommonPrograms());
    EXPECT_EQ(before, ProbeFilesIn(common));

    // Asked again, the stored answer comes back without a new probe file.
    EXPECT_EQ(1, version.CanWriteCommonPrograms());
    EXPECT_EQ(before, ProbeFilesIn(common));
}

TEST(SetupResourcesTest, IconDialogsManifestAndVersionAreJapanese)
{
    const CString program = Zint_Std::ModuleFolder(0) + "setup.exe";
    HMODULE module = LoadLibraryExA(program.data, 0, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(module != 0) << program.data;
    const WORD japanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
    EXPECT_TRUE(FindResourceExA(module, MAKEINTRESOURCEA(14), MAKEINTRESOURCEA(101), japanese));
    EXPECT_TRUE(FindResourceExA(module, MAKEINTRESOURCEA(5), MAKEINTRESOURCEA(102), japanese));
    EXPECT_TRUE(FindResourceExA(module, MAKEINTRESOURCEA(5), MAKEINTRESOURCEA(103), japanese));
    EXPECT_TRUE(FindResourceExA(module, MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1), japanese));
    EXPECT_TRUE(FindResourceExA(module, MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(1), japanese));
    FreeLibrary(module);
}
