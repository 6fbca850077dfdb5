#include "user_starter.h"

#include <windows.h>
#include <shellapi.h>

#include "desktop_shell.h"

bool CUserStarter::CanStart()
{
    return DesktopShellAvailable() || !IsElevated();
}

bool CUserStarter::Start(const char* file, const char* parameters, const char* folder)
{
    if (StartThroughDesktop(file, parameters, folder))
        return true;
    return !IsElevated() && StartDirectly(file, parameters, folder);
}

bool CUserStarter::DesktopShellAvailable()
{
    CDesktopShell shell;
    return shell.IsAvailable();
}

bool CUserStarter::StartThroughDesktop(const char* file, const char* parameters,
                                       const char* folder)
{
    CDesktopShell shell;
    return shell.Start(file, parameters, folder);
}

bool CUserStarter::IsElevated()
{
    HANDLE token = 0;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    TOKEN_ELEVATION elevation;
    elevation.TokenIsElevated = 0;
    DWORD size = 0;
    // Windows XP knows no such class and fails: it has no elevation either.
    const BOOL answered = GetTokenInformation(token, TokenElevation, &elevation,
                                              sizeof(elevation), &size);
    CloseHandle(token);
    return answered && elevation.TokenIsElevated != 0;
}

bool CUserStarter::StartDirectly(const char* file, const char* parameters, const char* folder)
{
    // ShellExecuteA reports success with a value above 32.
    return reinterpret_cast<INT_PTR>(ShellExecuteA(0, "open", file, parameters, folder,
                                                   SW_SHOWNORMAL)) > 32;
}
