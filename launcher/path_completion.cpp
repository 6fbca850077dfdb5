// Completion of a typed path from the entries of its folder. The folder is
// read with the wide functions, and an entry is offered only when its name
// in the code page names that entry and nothing else (NameFromWide): a
// best-fit name such as one holding U+00A5 would turn into a backslash and
// lead elsewhere.
#include "launcher/path_completion.h"

#include <windows.h>
#include <stdlib.h>
#include <string.h>

#include "launcher/shared_prefix.h"
#include "support/files.h"
#include "support/mbcs.h"

using Zint_Std::CString;
using Zint_Std::FoldAsciiCase;

namespace {

const int kMostEntries = 200;
// Room for a path of MAX_PATH wide characters in either form.
const int kPathRoom = MAX_PATH * 2 + 2;
// FindExInfoBasic: no short names are fetched. Systems before Windows 7
// refuse it.
const FINDEX_INFO_LEVELS kInfoWithoutShortNames = static_cast<FINDEX_INFO_LEVELS>(1);
// FIND_FIRST_EX_LARGE_FETCH, of the same systems: fewer calls into the
// file system for a large folder.
const DWORD kLargeFetch = 2;

const unsigned char* Bytes(const char* text)
{
    return reinterpret_cast<const unsigned char*>(text);
}

// The first length bytes of text.
CString Left(const char* text, const int& length)
{
    CString part;
    if (length > 0 && part.Reserve(length))
        memcpy(part.data, text, length);
    return part;
}

// Where the last word of head begins: after the last blank outside quotes.
int LastWordStart(const char* head)
{
    const unsigned char* lead = Zint_Std::LeadByteTable();
    const unsigned char* p = Bytes(head);
    bool quoted = false;
    int start = 0;
    for (int i = 0; p[i]; i += Zint_Std::CharacterWidth(lead, p + i)) {
        if (p[i] == '"')
            quoted = !quoted;
        else if (p[i] == ' ' && !quoted)
            start = i + 1;
    }
    return start;
}

CString WithoutQuotes(const char* word)
{
    CString plain;
    const unsigned char* lead = Zint_Std::LeadByteTable();
    const unsigned char* p = Bytes(word);
    if (!plain.Reserve(lstrlenA(word)))
        return plain;
    int length = 0;
    while (*p) {
        const int width = Zint_Std::CharacterWidth(lead, p);
        if (width == 1 && *p == '"') {
            p++;
            continue;
        }
        memcpy(plain.data + length, p, width);
        length += width;
        p += width;
    }
    return plain;
}

// The offset just past the first single-byte c in text at or after from, or
// 0 when there is none.
int PastCharacter(const char* text, const int& from, const char& c)
{
    const unsigned char* lead = Zint_Std::LeadByteTable();
    const unsigned char* p = Bytes(text);
    for (int i = from; p[i]; i += Zint_Std::CharacterWidth(lead, p + i)) {
        if (p[i] == static_cast<unsigned char>(c) && Zint_Std::CharacterWidth(lead, p + i) == 1)
            return i + 1;
    }
    return 0;
}

// X:\  \\server\  %VAR%\  .\  ..\  at the start of a word without quotes.
bool StartsLikePath(const char* word)
{
    const unsigned char letter = FoldAsciiCase(Bytes(word)[0]);
    if (letter >= 'a' && letter <= 'z' && word[1] == ':' && word[2] == '\\')
        return true;
    if (word[0] == '.' && (word[1] == '\\' || (word[1] == '.' && word[2] == '\\')))
        return true;
    if (word[0] == '\\' && word[1] == '\\')
        return PastCharacter(word, 2, '\\') > 3;
    if (word[0] == '%') {
        const int end = PastCharacter(word, 1, '%');
        return end > 2 && word[end] == '\\';
    }
    return false;
}

bool HoldsBlank(const CString& text)
{
    // A blank is never the second byte of a double-byte character.
    return strchr(text.Text(), ' ') != 0;
}

// Whether name begins with part, A to Z folded in single-byte characters,
// double-byte characters byte by byte.
bool BeginsWith(const char* name, const char* part)
{
    const unsigned char* lead = Zint_Std::LeadByteTable();
    const unsigned char* n = Bytes(name);
    const unsigned char* p = Bytes(part);
    while (*p) {
        const int width = Zint_Std::CharacterWidth(lead, p);
        if (width == 1 ? FoldAsciiCase(*n) != FoldAsciiCase(*p) : memcmp(n, p, 2) != 0)
            return false;
        n += width;
        p += width;
    }
    return true;
}

// The same test on the wide names, before a name is converted: in the
// names that convert exactly, the single-byte letters are the ASCII ones.
bool WideBeginsWith(const wchar_t* name, const wchar_t* part)
{
    for (; *part; name++, part++) {
        const wchar_t n = (*name >= L'A' && *name <= L'Z') ? *name + (L'a' - L'A') : *name;
        const wchar_t p = (*part >= L'A' && *part <= L'Z') ? *part + (L'a' - L'A') : *part;
        if (n != p)
            return false;
    }
    return true;
}

// The key the list is sorted by: the name with A to Z folded in single-byte
// characters, double-byte characters as they are. Compared byte by byte,
// two keys give the order of the names character by character.
void FoldedKey(const char* name, char* key)
{
    const unsigned char* lead = Zint_Std::LeadByteTable();
    const unsigned char* p = Bytes(name);
    unsigned char* k = reinterpret_cast<unsigned char*>(key);
    while (*p) {
        if (Zint_Std::CharacterWidth(lead, p) == 2) {
            *k++ = *p++;
            *k++ = *p++;
        } else {
            *k++ = FoldAsciiCase(*p++);
        }
    }
    *k = 0;
}

// The ANSI form of an entry's name, as NameFromWide gives it; a name of
// ASCII characters alone is the same bytes in the code page, and skips the
// round trip through both conversions.
bool EntryName(const wchar_t* wide, char* name, const int& room)
{
    int i = 0;
    for (; wide[i] && wide[i] < 0x80 && i < room - 1; i++)
        name[i] = static_cast<char>(wide[i]);
    if (wide[i])
        return Zint_Std::NameFromWide(wide, name, room);
    name[i] = 0;
    return Zint_Std::IsUsableName(name);
}

// Explorer's setting "show hidden files": 1 shows them, anything else or
// no value hides them.
bool ExplorerShowsHidden()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER,
                      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced", 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof(value);
    const bool shows = RegQueryValueExA(key, "Hidden", 0, &type, reinterpret_cast<BYTE*>(&value),
                                        &size) == ERROR_SUCCESS &&
                       type == REG_DWORD && value == 1;
    RegCloseKey(key);
    return shows;
}

struct FolderMatch {
    const char* name;  // into the pool, set once the listing is complete
    const char* key;   // FoldedKey of the name, after it in the pool
    int offset;
    int length;
    bool folder;
};

int CompareMatches(const void* left, const void* right)
{
    const FolderMatch& a = *static_cast<const FolderMatch*>(left);
    const FolderMatch& b = *static_cast<const FolderMatch*>(right);
    if (a.folder != b.folder)
        return a.folder ? -1 : 1;
    const int order = strcmp(a.key, b.key);
    return order ? order : strcmp(a.name, b.name);
}

// The entries of one folder whose names begin with a typed part, sorted
// folders first.
class CFolderMatches {
public:
    FolderMatch* items;
    int count;
    int shortest;  // bytes of the shortest name

    CFolderMatches() : items(0), count(0), shortest(0), slots(0), pool(0), used(0), room(0) {}
    ~CFolderMatches()
    {
        free(items);
        free(pool);
    }

    bool Find(const char* folder, const char* part);

private:
    int slots;
    char* pool;  // each name with its zero, then its key with its zero
    int used;
    int room;

    bool Add(const char* name, const bool& folder);
    void Read(HANDLE search, WIN32_FIND_DATAW& entry, const int& folderLength,
              const wchar_t* widePart, const char* part);
    CFolderMatches(const CFolderMatches&);
    CFolderMatches& operator=(const CFolderMatches&);
};

bool CFolderMatches::Add(const char* name, const bool& folder)
{
    const int length = lstrlenA(name);
    const int bytes = 2 * (length + 1);  // the name and its key
    if (used + bytes > room) {
        const int grown = (room ? room * 2 : 16384) + bytes;
        char* bigger = static_cast<char*>(realloc(pool, grown));
        if (!bigger)
            return false;
        pool = bigger;
        room = grown;
    }
    if (count == slots) {
        const int more = slots ? slots * 2 : 256;
        FolderMatch* bigger = static_cast<FolderMatch*>(realloc(items, more * sizeof(FolderMatch)));
        if (!bigger)
            return false;
        items = bigger;
        slots = more;
    }
    memcpy(pool + used, name, length + 1);
    FoldedKey(name, pool + used + length + 1);
    items[count].offset = used;
    items[count].length = length;
    items[count].folder = folder;
    count++;
    used += bytes;
    if (count == 1 || length < shortest)
        shortest = length;
    return true;
}

void CFolderMatches::Read(HANDLE search, WIN32_FIND_DATAW& entry, const int& folderLength,
                          const wchar_t* widePart, const char* part)
{
    const bool showHidden = ExplorerShowsHidden();
    do {
        const wchar_t* wide = entry.cFileName;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) && !showHidden)
            continue;
        if (!WideBeginsWith(wide, widePart) || folderLength + lstrlenW(wide) >= MAX_PATH)
            continue;
        // "." and ".." are no usable names, nor any the code page only
        // approximates.
        char name[kPathRoom];
        if (!EntryName(wide, name, kPathRoom) || !BeginsWith(name, part))
            continue;
        if (!Add(name, (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0))
            return;
    } while (FindNextFileW(search, &entry));
}

bool CFolderMatches::Find(const char* folder, const char* part)
{
    // Environment references are expanded for the search only, and a
    // relative folder is taken from the current one.
    char expanded[kPathRoom];
    const DWORD expandedLength = ExpandEnvironmentStringsA(folder, expanded, kPathRoom);
    wchar_t wide[kPathRoom];
    wchar_t search[kPathRoom];
    wchar_t widePart[kPathRoom];
    if (!expandedLength || expandedLength > static_cast<DWORD>(kPathRoom) ||
        MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, expanded, -1, wide, kPathRoom) <= 0 ||
        MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, part, -1, widePart, kPathRoom) <= 0)
        return false;
    const DWORD length = GetFullPathNameW(wide, kPathRoom, search, 0);
    if (!length || length >= MAX_PATH || search[length - 1] != L'\\')
        return false;
    // The typed part goes into the pattern: the file system then hands over
    // only the entries that may match, a few of thousands. Its matching is
    // looser than ours (any letter case, short names), never stricter.
    if (length + lstrlenW(widePart) + 1 >= MAX_PATH)
        return false;
    lstrcpyW(search + length, widePart);
    lstrcatW(search, L"*");
    WIN32_FIND_DATAW entry;
    HANDLE handle = FindFirstFileExW(search, kInfoWithoutShortNames, &entry, FindExSearchNameMatch,
                                     0, kLargeFetch);
    if (handle == INVALID_HANDLE_VALUE)
        handle = FindFirstFileW(search, &entry);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    Read(handle, entry, static_cast<int>(length), widePart, part);
    FindClose(handle);
    for (int i = 0; i < count; i++) {
        items[i].name = pool + items[i].offset;
        items[i].key = items[i].name + items[i].length + 1;
    }
    qsort(items, count, sizeof(FolderMatch), CompareMatches);
    return count > 0;
}

void ListEntries(Zint_Std::CArray<Zint_Std::CStringPair>& entries, const CFolderMatches& matches)
{
    const int listed = matches.count < kMostEntries ? matches.count : kMostEntries;
    if (!entries.Allocate(listed))
        return;
    for (int i = 0; i < listed; i++) {
        entries.items[i].first.Assign(matches.items[i].name);
        if (matches.items[i].folder)
            entries.items[i].first.AppendChar('\\');
    }
}

// The typed part and the bytes every match shares after it, taken from the
// first match; the typed part keeps the user's spelling.
CString SharedName(const CFolderMatches& matches, const char* part)
{
    const int partLength = lstrlenA(part);
    const char** names = static_cast<const char**>(malloc(sizeof(const char*) * matches.count));
    if (!names)
        return CString(part);
    for (int i = 0; i < matches.count; i++)
        names[i] = matches.items[i].name;
    int shared = SharedLength(names, matches.count, partLength, matches.shortest - partLength);
    free(names);
    const char* first = matches.items[0].name;
    if (shared < 0)
        shared = lstrlenA(first) - partLength;
    CString name(part);
    name += Left(first + partLength, shared);
    return name;
}

}  // namespace

bool LastWordIsPath(const char* head)
{
    if (!head)
        return false;
    return StartsLikePath(WithoutQuotes(head + LastWordStart(head)).Text());
}

bool CompletePath(const CString& head, PathCompletion& completion)
{
    completion.result.Empty();
    completion.before.Empty();
    completion.folder.Empty();
    completion.entries.FreeAll();
    completion.single = false;
    const char* text = head.Text();
    const int start = LastWordStart(text);
    const CString word = WithoutQuotes(text + start);
    if (!StartsLikePath(word.Text()))
        return false;
    const int folderLength = static_cast<int>(Zint_Std::FindLastBackslash(word.data) - word.data) + 1;
    const char* part = word.data + folderLength;
    CFolderMatches matches;
    const CString folder = Left(word.data, folderLength);
    if (!matches.Find(folder.data, part))
        return false;
    completion.before = Left(text, start);
    completion.folder = folder;
    if (matches.count == 1) {
        const FolderMatch& only = matches.items[0];
        CString name(only.name);
        if (only.folder)
            name.AppendChar('\\');
        completion.result = PathChoiceText(completion, name.data);
        if (!only.folder)
            completion.result.AppendChar(' ');
        completion.single = true;
        return true;
    }
    const CString extended = folder + SharedName(matches, part);
    completion.result = completion.before;
    if (HoldsBlank(extended))
        completion.result.AppendChar('"');
    completion.result += extended;
    ListEntries(completion.entries, matches);
    return true;
}

CString PathChoiceText(const PathCompletion& completion, const char* name)
{
    CString word(completion.folder);
    word += name;
    CString text(completion.before);
    if (!HoldsBlank(word)) {
        text += word;
        return text;
    }
    text.AppendChar('"');
    text += word;
    text.AppendChar('"');
    return text;
}
