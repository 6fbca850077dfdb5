// The end of a run: the package goes, and a hidden batch file deletes this
// program as soon as it has ended, then itself.
#include "setup_app.h"

#include <string.h>

#include "setup_paths.h"
#include "support/files.h"

using Zint_Std::CString;

namespace {

// How often the batch file tries to delete the program, pausing a second,
// before it gives up: a program that cannot be deleted must not keep the
// interpreter spinning.
const int kDeleteTries = 60;

bool WriteLine(HANDLE file, const char* format, const char* argument)
{
    char line[1024];
    memset(line, 0, sizeof(line));
    wsprintfA(line, format, argument);
    DWORD written = 0;
    return WriteFile(file, line, lstrlenA(line), &written, 0) &&
           written == static_cast<DWORD>(lstrlenA(line));
}

bool WriteNumberLine(HANDLE file, const char* format, const int& number)
{
    char line[1024];
    memset(line, 0, sizeof(line));
    wsprintfA(line, format, number);
    DWORD written = 0;
    return WriteFile(file, line, lstrlenA(line), &written, 0) &&
           written == static_cast<DWORD>(lstrlenA(line));
}

}  // namespace

void CSetupApp::ScheduleSelfDelete(const bool& removePackage)
{
    if (removePackage) {
        // Only a package that has installed goes. One unpacked beside or
        // inside an installation shares its files: removing the one would
        // remove the other, and this program may be the installed setup.exe.
        const CString package = moduleFolder + "quelt_\\";
        if (installedFolder.IsEmpty() || FoldersOverlap(package, installedFolder) ||
            OverlapsRecordedInstallation(package))
            return;
        Zint_Std::DeleteFolderTree(package);
    }

    CString batchPath(modulePath);
    const int length = batchPath.GetLength();
    if (length < 3)
        return;
    batchPath.data[length - 3] = 'b';
    batchPath.data[length - 2] = 'a';
    batchPath.data[length - 1] = 't';

    HANDLE file = CreateFileA(batchPath.data, GENERIC_WRITE, 0, 0, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, 0);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const char* program = modulePath.data;
    WriteLine(file, "@echo off\r\n", "");
    WriteNumberLine(file, "set quelt_tries=%d\r\n", kDeleteTries);
    WriteLine(file, ":one_more\r\n", "");
    WriteLine(file, "del \"%s\"\r\n", program);
    WriteLine(file, "if not exist \"%s\" goto deleted\r\n", program);
    WriteLine(file, "set /a quelt_tries=%%quelt_tries%%-1\r\n", "");
    WriteLine(file, "if %%quelt_tries%% leq 0 goto deleted\r\n", "");
    WriteLine(file, "ping -n 2 127.0.0.1 >nul\r\n", "");
    WriteLine(file, "if exist \"%s\" goto one_more:\r\n", program);
    WriteLine(file, ":deleted\r\n", "");
    WriteLine(file, "del \"%s\"\r\n", batchPath.data);
    CloseHandle(file);

    ShellExecuteA(0, "open", batchPath.data, 0, moduleFolder.data, SW_HIDE);
}
