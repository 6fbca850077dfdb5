// The setup program: installs the suite from its package, and uninstalls it
// in two processes when started with -U.
#ifndef QUELT_SETUP_SETUP_APP_H
#define QUELT_SETUP_SETUP_APP_H

#include <windows.h>

#include "support/string.h"

// The version this package installs.
extern const char kSuiteVersion[];
// The settings key under HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER.
extern const char kSettingsKey[];
// The entry in the system's list of installed programs (HKEY_LOCAL_MACHINE).
extern const char kUninstallKey[];

class CSetupApp {
public:
    HINSTANCE instance;
    Zint_Std::CString modulePath;       // this program's file
    Zint_Std::CString moduleFolder;     // its folder, with trailing backslash
    Zint_Std::CString installedFolder;  // set once RunInstall has installed

    explicit CSetupApp(HINSTANCE instance);

    // Chooses the run by the command line (without the program name) and
    // its parsed arguments; always 0.
    int Run(const char* commandLine, int argumentCount, char** arguments);

    // True when the suite was installed; every other end (a question
    // answered No, the dialog cancelled, a refused folder, a failed copy)
    // leaves the package in place for another try.
    bool RunInstall();
    // Writes the Start-menu shortcuts and, with startup, the start-up one;
    // the folder and the link path stay empty for what was not written.
    void CreateShortcuts(const Zint_Std::CString& installFolder, const int& allUsers,
                         const int& startup, Zint_Std::CString& programMenuFolder,
                         Zint_Std::CString& startupLinkPath);
    // Ends the run: the package goes with removePackage, and a hidden batch
    // file deletes this program once it has ended. Neither happens when the
    // package folder overlaps an installation.
    void ScheduleSelfDelete(const bool& removePackage);

    // First stage of the uninstallation: asks, then hands over to a copy of
    // this program in the temporary folder.
    void StartUninstall();
    // Second stage, in that copy: waits for the first stage to end, then
    // removes the installation from installFolder. False, with nothing
    // changed, when installFolder is not the recorded one.
    bool RunUninstall(const int& waitHandle, const int& deleteSettings,
                      const Zint_Std::CString& installFolder);

    // When the launcher runs, asks the question and closes it on Yes; false
    // when the user answered No.
    bool CloseRunningLauncher(const char* question);
    // This program is the uninstaller of an installation, not a package.
    bool IsInstalledCopy() const;
    // The folder is the InstFolder of either record.
    static bool MatchesRecordedInstallFolder(const Zint_Std::CString& folder);
    // The folder overlaps the folder of either record.
    static bool OverlapsRecordedInstallation(const Zint_Std::CString& folder);
    // A notice box "Quelt" on the desktop.
    static void Notify(const char* text);
    // The whole raw command line is this program's path, unquoted, and
    // " -U": the form that earlier installations recorded as the
    // uninstall command, which splits at the first blank of the path.
    static bool IsUnquotedUninstallLine(const char* rawLine, const Zint_Std::CString& modulePath);
};

#endif
