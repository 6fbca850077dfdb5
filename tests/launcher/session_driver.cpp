// Helper of the session-end check, run in the Wine session under test.
//   witness FOLDER   a top-level window of its own process that records the
//                    end-of-session messages it gets in FOLDER\witness.log and
//                    reports "ready" in FOLDER\witness-ready. It never quits
//                    by itself before its time limit: it ends only when the
//                    session end closes it.
//   prepare X Y      waits until the launcher's window exists and its hotkey
//                    is registered, then moves the window to X, Y with
//                    SetWindowPos and checks where it is.
//   wait-input TEXT  waits until the launcher's window is shown, in the
//                    foreground, and its input box holds TEXT.
//   exit-windows FLAGS  ends the session as another program would, with
//                    ExitWindowsEx and the given flags.
//   mark FOLDER      writes FOLDER\rebooted: the session's Run key starts it,
//                    which only a restart does.
//   shortcut LINK TARGET ARGS  writes a shortcut to TARGET with ARGS at LINK,
//                    a path below the user's Start-menu Programs folder
//                    whose folders are made as needed.
//   quit             asks the launcher to quit as setup does and waits until
//                    its process has ended.
// The exit code is 0 when the step succeeded.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "support/shortcut.h"

namespace {

const DWORD kWaitMs = 30000;
// The witness leaves on its own after this long, so a failed check never
// leaves it behind.
const UINT kWitnessLifetimeMs = 180000;
const char kLauncherClass[] = "QUELT_APP_WND_CLASS";

char g_folder[MAX_PATH];

void WriteWhole(const char* name, const char* text)
{
    char path[MAX_PATH * 2];
    char part[MAX_PATH * 2 + 8];
    wsprintfA(path, "%s\\%s", g_folder, name);
    wsprintfA(part, "%s.part", path);
    HANDLE file = CreateFileA(part, GENERIC_WRITE, 0, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, 0);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, text, lstrlenA(text), &written, 0);
    CloseHandle(file);
    MoveFileExA(part, path, MOVEFILE_REPLACE_EXISTING);
}

// One line appended and on disk before the message is answered: the process
// may be terminated right after.
void AppendLine(const char* line)
{
    char path[MAX_PATH * 2];
    wsprintfA(path, "%s\\witness.log", g_folder);
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, 0, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, 0);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, line, lstrlenA(line), &written, 0);
    WriteFile(file, "\n", 1, &written, 0);
    FlushFileBuffers(file);
    CloseHandle(file);
}

LRESULT CALLBACK WitnessProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    char line[100];
    switch (message) {
    case WM_QUERYENDSESSION:
        wsprintfA(line, "query %lu", static_cast<unsigned long>(lParam));
        AppendLine(line);
        return TRUE;
    case WM_ENDSESSION:
        wsprintfA(line, "end %u %lu", static_cast<unsigned>(wParam),
                  static_cast<unsigned long>(lParam));
        AppendLine(line);
        return 0;
    case WM_TIMER:
        AppendLine("gave up");
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int Witness(const char* folder)
{
    lstrcpynA(g_folder, folder, sizeof(g_folder));
    WNDCLASSA windowClass;
    memset(&windowClass, 0, sizeof(windowClass));
    windowClass.lpfnWndProc = WitnessProc;
    windowClass.hInstance = GetModuleHandleA(0);
    windowClass.lpszClassName = "QUELT_SESSION_WITNESS";
    if (!RegisterClassA(&windowClass))
        return 3;
    HWND window = CreateWindowExA(0, "QUELT_SESSION_WITNESS", "session witness",
                                  WS_OVERLAPPEDWINDOW, 600, 500, 200, 100, 0, 0,
                                  GetModuleHandleA(0), 0);
    if (!window)
        return 3;
    SetTimer(window, 1, kWitnessLifetimeMs, 0);
    char ready[64];
    wsprintfA(ready, "%lu", GetCurrentProcessId());
    WriteWhole("witness-ready", ready);
    MSG message;
    while (GetMessageA(&message, 0, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

HWND WaitForLauncher()
{
    const DWORD start = GetTickCount();
    do {
        HWND window = FindWindowA(kLauncherClass, 0);
        if (window)
            return window;
        Sleep(50);
    } while (GetTickCount() - start < kWaitMs);
    return 0;
}

// Held by the launcher when this process cannot register it.
bool HotKeyHeld()
{
    if (RegisterHotKey(0, 0x5151, MOD_ALT, '1')) {
        UnregisterHotKey(0, 0x5151);
        return false;
    }
    return true;
}

int Prepare(const int& x, const int& y)
{
    HWND window = WaitForLauncher();
    if (!window)
        return 1;
    // The probe holds the combination for a moment: only once the
    // launcher has waited for input, so it never takes it from the launcher.
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE launcher = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId);
    if (launcher) {
        WaitForInputIdle(launcher, kWaitMs);
        CloseHandle(launcher);
    }
    const DWORD start = GetTickCount();
    while (!HotKeyHeld() && GetTickCount() - start < kWaitMs)
        Sleep(50);
    if (!HotKeyHeld())
        return 2;
    if (!SetWindowPos(window, 0, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE))
        return 3;
    RECT frame;
    if (!GetWindowRect(window, &frame) || frame.left != x || frame.top != y)
        return 4;
    return 0;
}

bool InputShows(HWND window, const char* text)
{
    if (!IsWindowVisible(window) || GetForegroundWindow() != window)
        return false;
    HWND box = FindWindowExA(window, 0, "EDIT", 0);
    if (!box)
        return false;
    char held[500];
    held[0] = 0;
    SendMessageA(box, WM_GETTEXT, sizeof(held), reinterpret_cast<LPARAM>(held));
    return strcmp(held, text) == 0;
}

int WaitInput(const char* text)
{
    HWND window = WaitForLauncher();
    if (!window)
        return 1;
    const DWORD start = GetTickCount();
    while (!InputShows(window, text)) {
        if (GetTickCount() - start >= kWaitMs)
            return 2;
        Sleep(50);
    }
    return 0;
}

int WriteProgramShortcut(const char* link, const char* target, const char* arguments)
{
    char programs[MAX_PATH];
    if (!SHGetSpecialFolderPathA(0, programs, CSIDL_PROGRAMS, TRUE))
        return 1;
    Zint_Std::ShortcutRequest request;
    request.linkPath.Format("%s\\%s", programs, link);
    for (char* p = request.linkPath.data; *p; p = CharNextA(p)) {
        if (*p != '\\' || p == request.linkPath.data || p[-1] == ':')
            continue;
        *p = 0;
        CreateDirectoryA(request.linkPath.data, 0);
        *p = '\\';
    }
    request.targetPath.Assign(target);
    request.arguments.Assign(arguments);
    Zint_Std::CShortcutWriter writer;
    const bool written = writer.Open() && writer.WriteShortcut(request);
    writer.Close();
    return written ? 0 : 2;
}

int QuitLauncher()
{
    HWND window = FindWindowA(kLauncherClass, 0);
    if (!window)
        return 0;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE launcher = OpenProcess(SYNCHRONIZE, FALSE, processId);
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(window, WM_DESTROY, 0, 0, SMTO_ABORTIFHUNG, kWaitMs, &answer);
    const bool ended = !launcher || WaitForSingleObject(launcher, kWaitMs) == WAIT_OBJECT_0;
    if (launcher)
        CloseHandle(launcher);
    return ended ? 0 : 1;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (__argc >= 3 && !strcmp(__argv[1], "witness"))
        return Witness(__argv[2]);
    if (__argc >= 4 && !strcmp(__argv[1], "prepare"))
        return Prepare(atoi(__argv[2]), atoi(__argv[3]));
    if (__argc >= 3 && !strcmp(__argv[1], "mark")) {
        lstrcpynA(g_folder, __argv[2], sizeof(g_folder));
        WriteWhole("rebooted", "rebooted");
        return 0;
    }
    if (__argc >= 3 && !strcmp(__argv[1], "exit-windows"))
        return ExitWindowsEx(static_cast<UINT>(atoi(__argv[2])), 0) ? 0 : 1;
    if (__argc >= 5 && !strcmp(__argv[1], "shortcut"))
        return WriteProgramShortcut(__argv[2], __argv[3], __argv[4]);
    if (__argc >= 2 && !strcmp(__argv[1], "quit"))
        return QuitLauncher();
    if (__argc >= 2 && !strcmp(__argv[1], "wait-input"))
        return WaitInput(__argc >= 3 ? __argv[2] : "");
    return 9;
}
