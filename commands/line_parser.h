// Turning a typed line and a command's PATH into what the shell starts. Pure
// text in, text out (the association query and the environment aside), so
// the command editor can show the same result the launcher would run.
#ifndef QUELT_COMMANDS_LINE_PARSER_H
#define QUELT_COMMANDS_LINE_PARSER_H

#include "support/string.h"

// Slot 0 holds everything typed after the name, slots 1 to 9 its first nine
// words, slot 10 stays empty and ends every walk over the slots.
const int kArgumentSlots = 11;

struct TypedLine {
    Zint_Std::CString name;
    Zint_Std::CString slots[kArgumentSlots];
};

struct LaunchPlan {
    Zint_Std::CString file;
    Zint_Std::CString parameters;
};

// A blank or a tab, which is never the second byte of a double-byte
// character.
bool IsBlankOrTab(const char& c);
// The first character after blanks, tabs and line ends.
const char* SkipBlanks(const char* p);

// Whether the shell finds a program for the whole text (a file of that name
// with an association); decides whether a blank belongs to the file name.
typedef bool (*ProgramQuery)(const char* text);
bool ShellFindsProgram(const char* text);

// Trims the line (it is modified) and splits it into name and arguments;
// false when nothing but blanks was typed.
bool SplitTypedLine(Zint_Std::CString& line, TypedLine& typed);

// Puts the typed arguments into PATH ($1..$9, $$, $!, and the words not
// placed yet at the end). With nothing typed after the name, PATH is
// returned as written.
Zint_Std::CString SubstituteArguments(const Zint_Std::CString& path, const TypedLine& typed);

// Separates the file to start from its parameters: a quoted file first,
// else the first blank after a dot in the last path part, unless the shell
// knows the whole text as one file.
void SeparateFileAndParameters(const Zint_Std::CString& text, ProgramQuery query,
                               LaunchPlan& plan);

// Expands environment references into a zero-filled buffer of at least 500
// bytes that holds the whole result, however long; the caller frees it.
// Null when memory ran out.
char* ExpandEnvironmentToFit(const char* text);

#endif
