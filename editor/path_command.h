// A new command made from a file or folder path, as it arrives through the
// SendTo registration: a name from the last path element, the path as PATH
// and the folder it lives in as FOLDER. A shortcut gives its target instead.
#ifndef QUELT_EDITOR_PATH_COMMAND_H
#define QUELT_EDITOR_PATH_COMMAND_H

#include "editor/command_store.h"
#include "support/string.h"

// What a shortcut file points at.
struct ShortcutTarget {
    Zint_Std::CString path;
    Zint_Std::CString arguments;
    Zint_Std::CString workingFolder;
};

// Reads a .lnk file through the shell's link object; false when it cannot
// be read or points at nothing in the file system.
bool ReadShortcutTarget(const char* linkPath, ShortcutTarget& target);

// The name a path suggests: its last element without the extension (a
// folder keeps its whole name, a drive root gives its letter), with what a
// command name may not hold (blanks, brackets, control characters) removed.
Zint_Std::CString NameFromPath(const char* path, const bool& isFolder);

// Fills entry (a new one) from path; the name is made unique within store.
// False, with entry left empty, for an empty path.
bool CommandFromPath(const char* path, const CCommandStore& store, CommandEntry& entry);

#endif
