// Programs as a 64-bit program finds them. On 64-bit Windows this 32-bit
// suite sees SysWOW64 where System32 is written, and the 32-bit half of the
// registry; what it starts for the user is what a 64-bit program would start.
#ifndef QUELT_SUPPORT_NATIVE_PATHS_H
#define QUELT_SUPPORT_NATIVE_PATHS_H

#include <windows.h>

#include "support/string.h"

namespace Zint_Std {

struct SystemFolderView {
    bool wow64;                    // a 32-bit program on 64-bit Windows
    char windowsFolder[MAX_PATH];  // without a trailing backslash
};

// This process's view. IsWow64Process is looked up by name, so that a
// Windows without it still loads the program.
void ReadSystemFolderView(SystemFolderView& view);

// The file to start for file (environment references expanded). Under
// WOW64: a file under the system folder, or a name without a folder that the
// 64-bit App Paths register, the search finds in the system folder or only
// the 64-bit system folder holds, becomes its path under Sysnative when a
// file is there. Everything else, and everything without WOW64, unchanged.
CString NativeProgramPath(const CString& file, const SystemFolderView& view);
CString NativeProgramPath(const CString& file);

// The existing program that the App Paths of HKCU, then HKLM, register
// under name (with its extension), in the registry view given (0: this
// process's own, KEY_WOW64_64KEY: the 64-bit one), into program of
// MAX_PATH * 2 bytes.
bool AppPathsProgram(const char* name, const REGSAM& view, char* program);

}  // namespace Zint_Std

#endif
