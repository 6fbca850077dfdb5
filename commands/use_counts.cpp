#include "commands/use_counts.h"

#include <new>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "support/files.h"
#include "support/mbcs.h"
#include "support/power.h"

using Zint_Std::CString;

namespace {

const char kHeader[] = "; quelt_use 1";
const char kFileName[] = "quelt_use.txt";
const double kHalfLife = 30.0 * 24 * 3600 * 10000000.0;  // 30 days in file-time units
const int kLongestName = 500;
// Counts are kept in millionths of a run, at most a billion runs.
const ULONGLONG kMostMillionths = 1000000000ull * 1000000ull;

const char kUtf8Mark[] = "\xEF\xBB\xBF";

// The next byte of a name as names compare: A to Z folded in single-byte
// characters, a double-byte character's two bytes as they are (the trail
// byte of many is in 'A'..'Z': 0x8350 and 0x8370 are two characters).
// trail is true while the byte to come is such a trail byte.
inline unsigned char NextCompared(const unsigned char* leadBytes, const unsigned char*& p,
                                  bool& trail)
{
    const unsigned char c = *p;
    if (!c)
        return 0;
    p++;
    if (trail) {
        trail = false;
        return c;
    }
    if (leadBytes[c] && *p) {
        trail = true;
        return c;
    }
    return Zint_Std::FoldAsciiCase(c);
}

// Command names compare as the command file compares them. Comparing the
// bytes so mapped keeps one consistent order for the sorted list.
int CompareNames(const char* a, const char* b)
{
    const unsigned char* leadBytes = Zint_Std::LeadByteTable();
    const unsigned char* x = reinterpret_cast<const unsigned char*>(a ? a : "");
    const unsigned char* y = reinterpret_cast<const unsigned char*>(b ? b : "");
    bool xTrail = false, yTrail = false;
    for (;;) {
        const unsigned char c = NextCompared(leadBytes, x, xTrail);
        const unsigned char d = NextCompared(leadBytes, y, yTrail);
        if (c != d)
            return static_cast<int>(c) - static_cast<int>(d);
        if (!c)
            return 0;
    }
}

double Decayed(const double& count, const ULONGLONG& since, const ULONGLONG& now)
{
    if (now <= since)
        return count;
    return count * static_cast<double>(Zint_Std::Power(
                       0.5L, static_cast<long double>(now - since) / kHalfLife));
}

// A decimal number of at most 19 digits, ending the text.
bool ReadNumber(const char* text, ULONGLONG& value)
{
    value = 0;
    if (!*text)
        return false;
    for (const char* p = text; *p; p++) {
        if (*p < '0' || *p > '9' || p - text >= 19)
            return false;
        value = value * 10 + static_cast<ULONGLONG>(*p - '0');
    }
    return true;
}

// One line: the count in millionths, a tab, the time, a tab, the name.
// False when it is anything else; the line is then skipped.
bool ParseLine(char* line, double& count, ULONGLONG& when, const char*& name)
{
    char* tab = strchr(line, '\t');
    if (!tab)
        return false;
    *tab = 0;
    char* second = strchr(tab + 1, '\t');
    if (!second)
        return false;
    *second = 0;
    ULONGLONG millionths = 0;
    if (!ReadNumber(line, millionths) || millionths > kMostMillionths ||
        !ReadNumber(tab + 1, when))
        return false;
    count = static_cast<double>(millionths) / 1e6;
    name = second + 1;
    return *name && !strchr(name, '\t') && strlen(name) <= static_cast<size_t>(kLongestName);
}

// The first line that is not blank says the format; trailing blanks aside.
bool IsHeader(const char* line)
{
    const size_t length = sizeof(kHeader) - 1;
    if (strncmp(line, kHeader, length) != 0)
        return false;
    return line[strspn(line + length, " \t") + length] == 0;
}

bool HasHighBytes(const char* text)
{
    for (; *text; text++) {
        if (static_cast<unsigned char>(*text) >= 0x80)
            return true;
    }
    return false;
}

// A name of a file saved as UTF-8, in the ANSI code page; false when it is
// no valid UTF-8 or the code page cannot give it exactly.
bool Utf8ToAnsi(const char* name, char* ansi, const int& room)
{
    WCHAR wide[kLongestName + 1];
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name, -1, wide, kLongestName + 1) <= 0)
        return false;
    return Zint_Std::WideToAnsiExactly(wide, ansi, room) &&
           strlen(ansi) <= static_cast<size_t>(kLongestName);
}

}  // namespace

ULONGLONG CurrentFileTime()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

CUseCounts::CUseCounts() : items(0), used(0), room(0) {}

CUseCounts::~CUseCounts()
{
    Clear();
    free(items);
}

void CUseCounts::Clear()
{
    for (int i = 0; i < used; i++)
        items[i].name.~CString();
    used = 0;
}

CString CUseCounts::PathBeside(const CString& commandFile)
{
    CString path(commandFile);
    if (path.data)
        Zint_Std::CutAfterLastBackslash(path.data);
    if (path.IsEmpty())
        return path;
    path.Append(kFileName);
    return path;
}

int CUseCounts::Find(const char* name, bool& found) const
{
    int low = 0;
    int high = used;
    while (low < high) {
        const int middle = (low + high) / 2;
        const int order = CompareNames(items[middle].name.data, name);
        if (order == 0) {
            found = true;
            return middle;
        }
        if (order < 0)
            low = middle + 1;
        else
            high = middle;
    }
    found = false;
    return low;
}

bool CUseCounts::InsertAt(const int& at, const char* name, const double& count,
                          const ULONGLONG& when)
{
    if (used == room) {
        const int grown = room ? room * 2 : 16;
        UseCount* moved = static_cast<UseCount*>(realloc(static_cast<void*>(items), sizeof(UseCount) * grown));
        if (!moved)
            return false;
        items = moved;
        room = grown;
    }
    // The records move as bytes: a CString holds nothing but its buffer.
    memmove(static_cast<void*>(items + at + 1), static_cast<const void*>(items + at),
            sizeof(UseCount) * (used - at));
    new (&items[at].name) CString(name);
    items[at].count = count;
    items[at].lastRun = when;
    used++;
    return true;
}

void CUseCounts::RemoveAt(const int& at)
{
    items[at].name.~CString();
    memmove(static_cast<void*>(items + at), static_cast<const void*>(items + at + 1),
            sizeof(UseCount) * (used - at - 1));
    used--;
}

UseCountsLoad CUseCounts::Load(const CString& path)
{
    Clear();
    HANDLE file = CreateFileA(path.Text(), GENERIC_READ, FILE_SHARE_READ, 0,
                              OPEN_EXISTING, 0, 0);
    if (file == INVALID_HANDLE_VALUE) {
        // Only a file that is not there may be created; one that another
        // program holds, or that we may not read, is left to it.
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                   ? kUseCountsMissing
                   : kUseCountsUnusable;
    }
    int length = -1;
    char* text = 0;
    const DWORD size = GetFileSize(file, 0);
    if (size != INVALID_FILE_SIZE && size < (16u << 20)) {
        text = static_cast<char*>(malloc(size + 1));
        DWORD got = 0;
        if (text && ReadFile(file, text, size, &got, 0) && got == size)
            length = static_cast<int>(size);
    }
    CloseHandle(file);
    const bool good = length >= 0 && Parse(text, length);
    free(text);
    if (!good) {
        Clear();
        return kUseCountsUnusable;
    }
    return kUseCountsLoaded;
}

// False when the text is not of this format or memory ran out: then the
// file must not be saved over with what was read of it.
bool CUseCounts::Parse(char* text, const int& length)
{
    text[length] = 0;
    int at = 0;
    const bool utf8 = length >= 3 && memcmp(text, kUtf8Mark, 3) == 0;
    if (utf8)
        at = 3;
    bool headerSeen = false;
    while (at < length) {
        // A line ends at CR, LF or both; neither is ever a trail byte.
        int end = at;
        while (end < length && text[end] != '\r' && text[end] != '\n')
            end++;
        char* line = text + at;
        text[end] = 0;
        const bool hasNul = static_cast<int>(strlen(line)) != end - at;
        at = end + 1;
        if (line[strspn(line, " \t")] == 0 && !hasNul)
            continue;  // a blank line
        if (!headerSeen) {
            if (hasNul || !IsHeader(line))
                return false;  // another version's file, or none of ours
            headerSeen = true;
        } else if (!hasNul && !AddLine(line, utf8)) {
            return false;
        }
    }
    return true;
}

// Adds the count of one line; a line that does not parse, and a name seen
// before, are passed over. False only when memory ran out.
bool CUseCounts::AddLine(char* line, const bool& utf8)
{
    double count = 0;
    ULONGLONG when = 0;
    const char* name = 0;
    if (!ParseLine(line, count, when, name))
        return true;
    char converted[2 * kLongestName + 2];
    if (utf8 && HasHighBytes(name)) {
        if (!Utf8ToAnsi(name, converted, sizeof(converted)))
            return true;
        name = converted;
    }
    bool found = false;
    const int at = Find(name, found);
    return found || InsertAt(at, name, count, when);
}

bool CUseCounts::Save(const CString& path) const
{
    CString text(kHeader);
    text.Append("\r\n");
    char number[64];
    for (int i = 0; i < used; i++) {
        const ULONGLONG millionths = static_cast<ULONGLONG>(items[i].count * 1e6 + 0.5);
        _snprintf(number, sizeof(number) - 1, "%I64u\t%I64u\t",
                  millionths < kMostMillionths ? millionths : kMostMillionths, items[i].lastRun);
        number[sizeof(number) - 1] = 0;
        text.Append(number);
        text.Append(items[i].name.data ? items[i].name.data : "");
        text.Append("\r\n");
    }
    return Zint_Std::ReplaceFileContents(path, text.data, text.GetLength());
}

double CUseCounts::Score(const char* name, const ULONGLONG& now) const
{
    bool found = false;
    const int at = Find(name, found);
    return found ? Decayed(items[at].count, items[at].lastRun, now) : 0.0;
}

bool CUseCounts::AddRun(const char* name, const ULONGLONG& now)
{
    if (!name || !*name || strlen(name) > static_cast<size_t>(kLongestName) ||
        strpbrk(name, "\t\r\n"))
        return false;
    bool found = false;
    const int at = Find(name, found);
    if (!found)
        return InsertAt(at, name, 1.0, now);
    items[at].count = Decayed(items[at].count, items[at].lastRun, now) + 1.0;
    items[at].lastRun = now;
    return true;
}

bool CUseCounts::Carry(const char* const* from, const char* const* to, const int& pairs)
{
    if (pairs <= 0)
        return true;
    UseCount* taken = static_cast<UseCount*>(calloc(pairs, sizeof(UseCount)));
    bool* had = static_cast<bool*>(calloc(pairs, sizeof(bool)));
    if (!taken || !had) {
        free(taken);
        free(had);
        return false;
    }
    // Every old name's count is taken out first, then put under the new one.
    for (int i = 0; i < pairs; i++) {
        bool found = false;
        const int at = Find(from[i], found);
        if (!found)
            continue;
        had[i] = true;
        taken[i].count = items[at].count;
        taken[i].lastRun = items[at].lastRun;
        RemoveAt(at);
    }
    bool ok = true;
    for (int i = 0; i < pairs; i++) {
        if (!had[i] || !to[i])
            continue;
        bool found = false;
        const int at = Find(to[i], found);
        if (found) {
            items[at].count = taken[i].count;
            items[at].lastRun = taken[i].lastRun;
        } else {
            ok = InsertAt(at, to[i], taken[i].count, taken[i].lastRun) && ok;
        }
    }
    free(taken);
    free(had);
    return ok;
}
