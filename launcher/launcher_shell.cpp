// The input box's arrival and departure, the tray icon with its menu, the
// menu's own commands and the reloads.
#include "launcher/launcher_app.h"

#include <shellapi.h>
#include <stdlib.h>
#include <string.h>

using Zint_Std::CString;

#include "launcher/launcher_ids.h"
#include "support/files.h"

BOOL CLauncherApp::SetTrayIcon(const DWORD& operation)
{
    NOTIFYICONDATAA data;
    memset(&data, 0, sizeof(data));
    data.cbSize = 88;  // the original record, understood by every shell
    data.hWnd = mainWindow;
    data.uID = TRAY_ICON_ID;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_TRAYNOTIFY;
    data.hIcon = LoadIconA(hInstance, MAKEINTRESOURCEA(IDI_LAUNCHER));
    lstrcpynA(data.szTip, kLauncherTitle, sizeof(data.szTip));
    return Shell_NotifyIconA(operation, &data);
}

void ForceForeground(HWND window)
{
    // The system refuses the foreground to a program the user is not
    // working with unless the lock timeout is 0 for that moment.
    DWORD saved = 0;
    SystemParametersInfoA(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &saved, 0);
    SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, 0, 0);
    SetForegroundWindow(window);
    SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                          reinterpret_cast<PVOID>(static_cast<ULONG_PTR>(saved)), 0);
}

void CLauncherApp::ShowInputBox(const WPARAM& wParam)
{
    // The id is 0 while an editor dialog is open: nothing shows then.
    if (!hotKeyAtom || LOWORD(wParam) != hotKeyAtom)
        return;
    SendMessageA(inputBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    if (commandList->imeMode == 1 && imeContext)
        ImmSetOpenStatus(imeContext, FALSE);
    ForceForeground(mainWindow);
    ShowWindow(mainWindow, SW_SHOWNORMAL);
    SetWindowPos(mainWindow, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    ForceForeground(mainWindow);
    SetActiveWindow(mainWindow);
    SetFocus(inputBox);
}

void CLauncherApp::HideInputBox()
{
    if (toolTip)
        toolTip->Hide();
    if (history)
        history->cursor = -1;
    ShowWindow(mainWindow, SW_HIDE);
}

void CLauncherApp::OnTrayNotify(const WPARAM& wParam, const LPARAM& lParam)
{
    if (wParam != TRAY_ICON_ID)
        return;
    if (lParam == WM_LBUTTONDBLCLK) {
        PostMessageA(mainWindow, WM_COMMAND, kCmdEditCommands, 0);
        PostMessageA(mainWindow, WM_USER, 0, 0);
    } else if (lParam == WM_RBUTTONDOWN) {
        POINT cursor = {0, 0};
        GetCursorPos(&cursor);
        HideInputBox();
        EnableMenuCommands(!EditorOpen());
        // Without the foreground the menu would not close on a click
        // elsewhere.
        ForceForeground(mainWindow);
        TrackPopupMenuEx(popupMenu, 0, cursor.x, cursor.y, mainWindow, 0);
        PostMessageA(mainWindow, WM_USER, 0, 0);
    }
}

void CLauncherApp::ReloadSettings()
{
    const bool wasInUse = GetFocus() == inputBox && inputBox;
    if (wasInUse)
        HideInputBox();
    LauncherSettings fresh;
    memset(&fresh, 0, sizeof(fresh));
    commandList->ReadSettings(fresh);
    settings = fresh;
    SetWindowPos(mainWindow, 0, 0, 0, settings.width, settings.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_HIDEWINDOW);
    ResizeInputBox();
    ApplyImeMode();
    UnregisterHotKey(mainWindow, hotKeyAtom);
    RegisterLauncherHotKey();
    ApplyHistorySetting();
    ApplyToolTipSetting();
    SetTrayIcon(settings.taskTray ? NIM_ADD : NIM_DELETE);
    if (wasInUse)
        ShowInputBox(hotKeyAtom);
}

void CLauncherApp::ResizeInputBox()
{
    // The same 2-pixel margin on every side as when the box was made.
    RECT client;
    GetClientRect(mainWindow, &client);
    SetWindowPos(inputBox, 0, 0, 0, client.right - 4, client.bottom - 4,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CLauncherApp::ApplyImeMode()
{
    // With no context, typing in the box never goes through the IME.
    ImmAssociateContext(inputBox, commandList->imeMode == 2 ? 0 : imeContext);
}

void CLauncherApp::ApplyHistorySetting()
{
    if (settings.history <= 0) {
        delete history;
        history = 0;
        return;
    }
    if (!history)
        history = new CInputHistory(0);
    history->Limit(settings.history);
}

void CLauncherApp::ApplyToolTipSetting()
{
    if (settings.toolTip) {
        toolTip = CreateToolTipWindow(hInstance, mainWindow);
    } else {
        DestroyToolTipWindow();
        toolTip = 0;
    }
}

void CLauncherApp::OpenWithShell(const CString& file)
{
    if (file.IsEmpty())
        return;
    ShellExecuteA(mainWindow, 0, file.data, 0, 0, SW_SHOWNORMAL);
}

void CLauncherApp::ShowVersion()
{
    CString text("Quelt Version ");
    text.Append(kLauncherVersion);
    MessageBoxA(mainWindow, text.data, "バージョン情報", MB_SYSTEMMODAL);
}

void CLauncherApp::OpenHelp()
{
    CString help(installFolder);
    help.Append("quelt_.chm");
    // No help installed: nothing to open, and nothing to say about it.
    if (!Zint_Std::PathExists(help.data))
        return;
    OpenWithShell(help);
}

namespace {

const char kEditorLibrary[] = "quelt_.dll";
const char kEditorLoadFailed[] = "dllのロードに失敗しました.\n";

}  // namespace

bool CLauncherApp::BeginEditor()
{
    // The id is 0 while a dialog is open: only one at a time.
    if (!hotKeyAtom)
        return false;
    HideInputBox();
    keptHotKeyAtom = hotKeyAtom;
    hotKeyAtom = 0;
    return true;
}

void CLauncherApp::EndEditor()
{
    // After a shut-down under the dialog the id is gone and stays so.
    if (keptHotKeyAtom)
        hotKeyAtom = keptHotKeyAtom;
    keptHotKeyAtom = 0;
}

namespace {

// The first enabled, visible dialog box of the thread: the innermost one,
// since each dialog disables the window it was opened over.
BOOL CALLBACK FindActiveDialog(HWND window, LPARAM found)
{
    char className[16];
    if (!IsWindowVisible(window) || !IsWindowEnabled(window) ||
        !GetClassNameA(window, className, sizeof(className)) || lstrcmpA(className, "#32770"))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

HWND ActiveDialog()
{
    HWND dialog = 0;
    EnumThreadWindows(GetCurrentThreadId(), FindActiveDialog, reinterpret_cast<LPARAM>(&dialog));
    return dialog;
}

}  // namespace

void CLauncherApp::CancelOpenDialogs()
{
    // Innermost first; each loop unwinds once this message has been
    // handled. The editor's own dialogs end without asking anything, as no
    // answer could be acted on now. Message boxes and the system's dialogs
    // get Cancel, and one that ignores it is ended anyway, so that the next
    // one out can be reached.
    for (int round = 0; round < 32; round++) {
        HWND dialog = ActiveDialog();
        if (!dialog)
            return;
        if (SendMessageA(dialog, WM_ENDEDITORDIALOG, 0, 0) != kDialogEndedUnasked)
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        if (IsWindow(dialog) && IsWindowVisible(dialog))
            EndDialog(dialog, IDCANCEL);
    }
}

void CLauncherApp::EnableMenuCommands(const bool& enable)
{
    if (!popupMenu)
        return;
    const int count = GetMenuItemCount(popupMenu);
    for (int at = 0; at < count; at++) {
        // The file submenu (no id of its own) goes grey as a whole.
        const UINT id = GetMenuItemID(popupMenu, at);
        if ((GetMenuState(popupMenu, at, MF_BYPOSITION) & MF_SEPARATOR) || id == kCmdHelp ||
            id == kCmdVersion)
            continue;
        EnableMenuItem(popupMenu, at, MF_BYPOSITION | (enable ? MF_ENABLED : MF_GRAYED));
    }
}

EditorEntry CLauncherApp::LoadEditor(const char* entryName, HMODULE& library)
{
    CString path(installFolder);
    path.Append(kEditorLibrary);
    library = LoadLibraryA(path.data);
    FARPROC entry = library ? GetProcAddress(library, entryName) : 0;
    if (!entry) {
        MessageBoxA(mainWindow, kEditorLoadFailed, "警告", MB_OK);
        if (library)
            FreeLibrary(library);
        library = 0;
    }
    return reinterpret_cast<EditorEntry>(reinterpret_cast<void*>(entry));
}

void CLauncherApp::OpenCommandEditor(const int& origin, const LPARAM& name)
{
    // Only a name this process handed out is taken over and freed; any
    // other value (a message posted by another program) is ignored.
    CString commandName;
    char* buffer = reinterpret_cast<char*>(name);
    if (buffer && runner && runner->TakeBackEditName(buffer)) {
        commandName = buffer;
        delete[] buffer;
    }
    if (!BeginEditor())
        return;
    HMODULE library = 0;
    CommandEditEntry entry =
        reinterpret_cast<CommandEditEntry>(LoadEditor(kCommandEditEntryName, library));
    if (entry) {
        int originCode = origin;
        if (entry(mainWindow, &commandList->commandFile, &originCode, &commandName))
            ReloadCommands();
        FreeLibrary(library);
    }
    EndEditor();
}

void CLauncherApp::OpenPropertyEditor()
{
    if (!BeginEditor())
        return;
    HMODULE library = 0;
    PropertyEditEntry entry =
        reinterpret_cast<PropertyEditEntry>(LoadEditor(kPropertyEditEntryName, library));
    if (entry) {
        // A shut-down under the dialog has released the id: nothing to
        // register again then.
        if (entry(mainWindow, keptHotKeyAtom, &commandList->profileFile) && keptHotKeyAtom) {
            // The reload registers the hotkey again under the same id.
            EndEditor();
            ReloadSettings();
        }
        FreeLibrary(library);
    }
    EndEditor();
}

void CLauncherApp::OnRegisterPath(const WPARAM& wParam, const LPARAM&)
{
    // The atom is consumed exactly once, also when no dialog follows.
    CString path;
    path.Reserve(500);
    const ATOM atom = static_cast<ATOM>(LOWORD(wParam));
    if (atom) {
        if (!GlobalGetAtomNameA(atom, path.data, 500))
            path.data[0] = 0;
        GlobalDeleteAtom(atom);
    }
    if (!BeginEditor()) {
        if (EditorOpen())
            TellPathNotRegistered(path);
        return;
    }
    HMODULE library = 0;
    CommandNewItemEntry entry =
        reinterpret_cast<CommandNewItemEntry>(LoadEditor(kCommandNewItemEntryName, library));
    if (entry) {
        if (entry(mainWindow, &commandList->commandFile, &path))
            ReloadCommands();
        FreeLibrary(library);
    }
    EndEditor();
}

void CLauncherApp::TellPathNotRegistered(const CString& path)
{
    // Over the dialog that is in the way: the main window is disabled
    // under it, and a box owned by it would enable it again when closed.
    CString text;
    text.Format("Quelt のダイアログが開いているため、次のパスを登録できませんでした。\n\n%s\n\n"
                "ダイアログを閉じてから、もう一度送ってください。",
                path.data ? path.data : "");
    MessageBoxA(ActiveDialog(), text.data, kLauncherTitle, MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
}

void CLauncherApp::ReloadCommands()
{
    if (!commandList->Load())
        MessageBoxA(mainWindow, kCommandFileFailed, kLauncherTitle, MB_OK);
}
