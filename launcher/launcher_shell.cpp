// The tray icon and the input box's arrival and departure.
#include "launcher/launcher_app.h"

#include <shellapi.h>
#include <stdlib.h>
#include <string.h>

#include "launcher/launcher_ids.h"

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

void CLauncherApp::HideInputBox()
{
    ShowWindow(mainWindow, SW_HIDE);
}

// The handlers below grow with the interactive launcher and the editor
// library; until then they only keep the contracts they must keep.

bool CLauncherApp::FilterKey(MSG&)
{
    return false;
}

void CLauncherApp::ShowInputBox(const WPARAM&) {}

void CLauncherApp::OnTrayNotify(const WPARAM&, const LPARAM&) {}

void CLauncherApp::ReloadSettings() {}


void CLauncherApp::OpenCommandEditor(const int&, const LPARAM& name)
{
    // Only a name this process handed out is freed; any other value (a
    // message posted by another program) is ignored.
    char* buffer = reinterpret_cast<char*>(name);
    if (runner && runner->TakeBackEditName(buffer))
        free(buffer);
}

void CLauncherApp::OpenPropertyEditor() {}

void CLauncherApp::OnRegisterPath(const WPARAM&, const LPARAM&) {}

void CLauncherApp::ReloadCommands()
{
    if (!commandList->Load())
        MessageBoxA(mainWindow, kCommandFileFailed, kLauncherTitle, MB_OK);
}
