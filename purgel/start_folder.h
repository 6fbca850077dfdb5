// The folder a clean-up step starts from, as the file system really reaches
// it, and the test that keeps a step away from folders that hold far more
// than temporary files.
#ifndef QUELT_PURGEL_START_FOLDER_H
#define QUELT_PURGEL_START_FOLDER_H

#include "support/string.h"

// How the real path of a folder is found: by the system's final-path call
// where the system has one, else (and always with kNamesOnly, as on the
// systems without it) by the names.
enum FinalPathUse {
    kFinalPathWhereKnown,
    kNamesOnly
};

// The folders a start folder may not be (Windows) or lie above (profile,
// program).
struct ProtectedFolders {
    Zint_Std::CString windows;
    Zint_Std::CString profile;
    Zint_Std::CString program;  // the folder of this program
};

// This system's Windows folder, the user's profile and this program's folder.
void GetProtectedFolders(ProtectedFolders& folders);

// The real path of an existing folder, with trailing backslash: links on the
// way resolved where the system can tell, else the full path by the text
// rules with its short (8.3) names spelled long. False when the folder
// cannot be reached or named.
bool ResolveStartFolder(const Zint_Std::CString& folder, Zint_Std::CString& resolved,
                        const FinalPathUse& use = kFinalPathWhereKnown);

// True when folder may be emptied: its real path (in resolved) is neither a
// drive root, the Windows folder, the profile folder or one above it, nor a
// folder that holds this program, by name or by real path, in long or short
// spelling.
bool AcceptStartFolder(const Zint_Std::CString& folder, Zint_Std::CString& resolved);
bool AcceptStartFolder(const Zint_Std::CString& folder, const ProtectedFolders& protectedFolders,
                       const FinalPathUse& use, Zint_Std::CString& resolved);

#endif
