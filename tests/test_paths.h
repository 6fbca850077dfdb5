// Scratch folders for tests that touch the file system.
#ifndef QUELT_TESTS_TEST_PATHS_H
#define QUELT_TESTS_TEST_PATHS_H

#include <windows.h>

#include "support/string.h"

// A new, empty folder under the temporary folder, with trailing backslash.
Zint_Std::CString MakeScratchFolder(const char* name);
// Creates a file holding text; false when it could not be written.
bool WriteTextFile(const Zint_Std::CString& path, const char* text);
// Writes bytes exactly as given.
bool WriteBytes(const Zint_Std::CString& path, const void* bytes, const int& length);
// The whole content of a file; empty when it cannot be read.
Zint_Std::CString ReadWholeFile(const Zint_Std::CString& path, int* length = 0);
// Waits until the file exists, at most timeoutMs.
bool WaitForFile(const Zint_Std::CString& path, const DWORD& timeoutMs);
// Removes a scratch tree, read-only files included.
void RemoveScratchFolder(const Zint_Std::CString& folder);

#endif
