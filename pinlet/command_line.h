// Pinlet's command line: the whole text after the program name is one
// argument, either a switch or a path.
#ifndef QUELT_PINLET_COMMAND_LINE_H
#define QUELT_PINLET_COMMAND_LINE_H

#include "support/string.h"

enum PinletAction {
    kToggleShortcut,  // nothing given: offer to add or to remove the shortcut
    kAddShortcut,     // "-a"
    kDeleteShortcut,  // "-d"
    kRegisterPath     // anything else
};

// The text after the program name, skipped as the runtime's start-up code
// does for WinMain (a quoted name up to its closing quote, otherwise up to
// the first blank), then past the blanks that follow.
const char* ArgumentsAfterProgramName(const char* commandLine);

// The switches match the whole text exactly, case included.
PinletAction ActionOfArguments(const char* arguments);

// The path to hand to the launcher: one pair of enclosing double quotes
// removed, then cut to the longest atom name (255 bytes) at the last
// character boundary, so that no double-byte character is split.
Zint_Std::CString PathForAtom(const char* arguments);

#endif
