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

char* ReadList(ListReader reader, const char* file, const char* section, int& length)
{
    length = 0;
    int size = 1024;
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
    names.EmptyAll();
    names.count = 0;
    int length = 0;
    char* list = ReadSectionNames(commandFile.data, length);
    if (!list)
        return 1;
    int entries = 0;
    for (int at = 0; at < length && list[at]; at += lstrlenA(list + at) + 1)
        entries++;
    // One allocation for the whole list instead of one per doubling.
    if (names.SetSize(entries)) {
        int index = 0;
        for (int at = 0; at < length && list[at] && index < entries;
             at += lstrlenA(list + at) + 1)
            names.items[index++].Assign(list + at);
    }
    free(list);
    names.Sort(ComesAfterOrTies, true);
    return 1;
}

int CCommandList::GetCommand(const CString& name, CString* path, CString* folder,
                             CString* comment)
{
    if (name.IsEmpty())
        return 0;
    const char* file = commandFile.data ? commandFile.data : "";
    int result = 1;
    if (path) {
        path->Reserve(500);
        GetPrivateProfileStringA(name.data, "PATH", "", path->data, 500, file);
        result = path->IsEmpty() ? 0 : 1;
    }
    if (folder) {
        folder->Reserve(500);
        GetPrivateProfileStringA(name.data, "FOLDER", "", folder->data, 500, file);
    }
    if (comment) {
        comment->Reserve(100);
        GetPrivateProfileStringA(name.data, "COMMENT", "", comment->data, 100, file);
    }
    return result;
}
