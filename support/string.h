// The suite's one string type: an owning, zero-filled, NUL-terminated byte
// buffer in the ANSI code page (Shift-JIS). Lengths and indexes count bytes.
#ifndef QUELT_SUPPORT_STRING_H
#define QUELT_SUPPORT_STRING_H

#include <stddef.h>

namespace Zint_Std {

class CString {
public:
    // The editor library reads these through a pointer to the launcher's
    // objects: keep the two fields, in this order, and nothing else.
    char* data;    // owning; null while there is no buffer
    int capacity;  // bytes allocated for data; 0 without buffer

    CString();
    CString(const char* text);
    CString(const CString& other);
    ~CString();

    CString& operator=(const CString& other);
    CString& operator=(const char* text);
    CString& operator+=(const CString& other);
    CString& operator+=(const char* text);

    // Wipes the buffer, frees it and leaves the string without buffer.
    void Empty();
    // Prepares a cleared buffer that holds n characters and a terminator;
    // the capacity becomes the smallest power of two (at least 16) above n.
    bool Reserve(const int& n);

    bool Assign(const CString& other);
    bool Assign(const char* text);
    void Append(const char* text);
    void Append(const CString& other);
    void AppendChar(const char& c);

    // The text, or "" while there is no buffer.
    const char* Text() const { return data ? data : ""; }
    int GetLength() const;
    bool IsEmpty() const;
    bool EqualsNoCase(const CString& other) const;

    // Byte offset of text at or after from, or -1.
    short Find(const char* text, const int& from) const;
    // Removes count bytes at index; returns the length before.
    int Delete(const int& index, const int& count);
    // Keeps the bytes first to last inclusive.
    void KeepRange(const int& first, const int& last);
    // Next token of the text (the runtime's _mbstok state); the text itself
    // is left as it was.
    CString Tokenize(const char* delimiters, const bool& first);
    // At most 1023 characters, as the platform formatter allows.
    void Format(const char* format, ...);

    void TrimLeft();
    void TrimRight();
    void Trim();

    // Clears whatever lies after the terminator and gives back the memory
    // beyond the smallest capacity that holds the text.
    void Compact();

    // Hands the buffer over without copying; used by the array sorts.
    void TakeOver(CString& other);
};

CString operator+(const CString& left, const CString& right);

// A to Z as a to z, every other byte as it is: the case fold of names, which
// leaves double-byte characters alone since a trail byte is never a letter.
inline unsigned char FoldAsciiCase(const unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// Orderings of the sorts: an empty string is smaller than any other, the rest
// compare with the locale-aware lstrcmpA.
bool StringLess(const CString& first, const CString& second);
bool StringGreater(const CString& first, const CString& second);
bool StringEqual(const CString& first, const CString& second);

// The delivered programs are 32-bit: two 32-bit fields there. A 64-bit
// build (a local stand-in for testing) has the same two fields, wider.
static_assert(sizeof(CString) == 2 * sizeof(void*), "CString must stay two fields");
static_assert(offsetof(CString, data) == 0, "CString::data must come first");

}  // namespace Zint_Std

#endif
