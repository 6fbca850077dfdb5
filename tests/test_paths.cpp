#include "test_paths.h"

#include "support/files.h"

#include <windows.h>
#include <shellapi.h>
#include <string.h>

using Zint_Std::CString;

namespace {

void ForceRemove(const char* path)
{
    WIN32_FIND_DATAA entry;
    CString pattern(path);
    pattern += "\\*";
    HANDLE handle = FindFirstFileA(pattern.data, &entry);
    if (handle != INVALID_HANDLE_VALUE) {
        do {
            if (!strcmp(entry.cFileName, ".") || !strcmp(entry.cFileName, ".."))
                continue;
            CString child(path);
            child += "\\";
            child += entry.cFileName;
            SetFileAttributesA(child.data, FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                ForceRemove(child.data);
            else
                DeleteFileA(child.data);
        } while (FindNextFileA(handle, &entry));
        FindClose(handle);
    }
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(path);
}

}  // namespace

CString MakeScratchFolder(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    CString folder(temp);
    folder += "quelt-tests\\";
    CreateDirectoryA(folder.data, 0);
    folder += name;
    RemoveScratchFolder(folder);
    CreateDirectoryA(folder.data, 0);
    folder += "\\";
    return folder;
}

bool WriteTextFile(const CString& path, const char* text)
{
    HANDLE file = CreateFileA(path.data, GENERIC_WRITE, 0, 0, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, 0);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, text, lstrlenA(text), &written, 0);
    CloseHandle(file);
    return ok && written == static_cast<DWORD>(lstrlenA(text));
}

void RemoveScratchFolder(const CString& folder)
{
    CString path(folder);
    if (Zint_Std::EndsWithBackslash(path.data))
        path.Delete(path.GetLength() - 1, 1);
    ForceRemove(path.data);
}
