// Path rules of setup: the names of the settings files, when two folders
// overlap, and which recorded shortcut paths are this suite's own to
// delete. Paths are compared in their full, long form, case-insensitively
// and by whole components.
#ifndef QUELT_SETUP_SETUP_PATHS_H
#define QUELT_SETUP_SETUP_PATHS_H

#include "support/string.h"

// The settings files the launcher keeps beside it: its profile, the command
// file, its backup and the use counts. An uninstallation that keeps the
// settings leaves these behind; one that does not deletes them.
const int kSettingsFileCount = 4;
extern const char* const kSettingsFiles[kSettingsFileCount];

// "X:\..." or "\\server\share\...": not relative to the working folder.
bool IsAbsolutePath(const char* path);
// The same text but for the case of single-byte letters.
bool SamePathText(const char* first, const char* second);
// The folder as GetFullPathNameA gives it, with the names the file system
// has for its existing part and a trailing backslash; empty when it cannot
// be resolved.
Zint_Std::CString NormalFolder(const Zint_Std::CString& folder);
// inner is outer itself or lies somewhere inside it.
bool FolderIsOrLiesIn(const Zint_Std::CString& inner, const Zint_Std::CString& outer);
// The two name one folder once both are resolved as NormalFolder does (short
// names, "..", case); false when either cannot be resolved.
bool SameResolvedFolder(const Zint_Std::CString& first, const Zint_Std::CString& second);
// One of the two folders is, contains or lies inside the other; also true
// when either cannot be resolved, so that doubt never deletes anything.
bool FoldersOverlap(const Zint_Std::CString& first, const Zint_Std::CString& second);
// The uninstall command of the system's list, quoted or not, starts the
// setup.exe of this folder.
bool UninstallCommandNamesFolder(const Zint_Std::CString& command,
                                 const Zint_Std::CString& folder);

// The recorded Start-menu folder, normalised, when it is an absolute path
// inside the user's or the common programs folder ending in "\Quelt\";
// empty otherwise.
Zint_Std::CString OwnMenuFolder(const Zint_Std::CString& recorded);
// The recorded start-up shortcut, normalised, when it is an absolute path
// of a "Quelt.lnk" in the user's or the common start-up folder; empty
// otherwise.
Zint_Std::CString OwnStartupLink(const Zint_Std::CString& recorded);

#endif
