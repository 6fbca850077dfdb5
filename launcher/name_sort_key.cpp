#include "launcher/name_sort_key.h"

#include <string.h>

namespace {

const DWORD kNameOrder = LCMAP_SORTKEY | NORM_IGNORECASE;

// The locale's key of a name made only of plain ASCII characters is the
// characters' weights one after the other and a tail that every such name
// shares; the keys of most names are built from these without asking the
// locale. Each character is checked against the locale's own keys first,
// alone and between two others; one that fails is always asked for.
class CAsciiSortKeys {
public:
    CAsciiSortKeys() : locale(0), tailLength(-1) { memset(widths, 0, sizeof(widths)); }

    // The key of name into key (room for size bytes), with its zero; the
    // length with the zero, or 0 when the locale has to be asked.
    int Make(const LCID& forLocale, const char* name, const int& nameLength, char* key,
             const int& size)
    {
        if (forLocale != locale)
            Learn(forLocale);
        if (!nameLength || tailLength < 0)
            return 0;
        const unsigned char* text = reinterpret_cast<const unsigned char*>(name);
        int length = 0;
        for (int i = 0; i < nameLength; i++) {
            const unsigned char c = text[i];
            const int width = c < 128 ? widths[c] : 0;
            if (!width || length + width + tailLength + 1 > size)
                return 0;
            const char* weight = weights[c];
            for (int b = 0; b < width; b++)
                key[length + b] = weight[b];
            length += width;
        }
        memcpy(key + length, tail, tailLength);
        key[length + tailLength] = 0;
        return length + tailLength + 1;
    }

private:
    LCID locale;
    unsigned char widths[128];
    char weights[128][8];
    char tail[16];
    int tailLength;

    void Learn(const LCID& forLocale)
    {
        locale = forLocale;
        tailLength = -1;
        memset(widths, 0, sizeof(widths));
        char key[64];
        // The tail from one letter's key: everything from its first
        // separator byte on.
        for (int c = 0x21; c < 0x7F; c++) {
            const char one[2] = {static_cast<char>(c), 0};
            const int length = LCMapStringA(locale, kNameOrder, one, -1, key, sizeof(key));
            const char* separator = length > 0 ? static_cast<const char*>(memchr(key, 1, length)) : 0;
            // A zero byte inside would end the key for strcmp.
            if (!separator || memchr(key, 0, length - 1))
                continue;
            const int width = static_cast<int>(separator - key);
            const int rest = length - 1 - width;
            if (width <= 0 || width > 8 || rest <= 0 || rest > 16)
                continue;
            if (tailLength < 0) {
                memcpy(tail, separator, rest);
                tailLength = rest;
            }
            if (rest != tailLength || memcmp(tail, separator, rest) != 0)
                continue;
            memcpy(weights[c], key, width);
            widths[c] = static_cast<unsigned char>(width);
        }
        // Then each character in company: after an a and before a 9.
        for (int c = 0x21; c < 0x7F; c++) {
            const char three[4] = {'a', static_cast<char>(c), '9', 0};
            char made[64];
            const int length = LCMapStringA(locale, kNameOrder, three, -1, key, sizeof(key));
            if (!widths[c] || Make(locale, three, 3, made, sizeof(made)) != length ||
                memcmp(made, key, length) != 0)
                widths[c] = 0;
        }
    }
};

CAsciiSortKeys asciiSortKeys;

}  // namespace

int MakeNameSortKey(const LCID& locale, const char* name, const int& nameLength, char* key,
                    const int& size)
{
    int length = asciiSortKeys.Make(locale, name, nameLength, key, size);
    if (length)
        return length;
    length = LCMapStringA(locale, kNameOrder, name, -1, key, size);
    if (length <= 0) {
        const int needed = LCMapStringA(locale, kNameOrder, name, -1, 0, 0);
        return needed > size ? -needed : 0;
    }
    return memchr(key, 0, length - 1) ? 0 : length;
}
