// The folder a clean-up step starts from, as the file system really reaches
// it, and the test that keeps a step away from folders that hold far more
// than temporary files.
#ifndef QUELT_PURGEL_START_FOLDER_H
#define QUELT_PURGEL_START_FOLDER_H

#include "support/string.h"

// The real path of an existing folder, with trailing backslash: links on the
// way resolved where the system can tell, else the full path by the text
// rules. False when the folder cannot be reached or named.
bool ResolveStartFolder(const Zint_Std::CString& folder, Zint_Std::CString& resolved);

// True when folder may be emptied: its real path (in resolved) is neither a
// drive root, the Windows folder, the profile folder or one above it, nor a
// folder that holds this program, by name or by real path.
bool AcceptStartFolder(const Zint_Std::CString& folder, Zint_Std::CString& resolved);

#endif
