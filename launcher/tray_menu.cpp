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
    // An end that never came does not keep Enter from working.
    composing = false;
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

void CLauncherApp::ReloadCommands()
{
    if (!commandList->Load())
        MessageBoxA(mainWindow, kCommandFileFailed, kLauncherTitle, MB_OK);
}
