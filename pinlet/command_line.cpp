#include "command_line.h"

#include <windows.h>
#include <string.h>

#include "support/mbcs.h"

using Zint_Std::CString;

namespace {

// The longest name a global atom can hold.
const int kMaxAtomNameBytes = 255;

bool IsBlank(const unsigned char c)
{
    return c == ' ' || c == '\t';
}

}  // namespace

const char* ArgumentsAfterProgramName(const char* commandLine)
{
    if (!commandLine)
        return "";
    const unsigned char* p = reinterpret_cast<const unsigned char*>(commandLine);
    if (*p == '"') {
        ++p;
        while (*p && *p != '"')
            p = Zint_Std::NextChar(p);
        if (*p == '"')
            ++p;
    } else {
        while (*p && !IsBlank(*p))
            p = Zint_Std::NextChar(p);
    }
    while (*p && IsBlank(*p))
        ++p;
    return reinterpret_cast<const char*>(p);
}

PinletAction ActionOfArguments(const char* arguments)
{
    const char* text = arguments ? arguments : "";
    if (lstrcmpA(text, "-a") == 0)
        return kAddShortcut;
    if (lstrcmpA(text, "-d") == 0)
        return kDeleteShortcut;
    if (lstrcmpA(text, "") == 0)
        return kToggleShortcut;
    return kRegisterPath;
}

CString PathForAtom(const char* arguments)
{
    CString path(arguments ? arguments : "");
    const int length = path.GetLength();
    // A trail byte is never a double quote in code page 932, so the last
    // byte is the last character here.
    if (length >= 2 && path.data[0] == '"' && path.data[length - 1] == '"') {
        path.Delete(length - 1, 1);
        path.Delete(0, 1);
    }
    if (path.GetLength() <= kMaxAtomNameBytes)
        return path;
    const unsigned char* start = reinterpret_cast<const unsigned char*>(path.data);
    const unsigned char* p = start;
    int boundary = 0;
    while (*p) {
        const unsigned char* next = Zint_Std::NextChar(p);
        if (next - start > kMaxAtomNameBytes)
            break;
        p = next;
        boundary = static_cast<int>(p - start);
    }
    CString cut;
    if (cut.Reserve(boundary))
        memcpy(cut.data, path.data, boundary);
    return cut;
}
