// What the install dialog accepts as install folder, and whether a chosen
// folder already holds files of something other than this suite.
#ifndef QUELT_SETUP_INSTALL_FOLDER_CHECK_H
#define QUELT_SETUP_INSTALL_FOLDER_CHECK_H

#include "support/string.h"

enum InstallFolderVerdict {
    kFolderUsable,
    kFolderEmpty,        // nothing but blanks
    kFolderNotAbsolute,  // relative to a working folder or a drive's current folder
    kFolderIsRoot,       // the root of a drive or of a network share
};

// Takes the blanks from both ends of typed and judges the rest by its text
// alone; when usable, folder is that text with a trailing backslash,
// otherwise empty.
InstallFolderVerdict CheckInstallFolder(const char* typed, Zint_Std::CString& folder);
// The message that refuses the verdict; null for kFolderUsable.
const char* InstallFolderRefusal(const InstallFolderVerdict& verdict);

// The folder holds entries besides this suite's settings files (which an
// uninstallation may have kept) and is no installation of this suite:
// neither the install folder of a record nor a folder holding quelt_.exe
// together with quelt_.ini or cmd_org.txt.
bool HoldsFilesOfAnotherProgram(const Zint_Std::CString& folder);

#endif
