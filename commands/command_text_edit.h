// The new text of a command file: the changes of a save applied to the
// file as it is now, each at its own place, every other byte kept.
#ifndef QUELT_COMMANDS_COMMAND_TEXT_EDIT_H
#define QUELT_COMMANDS_COMMAND_TEXT_EDIT_H

#include "commands/command_file.h"
#include "support/array.h"
#include "support/string.h"

// Where a replacement goes among others at the same place: a change within
// a line comes before a key line added after it (at the very end of a file
// the two meet), a key line added to a section before the next section
// taken out there, and new sections after everything at the file's end.
enum ReplacementRank {
    kInLine = 0,
    kNewLine,
    kCut,
    kAppended
};

// Bytes start to end of the old text give way to text.
struct TextReplacement {
    int start;
    int end;
    int rank;   // ReplacementRank
    int order;  // replacements of one rank at one place keep the order they were made in
    Zint_Std::CString text;
};

class CCommandTextEdit {
public:
    explicit CCommandTextEdit(const CCommandFile& file);

    // The section's header, its keys and the comments between them go; the
    // comments and blank lines after its last key stay for what follows.
    bool DeleteSection(const int& section);
    // Only the name between the brackets changes.
    bool RenameSection(const int& section, const char* name);
    // The value after the equals sign of the key's line changes; a key the
    // section lacks gets a line after its last key.
    bool SetValue(const int& section, const char* key, const char* value);
    // A new section at the end, with the keys whose values are not empty.
    bool AppendSection(const char* name, const char* const* keys, const char* const* values,
                       const int& count);

    // The old text with every replacement; free() the result. Null when
    // memory ran out.
    char* Compose(int& length);

private:
    const CCommandFile& file;
    Zint_Std::CArray<TextReplacement> replacements;
    Zint_Std::CString lineEnd;  // the file's own, CR LF when it has none
    bool appended;

    bool Replace(const int& start, const int& end, const Zint_Std::CString& text,
                 const int& rank);
    // The end of the section's last key line, its line end included; the
    // end of the header line when it has no key.
    int AfterLastKeyLine(const int& section) const;
    bool EndsWithLineEnd(const int& at) const;
};

#endif
