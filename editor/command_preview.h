// What the launcher would run for a command and a sample of what is typed
// after its name: the same steps as the launcher's own run, text in and text
// out, so the single-command editor can show it while the user types.
#ifndef QUELT_EDITOR_COMMAND_PREVIEW_H
#define QUELT_EDITOR_COMMAND_PREVIEW_H

#include "commands/line_parser.h"
#include "support/string.h"

struct CommandPreview {
    Zint_Std::CString file;        // environment references expanded
    Zint_Std::CString parameters;  // as the shell gets them
    Zint_Std::CString folder;      // environment references expanded
    Zint_Std::CString note;        // arrow options, built-in codes, an empty PATH
};

// Fills preview for the command (name, PATH, FOLDER) and the sample typed
// after the name. query decides whether a blank belongs to the file name,
// as in the launcher (ShellFindsProgram there; null: never).
void ComputeCommandPreview(const char* name, const char* path, const char* folder,
                           const char* sample, ProgramQuery query, CommandPreview& preview);

// The action of a built-in code ("@" and a number) in words; null for a
// code the launcher does not know.
const char* BuiltinCodeName(const int& code);

#endif
