#include "editor/plain_text.h"

#include <string.h>
#include <windows.h>

using Zint_Std::CString;

namespace {

bool IsControl(const unsigned char& c)
{
    return c < 0x20 || c == 0x7F;
}

}  // namespace

CString WithoutControlCharacters(const char* text)
{
    CString result;
    const char* source = text ? text : "";
    if (!result.Reserve(lstrlenA(source)))
        return result;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(source);
    int out = 0;
    bool gap = false;
    for (int i = 0; p[i];) {
        // Blanks that follow a line break (an indent) belong to the break.
        if (IsControl(p[i]) || (gap && p[i] == ' ')) {
            gap = true;
            i++;
            continue;
        }
        int width = 1;
        if (IsDBCSLeadByte(p[i])) {
            // A trail byte is never a control byte: this one is broken.
            if (!p[i + 1] || IsControl(p[i + 1])) {
                i++;
                continue;
            }
            width = 2;
        }
        // A trail byte is never 0x20, so the last byte tells a blank.
        if (gap && out > 0 && result.data[out - 1] != ' ')
            result.data[out++] = ' ';
        gap = false;
        memcpy(result.data + out, p + i, width);
        out += width;
        i += width;
    }
    result.data[out] = 0;
    // Only blanks can be left at the ends: every control character is gone.
    result.Trim();
    return result;
}
