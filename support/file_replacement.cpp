#include "support/files.h"

#include <string.h>

namespace Zint_Std {

CFileReplacement::CFileReplacement(const CString& path)
    : path(path), handle(INVALID_HANDLE_VALUE), placed(false)
{
    temporary[0] = 0;
}

CFileReplacement::~CFileReplacement()
{
    CloseTemporary();
    if (temporary[0] && !placed)
        DeleteFileA(temporary);
}

bool CFileReplacement::Create()
{
    if (path.IsEmpty() || temporary[0] || path.GetLength() >= MAX_PATH)
        return false;
    char folder[MAX_PATH];
    memcpy(folder, path.data, path.GetLength() + 1);
    CutAfterLastBackslash(folder);
    if (!EndsWithBackslash(folder) || !GetTempFileNameA(folder, "qlt", 0, temporary)) {
        temporary[0] = 0;
        return false;
    }
    handle = CreateFileA(temporary, GENERIC_WRITE, 0, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, 0);
    return handle != INVALID_HANDLE_VALUE;
}

bool CFileReplacement::Write(const char* bytes, const int& length)
{
    if (handle == INVALID_HANDLE_VALUE || length < 0)
        return false;
    DWORD written = 0;
    return (!length || WriteFile(handle, bytes, length, &written, 0)) &&
           written == static_cast<DWORD>(length);
}

bool CFileReplacement::Flush()
{
    return handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle);
}

bool CFileReplacement::PutInPlace()
{
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    CloseTemporary();
    placed = MoveFileExA(temporary, path.data, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    return placed;
}

void CFileReplacement::CloseTemporary()
{
    if (handle != INVALID_HANDLE_VALUE)
        CloseHandle(handle);
    handle = INVALID_HANDLE_VALUE;
}

bool ReplaceFileContents(const CString& path, const char* bytes, const int& length)
{
    CFileReplacement replacement(path);
    return replacement.Create() && replacement.Write(bytes, length) && replacement.Flush() &&
           replacement.PutInPlace();
}

}  // namespace Zint_Std
