#include "launcher/full_width_arithmetic.h"

#include "support/mbcs.h"

namespace {

// Pairs of the second byte after 0x81 and the ASCII form.
const char kSigns[] = "\x81=\x7B+\x7C-\x96*\x5E/\x4F^\x93%\x44.\x69(\x6A)";

char AsciiOf(const unsigned char lead, const unsigned char trail)
{
    if (lead == 0x82 && trail >= 0x4F && trail <= 0x58)
        return static_cast<char>('0' + trail - 0x4F);
    if (lead != 0x81)
        return 0;
    for (const char* p = kSigns; *p; p += 2) {
        if (static_cast<unsigned char>(*p) == trail)
            return p[1];
    }
    return 0;
}

}  // namespace

void NarrowFullWidthArithmetic(char* text)
{
    const unsigned char* leadBytes = Zint_Std::LeadByteTable();
    unsigned char* from = reinterpret_cast<unsigned char*>(text);
    unsigned char* to = from;
    while (*from) {
        const int width = Zint_Std::CharacterWidth(leadBytes, from);
        const char ascii = width == 2 ? AsciiOf(from[0], from[1]) : 0;
        if (ascii) {
            *to++ = static_cast<unsigned char>(ascii);
            from += 2;
            continue;
        }
        for (int i = 0; i < width; i++)
            *to++ = *from++;
    }
    *to = 0;
}
