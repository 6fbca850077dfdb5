// Character steps through Shift-JIS text that never run past the terminator,
// even when the text ends inside a double-byte character.
#ifndef QUELT_SUPPORT_MBCS_H
#define QUELT_SUPPORT_MBCS_H

namespace Zint_Std {

// Which bytes begin a double-byte character in the ANSI code page: a table
// of 256 flags, asked of the system once, for loops over whole files.
const unsigned char* LeadByteTable();

// The bytes of the character at p: 2 for a lead byte with a byte after it,
// else 1. The first form takes the table of LeadByteTable, for hot loops.
inline int CharacterWidth(const unsigned char* leadBytes, const unsigned char* p)
{
    return leadBytes[p[0]] && p[1] ? 2 : 1;
}
inline int CharacterWidth(const unsigned char* p)
{
    return CharacterWidth(LeadByteTable(), p);
}

// The next character after p (p must not point at the terminator).
const unsigned char* NextChar(const unsigned char* p);
unsigned char* NextChar(unsigned char* p);

// True when the last byte of text is a lead byte without its trail byte.
bool EndsInLoneLeadByte(const unsigned char* text);

// The last single-byte backslash of text, never a trail byte 0x5C; null when
// there is none.
const char* FindLastBackslash(const char* text);
char* FindLastBackslash(char* text);

}  // namespace Zint_Std

#endif
