// Drives the real launcher in the test desktop: real keys through the X
// keyboard (xdotool), real window messages, and what can be seen from
// outside (window texts, the caret, visibility, the focus, screenshots).
#ifndef QUELT_TESTS_LAUNCHER_UI_DRIVER_H
#define QUELT_TESTS_LAUNCHER_UI_DRIVER_H

#include <windows.h>

#include "support/string.h"
#include "test_paths.h"

const DWORD kUiTimeoutMs = 15000;

// Runs xdotool with the arguments (no double quotes in them) and waits
// until it has ended; false when it failed or did not end in time.
bool XDoTool(const char* arguments);
// Gives the X keyboard focus to the Wine desktop window.
bool ActivateTestDesktop();
// A screenshot of the whole desktop, kept as build/test-output/ui/name.png.
bool TakeScreenshot(const char* name);
// The folder that keeps the artefacts of these tests (Windows path).
Zint_Std::CString UiOutputFolder();

// Polls a condition until it holds or the time is up.
typedef bool (*Condition)(void* context);
bool WaitUntil(Condition condition, void* context, const DWORD& timeoutMs = kUiTimeoutMs);

// A top-level window of the process with the class and title (either null
// for any), waited for; 0 when none came.
HWND WaitForProcessWindow(const DWORD& process, const char* className, const char* title,
                          const bool& visibleOnly, const DWORD& timeoutMs = kUiTimeoutMs);
// A visible top-level window of any process with the class and a title
// that holds titlePart; 0 when none came.
HWND WaitForVisibleWindowHolding(const char* className, const char* titlePart);
Zint_Std::CString WindowText(HWND window);
// The static text of a message box.
Zint_Std::CString MessageBoxText(HWND box);

// One launcher copied into a scratch install folder with its own files.
class CLauncherUnderTest {
public:
    Zint_Std::CString folder;  // trailing backslash
    PROCESS_INFORMATION process;
    HWND window;
    HWND edit;
    bool withEditor;              // quelt_.dll goes beside the program (the default)
    const char* shippedCommands;  // written as cmd_org.txt when set
    bool closedFolder;            // the folder is closed to writing before the start

    CLauncherUnderTest();
    ~CLauncherUnderTest();

    // Copies the program, writes the command file (unless null) and the
    // profile, starts it and waits for its window. The hotkey may be held
    // elsewhere.
    bool Start(const char* commands, const char* profile);
    // Waits until start-up has reached the message loop (hotkey held, or
    // the hotkey error box shown).
    bool WaitUntilHotKeyHeld(const UINT& modifiers, const UINT& key);
    bool Quit();

    Zint_Std::CString EditText();
    // Start and end of the selection; the caret when they are equal.
    void Selection(int& start, int& end);
    bool IsShown();
    bool HasFocusInEdit();
    // Waits until the box is visible with the focus in the edit control.
    bool WaitShownWithFocus();
    bool WaitHidden();
    bool WaitEditText(const char* text);
    // Presses keys with xdotool (the key names of xdotool).
    bool Keys(const char* keys);
    bool Type(const char* text);
    // Shows the box with Alt+1 and waits until it has the focus.
    bool ShowWithHotKey(const char* keys = "alt+1");
    // Gives the X keyboard focus to the shown box's own X window. When the
    // box comes to the front after the last dialog has closed, Wine leaves
    // the X focus on the desktop, and typed keys would be lost there.
    bool FocusBoxForKeys();

    HWND ToolTip();
    bool ToolTipShown();
};

// Whether another program holds the combination.
bool HotKeyHeldElsewhere(const UINT& modifiers, const UINT& key);

#endif
