// What a typed line names: one of the user's commands, a program of the
// Start menu, or something the shell can open without any command (a path,
// an address, a program on the search path). A command always wins.
#ifndef QUELT_LAUNCHER_LINE_TARGET_H
#define QUELT_LAUNCHER_LINE_TARGET_H

#include "support/string.h"

enum LineTargetKind {
    kTargetNothing,
    kTargetCommand,
    kTargetStartMenu,
    kTargetPath,
    kTargetAddress,
    kTargetProgram
};

struct LineTarget {
    int kind;
    int program;                   // the Start menu's entry, for kTargetStartMenu
    Zint_Std::CString file;        // as typed: references are expanded at the start
    Zint_Std::CString parameters;  // the rest of the line
};

// What the launcher knows beside the file system; context goes to both.
struct LineLookups {
    void* context;
    bool (*isCommand)(void* context, const char* name);
    // The Start menu's program named line, or -1; null when not looked at.
    int (*findProgram)(void* context, const char* line);
    bool openUnnamed;  // paths, addresses and programs on the search path
};

// Sorts out a trimmed, non-empty line.
void ClassifyLine(const Zint_Std::CString& line, const LineLookups& lookups, LineTarget& target);

// Whether name (no folder) is a program the search path or the App Paths
// know, as the Run dialog finds them.
bool IsProgramOnPath(const char* name);

#endif
