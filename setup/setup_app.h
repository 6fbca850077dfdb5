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
    Zint_Std::CString modulePath;    // this program's file
    Zint_Std::CString moduleFolder;  // its folder, with trailing backslash

    explicit CSetupApp(HINSTANCE instance);

    // Chooses the run by the command line (without the program name) and
    // its parsed arguments; always 0.
    int Run(const char* commandLine, int argumentCount, char** arguments);

    void RunInstall();
    // Writes the Start-menu shortcuts and, with startup, the start-up one;
    // the folder and the link path stay empty for what was not written.
    void CreateShortcuts(const Zint_Std::CString& installFolder, const int& allUsers,
                         const int& startup, Zint_Std::CString& programMenuFolder,
                         Zint_Std::CString& startupLinkPath);
    // Ends the run: the package goes with removePackage, and a hidden batch
    // file deletes this program once it has ended.
    void ScheduleSelfDelete(const bool& removePackage);

    // First stage of the uninstallation: asks, then hands over to a copy of
    // this program in the temporary folder.
    void StartUninstall();
    // Second stage, in that copy: waits for the first stage to end, then
    // removes the installation from installFolder.
    void RunUninstall(const int& waitHandle, const int& deleteSettings,
                      const Zint_Std::CString& installFolder);

    // When the launcher runs, asks the question and closes it on Yes; false
    // when the user answered No.
    bool CloseRunningLauncher(const char* question);
    // This program is the uninstaller of an installation, not a package.
    bool IsInstalledCopy() const;
};

#endif
