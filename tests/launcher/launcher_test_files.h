// Files and folders of the launcher tests.
#ifndef QUELT_TESTS_LAUNCHER_TEST_FILES_H
#define QUELT_TESTS_LAUNCHER_TEST_FILES_H

#include <windows.h>

#include "support/string.h"

// The whole content of a file; empty when it cannot be read.
Zint_Std::CString ReadWholeFile(const Zint_Std::CString& path, int* length = 0);
// Writes bytes exactly as given.
bool WriteBytes(const Zint_Std::CString& path, const void* bytes, const int& length);
// Waits until the file exists, at most timeoutMs.
bool WaitForFile(const Zint_Std::CString& path, const DWORD& timeoutMs);
// The folder of the running test program, with trailing backslash.
Zint_Std::CString TestProgramFolder();

#endif
