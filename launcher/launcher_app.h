// The launcher's application object: start-up, the hidden main window with
// its input box, the hotkey, the message loop and the orderly shut-down.
#ifndef QUELT_LAUNCHER_APP_H
#define QUELT_LAUNCHER_APP_H

#include <windows.h>
#include <imm.h>

#include "launcher/command_list.h"
#include "launcher/command_runner.h"
#include "launcher/input_history.h"
#include "launcher/tooltip_window.h"
#include "support/string.h"

struct PathCompletion;

// An entry point of the editor library, cast to its own type before use.
typedef void (*EditorEntry)();

class CLauncherApp {
public:
    HINSTANCE hInstance;
    HWND mainWindow;
    HWND inputBox;
    HIMC imeContext;      // null after it was released
    ATOM hotKeyAtom;      // the hotkey id; 0 while an editor dialog is open and after shut-down
    ATOM keptHotKeyAtom;  // the hotkey id while an editor dialog is open; 0 otherwise
    HMENU menu;
    HMENU popupMenu;
    CCommandList* commandList;
    CCommandRunner* runner;
    CInputHistory* history;   // null while the History setting is 0 or less
    CToolTipWindow* toolTip;  // null while the ToolTip setting is 0

    explicit CLauncherApp(HINSTANCE instance);
    ~CLauncherApp();

    // The process-wide object that the window procedure forwards to.
    static CLauncherApp* instance;

    int Run();
    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Shutdown();
    void StoreWindowPosition();
    int RunLine(Zint_Std::CString& line);

    // The input box's keys; true when the message was consumed.
    bool FilterKey(MSG& message);
    void ShowInputBox(const WPARAM& wParam);
    void HideInputBox();
    void OnTrayNotify(const WPARAM& wParam, const LPARAM& lParam);
    BOOL SetTrayIcon(const DWORD& operation);
    void ReloadSettings();
    void ReloadCommands();
    void OpenCommandEditor(const int& origin, const LPARAM& name);
    void OpenPropertyEditor();
    void OnRegisterPath(const WPARAM& wParam, const LPARAM& lParam);

    // The IME's conversion in the box. Its WM_IME_* messages are mostly
    // sent to the edit control, and a sent message never comes out of
    // GetMessage: a hook on the thread's sent messages watches them without
    // subclassing the box, the loop watches the posted ones. A conversion
    // whose start went unseen shows in its composition string.
    HHOOK imeHook;
    bool composing;     // between the start and the end of a composition
    bool previewWaits;  // the text changed during it: the preview follows its end
    void InstallImeHook();
    void NoteImeMessage(const HWND& window, const UINT& message);
    bool Composing();

private:
    Zint_Std::CString installFolder;
    bool editCountsCharacters;  // the input box's positions: characters, not bytes
    bool shutDown;              // Shutdown has run: it runs once
    bool showsCalculation;      // the candidate list holds a result, not names
    bool listShowsPaths;        // the candidate list holds a folder's entries
    // The last completion of a typed path; made at the first one.
    PathCompletion* pathCompletion;
    LauncherSettings settings;

    bool RegisterMainClass();
    bool CreateMainWindow();
    void CreateInputBox();
    void TakeImeContext();
    void RegisterLauncherHotKey();
    void OnCommand(const WPARAM& wParam, const LPARAM& lParam);
    void OpenWithShell(const Zint_Std::CString& file);
    void ShowVersion();
    void OpenHelp();
    void ApplyImeMode();
    void ApplyHistorySetting();
    void ApplyToolTipSetting();
    void ResizeInputBox();
    // The editor dialogs: the one-at-a-time guard, and the library's entry
    // point (null after the warning was shown).
    bool BeginEditor();
    void EndEditor();
    bool EditorOpen() const { return keptHotKeyAtom != 0; }
    // Ends every dialog this thread shows, innermost first, asking nothing.
    void CancelOpenDialogs();
    // A path that came while a dialog was open is dropped: the user hears why.
    void TellPathNotRegistered(const Zint_Std::CString& path);
    // Greys the menu's commands that must wait for the open dialog.
    void EnableMenuCommands(const bool& enable);
    EditorEntry LoadEditor(const char* entryName, HMODULE& library);

    // The input box's keys.
    Zint_Std::CString InputText();
    // Caret positions in bytes, whatever unit the edit control counts in.
    void SetInputText(const char* text, const int& caret);
    int SelectionStart(const Zint_Std::CString& text);
    void LearnEditPositions();
    void SubmitLine();
    void ShowHistoryEntry(const char* text);
    void CompleteInput(const bool& backwards);
    // Tab on a line whose last word starts like a path; false when it does
    // not, or nothing in its folder matches.
    bool CompletePathInput(const Zint_Std::CString& head, Zint_Std::CString& result);
    bool DeleteCharacter();
    void ClearInput();
    void MessageLoop();

    // The arithmetic of a line that starts with "=" and names no command:
    // its result, false when there is none to show.
    bool CalculationOf(const Zint_Std::CString& line, Zint_Std::CString& result);
    void OnInputChanged();
    // Enter on such a line: the result goes to the clipboard.
    bool SubmitCalculation(const Zint_Std::CString& line);
};

// Brings window to the front even when another program has the foreground.
void ForceForeground(HWND window);

LRESULT CALLBACK LauncherWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
