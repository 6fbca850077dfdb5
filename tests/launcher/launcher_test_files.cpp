#include "launcher_test_files.h"

#include <stdlib.h>
#include <string.h>

#include "support/files.h"

using Zint_Std::CString;

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

CString TestProgramFolder()
{
    char path[MAX_PATH];
    memset(path, 0, sizeof(path));
    GetModuleFileNameA(0, path, sizeof(path) - 1);
    Zint_Std::CutAfterLastBackslash(path);
    return CString(path);
}
