#include "commands/profile_lists.h"

#include <windows.h>
#include <stdlib.h>

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
