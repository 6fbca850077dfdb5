// The names and the fixed texts Pinlet shows or looks for.
#ifndef QUELT_PINLET_TEXTS_H
#define QUELT_PINLET_TEXTS_H

#include <windows.h>

const char kPinletCaption[] = "Quelt";
const char kLauncherWindowClassName[] = "QUELT_APP_WND_CLASS";
const char kLauncherProgramName[] = "quelt_.exe";
const char kPinletProgramName[] = "Pinlet.exe";
const char kSendToShortcutName[] = "Queltに登録.lnk";

const char kAskStartLauncher[] =
    "Queltが起動していません.\nこの機能の利用にはQueltが起動している必要があります.\n"
    "Queltを起動しますか？";
const char kLauncherStartFailed[] = "Queltの起動に失敗しました.";
const char kAskCreateShortcut[] = "[送る] メニューに 【Queltに登録】 を作成しますか？";
const char kAskDeleteShortcut[] = "[送る] メニューの 【Queltに登録】 ショートカットを削除しますか？";

// The launcher's registration message: wParam is a global atom naming a path.
const UINT kRegisterPathMessage = WM_USER + 0x47F;  // 2175

#endif
