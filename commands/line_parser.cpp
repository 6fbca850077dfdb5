#include "commands/line_parser.h"

#include <windows.h>
#include <shellapi.h>
#include <stdlib.h>
#include <string.h>

#include <mbctype.h>

#include "support/mbcs.h"
#include "support/native_paths.h"

using Zint_Std::CString;

namespace {

const char kLineSeparators[] = " \t\r\n";

// Appends the slots from first on, each after (or, with trailing, before)
// one blank, up to the first empty slot.
void AppendWords(CString& out, const TypedLine& typed, const int& first, const bool& trailing)
{
    for (int slot = first; slot < kArgumentSlots && !typed.slots[slot].IsEmpty(); slot++) {
        if (!trailing)
            out.AppendChar(' ');
        out.Append(typed.slots[slot]);
        if (trailing)
            out.AppendChar(' ');
    }
}

}  // namespace

bool IsBlankOrTab(const char& c)
{
    return c == ' ' || c == '\t';
}

const char* SkipBlanks(const char* p)
{
    while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n')
        p++;
    return p;
}

bool ShellFindsProgram(const char* text)
{
    // No file name of this length can exist; the shell is not asked.
    if (!text || !*text || lstrlenA(text) >= MAX_PATH)
        return false;
    char program[500];
    program[0] = 0;
    // The file as the launcher starts it: on 64-bit Windows, the 64-bit one.
    const CString file = Zint_Std::NativeProgramPath(CString(text));
    HINSTANCE found = FindExecutableA(file.data, 0, program);
    return reinterpret_cast<INT_PTR>(found) >= 32;
}

bool SplitTypedLine(CString& line, TypedLine& typed)
{
    for (int slot = 0; slot < kArgumentSlots; slot++)
        typed.slots[slot].Empty();
    typed.name.Empty();
    line.Trim();
    if (line.IsEmpty())
        return false;
    typed.name = line.Tokenize(kLineSeparators, true);
    // The line starts with the name: everything after it is the argument text.
    const int nameLength = typed.name.GetLength();
    typed.slots[0].Assign(SkipBlanks(line.data + nameLength));
    if (!typed.slots[0].IsEmpty()) {
        for (int slot = 1; slot <= 9; slot++) {
            typed.slots[slot] = line.Tokenize(kLineSeparators, false);
            if (typed.slots[slot].IsEmpty())
                break;
        }
    }
    return true;
}

CString SubstituteArguments(const CString& path, const TypedLine& typed)
{
    if (typed.slots[0].IsEmpty() || path.IsEmpty())
        return path;
    CString out;
    out.Reserve(path.GetLength() + typed.slots[0].GetLength() + 16);
    int nextWord = 1;
    const char* p = path.data;
    while (*p) {
        if (p[0] == '$' && p[1] >= '1' && p[1] <= '9') {
            int n = p[1] - '0';
            out.Append(typed.slots[n]);
            nextWord = n + 1;
            p += 2;
        } else if (p[0] == '$' && p[1] == '$') {
            out.Append(typed.slots[0]);
            nextWord = 11;
            p += 2;
        } else if (p[0] == '$' && p[1] == '!') {
            if (nextWord <= 10)
                AppendWords(out, typed, nextWord, true);
            nextWord = 11;
            p += 2;
        } else {
            out.AppendChar(*p);
            p++;
        }
    }
    if (nextWord <= 10)
        AppendWords(out, typed, nextWord, false);
    return out;
}

void SeparateFileAndParameters(const CString& text, ProgramQuery query, LaunchPlan& plan)
{
    plan.file.Empty();
    plan.parameters.Empty();
    CString work(text);
    if (work.IsEmpty())
        return;
    const char quote = work.data[0];
    if (quote == '"' || quote == '\'') {
        const char* closing = strchr(work.data + 1, quote);
        if (closing) {
            const int at = static_cast<int>(closing - work.data);
            plan.parameters.Assign(SkipBlanks(closing + 1));
            plan.file.Assign(work.data + 1);
            plan.file.data[at - 1] = 0;
            return;
        }
        work.Delete(0, 1);
    }
    // The walk steps over whole characters: a trail byte that equals a
    // backslash or slash is part of a Japanese character, not a separator.
    int dot = -1;
    const unsigned char* start = reinterpret_cast<const unsigned char*>(work.data);
    for (const unsigned char* p = start; *p; p = Zint_Std::NextChar(p)) {
        const int at = static_cast<int>(p - start);
        if (_ismbblead(*p))
            continue;
        const char c = static_cast<char>(*p);
        if (c == '.') {
            dot = at;
        } else if (c == '/' || c == '\\' || c == '"' || c == '?' || c == '*') {
            dot = -1;
        } else if (IsBlankOrTab(c) && dot > 0) {
            if (at == dot + 1) {
                dot = -1;
            } else if (!query || !query(work.data)) {
                plan.parameters.Assign(SkipBlanks(work.data + at + 1));
                plan.file.Assign(work.data);
                plan.file.data[at] = 0;
                return;
            } else {
                dot = -1;
            }
        }
    }
    plan.file = work;
}

char* ExpandEnvironmentToFit(const char* text)
{
    DWORD needed = ExpandEnvironmentStringsA(text, 0, 0);
    DWORD size = needed > 500 ? needed + 1 : 500;
    for (int attempt = 0; attempt < 3; attempt++) {
        char* buffer = static_cast<char*>(calloc(size, 1));
        if (!buffer)
            return 0;
        DWORD written = ExpandEnvironmentStringsA(text, buffer, size);
        if (written && written <= size)
            return buffer;
        free(buffer);
        if (!written)
            break;
        size = written + 1;  // the environment grew in between
    }
    // Expansion failed: the text is used as written.
    size_t length = strlen(text);
    char* copy = static_cast<char*>(calloc(length + 1 < 500 ? 500 : length + 1, 1));
    if (copy)
        memcpy(copy, text, length);
    return copy;
}
