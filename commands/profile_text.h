// Text rules of the editors: what a command name may hold, how long a value
// may be, and how a value is written so that the profile reader gives back
// exactly what the user typed.
#ifndef QUELT_COMMANDS_PROFILE_TEXT_H
#define QUELT_COMMANDS_PROFILE_TEXT_H

#include "support/string.h"

// The longest values the launcher reads, in bytes without the terminator.
const int kMaxPathBytes = 499;
const int kMaxFolderBytes = 499;
const int kMaxCommentBytes = 99;

// Why a command name cannot be used; kNameFine when it can.
enum NameProblem {
    kNameFine = 0,
    kNameEmpty,
    kNameHasBlank,       // a typed line ends the name at the first blank
    kNameBreaksProfile,  // brackets, control characters, a broken character
};
NameProblem CheckCommandName(const char* name);

// A text (a file or shortcut name) made into a command name: blanks and
// characters a name cannot hold are dropped.
Zint_Std::CString CommandNameFromText(const char* text);

// A path as PATH holds it: in double quotes when it has a space or a tab,
// so that the launcher takes it as one file.
Zint_Std::CString QuotedWhenBlank(const char* path);

// A line break or another control character in a value.
bool HasLineBreak(const char* text);

// The text cut to at most limit bytes, never inside a double-byte character.
Zint_Std::CString CutToBytes(const char* text, const int& limit);

// The value as it has to stand after the equals sign: the profile reader
// strips blanks around a value and one pair of enclosing quotes, so a
// value that would lose something is wrapped in one more pair.
Zint_Std::CString EncodeProfileValue(const char* value);

// The longest value, in bytes, that a reader with room for limit bytes
// gives back whole: one less when the value has to be wrapped in quotes,
// since a reader that cuts the stored text loses the last character with
// the closing quote.
int ReadableLength(const char* value, const int& limit);

// Blanks at both ends: a space, a tab or the ideographic space.
bool IsBlankAt(const char* text, const int& index, int& width);

#endif
