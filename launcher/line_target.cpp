#include "launcher/line_target.h"

#include <windows.h>
#include <stdlib.h>
#include <string.h>

#include "commands/line_parser.h"
#include "support/files.h"
#include "support/mbcs.h"
#include "support/native_paths.h"

#ifndef KEY_WOW64_64KEY
#define KEY_WOW64_64KEY 0x0100
#endif

using Zint_Std::CString;

namespace {

const char* const kSchemes[] = {"http:", "https:", "ftp:", "mailto:", "file:"};

bool IsAddress(const char* word)
{
    for (const char* scheme : kSchemes) {
        const int length = lstrlenA(scheme);
        int i = 0;
        while (i < length && Zint_Std::FoldAsciiCase(static_cast<unsigned char>(word[i])) ==
                                 static_cast<unsigned char>(scheme[i]))
            i++;
        if (i == length && word[i])
            return true;
    }
    return false;
}

// "X:\" or "\\server" once the references are expanded.
bool ExpandsToAbsolute(const char* text)
{
    char* expanded = ExpandEnvironmentToFit(text);
    if (!expanded)
        return false;
    const char* e = expanded;
    const bool letter = (e[0] >= 'A' && e[0] <= 'Z') || (e[0] >= 'a' && e[0] <= 'z');
    const bool absolute =
        (letter && e[1] == ':' && e[2] == '\\') || (e[0] == '\\' && e[1] == '\\' && e[2] && e[2] != '\\');
    free(expanded);
    return absolute;
}

// The first length bytes of text, expanded, name an existing file or folder.
bool NamesEntry(const char* text, const int& length)
{
    CString part;
    if (!part.Reserve(length))
        return false;
    memcpy(part.data, text, length);
    char* expanded = ExpandEnvironmentToFit(part.data);
    const bool found = expanded && lstrlenA(expanded) < MAX_PATH &&
                       GetFileAttributesA(expanded) != INVALID_FILE_ATTRIBUTES;
    free(expanded);
    return found;
}

void Take(LineTarget& target, const int& kind, const char* file, const int& fileLength,
          const char* rest)
{
    target.kind = kind;
    target.file.Empty();
    if (fileLength > 0 && target.file.Reserve(fileLength))
        memcpy(target.file.data, file, fileLength);
    target.parameters.Assign(SkipBlanks(rest));
}

// An unquoted path may hold blanks, as the Run dialog takes it: the longest
// part of the line that names something; the first word when nothing does.
int PathLength(const char* text, const int& wordEnd)
{
    for (int end = lstrlenA(text); end > wordEnd; end--) {
        const bool wordEnds = !text[end] || IsBlankOrTab(text[end]);
        if (wordEnds && !IsBlankOrTab(text[end - 1]) && NamesEntry(text, end))
            return end;
    }
    return wordEnd;
}

int KindOfQuoted(const CString& inner)
{
    if (IsAddress(inner.Text()))
        return kTargetAddress;
    if (ExpandsToAbsolute(inner.Text()))
        return kTargetPath;
    if (!Zint_Std::FindLastBackslash(inner.Text()) && IsProgramOnPath(inner.Text()))
        return kTargetProgram;
    return kTargetNothing;
}

}  // namespace

bool IsProgramOnPath(const char* name)
{
    if (!*name || lstrlenA(name) >= MAX_PATH || Zint_Std::FindLastBackslash(name) ||
        strpbrk(name, "/:\"*?<>|"))
        return false;
    char found[MAX_PATH * 2];
    // The search path alone: not the launcher's own folder or its current
    // one, where "setup" would find the installer.
    const DWORD size = GetEnvironmentVariableA("PATH", 0, 0);
    char* path = size ? static_cast<char*>(malloc(size)) : 0;
    bool onPath = false;
    if (path && GetEnvironmentVariableA("PATH", path, size) < size) {
        char* part = 0;
        const DWORD length = SearchPathA(path, name, ".exe", MAX_PATH, found, &part);
        onPath = length && length < MAX_PATH && Zint_Std::FileExists(found);
    }
    free(path);
    if (onPath)
        return true;
    char named[MAX_PATH + 8];
    wsprintfA(named, strchr(name, '.') ? "%s" : "%s.exe", name);
    if (Zint_Std::AppPathsProgram(named, 0, found) ||
        Zint_Std::AppPathsProgram(named, KEY_WOW64_64KEY, found))
        return true;
    // On 64-bit Windows, a program that only the 64-bit system folder holds.
    return lstrcmpA(Zint_Std::NativeProgramPath(CString(name)).Text(), name) != 0;
}

void ClassifyLine(const CString& line, const LineLookups& lookups, LineTarget& target)
{
    target.kind = kTargetNothing;
    target.program = -1;
    target.file.Empty();
    target.parameters.Empty();
    const char* text = line.Text();
    int wordEnd = 0;
    while (text[wordEnd] && !IsBlankOrTab(text[wordEnd]))
        wordEnd++;
    CString name(text);
    name.KeepRange(0, wordEnd - 1);
    if (lookups.isCommand && lookups.isCommand(lookups.context, name.Text())) {
        Take(target, kTargetCommand, text, wordEnd, text + wordEnd);
        return;
    }
    if (lookups.findProgram) {
        target.program = lookups.findProgram(lookups.context, text);
        if (target.program >= 0) {
            Take(target, kTargetStartMenu, text, lstrlenA(text), "");
            return;
        }
    }
    if (!lookups.openUnnamed)
        return;
    if (text[0] == '"') {
        // The quote is never a second byte either.
        const char* close = strchr(text + 1, '"');
        const int length = close ? static_cast<int>(close - text - 1) : lstrlenA(text + 1);
        Take(target, kTargetNothing, text + 1, length, close ? close + 1 : "");
        target.kind = length ? KindOfQuoted(target.file) : kTargetNothing;
    } else if (IsAddress(name.Text())) {
        Take(target, kTargetAddress, text, wordEnd, text + wordEnd);
    } else if (ExpandsToAbsolute(text)) {
        const int length = PathLength(text, wordEnd);
        Take(target, kTargetPath, text, length, text + length);
    } else if (IsProgramOnPath(name.Text())) {
        Take(target, kTargetProgram, text, wordEnd, text + wordEnd);
    }
    if (target.kind == kTargetNothing) {
        target.file.Empty();
        target.parameters.Empty();
    }
}
