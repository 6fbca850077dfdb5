// Starts what a typed line resolved to: arrow options, built-in actions or a
// file through the shell.
#ifndef QUELT_LAUNCHER_COMMAND_RUNNER_H
#define QUELT_LAUNCHER_COMMAND_RUNNER_H

#include <windows.h>

#include "support/string.h"

class CCommandRunner {
public:
    HINSTANCE hInstance;
    HWND mainWindow;
    Zint_Std::CString installFolder;  // with trailing backslash

    CCommandRunner(HINSTANCE instance, HWND window, const Zint_Std::CString& folder);
    ~CCommandRunner();

    int Execute(const Zint_Std::CString& name, const Zint_Std::CString& file,
                const Zint_Std::CString& parameters, const Zint_Std::CString& folder);
    int RunArrowOption(const Zint_Std::CString& name, const Zint_Std::CString& file,
                       const Zint_Std::CString& parameters, const Zint_Std::CString& folder);
    int ShellLaunch(const Zint_Std::CString& file, const Zint_Std::CString& parameters,
                    const Zint_Std::CString& folder);
    // Opens a shortcut file; on 64-bit Windows through the target it names,
    // which the 32-bit shell would look for in the 32-bit folders.
    int OpenShortcut(const Zint_Std::CString& link);
    int RunBuiltin(const int& code);
    void EnableShutdownPrivilege(const char* privilege);

    // The command name posted with the "edit" option belongs to the command
    // editor handler; it is handed out here and taken back by that handler.
    // Only a pointer handed out and not yet taken back is accepted.
    bool TakeBackEditName(char* buffer);

private:
    static const int kPendingEditNames = 16;
    char* postedEditNames[kPendingEditNames];

    int PostEditRequest(const Zint_Std::CString& name);
    int EndSession(const UINT& flags, const bool& needsPrivilege);
    int ShellDispatch(const int& code);
    void EmptyRecycleBin();
};

#endif
