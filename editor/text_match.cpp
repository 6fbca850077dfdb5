#include "editor/text_match.h"

#include <windows.h>

#include "support/mbcs.h"
#include "support/string.h"

using Zint_Std::CharacterWidth;
using Zint_Std::FoldAsciiCase;

namespace {

// Whether part stands at text, compared character by character.
bool StartsWith(const unsigned char* text, const unsigned char* part)
{
    while (*part) {
        const int width = CharacterWidth(part);
        if (CharacterWidth(text) != width)
            return false;
        if (width == 2) {
            if (text[0] != part[0] || text[1] != part[1])
                return false;
        } else if (FoldAsciiCase(text[0]) != FoldAsciiCase(part[0])) {
            return false;
        }
        text += width;
        part += width;
    }
    return true;
}

}  // namespace

bool ContainsText(const char* text, const char* part)
{
    const unsigned char* needle = reinterpret_cast<const unsigned char*>(part ? part : "");
    if (!*needle)
        return true;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text ? text : "");
    for (; *p; p += CharacterWidth(p)) {
        if (StartsWith(p, needle))
            return true;
    }
    return false;
}
