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
    return WriteBytes(path, text, lstrlenA(text));
}

CString ReadWholeFile(const CString& path, int* length)
{
    CString content;
    if (length)
        *length = 0;
    HANDLE file = CreateFileA(path.data, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, 0,
                              OPEN_EXISTING, 0, 0);
    if (file == INVALID_HANDLE_VALUE)
        return content;
    DWORD size = GetFileSize(file, 0);
    if (size != INVALID_FILE_SIZE && content.Reserve(static_cast<int>(size) + 1)) {
        DWORD got = 0;
        ReadFile(file, content.data, size, &got, 0);
        if (length)
            *length = static_cast<int>(got);
    }
    CloseHandle(file);
    return content;
}

bool WriteBytes(const CString& path, const void* bytes, const int& length)
{
    HANDLE file = CreateFileA(path.data, GENERIC_WRITE, 0, 0, CREATE_ALWAYS, 0, 0);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes, length, &written, 0);
    CloseHandle(file);
    return ok && written == static_cast<DWORD>(length);
}

bool WaitForFile(const CString& path, const DWORD& timeoutMs)
{
    DWORD start = GetTickCount();
    while (GetFileAttributesA(path.data) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(50);
    }
    return true;
}

void RemoveScratchFolder(const CString& folder)
{
    CString path(folder);
    if (Zint_Std::EndsWithBackslash(path.data))
        path.Delete(path.GetLength() - 1, 1);
    ForceRemove(path.data);
}
