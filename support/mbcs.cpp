#include "support/mbcs.h"

#include <windows.h>

#include <mbctype.h>
#include <mbstring.h>

namespace Zint_Std {

namespace {
unsigned char leadBytes[256];
bool leadBytesKnown = false;
}  // namespace

const unsigned char* LeadByteTable()
{
    if (!leadBytesKnown) {
        for (int c = 0; c < 256; c++)
            leadBytes[c] = IsDBCSLeadByte(static_cast<BYTE>(c)) ? 1 : 0;
        leadBytesKnown = true;
    }
    return leadBytes;
}

const unsigned char* NextChar(const unsigned char* p)
{
    // _mbsinc steps over a lead byte and whatever follows, the terminator
    // included.
    if (_ismbblead(*p) && p[1] == 0)
        return p + 1;
    return _mbsinc(p);
}

unsigned char* NextChar(unsigned char* p)
{
    return const_cast<unsigned char*>(NextChar(static_cast<const unsigned char*>(p)));
}

bool EndsInLoneLeadByte(const unsigned char* text)
{
    const unsigned char* p = text;
    while (*p) {
        if (_ismbblead(*p) && p[1] == 0)
            return true;
        p = NextChar(p);
    }
    return false;
}

const char* FindLastBackslash(const char* text)
{
    if (!text)
        return 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    const unsigned char* last = 0;
    while (*p) {
        const unsigned char* next = NextChar(p);
        if (next == p + 1 && *p == '\\')
            last = p;
        p = next;
    }
    return reinterpret_cast<const char*>(last);
}

char* FindLastBackslash(char* text)
{
    return const_cast<char*>(FindLastBackslash(static_cast<const char*>(text)));
}

}  // namespace Zint_Std
