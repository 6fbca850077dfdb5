// The launcher's own actions behind a PATH of "@" and a number.
#include "launcher/command_runner.h"

#include <ole2.h>
#include <oleauto.h>
#include <shldisp.h>

#include "launcher/launcher_ids.h"

namespace {

// CLSID_Shell and IID_IShellDispatch, spelled out so no extra import library
// is needed for them.
const CLSID kShellClass = {0x13709620, 0xC279, 0x11CE, {0xA4, 0x9E, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const IID kShellDispatchInterface = {0xD8F015C0, 0xC278, 0x11CE, {0xA4, 0x9E, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

typedef HRESULT(WINAPI* EmptyRecycleBinFunction)(HWND, LPCSTR, DWORD);

const wchar_t* AppletOf(const int& code)
{
    switch (code) {
    case 900: return L"DESK.CPL";
    case 1000: return L"Appwiz.cpl";
    case 1300: return L"Sysdm.cpl";
    case 2600: return L"timedate.cpl";
    default: return 0;
    }
}

}  // namespace

int CCommandRunner::RunBuiltin(const int& code)
{
    switch (code) {
    case 100:
        PostMessageA(GetDesktopWindow(), WM_SYSCOMMAND, SC_SCREENSAVE, 0);
        return 1;
    case 200:
        SendMessageA(mainWindow, WM_DESTROY, 0, 0);
        return 1;
    case 300: PostMessageA(mainWindow, WM_COMMAND, kCmdVersion, 0); return 1;
    case 400: return EndSession(EWX_SHUTDOWN | EWX_FORCE | EWX_POWEROFF, true);
    case 500: return EndSession(EWX_REBOOT | EWX_FORCE, true);
    case 600: PostMessageA(mainWindow, WM_COMMAND, kCmdReloadCommands, 0); return 1;
    case 700: PostMessageA(mainWindow, WM_COMMAND, kCmdOpenCommandFile, 0); return 1;
    case 800:
    case 900:
    case 1000:
    case 1300:
    case 2600:
        return ShellDispatch(code);
    case 1400: PostMessageA(mainWindow, WM_COMMAND, kCmdEditSettings, 0); return 1;
    case 1600: EmptyRecycleBin(); return 1;
    case 1700: PostMessageA(mainWindow, WM_COMMAND, kCmdHelp, 0); return 1;
    case 1800: return EndSession(EWX_SHUTDOWN | EWX_POWEROFF, true);
    case 1900: return EndSession(EWX_REBOOT, true);
    case 2000: return EndSession(EWX_LOGOFF, false);
    case 2100: PostMessageA(mainWindow, WM_COMMAND, kCmdEditCommands, 0); return 1;
    case 2300: PostMessageA(mainWindow, WM_COMMAND, kCmdReloadSettings, 0); return 1;
    case 2400: PostMessageA(mainWindow, WM_COMMAND, kCmdOpenProfile, 0); return 1;
    case 2500:
        PostMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(kCmdEditCommands, 1), 0);
        return 1;
    default:
        return 0;
    }
}

int CCommandRunner::EndSession(const UINT& flags, const bool& needsPrivilege)
{
    ShowWindow(mainWindow, SW_HIDE);
    if (needsPrivilege)
        EnableShutdownPrivilege("SeShutdownPrivilege");
    // On success the launcher stores its position and quits in order.
    if (ExitWindowsEx(flags, 0))
        SendMessageA(mainWindow, WM_DESTROY, 0, 0);
    return 1;
}

void CCommandRunner::EnableShutdownPrivilege(const char* privilege)
{
    HANDLE token = 0;
    OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token);
    TOKEN_PRIVILEGES wanted;
    TOKEN_PRIVILEGES previous;
    DWORD previousLength = 0;
    wanted.PrivilegeCount = 1;
    wanted.Privileges[0].Luid.LowPart = 0;
    wanted.Privileges[0].Luid.HighPart = 0;
    LookupPrivilegeValueA(0, privilege, &wanted.Privileges[0].Luid);
    wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (token) {
        AdjustTokenPrivileges(token, FALSE, &wanted, sizeof(previous), &previous,
                              &previousLength);
        CloseHandle(token);
    }
}

int CCommandRunner::ShellDispatch(const int& code)
{
    IUnknown* unknown = 0;
    HRESULT created = CoCreateInstance(kShellClass, 0,
                                       CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER |
                                           CLSCTX_LOCAL_SERVER,
                                       IID_IUnknown, reinterpret_cast<void**>(&unknown));
    if (FAILED(created) || !unknown)
        return 0;
    IShellDispatch* shell = 0;
    OleRun(unknown);
    unknown->QueryInterface(kShellDispatchInterface, reinterpret_cast<void**>(&shell));
    unknown->Release();
    // Without the interface nothing runs, nothing is shown.
    if (!shell)
        return 0;
    if (code == 800) {
        shell->ShutdownWindows();
    } else if (const wchar_t* applet = AppletOf(code)) {
        // The method may be marshalled to another process: a real BSTR.
        BSTR name = SysAllocString(applet);
        if (name) {
            shell->ControlPanelItem(name);
            SysFreeString(name);
        }
    }
    shell->Release();
    return 1;
}

void CCommandRunner::EmptyRecycleBin()
{
    HMODULE shell = LoadLibraryA("shell32.dll");
    if (!shell)
        return;
    EmptyRecycleBinFunction empty = reinterpret_cast<EmptyRecycleBinFunction>(
        reinterpret_cast<void*>(GetProcAddress(shell, "SHEmptyRecycleBinA")));
    if (empty)
        empty(0, 0, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
    FreeLibrary(shell);
}
