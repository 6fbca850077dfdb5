// The local path a shortcut file stores in its own bytes (the LinkInfo block
// of the .lnk format), read without the shell's link object. A 32-bit
// program on 64-bit Windows gets the program-files folder of 32-bit programs
// from the link object; the stored path is the one the shortcut was made for.
#ifndef QUELT_SUPPORT_LINK_FILE_PATH_H
#define QUELT_SUPPORT_LINK_FILE_PATH_H

#include <windows.h>

#include "support/string.h"

namespace Zint_Std {

// The local base path joined with the common path suffix, in the ANSI code
// page; false when the bytes hold no local path, when any offset or size
// leaves the bytes, or when the path has characters the ANSI code page lacks.
bool LinkFileLocalPath(const unsigned char* bytes, const DWORD& size, CString& path);
// The same, read from the first 64 KB of the file at linkPath.
bool ReadLinkFileLocalPath(const char* linkPath, CString& path);

}  // namespace Zint_Std

#endif
