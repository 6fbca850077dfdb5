#include "launcher/shared_prefix.h"

#include "support/mbcs.h"
#include "support/string.h"

using Zint_Std::FoldAsciiCase;

int SharedLength(const char* const* candidates, const int& count, const int& typedLength,
                 const int& limit)
{
    const unsigned char* rest = reinterpret_cast<const unsigned char*>(candidates[0]) + typedLength;
    int i = 0;
    while (i < limit) {
        const int width = Zint_Std::CharacterWidth(rest + i);
        if (i + width > limit)
            break;
        for (int k = 1; k < count; k++) {
            const unsigned char* other =
                reinterpret_cast<const unsigned char*>(candidates[k]) + typedLength + i;
            const bool same = width == 1 ? FoldAsciiCase(rest[i]) == FoldAsciiCase(other[0])
                                         : rest[i] == other[0] && rest[i + 1] == other[1];
            if (!same)
                return i;
        }
        if (!rest[i])
            return -1;  // every candidate ends here
        i += width;
    }
    return i;
}
