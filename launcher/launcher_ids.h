// Command identifiers, messages and resource numbers of the launcher. Other
// programs of the suite post some of these; keep the numbers.
#ifndef QUELT_LAUNCHER_IDS_H
#define QUELT_LAUNCHER_IDS_H

#define IDI_LAUNCHER 102
#define IDM_LAUNCHER 103

#define kCmdEditCommands 40001
#define kCmdEditSettings 40002
#define kCmdHelp 40003
#define kCmdVersion 40004
#define kCmdQuit 40005
#define kCmdOpenCommandFile 40006
#define kCmdReloadCommands 40007
#define kCmdReloadSettings 40009
#define kCmdOpenProfile 40010

#ifndef RC_INVOKED
#include <windows.h>

#include "commands/editor_contract.h"

const UINT WM_TRAYNOTIFY = WM_USER + 0x41B;    // 2075
const UINT WM_REGISTERPATH = WM_USER + 0x47F;  // 2175
const UINT TRAY_ICON_ID = 93657;

const char kLauncherWindowClass[] = "QUELT_APP_WND_CLASS";
const char kLauncherTitle[] = "Quelt";
const char kLauncherVersion[] = "0.981";
const char kCommandFileFailed[] = "コマンドファイルの読み込みに失敗しました.";
#endif

#endif
