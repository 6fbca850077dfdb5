#include "commands/profile_text.h"

#include <string.h>
#include <windows.h>

#include "support/mbcs.h"

using Zint_Std::CString;

bool IsBlankAt(const char* text, const int& index, int& width)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text) + index;
    if (p[0] == ' ' || p[0] == '\t') {
        width = 1;
        return true;
    }
    // The ideographic space of code page 932.
    if (p[0] == 0x81 && p[1] == 0x40) {
        width = 2;
        return true;
    }
    width = Zint_Std::CharacterWidth(p);
    return false;
}

NameProblem CheckCommandName(const char* name)
{
    if (!name || !name[0])
        return kNameEmpty;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(name);
    bool blank = false;
    for (int i = 0; p[i];) {
        int width = 1;
        if (IsBlankAt(name, i, width)) {
            blank = true;
        } else if (width == 2) {
            // A double-byte character is fine; only a lead byte at the end is not.
        } else if (IsDBCSLeadByte(p[i])) {
            return kNameBreaksProfile;
        } else if (p[i] < 0x20 || p[i] == 0x7F || p[i] == '[' || p[i] == ']') {
            return kNameBreaksProfile;
        }
        i += width;
    }
    if (blank)
        return kNameHasBlank;
    // A section line that starts with a semicolon reads as a comment in some
    // editors; the profile functions accept it, so it stays allowed.
    return kNameFine;
}

bool HasLineBreak(const char* text)
{
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); p && *p; p++) {
        if (*p < 0x20 && *p != '\t')
            return true;
    }
    return false;
}

CString CutToBytes(const char* text, const int& limit)
{
    CString result;
    if (!text)
        return result;
    int end = 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (p[end]) {
        const int width = Zint_Std::CharacterWidth(p + end);
        if (end + width > limit)
            break;
        end += width;
    }
    if (!result.Reserve(end))
        return result;
    memcpy(result.data, text, end);
    return result;
}

// Start of the last character of a non-empty text.
static int LastCharacterStart(const char* text)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    int start = 0;
    for (int i = 0; p[i];) {
        start = i;
        i += Zint_Std::CharacterWidth(p + i);
    }
    return start;
}

CString EncodeProfileValue(const char* value)
{
    CString text(value ? value : "");
    const int length = text.GetLength();
    if (length == 0)
        return text;
    int width = 1;
    // Readers differ in which blanks they strip (some take the ideographic
    // space too): any blank at either end gets protected.
    bool edgeBlank = IsBlankAt(text.data, 0, width) ||
                     IsBlankAt(text.data, LastCharacterStart(text.data), width);
    // Either kind of quote pair is taken off by the reader.
    const char first = text.data[0];
    bool quoted = length >= 2 && (first == '"' || first == '\'') && text.data[length - 1] == first;
    if (!edgeBlank && !quoted)
        return text;
    CString wrapped("\"");
    wrapped.Append(text);
    wrapped.Append("\"");
    return wrapped;
}

int ReadableLength(const char* value, const int& limit)
{
    CString encoded = EncodeProfileValue(value);
    const int length = value ? lstrlenA(value) : 0;
    return encoded.GetLength() > length ? limit - 1 : limit;
}

CString CommandNameFromText(const char* text)
{
    CString name;
    const int length = text ? lstrlenA(text) : 0;
    if (!name.Reserve(length))
        return name;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text ? text : "");
    int out = 0;
    for (int i = 0; p[i];) {
        int width = 1;
        if (IsBlankAt(text, i, width)) {
            i += width;
            continue;
        }
        if (width == 2) {
            name.data[out++] = static_cast<char>(p[i]);
            name.data[out++] = static_cast<char>(p[i + 1]);
        } else if (!(IsDBCSLeadByte(p[i]) || p[i] < 0x20 || p[i] == 0x7F || p[i] == '[' ||
                     p[i] == ']')) {
            name.data[out++] = static_cast<char>(p[i]);
        }
        i += width;
    }
    name.data[out] = 0;
    return name;
}

CString QuotedWhenBlank(const char* path)
{
    const char* text = path ? path : "";
    if (!strchr(text, ' ') && !strchr(text, '\t'))
        return CString(text);
    CString quoted("\"");
    quoted.Append(text);
    quoted.Append("\"");
    return quoted;
}
