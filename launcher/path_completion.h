// Tab completion of a typed path: the last word of the box, when it starts
// like a path, completed from the entries of its folder.
#ifndef QUELT_LAUNCHER_PATH_COMPLETION_H
#define QUELT_LAUNCHER_PATH_COMPLETION_H

#include "support/array.h"
#include "support/string.h"

struct PathCompletion {
    Zint_Std::CString result;  // the new text before the caret: head with its last word completed; empty when nothing
    Zint_Std::CString before;  // head up to where the word starts, as typed
    Zint_Std::CString folder;  // the word's folder part as typed, quotes removed ("C:\Program Files\")
    // Only for 2+ matches: first = name as listed ("System32\" for a
    // folder), second = ""; folders first, then by name; at most 200.
    Zint_Std::CArray<Zint_Std::CStringPair> entries;
    bool single;  // exactly one match: result holds it whole
};

// Whether the last word of head starts like a path: X:\  \\server\  %VAR%\  .\  ..\  or
// a quote (") followed by one of these.
bool LastWordIsPath(const char* head);

// Completes the last word of head (the text before the caret, its end
// trimmed by the caller) from the file system; false when the word is no
// path or nothing matches (completion is then emptied).
bool CompletePath(const Zint_Std::CString& head, PathCompletion& completion);

// The text the box takes when entry name (an entries[i].first, or the
// single match) is chosen: before + folder + name, the word in quotes when
// it holds a blank.
Zint_Std::CString PathChoiceText(const PathCompletion& completion, const char* name);

#endif
