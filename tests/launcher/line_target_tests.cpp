// What a typed line names, over a scratch tree: commands first, then the
// Start menu's programs, then what the shell opens without any command.
#include <gtest/gtest.h>

#include <string>

#include "launcher/line_target.h"
#include "test_paths.h"

using Zint_Std::CString;

namespace {

bool IsCommand(void*, const char* name)
{
    return !lstrcmpiA(name, "notepad") || !lstrcmpiA(name, "qprog") || !lstrcmpiA(name, "http://x");
}

int FindProgram(void*, const char* line)
{
    return lstrcmpiA(line, "Quelt Tool") ? -1 : 7;
}

// "@" stands for the scratch folder, without its trailing backslash.
std::string Place(const char* text, const std::string& folder)
{
    std::string out;
    for (const char* p = text; *p; p++)
        out += *p == '@' ? folder : std::string(1, *p);
    return out;
}

struct Row {
    const char* line;
    bool open;
    int kind;
    const char* file;
    const char* parameters;
};

}  // namespace

TEST(LineTargetTest, CommandsWinThenStartMenuThenWhatTheShellOpens)
{
    const CString scratch = MakeScratchFolder("line_target");
    ASSERT_FALSE(scratch.IsEmpty());
    std::string folder(scratch.data, scratch.GetLength() - 1);
    ASSERT_TRUE(CreateDirectoryA((folder + "\\Tool Box").c_str(), 0));
    ASSERT_TRUE(CreateDirectoryA((folder + "\\bin").c_str(), 0));
    ASSERT_TRUE(CreateDirectoryA((folder + "\\here").c_str(), 0));
    for (const char* file : {"\\Tool Box\\run me.exe", "\\plain.txt", "\\bin\\qprog.exe",
                             "\\bin\\qtool.exe", "\\here\\qhere.exe", "\\bin\\qreg.exe"})
        ASSERT_TRUE(WriteTextFile(CString((folder + file).c_str()), "x"));
    char oldPath[4096] = "";
    GetEnvironmentVariableA("PATH", oldPath, sizeof(oldPath));
    SetEnvironmentVariableA("PATH", (folder + "\\bin;" + oldPath).c_str());
    SetEnvironmentVariableA("QTEST", folder.c_str());
    char oldFolder[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, oldFolder);
    SetCurrentDirectoryA((folder + "\\here").c_str());
    const char kAppKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\qapp.exe";
    const std::string registered = folder + "\\bin\\qreg.exe";
    RegSetValueA(HKEY_CURRENT_USER, kAppKey, REG_SZ, registered.c_str(), 0);

    const Row rows[] = {
        {"notepad a  b", true, kTargetCommand, "notepad", "a  b"},
        {"qprog x", true, kTargetCommand, "qprog", "x"},  // also on the path
        {"http://x y", true, kTargetCommand, "http://x", "y"},
        {"Quelt Tool", true, kTargetStartMenu, "Quelt Tool", ""},
        {"@\\Tool Box\\run me.exe -x 1", true, kTargetPath, "@\\Tool Box\\run me.exe", "-x 1"},
        {"@\\Tool Box", true, kTargetPath, "@\\Tool Box", ""},
        {"@\\missing file.txt y", true, kTargetPath, "@\\missing", "file.txt y"},
        {"\"@\\Tool Box\\run me.exe\"  -x", true, kTargetPath, "@\\Tool Box\\run me.exe", "-x"},
        {"\"@\\Tool Box", true, kTargetPath, "@\\Tool Box", ""},
        {"%QTEST%\\plain.txt", true, kTargetPath, "%QTEST%\\plain.txt", ""},
        {"\\\\server\\share\\a b", true, kTargetPath, "\\\\server\\share\\a", "b"},
        {"https://example.com/?q=1 b", true, kTargetAddress, "https://example.com/?q=1", "b"},
        {"MAILTO:someone@example.com", true, kTargetAddress, "MAILTO:someone@example.com", ""},
        {"qtool arg", true, kTargetProgram, "qtool", "arg"},
        {"qtool.exe", true, kTargetProgram, "qtool.exe", ""},
        {"\"qtool\" z", true, kTargetProgram, "qtool", "z"},
        {"qapp", true, kTargetProgram, "qapp", ""},
        {"qhere", true, kTargetNothing, "", ""},  // the current folder is not searched
        {"nothing here", true, kTargetNothing, "", ""},
        {"http:", true, kTargetNothing, "", ""},
        {"\"hello world\"", true, kTargetNothing, "", ""},
        {"C:", true, kTargetNothing, "", ""},
        {"@\\plain.txt", false, kTargetNothing, "", ""},
        {"qtool", false, kTargetNothing, "", ""},
        {"Quelt Tool", false, kTargetStartMenu, "Quelt Tool", ""},
    };
    for (const Row& row : rows) {
        const LineLookups lookups = {0, IsCommand, FindProgram, row.open};
        LineTarget target;
        ClassifyLine(CString(Place(row.line, folder).c_str()), lookups, target);
        EXPECT_EQ(row.kind, target.kind) << row.line;
        EXPECT_STREQ(Place(row.file, folder).c_str(), target.file.Text()) << row.line;
        EXPECT_STREQ(row.parameters, target.parameters.Text()) << row.line;
        EXPECT_EQ(row.kind == kTargetStartMenu ? 7 : -1, target.program) << row.line;
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, kAppKey);
    SetCurrentDirectoryA(oldFolder);
    SetEnvironmentVariableA("PATH", oldPath);
    RemoveScratchFolder(scratch);
}
