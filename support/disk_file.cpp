// A file opened without sharing, and the size of a file nobody else has open.
#include "support/files.h"

namespace Zint_Std {

CDiskFile::CDiskFile() : hFile(0) {}

CDiskFile::~CDiskFile()
{
    Close();
    path.Empty();
}

bool CDiskFile::Open(const CString& name, const bool& write, const bool& create)
{
    Close();
    if (name.IsEmpty())
        return false;
    HANDLE handle = CreateFileA(name.data, write ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ, 0,
                                0, create ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                0);
    if (handle == 0 || handle == INVALID_HANDLE_VALUE) {
        hFile = 0;
        return false;
    }
    hFile = handle;
    path.Assign(name);
    return true;
}

void CDiskFile::Close()
{
    if (!IsOpen())
        return;
    CloseHandle(hFile);
    hFile = 0;
    if (path.data)
        ZeroMemory(path.data, path.capacity);
}

bool CDiskFile::IsOpen() const
{
    return hFile != 0 && hFile != INVALID_HANDLE_VALUE;
}

const CString& CDiskFile::GetPath() const
{
    return path;
}

DWORD CDiskFile::Read(void* buffer, const DWORD& count)
{
    if (!IsOpen())
        return 0;
    DWORD read = 0;
    if (!ReadFile(hFile, buffer, count, &read, 0))
        return 0;
    return read;
}

bool CDiskFile::Write(const void* buffer, const DWORD& count)
{
    if (!IsOpen())
        return false;
    DWORD written = 0;
    return WriteFile(hFile, buffer, count, &written, 0) && written == count;
}

bool CDiskFile::Seek(const LONG& distance, const DWORD& method)
{
    return IsOpen() && SetFilePointer(hFile, distance, 0, method) != 0xFFFFFFFF;
}

DWORD CDiskFile::GetSize() const
{
    if (!IsOpen())
        return 0;
    return GetFileSize(hFile, 0);
}

DWORD GetFileSizeOf(const CString& name)
{
    CDiskFile file;
    if (!file.Open(name, true, false))
        return 0;
    return file.GetSize();
}

}  // namespace Zint_Std
