#include "support/native_paths.h"

#include <gtest/gtest.h>

#include "support/files.h"
#include "test_paths.h"

using Zint_Std::CString;

// A Windows folder of the test's own: System32 as a 32-bit program sees it,
// Sysnative as the 64-bit one, one of them on the search path, and one
// program registered in App Paths.
TEST(NativeProgramPath, RewritesWhatLiesInTheSystemFolderUnderWow64Only)
{
    const CString root = MakeScratchFolder("native");
    const char* files[] = {"Sysnative\\tool64.exe", "Sysnative\\both.exe", "System32\\both.exe",
                           "System32\\only32.exe", "Sysnative\\sub\\x"};
    ASSERT_TRUE(Zint_Std::MakeFolderPath(root + "Sysnative\\sub\\") &&
                Zint_Std::MakeFolderPath(root + "System32\\"));
    for (const char* file : files)
        ASSERT_TRUE(WriteTextFile(root + file, "x")) << file;
    Zint_Std::SystemFolderView view;
    lstrcpynA(view.windowsFolder, root.data, root.GetLength());  // no trailing backslash
    char path[4096];
    GetEnvironmentVariableA("PATH", path, sizeof(path));
    SetEnvironmentVariableA("PATH", (root + "System32;" + path).data);
    const char appPaths[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\qapp.exe";
    ASSERT_EQ(0, RegSetValueA(HKEY_CURRENT_USER, appPaths, REG_SZ,
                              (root + "System32\\both.exe").data, 0));
    const struct {
        const char* file;  // after the Windows folder when it starts with "\"
        bool wow64;
        const char* expected;
    } rows[] = {
        {"\\System32\\tool64.exe", true, "\\Sysnative\\tool64.exe"},
        {"\\sYSTEM32\\both.exe", true, "\\Sysnative\\both.exe"},
        {"\\System32\\both.exe", false, "\\System32\\both.exe"},  // 32-bit Windows
        {"\\System32\\only32.exe", true, "\\System32\\only32.exe"},
        {"\\Sysnative\\tool64.exe", true, "\\Sysnative\\tool64.exe"},
        {"\\System32\\sub", true, "\\System32\\sub"},  // a folder is opened as written
        {"\\Sysnative\\System32\\tool64.exe", true, "\\Sysnative\\System32\\tool64.exe"},
        {"\\\\server\\share\\System32\\tool64.exe", true, "\\\\server\\share\\System32\\tool64.exe"},
        {"tool64", true, "\\Sysnative\\tool64.exe"},  // only in the 64-bit folder
        {"both", true, "\\Sysnative\\both.exe"},      // found on the path
        {"only32", true, "only32"},
        {"both", false, "both"},
        {"qapp", true, "\\Sysnative\\both.exe"},  // App Paths
        {"http://example.com/System32/tool64.exe", true, "http://example.com/System32/tool64.exe"},
    };
    for (const auto& row : rows) {
        view.wow64 = row.wow64;
        const bool under = row.file[0] == '\\' && row.file[1] != '\\';
        const CString file = under ? CString(view.windowsFolder) + row.file : CString(row.file);
        const bool rooted = row.expected[0] == '\\' && row.expected[1] != '\\';
        const CString expected = rooted ? CString(view.windowsFolder) + row.expected : CString(row.expected);
        EXPECT_STREQ(expected.data, Zint_Std::NativeProgramPath(file, view).data) << row.file;
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, appPaths);
    SetEnvironmentVariableA("PATH", path);
    RemoveScratchFolder(root);
}
