// Runs setup.exe from a scratch package in the test desktop and looks at
// what it leaves: the installed files, the registry, the shortcuts and the
// temporary files of the uninstaller. Every wait has a time limit.
#ifndef QUELT_TESTS_SETUP_DRIVER_H
#define QUELT_TESTS_SETUP_DRIVER_H

#include <windows.h>

#include "support/string.h"

const DWORD kSetupWaitMs = 30000;

extern const char kSettingsKeyPath[];
extern const char kUninstallKeyPath[];
// The uninstaller's temporary copy and its batch file in %TEMP%.
extern const char kUninstallCopyPattern[];

// A package as it is delivered: setup.exe beside the folder quelt_\ with
// the programs, the defaults, readme.txt and omake\.
class CSetupPackage {
public:
    Zint_Std::CString folder;     // trailing backslash
    Zint_Std::CString setupPath;  // folder + "setup.exe"
    Zint_Std::CString payload;    // folder + "quelt_\"
    bool withPinlet;              // Pinlet.exe was built and packed

    CSetupPackage();
    // Builds a new package in a scratch folder of that name.
    bool Build(const char* name);
};

// One run of a setup program.
class CSetupRun {
public:
    PROCESS_INFORMATION process;

    CSetupRun();
    ~CSetupRun();

    // With inheritHandles the run gets this process's inheritable handles.
    bool Start(const Zint_Std::CString& program, const char* arguments,
               const bool& inheritHandles = false);
    // The command line exactly as given, with the program named apart: how
    // the system starts a recorded command such as the UninstallString.
    bool StartAsGiven(const Zint_Std::CString& program, const char* commandLine);
    bool WaitEnded(const DWORD& timeoutMs = kSetupWaitMs);
    bool HasEnded();
};

// A visible dialog (class #32770) of any process but this one, with the
// caption and, when textPiece is set, a message-box label holding it.
HWND WaitForAnyDialog(const char* caption, const char* textPiece,
                      const DWORD& timeoutMs = kSetupWaitMs);
// A visible dialog owned by the window (a box or a picker it opened).
HWND WaitForOwnedDialog(HWND owner, const DWORD& timeoutMs = kSetupWaitMs);
// Waits until the control shows exactly this text.
bool WaitForItemText(HWND item, const char* text, const DWORD& timeoutMs = kSetupWaitMs);
// The label of the item selected in a tree view of another process.
Zint_Std::CString SelectedTreeItemText(HWND tree);
// Waits until the dialog's tree view has the item with this label selected.
bool WaitForTreeSelection(HWND dialog, const char* text, const DWORD& timeoutMs = kSetupWaitMs);
// One of the window's children shows exactly this text.
bool ShowsText(HWND window, const char* text);
// The control that has the keyboard focus in the dialog's thread.
HWND FocusOfDialogThread(HWND dialog);
// Waits until that focus is on the control.
bool WaitForFocus(HWND dialog, HWND control, const DWORD& timeoutMs = kSetupWaitMs);

// Removes every trace of an installation: both settings keys, the
// uninstall entry, the Start-menu folders, start-up and SendTo shortcuts,
// the per-user settings folder, the uninstaller's temporary files, running
// launchers and the notepad windows that showed readme.txt.
void CleanInstallationTraces();
// Closes every notepad window; true when at least one was open.
bool CloseNotepads();
// Waits for a notepad window whose title holds the text.
HWND WaitForNotepad(const char* titlePiece, const DWORD& timeoutMs = kSetupWaitMs);
// The program file name (like "explorer.exe") of the process that started
// the window's process; empty when that process has ended.
Zint_Std::CString ParentProgramOf(HWND window);
// Closes running launchers and waits until they are gone.
bool QuitLaunchers();

// Waits until the path does not exist any more.
bool WaitForPathGone(const Zint_Std::CString& path, const DWORD& timeoutMs = kSetupWaitMs);
// Files of the temporary folder that match the pattern (like
// "_quelt_uninst_*").
int CountTempFiles(const char* pattern);
bool WaitForNoTempFiles(const char* pattern, const DWORD& timeoutMs = kSetupWaitMs);

// Registry reads for the checks; false when the value is missing or of
// another type.
bool ReadRegistryString(HKEY root, const char* key, const char* name, Zint_Std::CString& value);
bool ReadRegistryDword(HKEY root, const char* key, const char* name, DWORD& value);
bool RegistryKeyExists(HKEY root, const char* key);
bool RegistryValueExists(HKEY root, const char* key, const char* name);
// Records an earlier installation of this version in the settings key.
bool WriteEarlierInstallation(HKEY root, const char* version, const Zint_Std::CString& folder);

// What the tests choose in the install dialog.
struct InstallChoice {
    Zint_Std::CString folder;
    int allUsers;
    int startup;
    int multiUser;
    int sendTo;

    InstallChoice() : allUsers(1), startup(1), multiUser(0), sendTo(0) {}
};

// Waits for the install dialog of the run, fills it as chosen (clicking the
// all-users box as a user would), optionally takes a screenshot and presses
// OK.
bool RunInstallDialog(CSetupRun& run, const InstallChoice& choice, const char* screenshot);
// Waits for a message box "Quelt" of the run, keeps its text and answers.
bool AnswerFinalQuestion(CSetupRun& run, const int& answer, Zint_Std::CString* text,
                         const char* screenshot);

// Installs through the dialog, answers No to the launcher start, waits
// until the run, its package and the readme window are gone. Over an
// installation of this version, confirmVersion answers Yes to the version
// question first.
bool InstallQuietly(CSetupPackage& package, const InstallChoice& choice,
                    const bool& confirmVersion = false);

// A screenshot once the window has painted.
bool TakeSettledScreenshot(HWND window, const char* name);

// Special folders with trailing backslash.
Zint_Std::CString SpecialFolder(const int& csidl);
// A scratch install folder under the test output, not created; fresh
// removes what an earlier run left there.
Zint_Std::CString TestInstallFolder(const char* name, const bool& fresh = true);

#endif
