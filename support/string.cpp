#include "support/string.h"

#include <windows.h>
#include <mbstring.h>
#include <stdarg.h>
#include <stdlib.h>
#include <string.h>

#include "support/mbcs.h"

namespace Zint_Std {

namespace {

// Above this a doubling capacity would overflow a signed 32-bit size.
const int kLargestRequest = 0x3FFFFFFF;

// The buffer size that holds n characters and a terminator: the smallest
// power of two, at least 16, above n.
int CapacityFor(const int& n)
{
    int size = 16;
    while (n >= size)
        size *= 2;
    return size;
}

bool PointsInto(const char* text, const char* buffer, int size)
{
    return buffer && text >= buffer && text < buffer + size;
}

}  // namespace

CString::CString() : data(0), capacity(0) {}

CString::CString(const char* text) : data(0), capacity(0)
{
    Assign(text);
}

CString::CString(const CString& other) : data(0), capacity(0)
{
    Assign(other);
}

CString::~CString()
{
    Empty();
}

CString& CString::operator=(const CString& other)
{
    Assign(other);
    return *this;
}

CString& CString::operator=(const char* text)
{
    Assign(text);
    return *this;
}

CString& CString::operator+=(const CString& other)
{
    Append(other);
    return *this;
}

CString& CString::operator+=(const char* text)
{
    Append(text);
    return *this;
}

void CString::Empty()
{
    if (data) {
        // Wiped before release: buffers may have held paths or typed lines.
        memset(data, 0, capacity);
        free(data);
        data = 0;
    }
    capacity = 0;
}

bool CString::Reserve(const int& requested)
{
    // A copy: the argument may be this string's own capacity.
    const int n = requested;
    if (n >= capacity) {
        Empty();
        if (n > kLargestRequest)
            return false;
        const int size = CapacityFor(n);
        data = static_cast<char*>(malloc(size));
        if (!data) {
            capacity = 0;
            return false;
        }
        capacity = size;
    }
    if (data)
        memset(data, 0, capacity);
    return true;
}

bool CString::Assign(const CString& other)
{
    if (&other == this)
        return true;
    if (other.data) {
        if (!Reserve(other.GetLength()))
            return false;
        lstrcpyA(data, other.data);
        return true;
    }
    if (data)
        memset(data, 0, capacity);
    return true;
}

bool CString::Assign(const char* text)
{
    if (text == data)
        return true;
    if (!text) {
        if (data)
            memset(data, 0, capacity);
        return true;
    }
    if (PointsInto(text, data, capacity)) {
        // Reserve clears the buffer that text lies in: copy it out first.
        CString copy(text);
        return Assign(copy);
    }
    if (!Reserve(lstrlenA(text)))
        return false;
    lstrcpyA(data, text);
    return true;
}

void CString::Append(const char* text)
{
    if (IsEmpty()) {
        Assign(text);
        return;
    }
    if (!text)
        text = "";
    CString added;
    if (PointsInto(text, data, capacity)) {
        added.Assign(text);
        text = added.data;
    }
    CString current(*this);
    if (!Reserve(lstrlenA(text) + current.GetLength() + 2))
        return;
    lstrcpyA(data, current.data);
    lstrcatA(data, text);
}

void CString::Append(const CString& other)
{
    if (other.IsEmpty())
        return;
    if (IsEmpty()) {
        Assign(other);
        return;
    }
    Append(other.data);
}

void CString::AppendChar(const char& added)
{
    // A copy: the character may lie in the buffer that is about to grow.
    const char c = added;
    if (!data) {
        if (Reserve(2))
            data[0] = c;
        return;
    }
    int len = GetLength();
    if (capacity < len + 2) {
        CString current(*this);
        if (!Reserve(len + 2))
            return;
        lstrcpyA(data, current.data);
    }
    data[len] = c;
}

int CString::GetLength() const
{
    return data ? lstrlenA(data) : 0;
}

bool CString::IsEmpty() const
{
    return !data || data[0] == 0;
}

bool CString::EqualsNoCase(const CString& other) const
{
    if (data == other.data)
        return true;
    if (GetLength() != other.GetLength())
        return false;
    return lstrcmpiA(data ? data : "", other.Text()) == 0;
}

short CString::Find(const char* text, const int& from) const
{
    if (!text)
        text = "";
    if (!data || from < 0 || from >= capacity || from + lstrlenA(text) > capacity)
        return -1;
    const unsigned char* start = reinterpret_cast<unsigned char*>(data) + from;
    const unsigned char* wanted = reinterpret_cast<const unsigned char*>(text);
    const unsigned char* hit = _mbsstr(start, wanted);
    // Some runtimes match inside a double-byte character (a trail byte 0x5C
    // taken for a backslash); only a match on a character boundary counts.
    const unsigned char* boundary = start;
    while (hit) {
        while (boundary < hit && *boundary)
            boundary = NextChar(boundary);
        if (boundary == hit)
            break;
        hit = *boundary ? _mbsstr(boundary, wanted) : 0;
    }
    if (!hit)
        return -1;
    return static_cast<short>(hit - reinterpret_cast<unsigned char*>(data));
}

int CString::Delete(const int& index, const int& count)
{
    int len = GetLength();
    if (!data || index < 0 || count <= 0)
        return len;
    int i = index;
    for (; i < len - count; i++)
        data[i] = data[i + count];
    for (int j = i; j < len; j++)
        data[j] = 0;
    return len;
}

void CString::KeepRange(const int& first, const int& last)
{
    int len = GetLength();
    Delete(last + 1, len - last);
    Delete(0, first);
}

CString CString::Tokenize(const char* delimiters, const bool& first)
{
    CString token;
    if (!data || !delimiters)
        return token;
    CString before(*this);
    unsigned char* found =
        _mbstok(first ? reinterpret_cast<unsigned char*>(data) : 0,
                reinterpret_cast<const unsigned char*>(delimiters));
    if (found)
        token.Assign(reinterpret_cast<char*>(found));
    // The runtime tokenizer wrote a NUL over the delimiter; the position it
    // keeps still points into this buffer, so the text is put back as it was.
    lstrcpyA(data, before.data);
    return token;
}

void CString::Format(const char* format, ...)
{
    if (!Reserve(1000))
        return;
    va_list args;
    va_start(args, format);
    wvsprintfA(data, format, args);
    va_end(args);
    // The formatter stops at 1024 bytes; some versions leave no terminator.
    data[1023] = 0;
}

void CString::TrimLeft()
{
    if (!data)
        return;
    const unsigned char* p = reinterpret_cast<unsigned char*>(data);
    // Only single-byte white space counts: a lead byte, even that of the
    // full-width space, ends the scan.
    while (*p && *p < 0x80 && _ismbcspace(*p))
        p = NextChar(p);
    if (p != reinterpret_cast<unsigned char*>(data)) {
        CString tail(reinterpret_cast<const char*>(p));
        Assign(tail);
    }
}

void CString::TrimRight()
{
    if (!data)
        return;
    unsigned char* text = reinterpret_cast<unsigned char*>(data);
    // A text cut inside a double-byte character ends in a lead byte, which is
    // no white space; reversing it would pair the lead byte with the
    // terminator.
    if (EndsInLoneLeadByte(text))
        return;
    _mbsrev(text);
    TrimLeft();
    _mbsrev(reinterpret_cast<unsigned char*>(data));
}

void CString::Trim()
{
    TrimLeft();
    TrimRight();
}

void CString::Compact()
{
    if (!data)
        return;
    const int length = lstrlenA(data);
    const int size = CapacityFor(length);
    memset(data + length, 0, capacity - length);
    if (size >= capacity)
        return;
    // When the heap cannot give the block back, it stays as it is.
    char* smaller = static_cast<char*>(realloc(data, size));
    if (smaller) {
        data = smaller;
        capacity = size;
    }
}

void CString::TakeOver(CString& other)
{
    if (&other == this)
        return;
    Empty();
    data = other.data;
    capacity = other.capacity;
    other.data = 0;
    other.capacity = 0;
}

CString operator+(const CString& left, const CString& right)
{
    CString joined(left);
    joined.Append(right);
    return joined;
}

bool StringGreater(const CString& first, const CString& second)
{
    if (first.IsEmpty())
        return false;
    if (second.IsEmpty())
        return true;
    return lstrcmpA(first.data, second.data) > 0;
}

bool StringLess(const CString& first, const CString& second)
{
    bool firstEmpty = first.IsEmpty();
    bool secondEmpty = second.IsEmpty();
    if (firstEmpty && secondEmpty)
        return false;
    if (firstEmpty)
        return true;
    if (secondEmpty)
        return false;
    return lstrcmpA(first.data, second.data) < 0;
}

bool StringEqual(const CString& first, const CString& second)
{
    bool firstEmpty = first.IsEmpty();
    bool secondEmpty = second.IsEmpty();
    if (firstEmpty || secondEmpty)
        return firstEmpty && secondEmpty;
    return lstrcmpA(first.data, second.data) == 0;
}

}  // namespace Zint_Std
