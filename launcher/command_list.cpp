#include "launcher/command_list.h"

#include <windows.h>
#include <stdlib.h>
#include <string.h>

using Zint_Std::CString;

namespace {

// Beyond this a list is not worth more memory; the reader's cut list is
// then treated as memory that could not be obtained.
const int kLargestList = 1 << 28;

// The comparison of the name sort: a comes after b, or ties with it.
bool ComesAfterOrTies(const CString& a, const CString& b)
{
    return lstrcmpiA(a.data ? a.data : "", b.data ? b.data : "") >= 0;
}

// The same answer from the locale's sort keys, computed once per name:
// while the list is sorted each item holds the name's key, a zero byte and
// the name, so a comparison is a plain byte comparison.
bool KeyComesAfterOrTies(const CString& a, const CString& b)
{
    return strcmp(a.data ? a.data : "", b.data ? b.data : "") >= 0;
}

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
        int length = 0;
        for (int i = 0; i < nameLength; i++) {
            const unsigned char c = static_cast<unsigned char>(name[i]);
            if (c >= 128 || !widths[c] || length + widths[c] + tailLength + 1 > size)
                return 0;
            memcpy(key + length, weights[c], widths[c]);
            length += widths[c];
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
            if (!separator)
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

// Fills the items with the keys and names; false when the locale could not
// make a key.
bool PutKeysWithNames(Zint_Std::CArray<CString>& names, const char* list, const int& length)
{
    const LCID locale = GetThreadLocale();
    char key[2048];
    int index = 0;
    for (int at = 0; at < length && list[at] && index < names.count;
         at += lstrlenA(list + at) + 1, index++) {
        const char* name = list + at;
        const int nameLength = lstrlenA(name);
        CString& item = names.items[index];
        int keyLength = asciiSortKeys.Make(locale, name, nameLength, key, sizeof(key));
        if (!keyLength)
            keyLength = LCMapStringA(locale, kNameOrder, name, -1, key, sizeof(key));
        if (keyLength > 0) {
            if (!item.Reserve(keyLength + nameLength + 1))
                return false;
            memcpy(item.data, key, keyLength);
        } else {
            keyLength = LCMapStringA(locale, kNameOrder, name, -1, 0, 0);
            if (keyLength <= 0 || !item.Reserve(keyLength + nameLength + 1) ||
                LCMapStringA(locale, kNameOrder, name, -1, item.data, keyLength) != keyLength)
                return false;
        }
        // A key is one zero-terminated run of bytes; anything else cannot be
        // compared this way.
        if (static_cast<int>(strlen(item.data)) != keyLength - 1)
            return false;
        memcpy(item.data + keyLength, name, nameLength);
    }
    return true;
}

// Moves each name in front of its key and gives back the key's memory.
void DropKeys(Zint_Std::CArray<CString>& names)
{
    for (int i = 0; i < names.count; i++) {
        CString& item = names.items[i];
        if (!item.data)
            continue;
        const int keyLength = static_cast<int>(strlen(item.data)) + 1;
        const int nameLength = static_cast<int>(strlen(item.data + keyLength));
        memmove(item.data, item.data + keyLength, nameLength);
        item.data[nameLength] = 0;
        item.Compact();
    }
}

typedef DWORD (*ListReader)(char* buffer, const int& size, const char* file,
                            const char* section);

DWORD ReadSectionList(char* buffer, const int& size, const char* file, const char*)
{
    return GetPrivateProfileSectionNamesA(buffer, size, file);
}

DWORD ReadKeyList(char* buffer, const int& size, const char* file, const char* section)
{
    return GetPrivateProfileStringA(section, 0, "", buffer, size, file);
}

// A list of names is never longer than the file it comes from: starting at
// the file's size saves the profile reader the repeated walks of a list
// that doubles from 1024 bytes.
int FirstListSize(const char* file)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!file || !GetFileAttributesExA(file, GetFileExInfoStandard, &data) || data.nFileSizeHigh ||
        data.nFileSizeLow >= static_cast<DWORD>(kLargestList) - 16)
        return 1024;
    const int size = static_cast<int>(data.nFileSizeLow) + 16;
    return size > 1024 ? size : 1024;
}

char* ReadList(ListReader reader, const char* file, const char* section, int& length)
{
    length = 0;
    int size = FirstListSize(file);
    for (;;) {
        char* buffer = static_cast<char*>(calloc(size, 1));
        if (!buffer)
            return 0;
        DWORD got = reader(buffer, size, file, section);
        if (static_cast<int>(got) != size - 2) {
            length = static_cast<int>(got) < size ? static_cast<int>(got) : size - 1;
            return buffer;
        }
        free(buffer);
        if (size >= kLargestList)
            return 0;
        size *= 2;
    }
}

}  // namespace

char* ReadSectionNames(const char* file, int& length)
{
    return ReadList(ReadSectionList, file, 0, length);
}

char* ReadKeyNames(const char* file, const char* section, int& length)
{
    return ReadList(ReadKeyList, file, section, length);
}

int CCommandList::Load()
{
    if (commandFile.IsEmpty())
        return 0;
    RefreshCommands();
    // The same parse gives the same sorted list.
    if (namesGeneration == commands.Generation() && names.count)
        return 1;
    namesGeneration = commands.Generation();
    // The names as one double-NUL list, as the profile reader hands them.
    int length = 0;
    for (int i = 0; i < commands.SectionCount(); i++)
        length += commands.IsListed(i) ? commands.Section(i).nameLength * 2 + 1 : 0;
    char* list = static_cast<char*>(calloc(length + 2, 1));
    int entries = 0;
    length = 0;
    for (int i = 0; list && i < commands.SectionCount(); i++) {
        if (!commands.IsListed(i))
            continue;
        const int nameLength = commands.CopySectionName(i, list + length);
        if (!nameLength)
            continue;
        length += nameLength + 1;
        entries++;
    }
    // Allocate empties whatever the list held before.
    if (!names.Allocate(entries) || !list) {
        names.count = 0;
        namesGeneration = 0;
        free(list);
        return 1;
    }
    if (PutKeysWithNames(names, list, length)) {
        names.Sort(KeyComesAfterOrTies, true);
        DropKeys(names);
    } else {
        names.Allocate(entries);
        int index = 0;
        for (int at = 0; at < length && list[at] && index < entries;
             at += lstrlenA(list + at) + 1)
            names.items[index++].Assign(list + at);
        names.Sort(ComesAfterOrTies, true);
    }
    free(list);
    return 1;
}

void CCommandList::RefreshCommands()
{
    commands.Refresh(commandFile.data ? commandFile.data : "");
}

namespace {

// The value into a buffer of size bytes, as the profile reader fills one.
void PutValue(CString* out, const CString& value, const int& size)
{
    if (!out || !out->Reserve(size - 1))
        return;
    const int length = value.GetLength();
    if (length)
        memcpy(out->data, value.data, length < size ? length : size - 1);
}

}  // namespace

int CCommandList::GetCommand(const CString& name, CString* path, CString* folder,
                             CString* comment)
{
    if (name.IsEmpty())
        return 0;
    RefreshCommands();
    const int section = commands.FindSection(name.data);
    int result = 1;
    if (path) {
        PutValue(path, commands.Value(section, "PATH", 500), 500);
        result = path->IsEmpty() ? 0 : 1;
    }
    if (folder)
        PutValue(folder, commands.Value(section, "FOLDER", 500), 500);
    if (comment)
        PutValue(comment, commands.Value(section, "COMMENT", 100), 100);
    return result;
}
