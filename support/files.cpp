#include "support/files.h"

#include <string.h>

#include "support/mbcs.h"

namespace Zint_Std {

namespace {

bool FindEntry(const char* pattern, WIN32_FIND_DATAA* found)
{
    if (!pattern || !*pattern)
        return false;
    HANDLE search = FindFirstFileA(pattern, found);
    if (search == 0 || search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return true;
}

}  // namespace

bool PathExists(const char* path)
{
    WIN32_FIND_DATAA found;
    return FindEntry(path, &found);
}

bool IsFolder(const char* path)
{
    WIN32_FIND_DATAA found;
    return FindEntry(path, &found) && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const CString& folder)
{
    if (folder.IsEmpty())
        return false;
    CString pattern(folder);
    AppendBackslash(pattern);
    pattern += "*";
    WIN32_FIND_DATAA found;
    return FindEntry(pattern.data, &found);
}

bool CanCreateFilesIn(const CString& folder)
{
    if (folder.IsEmpty())
        return false;
    CString base(folder);
    AppendBackslash(base);
    // GetTempFileName is no test: some systems report a name even when the
    // file could not be made. The file goes when its handle is closed.
    const DWORD seed = GetCurrentProcessId() * 0x10000 + (GetTickCount() & 0xFFFF);
    for (DWORD attempt = 0; attempt < 16; attempt++) {
        CString scratch;
        scratch.Format("%sqlt%08lx.tmp", base.data, static_cast<unsigned long>(seed + attempt));
        HANDLE file = CreateFileA(scratch.data, GENERIC_WRITE, 0, 0, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, 0);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return true;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return false;
}

DWORD ClearProtectiveAttributes(const char* path)
{
    const DWORD kProtective =
        FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        !(attributes & kProtective) || IsLink(path))
        return 0;
    const DWORD rest = attributes & ~kProtective;
    return SetFileAttributesA(path, rest ? rest : FILE_ATTRIBUTE_NORMAL) ? attributes : 0;
}

DWORD AttributesToCarry(const DWORD& attributes)
{
    const DWORD kept = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                     FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    return kept ? kept : FILE_ATTRIBUTE_NORMAL;
}

bool CopyToOwnFile(const CString& source, const CString& target)
{
    if (source.IsEmpty() || target.IsEmpty() || !CopyFileA(source.data, target.data, FALSE))
        return false;
    // A shipped file may be read-only; its copy must take this program's writes.
    const DWORD attributes = GetFileAttributesA(target.data);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY))
        return true;
    // Left read-only, the copy can still be read: the copy itself succeeded.
    SetFileAttributesA(target.data, AttributesToCarry(attributes));
    return true;
}

bool EndsWithBackslash(const char* text)
{
    if (!text || !*text)
        return false;
    const char* last = FindLastBackslash(text);
    return last && last[1] == 0;
}

void CutAfterLastBackslash(char* text)
{
    char* last = FindLastBackslash(text);
    if (!last)
        return;
    for (char* p = last + 1; *p; p++)
        *p = 0;
}

CString ModuleFolder(HMODULE module)
{
    char path[512];
    memset(path, 0, sizeof(path));
    // One byte short of the buffer: a cut-off path still ends in a terminator.
    GetModuleFileNameA(module, path, sizeof(path) - 1);
    CutAfterLastBackslash(path);
    return CString(path);
}

void AppendBackslash(CString& path)
{
    if (path.IsEmpty() || EndsWithBackslash(path.data))
        return;
    path.AppendChar('\\');
}

}  // namespace Zint_Std
