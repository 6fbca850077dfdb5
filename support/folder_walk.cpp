// The folder walker. It reads every folder with the wide functions and takes
// an entry only when its name, in the ANSI code page, names that entry and
// nothing else: a name the code page can only approximate (U+00A5 becomes a
// backslash by best fit), a name holding a separator or a wildcard, one
// that the path rules would shorten, or a device name, would join into a
// path that leads somewhere else, possibly far outside the folder. Links
// are never entered: what they point at lies outside the walked tree, and
// two links back to their parent would make the walk endless.
#include "support/files.h"

#include <string.h>

#include "support/mbcs.h"

namespace Zint_Std {

namespace {

// Room for any name of the file system in either form.
const int kNameRoom = MAX_PATH * 2 + 2;

bool IsDotEntry(const wchar_t* name)
{
    return (name[0] == L'.' && name[1] == 0) ||
           (name[0] == L'.' && name[1] == L'.' && name[2] == 0);
}

// The ANSI text of a folder path or a pattern; false when the code page
// cannot give it back unchanged.
bool ToWide(const char* text, wchar_t* wide, const int& room)
{
    int length = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, -1, wide, room);
    return length > 0;
}

// Exactly equal, unit by unit; lstrcmpW would compare by language rules.
bool SameCodeUnits(const wchar_t* first, const wchar_t* second)
{
    while (*first && *first == *second) {
        first++;
        second++;
    }
    return *first == *second;
}

bool IsForbiddenInName(const unsigned char c)
{
    return c < 0x20 || c == '\\' || c == '/' || c == ':' || c == '*' || c == '?' || c == '"' ||
           c == '<' || c == '>' || c == '|';
}

unsigned char FoldAscii(const char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A')
                                  : static_cast<unsigned char>(c);
}

// In any folder the path rules take these names for devices, whatever
// extension follows and in any case ("nul", "con.txt", "COM1.log"). The
// bytes compared are ASCII, none of them a lead byte, so no trail byte of a
// double-byte character can pass for one of them.
bool IsDeviceName(const char* name)
{
    // The name up to its first dot, without the blanks the path rules drop.
    int length = 0;
    while (name[length] && name[length] != '.')
        length++;
    while (length > 0 && name[length - 1] == ' ')
        length--;
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "COM", "LPT"};
    for (size_t i = 0; i < sizeof(kDevices) / sizeof(kDevices[0]); i++) {
        const char* device = kDevices[i];
        if (FoldAscii(name[0]) != device[0] || FoldAscii(name[1]) != device[1] ||
            FoldAscii(name[2]) != device[2])
            continue;
        // COM and LPT take a digit: "COM1" to "COM9", and "COM0" on some systems.
        if (i < 4 ? length == 3 : (length == 4 && name[3] >= '0' && name[3] <= '9'))
            return true;
    }
    return false;
}

}  // namespace

bool WideToAnsiExactly(const wchar_t* wide, char* text, const int& room)
{
    text[0] = 0;
    BOOL usedDefault = FALSE;
    int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, text, room, 0,
                                     &usedDefault);
    if (length <= 1 || usedDefault) {
        text[0] = 0;
        return false;
    }
    // Converted back it must be the very same text: no character may have
    // been approximated, whatever the conversion's flags did.
    const int wideRoom = lstrlenW(wide) + 1;
    wchar_t* back = new wchar_t[wideRoom + 1];
    bool same =
        MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, -1, back, wideRoom + 1) > 0 &&
        SameCodeUnits(back, wide);
    delete[] back;
    if (!same)
        text[0] = 0;
    return same;
}

bool NameFromWide(const wchar_t* wide, char* name, const int& room)
{
    if (!WideToAnsiExactly(wide, name, room))
        return false;
    if (!IsUsableName(name)) {
        name[0] = 0;
        return false;
    }
    return true;
}

bool IsUsableName(const char* name)
{
    if (!name || !name[0])
        return false;
    if (!strcmp(name, ".") || !strcmp(name, ".."))
        return false;
    // Asked once: every entry of a listed folder passes here.
    const unsigned char* leadBytes = LeadByteTable();
    const unsigned char* p = reinterpret_cast<const unsigned char*>(name);
    const unsigned char* last = p;
    while (*p) {
        const int width = CharacterWidth(leadBytes, p);
        // A lone lead byte at the end is no character of the code page.
        if (width == 1 && (IsForbiddenInName(*p) || leadBytes[*p]))
            return false;
        last = p;
        p += width;
    }
    // The path rules drop trailing dots and blanks: "a." would name "a".
    if (last[1] == 0 && (*last == '.' || *last == ' '))
        return false;
    return !IsDeviceName(name);
}

bool FinalPathOf(const char* path, wchar_t* finalPath, const int& room)
{
    typedef DWORD(WINAPI * FinalPathOfHandle)(HANDLE, LPWSTR, DWORD, DWORD);
    // Looked up: older systems lack it.
    FinalPathOfHandle finalPathOf = reinterpret_cast<FinalPathOfHandle>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"),
                                               "GetFinalPathNameByHandleW")));
    finalPath[0] = 0;
    wchar_t wide[kNameRoom];
    if (!finalPathOf || !ToWide(path, wide, kNameRoom))
        return false;
    // Attributes only: this open never conflicts with a program that holds
    // the entry without sharing.
    HANDLE handle = CreateFileW(wide, FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, 0);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    wchar_t full[kNameRoom * 2];
    DWORD length = finalPathOf(handle, full, kNameRoom * 2, 0);
    CloseHandle(handle);
    if (length == 0 || length >= static_cast<DWORD>(kNameRoom * 2))
        return false;
    // "\\?\C:\x" is "C:\x", "\\?\UNC\server\share" is "\\server\share".
    const wchar_t* start = full;
    if (full[0] == L'\\' && full[1] == L'\\' && full[2] == L'?' && full[3] == L'\\') {
        start = full + 4;
        if ((start[0] == L'U' || start[0] == L'u') && (start[1] == L'N' || start[1] == L'n') &&
            (start[2] == L'C' || start[2] == L'c') && start[3] == L'\\') {
            full[6] = L'\\';
            start = full + 6;
        }
    }
    if (lstrlenW(start) >= room)
        return false;
    lstrcpyW(finalPath, start);
    return true;
}

LinkKind LinkKindOf(const char* path)
{
    if (!path || !*path)
        return kNoLink;
    // Asked with a trailing backslash, the file system would answer for
    // what the link points at.
    CString entry(path);
    if (EndsWithBackslash(entry.data) && entry.GetLength() > 1)
        entry.Delete(entry.GetLength() - 1, 1);
    DWORD attributes = GetFileAttributesA(entry.data);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return kNoLink;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return kMarkedLink;
    // Some file systems show a link to a file as a plain file. Reached
    // through its own name, an entry is found again as its folder's real
    // path and that name; a link is found as what it points at.
    const char* last = FindLastBackslash(entry.data);
    if (!last || last[1] == 0)
        return kNoLink;
    CString parent(entry);
    parent.Delete(static_cast<int>(last - entry.data) + 1,
                  entry.GetLength() - static_cast<int>(last - entry.data) - 1);
    wchar_t entryReal[kNameRoom];
    wchar_t parentReal[kNameRoom];
    wchar_t given[kNameRoom];
    if (!FinalPathOf(entry.data, entryReal, kNameRoom) ||
        !FinalPathOf(parent.data, parentReal, kNameRoom) || !ToWide(entry.data, given, kNameRoom))
        return kNoLink;
    // A short (8.3) name is the entry's own name too: compare the long one.
    wchar_t longForm[kNameRoom];
    DWORD longLength = GetLongPathNameW(given, longForm, kNameRoom);
    const wchar_t* name = longLength > 0 && longLength < static_cast<DWORD>(kNameRoom)
                              ? longForm
                              : given;
    for (const wchar_t* p = name; *p; p++) {
        if (*p == L'\\')
            name = p + 1;
    }
    int parentLength = lstrlenW(parentReal);
    if (parentLength > 0 && parentReal[parentLength - 1] != L'\\') {
        if (parentLength + 1 >= kNameRoom)
            return kHiddenLink;
        parentReal[parentLength++] = L'\\';
        parentReal[parentLength] = 0;
    }
    if (parentLength + lstrlenW(name) >= kNameRoom)
        return kHiddenLink;
    lstrcatW(parentReal, name);
    CharUpperW(parentReal);
    CharUpperW(entryReal);
    return SameCodeUnits(parentReal, entryReal) ? kNoLink : kHiddenLink;
}

bool IsLink(const char* path)
{
    return LinkKindOf(path) != kNoLink;
}

bool RemoveLinkItself(const char* path)
{
    CString link(path);
    if (EndsWithBackslash(link.data))
        link.Delete(link.GetLength() - 1, 1);
    DWORD attributes = GetFileAttributesA(link.data);
    // Some systems remove what a link points at instead of the link (Wine
    // removes an empty target folder). The target is held open without
    // delete sharing while the link goes: removing the link alone is not
    // hindered by that, a removal that reaches the target fails. A link
    // whose target cannot be held stays, unless it has no target left.
    HANDLE target = CreateFileA(link.data, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, 0,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, 0);
    if (target == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
            return false;
    }
    const BOOL removed = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? RemoveDirectoryA(link.data)
                                                                 : DeleteFileA(link.data);
    if (target != INVALID_HANDLE_VALUE)
        CloseHandle(target);
    return removed != 0;
}

void ListFolder(const CString& folder, CArray<CString>& output, const char* pattern,
                const bool& recurse, const bool& includeFolders, int& refused, int& unlisted)
{
    if (folder.IsEmpty() || !pattern)
        return;
    wchar_t widePattern[kNameRoom];
    if (!ToWide(pattern, widePattern, kNameRoom))
        return;
    CArray<CString> pending;
    pending.Add(folder);
    bool named = true;  // the folder the caller named, not one found inside
    while (pending.count > 0) {
        CString current = pending.RemoveLast();
        AppendBackslash(current);
        // The ANSI functions take MAX_PATH characters of the wide form: a
        // Japanese path of 150 characters needs 300 bytes and is still fine.
        wchar_t search[kNameRoom * 2];
        if (!ToWide(current.data, search, kNameRoom) ||
            lstrlenW(search) + lstrlenW(widePattern) >= MAX_PATH) {
            refused++;
            continue;
        }
        const int currentLength = lstrlenW(search);
        lstrcatW(search, widePattern);
        WIN32_FIND_DATAW entry;
        HANDLE handle = FindFirstFileW(search, &entry);
        const bool isNamed = named;
        named = false;
        if (handle == 0 || handle == INVALID_HANDLE_VALUE) {
            // Nothing matching is an empty listing, and a named folder that
            // is not there has nothing in it; anything else (access denied,
            // a share gone) left a folder unread.
            const DWORD error = GetLastError();
            if (error != ERROR_FILE_NOT_FOUND && (!isNamed || error != ERROR_PATH_NOT_FOUND))
                unlisted++;
            continue;
        }
        do {
            const bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            const bool isLink = (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            // Folders are neither listed nor entered without recurse.
            if (IsDotEntry(entry.cFileName) || (isFolder && !recurse))
                continue;
            char name[kNameRoom];
            // Every path stays below the limit of the ANSI functions, which
            // also bounds the depth of the walk. The name converts exactly,
            // so its wide length is that of the ANSI name.
            if (!NameFromWide(entry.cFileName, name, kNameRoom) ||
                currentLength + lstrlenW(entry.cFileName) >= MAX_PATH) {
                refused++;
                continue;
            }
            CString full = current + CString(name);
            if (!isFolder) {
                output.Add(full);
                continue;
            }
            // A folder link is listed like a folder, so that a deletion
            // removes the link itself, but never entered.
            if (!isLink)
                pending.Add(full);
            if (includeFolders)
                output.Add(full);
        } while (FindNextFileW(handle, &entry));
        // A listing broken off before its end is no complete one.
        if (GetLastError() != ERROR_NO_MORE_FILES)
            unlisted++;
        FindClose(handle);
    }
}

void ListFolder(const CString& folder, CArray<CString>& output, const char* pattern,
                const bool& recurse, const bool& includeFolders, int& refused)
{
    int unlisted = 0;
    ListFolder(folder, output, pattern, recurse, includeFolders, refused, unlisted);
}

void ListFolder(const CString& folder, CArray<CString>& output, const char* pattern,
                const bool& recurse, const bool& includeFolders)
{
    int refused = 0;
    ListFolder(folder, output, pattern, recurse, includeFolders, refused);
}

}  // namespace Zint_Std
