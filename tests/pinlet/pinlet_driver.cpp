#include "pinlet_driver.h"

#include <psapi.h>
#include <shlobj.h>
#include <stdio.h>
#include <string.h>

#include "editor/editor_driver.h"
#include "support/files.h"
#include "support/registry.h"

using Zint_Std::CString;

namespace {

const char kSuiteKey[] = "SoftWare\\QUELT_\\";
const char kSuiteKeyName[] = "SoftWare\\QUELT_";
const char kInstallValue[] = "InstFolder";
const char kLauncherClass[] = "QUELT_APP_WND_CLASS";
const UINT kRegisterPath = WM_USER + 0x47F;

CLauncherStandIn* g_standIn = 0;

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!g_standIn)
        return DefWindowProcA(window, message, wParam, lParam);
    return g_standIn->OnMessage(window, message, wParam, lParam);
}

}  // namespace

CInstallRecord::CInstallRecord() : saved(false), keyExisted(false), valueExisted(false) {}

CInstallRecord::~CInstallRecord()
{
    Restore();
}

bool CInstallRecord::Set(const CString& folder)
{
    Zint_Std::CRegistryKey key;
    if (!saved) {
        keyExisted = key.Open(HKEY_CURRENT_USER, kSuiteKey, false, false);
        valueExisted = keyExisted && key.QueryString(kInstallValue, previous);
        key.Close();
        saved = true;
    }
    if (!key.Open(HKEY_CURRENT_USER, kSuiteKey, true, true))
        return false;
    return key.SetString(kInstallValue, folder);
}

void CInstallRecord::Restore()
{
    if (!saved)
        return;
    saved = false;
    Zint_Std::CRegistryKey key;
    if (valueExisted) {
        if (key.Open(HKEY_CURRENT_USER, kSuiteKey, true, false))
            key.SetString(kInstallValue, previous);
        return;
    }
    if (key.Open(HKEY_CURRENT_USER, kSuiteKey, true, false)) {
        RegDeleteValueA(key.hKey, kInstallValue);
        key.Close();
    }
    if (!keyExisted)
        RegDeleteKeyA(HKEY_CURRENT_USER, kSuiteKeyName);
}

bool MachineWideRecordExists()
{
    Zint_Std::CRegistryKey key;
    return key.Open(HKEY_LOCAL_MACHINE, kSuiteKey, false, false);
}

CString SendToShortcutPath()
{
    CString folder;
    if (!Zint_Std::GetSpecialFolderPath(folder, CSIDL_SENDTO))
        return CString();
    return folder + "Queltに登録.lnk";
}

CPinletRun::CPinletRun()
{
    memset(&process, 0, sizeof(process));
}

CPinletRun::~CPinletRun()
{
    if (!process.hProcess)
        return;
    if (!HasEnded())
        TerminateProcess(process.hProcess, 99);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
}

bool CPinletRun::StartWithLine(const CString& program, const CString& line)
{
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    CString writable(line);
    if (!CreateProcessA(program.data, writable.data, 0, 0, FALSE, 0, 0, 0, &startup, &process)) {
        printf("cannot start %s: %lu\n", program.data, GetLastError());
        fflush(stdout);
        return false;
    }
    return true;
}

bool CPinletRun::Start(const CString& program, const char* arguments)
{
    CString line = CString("\"") + program + "\"";
    if (arguments && *arguments)
        line = line + " " + arguments;
    return StartWithLine(program, line);
}

bool CPinletRun::WaitExit(DWORD& exitCode, const DWORD& timeoutMs)
{
    exitCode = 259;
    if (!process.hProcess || WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return false;
    return GetExitCodeProcess(process.hProcess, &exitCode) != 0;
}

bool CPinletRun::HasEnded()
{
    return process.hProcess && WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
}

HWND CPinletRun::WaitForBox(const DWORD& timeoutMs) const
{
    CDialogUnderTest finder;
    finder.processId = process.dwProcessId;
    return finder.WaitForMessageBox("Quelt", timeoutMs);
}

CLauncherStandIn::CLauncherStandIn() : window(0), received(0), lastAtom(0) {}

CLauncherStandIn::~CLauncherStandIn()
{
    Destroy();
}

bool CLauncherStandIn::Create()
{
    if (FindWindowA(kLauncherClass, 0))
        return false;
    WNDCLASSA windowClass;
    memset(&windowClass, 0, sizeof(windowClass));
    windowClass.lpfnWndProc = StandInProc;
    windowClass.hInstance = GetModuleHandleA(0);
    windowClass.lpszClassName = kLauncherClass;
    if (!RegisterClassA(&windowClass))
        return false;
    g_standIn = this;
    window = CreateWindowExA(WS_EX_TOOLWINDOW, kLauncherClass, "Quelt", WS_POPUP, 0, 0, 10, 10, 0,
                             0, GetModuleHandleA(0), 0);
    return window != 0;
}

void CLauncherStandIn::Destroy()
{
    if (window) {
        DestroyWindow(window);
        window = 0;
        UnregisterClassA(kLauncherClass, GetModuleHandleA(0));
    }
    if (g_standIn == this)
        g_standIn = 0;
}

void CLauncherStandIn::PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, 0, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool CLauncherStandIn::WaitForPath(const DWORD& timeoutMs)
{
    const int before = received;
    DWORD start = GetTickCount();
    for (;;) {
        PumpMessages();
        if (received > before)
            return true;
        DWORD waited = GetTickCount() - start;
        if (waited >= timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, 0, FALSE, timeoutMs - waited, QS_ALLINPUT);
    }
}

LRESULT CLauncherStandIn::OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kRegisterPath) {
        ++received;
        lastAtom = static_cast<ATOM>(LOWORD(wParam));
        char name[500];
        memset(name, 0, sizeof(name));
        if (lastAtom) {
            GlobalGetAtomNameA(lastAtom, name, sizeof(name));
            GlobalDeleteAtom(lastAtom);
        }
        lastPath = name;
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

CStartedLauncher::CStartedLauncher() : window(0), processId(0), process(0) {}

CStartedLauncher::~CStartedLauncher()
{
    if (process && WaitForSingleObject(process, 0) == WAIT_TIMEOUT && !Quit())
        TerminateProcess(process, 99);
    if (process) {
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
    }
}

bool CStartedLauncher::WaitForWindow(const DWORD& timeoutMs)
{
    DWORD start = GetTickCount();
    while (!(window = FindWindowA(kLauncherClass, 0))) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(20);
    }
    GetWindowThreadProcessId(window, &processId);
    process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION |
                              PROCESS_VM_READ,
                          FALSE, processId);
    return process != 0;
}

CString CStartedLauncher::ProgramPath() const
{
    char path[MAX_PATH];
    memset(path, 0, sizeof(path));
    if (!process || !GetModuleFileNameExA(process, 0, path, sizeof(path)))
        return CString();
    return CString(path);
}

bool CStartedLauncher::Quit()
{
    if (!window || !process)
        return false;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_DESTROY, 0, 0, SMTO_NORMAL, kPinletTimeoutMs, &ignored);
    return WaitForSingleObject(process, kPinletTimeoutMs) == WAIT_OBJECT_0;
}
