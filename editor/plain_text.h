// Texts taken from outside the command file (a shortcut's description,
// arguments, target and working folder) made safe to store as one value:
// a line break in them would start a line, or a section, of its own.
#ifndef QUELT_EDITOR_PLAIN_TEXT_H
#define QUELT_EDITOR_PLAIN_TEXT_H

#include "support/string.h"

// The text without control characters (bytes below 0x20 and 0x7F): a run
// of them between words becomes one blank, blanks at either end go. A
// double-byte character stays whole; a lead byte without its trail byte is
// dropped, so that it cannot swallow what follows.
Zint_Std::CString WithoutControlCharacters(const char* text);

#endif
