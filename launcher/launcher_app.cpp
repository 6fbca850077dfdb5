#include "launcher/launcher_app.h"

#include <objbase.h>
#include <string.h>

#include "commands/line_parser.h"
#include "launcher/launcher_ids.h"
#include "launcher/line_target.h"
#include "launcher/path_completion.h"
#include "launcher/message_filter.h"
#include "support/files.h"

using Zint_Std::CString;

CLauncherApp* CLauncherApp::instance = 0;

namespace {

const char kHotKeyFailed[] = "ホットキーの登録に失敗しました !\n設定を変更してください.";

}  // namespace

LRESULT CALLBACK LauncherWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!CLauncherApp::instance)
        return DefWindowProcA(window, message, wParam, lParam);
    return CLauncherApp::instance->WindowProc(window, message, wParam, lParam);
}

CLauncherApp::CLauncherApp(HINSTANCE instanceHandle)
    : hInstance(instanceHandle), mainWindow(0), inputBox(0), imeContext(0), hotKeyAtom(0),
      keptHotKeyAtom(0), menu(0), popupMenu(0), commandList(0), runner(0), history(0), toolTip(0),
      imeHook(0), composing(false), previewWaits(false), editCountsCharacters(false),
      shutDown(false), showsCalculation(false), listShowsPaths(false), pathCompletion(0)
{
    memset(&settings, 0, sizeof(settings));
    instance = this;
}

CLauncherApp::~CLauncherApp()
{
    DestroyToolTipWindow();
    toolTip = 0;
    delete commandList;
    delete history;
    delete pathCompletion;
    delete runner;
    commandList = 0;
    history = 0;
    runner = 0;
    hInstance = 0;
    mainWindow = 0;
    inputBox = 0;
    if (instance == this)
        instance = 0;
}

int CLauncherApp::Run()
{
    if (FindWindowA(kLauncherWindowClass, 0))
        return 0;
    installFolder = Zint_Std::ModuleFolder(hInstance);
    commandList = new CCommandList(installFolder);
    if (!commandList->Load()) {
        MessageBoxA(GetDesktopWindow(), kCommandFileFailed, kLauncherTitle, MB_OK);
        return 0;
    }
    memset(&settings, 0, sizeof(settings));
    commandList->ReadSettings(settings);
    if (!RegisterMainClass())
        return 0;
    if (!CreateMainWindow())
        return 0;
    CreateInputBox();
    InstallImeHook();
    // An elevated launcher still takes paths from Pinlet, which runs with
    // the user's ordinary rights.
    AllowMessageFromLowerIntegrity(mainWindow, WM_REGISTERPATH);
    LearnEditPositions();
    TakeImeContext();
    hotKeyAtom = GlobalAddAtomA(kLauncherWindowClass);
    RegisterLauncherHotKey();
    runner = new CCommandRunner(hInstance, mainWindow, installFolder);
    if (settings.history > 0)
        history = new CInputHistory(settings.history);
    if (settings.toolTip)
        toolTip = CreateToolTipWindow(hInstance, mainWindow);
    if (settings.taskTray)
        SetTrayIcon(NIM_ADD);
    ShowWindow(mainWindow, SW_HIDE);
    MessageLoop();
    return 0;
}

bool CLauncherApp::RegisterMainClass()
{
    WNDCLASSA windowClass;
    memset(&windowClass, 0, sizeof(windowClass));
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = LauncherWindowProc;
    windowClass.hInstance = hInstance;
    windowClass.hCursor = LoadCursorA(0, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszClassName = kLauncherWindowClass;
    return RegisterClassA(&windowClass) != 0;
}

bool CLauncherApp::CreateMainWindow()
{
    HWND created = CreateWindowExA(WS_EX_TOOLWINDOW, kLauncherWindowClass, kLauncherTitle,
                                   WS_CAPTION, settings.x, settings.y, settings.width,
                                   settings.height, 0, 0, hInstance, 0);
    if (!created)
        return false;
    mainWindow = created;
    return true;
}

void CLauncherApp::CreateInputBox()
{
    RECT client;
    GetClientRect(mainWindow, &client);
    inputBox = CreateWindowExA(0, "EDIT", "",
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL |
                                   ES_AUTOVSCROLL,
                               2, 2, client.right - 4, client.bottom - 4, mainWindow, 0,
                               hInstance, 0);
}

void CLauncherApp::TakeImeContext()
{
    imeContext = ImmGetContext(inputBox);
    ApplyImeMode();
}

void CLauncherApp::RegisterLauncherHotKey()
{
    if (!RegisterHotKey(mainWindow, hotKeyAtom, settings.modifiers, settings.key))
        MessageBoxA(mainWindow, kHotKeyFailed, "ERROR", MB_SYSTEMMODAL);
}

void CLauncherApp::MessageLoop()
{
    MSG message;
    for (;;) {
        if (!PeekMessageA(&message, 0, 0, 0, PM_NOREMOVE)) {
            WaitMessage();
            continue;
        }
        if (GetMessageA(&message, 0, 0, 0) <= 0)
            break;
        NoteImeMessage(message.hwnd, message.message);
        if (FilterKey(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

LRESULT CLauncherApp::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        mainWindow = window;
        menu = LoadMenuA(hInstance, MAKEINTRESOURCEA(IDM_LAUNCHER));
        popupMenu = menu ? GetSubMenu(menu, 0) : 0;
        CoInitialize(0);
        break;
    case WM_DESTROY:
        // Also sent by the installer while a dialog may be open.
        CancelOpenDialogs();
        Shutdown();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam))
            SetFocus(inputBox);
        else
            HideInputBox();
        break;
    case WM_QUERYENDSESSION:
        StoreWindowPosition();
        break;
    case WM_ENDSESSION:
        // The process may be ended as soon as this returns: an open dialog
        // goes as cancelled, and the hotkey and its atom are given back.
        if (wParam) {
            CancelOpenDialogs();
            Shutdown();
        }
        break;
    case WM_COMMAND:
        OnCommand(wParam, lParam);
        return 0;
    case WM_HOTKEY:
        ShowInputBox(wParam);
        return 0;
    default:
        if (message == WM_TRAYNOTIFY)
            OnTrayNotify(wParam, lParam);
        else if (message == WM_REGISTERPATH)
            OnRegisterPath(wParam, lParam);
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void CLauncherApp::OnCommand(const WPARAM& wParam, const LPARAM& lParam)
{
    if (inputBox && reinterpret_cast<HWND>(lParam) == inputBox) {
        if (HIWORD(wParam) == EN_CHANGE)
            OnInputChanged();
        return;
    }
    const WORD command = LOWORD(wParam);
    // A reload or quit under an open dialog would pull the hotkey and the
    // dialog's own loop away from it; only the harmless ones run. The
    // command editor refuses by itself, after taking back a handed-out name.
    if (EditorOpen() && command != kCmdHelp && command != kCmdVersion &&
        command != kCmdEditCommands)
        return;
    switch (command) {
    case kCmdEditCommands: OpenCommandEditor(HIWORD(wParam), lParam); break;
    case kCmdEditSettings: OpenPropertyEditor(); break;
    case kCmdHelp: OpenHelp(); break;
    case kCmdVersion: ShowVersion(); break;
    case kCmdQuit: Shutdown(); break;
    case kCmdOpenCommandFile: OpenWithShell(commandList->commandFile); break;
    case kCmdReloadCommands: ReloadCommands(); break;
    case kCmdReloadSettings: ReloadSettings(); break;
    case kCmdOpenProfile: OpenWithShell(commandList->profileFile); break;
    default: break;
    }
}

void CLauncherApp::StoreWindowPosition()
{
    if (!commandList || !commandList->savePosition || !mainWindow)
        return;
    WINDOWPLACEMENT placement;
    memset(&placement, 0, sizeof(placement));
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(mainWindow, &placement))
        return;
    int x = placement.rcNormalPosition.left;
    int y = placement.rcNormalPosition.top;
    commandList->WritePosition(x > 0 ? x : 0, y > 0 ? y : 0);
}

void CLauncherApp::Shutdown()
{
    // The end of the session, a quit and the installer's message may follow
    // one another.
    if (shutDown)
        return;
    shutDown = true;
    StoreWindowPosition();
    CoUninitialize();
    // While a dialog is open the id is kept aside; it is released all the same.
    const ATOM hotKeyId = hotKeyAtom ? hotKeyAtom : keptHotKeyAtom;
    if (hotKeyId) {
        UnregisterHotKey(mainWindow, hotKeyId);
        GlobalDeleteAtom(hotKeyId);
    }
    hotKeyAtom = 0;
    keptHotKeyAtom = 0;
    if (menu)
        DestroyMenu(menu);
    menu = 0;
    popupMenu = 0;
    if (imeContext) {
        ImmReleaseContext(inputBox, imeContext);
        imeContext = 0;
    }
    if (imeHook)
        UnhookWindowsHookEx(imeHook);
    imeHook = 0;
    SetTrayIcon(NIM_DELETE);
    PostQuitMessage(0);
}

namespace {

bool IsCommandOf(void* list, const char* name)
{
    return static_cast<CCommandList*>(list)->HasCommand(name);
}

int FindProgramOf(void* list, const char* line)
{
    return static_cast<CCommandList*>(list)->FindStartMenuProgram(line);
}

}  // namespace

int CLauncherApp::RunLine(CString& line)
{
    TypedLine typed;
    if (!SplitTypedLine(line, typed) || !commandList || !runner)
        return 0;
    LineLookups lookups = {commandList, IsCommandOf,
                           commandList->startMenuPrograms ? FindProgramOf : 0,
                           commandList->openUnnamed != 0};
    LineTarget target;
    ClassifyLine(line, lookups, target);
    if (target.kind == kTargetNothing)
        return 0;
    if (target.kind == kTargetStartMenu)
        return runner->OpenShortcut(CString(commandList->programs.LinkPath(target.program)));
    if (target.kind != kTargetCommand)
        return runner->ShellLaunch(target.file, target.parameters, CString());
    CString path;
    CString folder;
    if (!commandList->GetCommand(typed.name, &path, &folder, 0))
        return 0;
    CString work = SubstituteArguments(path, typed);
    LaunchPlan plan;
    SeparateFileAndParameters(work, ShellFindsProgram, plan);
    // The name as typed: the "edit" option hands it to the command editor.
    const int started = runner->Execute(typed.name, plan.file, plan.parameters, folder);
    if (started)
        commandList->RecordRun(typed.name);
    return started;
}
