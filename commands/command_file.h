// The command file read whole into memory, once, and answered the way the
// platform's profile reader answers it: the same sections, the same keys,
// the same values, cut at the same lengths. The editors find in it the
// exact lines they change.
#ifndef QUELT_COMMANDS_COMMAND_FILE_H
#define QUELT_COMMANDS_COMMAND_FILE_H

#include <windows.h>

#include "support/string.h"

// One section header and the lines that follow it up to the next header.
struct ProfileSection {
    int headerStart;    // first byte of the header line
    int nameStart;      // the name between the brackets, blanks trimmed
    int nameEnd;        // end of that trimmed name
    int nameLength;     // from nameStart up to a NUL character, which ends a name
    int bodyStart;      // first byte after the header line and its line end;
                        // the body ends where the next header begins
    unsigned int hash;  // of the letter-case-folded name
    int nextSameHash;   // the next section in the same hash slot; -1
    int firstOfName;    // non-zero: no earlier section has this name
};

// One line as the reader splits it. A line ends at CR, LF or CR LF that is
// not the second byte of a double-byte character.
struct ProfileLine {
    int start;      // first byte of the line
    int textStart;  // the line's text, blanks trimmed
    int textEnd;
    int bracket;     // the last ']' in that text; -1
    int keyStart;    // the key: blanks trimmed, before the equals sign
    int keyLength;   // up to a NUL character, which ends a key
    int valueStart;  // after the equals sign, blanks trimmed; -1 without one
    int valueEnd;    // end of the value, blanks trimmed
    int end;         // end of the line, before its line end
    int next;        // first byte of the next line
};

class CCommandFile {
public:
    CCommandFile();
    ~CCommandFile();

    // Reads the file afresh. A missing file reads as an empty one; false
    // when it exists but could not be read or memory ran out (the text is
    // then empty).
    bool Read(const char* path);
    // Reads path again only when it is another file than the last one read,
    // when its size or write time changed, or when it was written so
    // recently that a change could keep the same time.
    bool Refresh(const char* path);
    // Counts the parses: the same number means the same sections.
    int Generation() const { return generation; }

    const char* Text() const { return text ? text : ""; }
    int Length() const { return length; }
    // The file began with a byte order mark: its text here is converted to
    // the ANSI code page, and it cannot be edited as bytes.
    bool IsConverted() const { return converted; }
    // The last Read found no file.
    bool IsMissing() const { return missing; }

    int SectionCount() const { return sectionCount; }
    const ProfileSection& Section(const int& index) const { return sections[index]; }
    // Whether the reader lists the section: its name is not empty.
    bool IsListed(const int& index) const { return sections[index].nameLength > 0; }
    // The section name as the reader's name list gives it.
    Zint_Std::CString SectionName(const int& index) const;
    // The same name copied to out, which has room for twice the stored
    // name's length; its length.
    int CopySectionName(const int& index, char* out) const;

    // The section the reader answers for name, letter case aside; -1.
    int FindSection(const char* name) const;
    // The line of key in the section, as the reader finds it; false when the
    // section has no such key.
    bool FindKey(const int& section, const char* key, ProfileLine& line) const;
    // The value of key in the section as the reader gives it into a buffer
    // of size bytes; empty when there is no such key.
    Zint_Std::CString Value(const int& section, const char* key, const int& size) const;
    // Walks the lines of a section's body; false at its end.
    bool NextLine(const int& section, int& at, ProfileLine& line) const;

private:
    // The blocks are kept from one read to the next when the new file fits
    // them; each room is its block's size in bytes.
    char* text;
    int textRoom;
    int length;
    bool converted;
    bool missing;
    Zint_Std::CString path;
    ULONGLONG writeTime;
    ULONGLONG readTime;
    DWORD size;
    ProfileSection* sections;
    int sectionsRoom;
    int sectionCount;
    int* slots;  // hash slots: the first section of each, -1
    int slotsRoom;
    int slotCount;
    int generation;

    CCommandFile(const CCommandFile&);
    CCommandFile& operator=(const CCommandFile&);

    void Clear();
    bool Parse();
    bool AddSection(const ProfileSection& section, const int& room);
    int NextLineStart(int at) const;
    // The first byte after the section's body.
    int BodyEnd(const int& index) const
    {
        return index + 1 < sectionCount ? sections[index + 1].headerStart : length;
    }
    bool IndexSections();
    void SplitLine(const int& at, ProfileLine& line) const;
    bool SameName(const int& index, const char* name, const int& nameLength) const;
};

#endif
