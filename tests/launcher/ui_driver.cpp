#include "launcher/ui_driver.h"

#include <stdio.h>
#include <string.h>

#include "support/files.h"
#include "test_paths.h"

using Zint_Std::CString;

namespace {

// Wine hands the X focus on to the X window of its foreground window when
// the desktop window receives it.
const char kFocusDesktop[] = "xdotool search --name 'Wine desktop' windowfocus --sync;";

struct WindowQuery {
    DWORD process;  // 0: any process
    const char* className;
    const char* title;
    bool visibleOnly;
    bool titleContains;  // the title holds title rather than equals it
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter)
{
    WindowQuery* query = reinterpret_cast<WindowQuery*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (query->process && process != query->process)
        return TRUE;
    if (query->visibleOnly && !IsWindowVisible(window))
        return TRUE;
    char text[256];
    if (query->className &&
        (!GetClassNameA(window, text, sizeof(text)) || strcmp(text, query->className)))
        return TRUE;
    if (query->title) {
        text[0] = 0;
        GetWindowTextA(window, text, sizeof(text));
        if (query->titleContains ? !strstr(text, query->title) : strcmp(text, query->title) != 0)
            return TRUE;
    }
    query->found = window;
    return FALSE;
}

bool WindowFound(void* context)
{
    WindowQuery* query = static_cast<WindowQuery*>(context);
    query->found = 0;
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(query));
    return query->found != 0;
}

}  // namespace

CString UiOutputFolder()
{
    // bin\ -> build\test-output\ui\ .
    CString folder = Zint_Std::ModuleFolder(0);
    folder.Delete(folder.GetLength() - 4, 4);
    folder.Append("test-output\\");
    CreateDirectoryA(folder.data, 0);
    folder.Append("ui\\");
    CreateDirectoryA(folder.data, 0);
    return folder;
}

bool XDoTool(const char* arguments)
{
    CString command("xdotool ");
    command.Append(arguments);
    return RunUnixShell(command.data);
}


bool ActivateTestDesktop()
{
    // The window manager of the bare X server cannot activate windows;
    // focusing the desktop window is what makes keys reach it.
    return RunUnixShell(kFocusDesktop);
}

bool TakeScreenshot(const char* name)
{
    CString path;
    path.Format("%s%s.png", UiOutputFolder().data, name);
    CString command;
    command.Format("import -window root '%s'", WineUnixPath(path).data);
    return RunUnixShell(command.data);
}

bool WaitUntil(Condition condition, void* context, const DWORD& timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (condition(context))
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(20);
    }
}

HWND WaitForProcessWindow(const DWORD& process, const char* className, const char* title,
                          const bool& visibleOnly, const DWORD& timeoutMs)
{
    WindowQuery query = {process, className, title, visibleOnly, false, 0};
    WaitUntil(WindowFound, &query, timeoutMs);
    return query.found;
}

HWND WaitForVisibleWindowHolding(const char* className, const char* titlePart)
{
    WindowQuery query = {0, className, titlePart, true, true, 0};
    WaitUntil(WindowFound, &query);
    return query.found;
}

namespace {

// A window whose thread no longer answers makes the test fail with a line
// saying so, instead of holding it until the test program is killed.
LRESULT AskWindow(HWND window, const UINT& message, const WPARAM& wParam, const LPARAM& lParam)
{
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kUiTimeoutMs, &answer)) {
        printf("window %p gave no answer to message 0x%x within %lu ms\n",
               static_cast<void*>(window), message, kUiTimeoutMs);
        return 0;
    }
    return static_cast<LRESULT>(answer);
}

}  // namespace

CString WindowText(HWND window)
{
    CString text;
    text.Reserve(1024);
    AskWindow(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text.data));
    return text;
}

CString MessageBoxText(HWND box)
{
    HWND label = GetDlgItem(box, 0xFFFF);
    return label ? WindowText(label) : CString();
}

bool HotKeyHeldElsewhere(const UINT& modifiers, const UINT& key)
{
    if (RegisterHotKey(0, 0x5151, modifiers, key)) {
        UnregisterHotKey(0, 0x5151);
        return false;
    }
    return true;
}

CLauncherUnderTest::CLauncherUnderTest()
    : window(0), edit(0), withEditor(true), shippedCommands(0), closedFolder(false)
{
    memset(&process, 0, sizeof(process));
}

CLauncherUnderTest::~CLauncherUnderTest()
{
    if (process.hProcess) {
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
            Quit();
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, 5000);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    if (!folder.IsEmpty()) {
        if (closedFolder)
            SetFolderWritable(folder, true);
        RemoveScratchFolder(folder);
    }
}

namespace {

// A launcher left behind by a test program that was killed at its time
// limit would take the keys and the hotkey of every later test. The prefix
// is the tests' own, so any launcher in it is such a leftover: it is ended.
bool EndLeftoverLauncher()
{
    HWND leftover = FindWindowA("QUELT_APP_WND_CLASS", 0);
    if (!leftover)
        return true;
    DWORD processId = 0;
    GetWindowThreadProcessId(leftover, &processId);
    printf("ending a launcher left by an earlier test (process %lu)\n", processId);
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    if (process) {
        TerminateProcess(process, 98);
        WaitForSingleObject(process, kUiTimeoutMs);
        CloseHandle(process);
    }
    const DWORD start = GetTickCount();
    while (FindWindowA("QUELT_APP_WND_CLASS", 0) && GetTickCount() - start < kUiTimeoutMs)
        Sleep(50);
    return !FindWindowA("QUELT_APP_WND_CLASS", 0);
}

}  // namespace

bool CLauncherUnderTest::Start(const char* commands, const char* profile)
{
    if (!EndLeftoverLauncher()) {
        printf("a launcher from elsewhere is running\n");
        fflush(stdout);
        return false;  // it would take the keys
    }
    folder = MakeScratchFolder("launcher-ui");
    CString program = Zint_Std::ModuleFolder(0) + "quelt_.exe";
    if (!CopyFileA(program.data, (folder + "quelt_.exe").data, FALSE)) {
        printf("cannot copy %s to %s: %lu\n", program.data, folder.data, GetLastError());
        fflush(stdout);
        return false;
    }
    CString library = Zint_Std::ModuleFolder(0) + "quelt_.dll";
    if (withEditor && !CopyFileA(library.data, (folder + "quelt_.dll").data, FALSE)) {
        printf("cannot copy %s to %s: %lu\n", library.data, folder.data, GetLastError());
        fflush(stdout);
        return false;
    }
    if ((commands && !WriteTextFile(folder + "quelt_cmd.txt", commands)) ||
        (shippedCommands && !WriteTextFile(folder + "cmd_org.txt", shippedCommands)) ||
        !WriteTextFile(folder + "quelt_.ini", profile)) {
        printf("cannot write the files in %s\n", folder.data);
        fflush(stdout);
        return false;
    }
    if (closedFolder && !SetFolderWritable(folder, false)) {
        printf("cannot close %s\n", folder.data);
        fflush(stdout);
        return false;
    }
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    CString path = folder + "quelt_.exe";
    CString line = CString("\"") + path + "\"";
    if (!CreateProcessA(path.data, line.data, 0, 0, FALSE, 0, 0, folder.data, &startup,
                        &process)) {
        printf("cannot start %s: %lu\n", path.data, GetLastError());
        fflush(stdout);
        return false;
    }
    window = WaitForProcessWindow(process.dwProcessId, "QUELT_APP_WND_CLASS", "Quelt", false);
    // The input box is made just after the window.
    DWORD start = GetTickCount();
    while (window && !(edit = FindWindowExA(window, 0, "EDIT", 0)) &&
           GetTickCount() - start < kUiTimeoutMs)
        Sleep(20);
    return edit != 0;
}

namespace {

struct HotKeyWait {
    UINT modifiers;
    UINT key;
};

bool HotKeyTaken(void* context)
{
    HotKeyWait* wait = static_cast<HotKeyWait*>(context);
    return HotKeyHeldElsewhere(wait->modifiers, wait->key);
}

bool LauncherShown(void* context)
{
    return static_cast<CLauncherUnderTest*>(context)->HasFocusInEdit();
}

// The hotkey's modifiers are up again: a key typed while Wine still holds
// Alt down would reach the box as a system key and be lost.
bool ModifiersReleased(void*)
{
    static const int kModifiers[] = {VK_MENU, VK_CONTROL, VK_SHIFT, VK_LWIN, VK_RWIN};
    for (size_t i = 0; i < sizeof(kModifiers) / sizeof(kModifiers[0]); i++) {
        if (GetAsyncKeyState(kModifiers[i]) & 0x8000)
            return false;
    }
    return true;
}

bool LauncherHidden(void* context)
{
    return !static_cast<CLauncherUnderTest*>(context)->IsShown();
}

struct TextWait {
    CLauncherUnderTest* launcher;
    const char* text;
};

bool EditHolds(void* context)
{
    TextWait* wait = static_cast<TextWait*>(context);
    CString text = wait->launcher->EditText();
    return strcmp(text.Text(), wait->text) == 0;
}

}  // namespace

bool CLauncherUnderTest::WaitUntilHotKeyHeld(const UINT& modifiers, const UINT& key)
{
    // Probing the combination holds it for a moment: only once start-up
    // has waited for input, so the probe never takes it from the launcher.
    if (WaitForInputIdle(process.hProcess, kUiTimeoutMs) != 0)
        return false;
    HotKeyWait wait = {modifiers, key};
    return WaitUntil(HotKeyTaken, &wait);
}

bool CLauncherUnderTest::Quit()
{
    if (!window)
        return false;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_DESTROY, 0, 0, SMTO_NORMAL, kUiTimeoutMs, &ignored);
    return WaitForSingleObject(process.hProcess, kUiTimeoutMs) == WAIT_OBJECT_0;
}

CString CLauncherUnderTest::EditText()
{
    return WindowText(edit);
}

namespace {

// Whether edit controls count positions in characters rather than bytes
// (as those that keep Unicode text do), found out on one of our own.
bool EditsCountCharacters()
{
    HWND probe = CreateWindowExA(0, "EDIT", "ノ", WS_POPUP, 0, 0, 10, 10, 0, 0, 0, 0);
    DWORD both = static_cast<DWORD>(SendMessageA(probe, EM_SETSEL, 0, -1));
    both = static_cast<DWORD>(SendMessageA(probe, EM_GETSEL, 0, 0));
    DestroyWindow(probe);
    return HIWORD(both) == 1;
}

int ByteOffset(const CString& text, const int& position)
{
    static const bool characters = EditsCountCharacters();
    if (!characters)
        return position;
    const unsigned char* start = reinterpret_cast<const unsigned char*>(text.Text());
    const unsigned char* p = start;
    for (int i = 0; i < position && *p; i++)
        p += (IsDBCSLeadByte(*p) && p[1]) ? 2 : 1;
    return static_cast<int>(p - start);
}

}  // namespace

void CLauncherUnderTest::Selection(int& start, int& end)
{
    DWORD both = static_cast<DWORD>(AskWindow(edit, EM_GETSEL, 0, 0));
    CString text = EditText();
    start = ByteOffset(text, LOWORD(both));
    end = ByteOffset(text, HIWORD(both));
}

bool CLauncherUnderTest::IsShown()
{
    return IsWindowVisible(window) != 0;
}

bool CLauncherUnderTest::HasFocusInEdit()
{
    GUITHREADINFO info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, 0), &info))
        return false;
    return IsShown() && info.hwndFocus == edit && GetForegroundWindow() == window;
}

bool CLauncherUnderTest::WaitShownWithFocus()
{
    return WaitUntil(LauncherShown, this);
}

bool CLauncherUnderTest::WaitHidden()
{
    return WaitUntil(LauncherHidden, this);
}

bool CLauncherUnderTest::WaitEditText(const char* text)
{
    TextWait wait = {this, text};
    return WaitUntil(EditHolds, &wait);
}

bool CLauncherUnderTest::Keys(const char* keys)
{
    CString arguments("key --delay 40 ");
    arguments.Append(keys);
    return XDoTool(arguments.data);
}

bool CLauncherUnderTest::Type(const char* text)
{
    CString arguments;
    arguments.Format("type --delay 40 '%s'", text);
    return XDoTool(arguments.data);
}

bool CLauncherUnderTest::ShowWithHotKey(const char* keys)
{
    // The X focus can sit on the X window of a window that has just
    // closed; the keys are then lost before Wine sees them. Focusing the
    // desktop again and pressing once more is the person's remedy too.
    // xdotool itself can fail while a window closes (the focus request
    // meets an X window that is going away); that attempt is then lost
    // like one whose keys went astray.
    for (int attempt = 0; attempt < 3; attempt++) {
        if (!ActivateTestDesktop()) {
            printf("focusing the desktop failed (attempt %d)\n", attempt + 1);
            continue;
        }
        if (!Keys(keys)) {
            printf("sending %s failed (attempt %d)\n", keys, attempt + 1);
            continue;
        }
        if (!WaitUntil(LauncherShown, this, 4000))
            continue;
        if (WaitUntil(ModifiersReleased, this, 4000))
            return true;
        printf("the box is shown, but the modifiers stayed down\n");
        return false;
    }
    printf("the hotkey did not show the box in three attempts\n");
    return false;
}

bool CLauncherUnderTest::FocusBoxForKeys()
{
    return IsShown() && XDoTool("search --name '^Quelt$' windowfocus --sync");
}

HWND CLauncherUnderTest::ToolTip()
{
    return WaitForProcessWindow(process.dwProcessId, "__QUELT_TOOLTIP_WND__", 0, false, 0);
}

bool CLauncherUnderTest::ToolTipShown()
{
    HWND list = ToolTip();
    return list && IsWindowVisible(list);
}
