// Scratch folders for tests that touch the file system.
#ifndef QUELT_TESTS_TEST_PATHS_H
#define QUELT_TESTS_TEST_PATHS_H

#include "support/string.h"

// A new, empty folder under the temporary folder, with trailing backslash.
Zint_Std::CString MakeScratchFolder(const char* name);
// Creates a file holding text; false when it could not be written.
bool WriteTextFile(const Zint_Std::CString& path, const char* text);
// Removes a scratch tree, read-only files included.
void RemoveScratchFolder(const Zint_Std::CString& folder);

#endif
