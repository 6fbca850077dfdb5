// The end of a run: the package goes, and a hidden batch file deletes this
// program as soon as it has ended, then itself.
#include "setup_app.h"

#include <string.h>

#include "setup_paths.h"
#include "support/files.h"
#include "support/handles.h"
#include "support/mbcs.h"

using Zint_Std::CString;

namespace {

// How often the batch file tries to delete the program, pausing a second,
// before it gives up: a program that cannot be deleted must not keep the
// interpreter spinning.
const int kDeleteTries = 60;
// Room for a path in a line of the batch file (1024 bytes with its words).
const int kBatchPathRoom = 900;

// cmd expands %...% in a batch file even between quotes, so a path is
// written with each % doubled. 0x25 is never the trail byte of a
// double-byte character.
CString ForBatchFile(const char* path)
{
    CString text;
    for (const char* c = path; *c; ++c) {
        text.AppendChar(*c);
        if (*c == '%')
            text.AppendChar('%');
    }
    return text;
}

// Runs the batch file hidden, named without its folder, which is the
// working folder: cmd expands %...% on its own command line as well, where
// no doubling escapes it, so the path must not pass through there.
void StartBatchFile(const CString& batchPath, const CString& folder)
{
    char system[MAX_PATH];
    const UINT length = GetSystemDirectoryA(system, sizeof(system));
    if (length == 0 || length >= sizeof(system))
        return;
    const CString interpreter = CString(system) + "\\cmd.exe";
    const char* name = Zint_Std::FindLastBackslash(batchPath.data);
    CString line;
    // /d: no AutoRun command of the user's runs first; /s keeps the quotes
    // around the name.
    line.Format("\"%s\" /d /s /c \"\"%s\"\"", interpreter.data, name ? name + 1 : batchPath.data);
    Zint_Std::CStartedProcess started;
    started.Start(interpreter.data, line.data, false, folder.data, true);
}

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

    const CString program = ForBatchFile(modulePath.data);
    const CString batch = ForBatchFile(batchPath.data);
    // A line cut short would name some other file.
    if (program.GetLength() > kBatchPathRoom || batch.GetLength() > kBatchPathRoom)
        return;

    Zint_Std::CHandle batchFile(CreateFileA(batchPath.data, GENERIC_WRITE, 0, 0, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, 0));
    if (!batchFile.IsOpen())
        return;
    const HANDLE file = batchFile.handle;
    WriteLine(file, "@echo off\r\n", "");
    WriteNumberLine(file, "set quelt_tries=%d\r\n", kDeleteTries);
    WriteLine(file, ":one_more\r\n", "");
    WriteLine(file, "del \"%s\"\r\n", program.data);
    WriteLine(file, "if not exist \"%s\" goto deleted\r\n", program.data);
    WriteLine(file, "set /a quelt_tries=%%quelt_tries%%-1\r\n", "");
    WriteLine(file, "if %%quelt_tries%% leq 0 goto deleted\r\n", "");
    WriteLine(file, "ping -n 2 127.0.0.1 >nul\r\n", "");
    WriteLine(file, "if exist \"%s\" goto one_more:\r\n", program.data);
    WriteLine(file, ":deleted\r\n", "");
    WriteLine(file, "del \"%s\"\r\n", batch.data);
    batchFile.Close();

    StartBatchFile(batchPath, moduleFolder);
}
