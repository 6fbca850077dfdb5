#include "launcher/command_list.h"

#include <windows.h>
#include <stdlib.h>
#include <string.h>

using Zint_Std::CString;

namespace {

// Beyond this a list is not worth more memory; the reader's cut list is
// then treated as memory that could not be obtained.
const int kLargestList = 1 << 28;

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
    // Memory that ran out leaves the list empty; the load still succeeds.
    namesGeneration = names.Build(commands) ? commands.Generation() : 0;
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
