#include "launcher/command_runner.h"

#include <shellapi.h>
#include <stdlib.h>
#include <string.h>

#include <new>

#include "commands/line_parser.h"
#include "launcher/launcher_ids.h"
#include "support/files.h"
#include "support/native_paths.h"
#include "support/shortcut.h"

using Zint_Std::CString;

CCommandRunner::CCommandRunner(HINSTANCE instance, HWND window, const CString& folder)
    : hInstance(instance), mainWindow(window), installFolder(folder)
{
    for (int i = 0; i < kPendingEditNames; i++)
        postedEditNames[i] = 0;
}

CCommandRunner::~CCommandRunner()
{
    // Names whose messages never arrived.
    for (int i = 0; i < kPendingEditNames; i++)
        delete[] postedEditNames[i];
}

int CCommandRunner::Execute(const CString& name, const CString& file, const CString& parameters,
                            const CString& folder)
{
    if (parameters.GetLength() > 2 && parameters.data[0] == '-' && parameters.data[1] == '>')
        return RunArrowOption(name, file, parameters, folder);
    if (file.data && file.data[0] == '@') {
        CString rest(file.data + 1);
        CString token = rest.Tokenize(" \t", true);
        return RunBuiltin(token.data ? atoi(token.data) : 0);
    }
    return ShellLaunch(file, parameters, folder);
}

int CCommandRunner::RunArrowOption(const CString& name, const CString& file,
                                   const CString& parameters, const CString& folder)
{
    const char* option = parameters.data + 2;
    if (lstrcmpA(option, "of") == 0 && !folder.IsEmpty())
        return ShellLaunch(folder, CString(), folder);
    if (lstrcmpA(option, "oaf") == 0) {
        // Buffers as long as the file itself: drive and folder are never longer.
        const size_t size = static_cast<size_t>(file.GetLength()) + 4;
        char* drive = static_cast<char*>(calloc(size, 1));
        char* directory = static_cast<char*>(calloc(size, 1));
        int result = 0;
        if (drive && directory) {
            _splitpath(file.Text(), drive, directory, 0, 0);
            CString target = CString(drive) + directory;
            result = ShellLaunch(target, CString(), target);
        }
        free(drive);
        free(directory);
        return result;
    }
    if (lstrcmpA(option, "edit") == 0)
        return PostEditRequest(name);
    return ShellLaunch(file, parameters, folder);
}

int CCommandRunner::PostEditRequest(const CString& name)
{
    int slot = 0;
    while (slot < kPendingEditNames && postedEditNames[slot])
        slot++;
    const int length = name.GetLength();
    // Allocated with new: the command editor handler frees it with delete[].
    char* copy = new (std::nothrow) char[length + 1];
    if (!copy)
        return 1;
    memset(copy, 0, length + 1);
    if (length)
        memcpy(copy, name.data, length);
    if (slot == kPendingEditNames) {
        // Too many requests waiting: the oldest one's name is forgotten
        // (not freed: its message may still arrive and must not find a
        // dangling pointer accepted).
        slot = 0;
    }
    if (!PostMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(kCmdEditCommands, 1),
                      reinterpret_cast<LPARAM>(copy))) {
        delete[] copy;
        return 1;
    }
    postedEditNames[slot] = copy;
    return 1;
}

bool CCommandRunner::TakeBackEditName(char* buffer)
{
    if (!buffer)
        return false;
    for (int i = 0; i < kPendingEditNames; i++) {
        if (postedEditNames[i] == buffer) {
            postedEditNames[i] = 0;
            return true;
        }
    }
    return false;
}

int CCommandRunner::ShellLaunch(const CString& file, const CString& parameters,
                                const CString& folder)
{
    char* expandedFile = ExpandEnvironmentToFit(file.Text());
    char* expandedFolder = folder.IsEmpty() ? static_cast<char*>(calloc(500, 1))
                                            : ExpandEnvironmentToFit(folder.data);
    int result = 0;
    if (expandedFile && expandedFolder) {
        // On 64-bit Windows the program a 64-bit program would start.
        const CString program = Zint_Std::NativeProgramPath(CString(expandedFile));
        SHELLEXECUTEINFOA info;
        memset(&info, 0, sizeof(info));
        info.cbSize = sizeof(info);
        info.fMask = 0;  // the shell reports its own errors to the user
        info.hwnd = GetDesktopWindow();
        info.lpVerb = 0;
        info.lpFile = program.data;
        info.lpParameters = parameters.IsEmpty() ? 0 : parameters.data;
        info.lpDirectory = expandedFolder;
        info.nShow = SW_SHOWNORMAL;
        info.hInstApp = hInstance;
        result = ShellExecuteExA(&info) ? 1 : 0;
    }
    free(expandedFile);
    free(expandedFolder);
    return result;
}

int CCommandRunner::OpenShortcut(const CString& link)
{
    Zint_Std::SystemFolderView view;
    Zint_Std::ReadSystemFolderView(view);
    Zint_Std::ShortcutContents contents;
    if (view.wow64 && Zint_Std::ReadShortcutFile(link.Text(), contents)) {
        // The target as a 64-bit program sees it: one in the system folder
        // exists only through Sysnative.
        char* expanded = ExpandEnvironmentToFit(contents.target.Text());
        const bool found =
            expanded && *expanded &&
            Zint_Std::PathExists(Zint_Std::NativeProgramPath(CString(expanded), view).Text());
        free(expanded);
        if (found)
            return ShellLaunch(contents.target, contents.arguments, contents.workingFolder);
    }
    return ShellLaunch(link, CString(), CString());
}
