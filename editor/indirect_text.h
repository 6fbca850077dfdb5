// Texts the shell stores as a reference to a resource string, such as
// "@%SystemRoot%\system32\shell32.dll,-22534" in a shortcut's description.
#ifndef QUELT_EDITOR_INDIRECT_TEXT_H
#define QUELT_EDITOR_INDIRECT_TEXT_H

#include "support/string.h"

// Whether text is such a reference: it begins with "@".
bool IsIndirectText(const char* text);

// The string the reference names, in the ANSI code page. False when the
// system has no resolver (before XP) or the reference names nothing.
bool LoadIndirectText(const char* source, Zint_Std::CString& text);

#endif
