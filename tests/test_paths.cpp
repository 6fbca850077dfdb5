#include "test_paths.h"

#include "support/files.h"

#include <windows.h>
#include <shellapi.h>
#include <string.h>

#include <string>

using Zint_Std::CString;

namespace {

// Wide and with the long-path prefix, so that names the ANSI code page
// cannot give (the trees that test the walker hold such names) and paths
// beyond the usual limit are removed as what they are.
void ForceRemove(const wchar_t* path)
{
    WIN32_FIND_DATAW entry;
    std::wstring pattern = std::wstring(path) + L"\\*";
    HANDLE handle = FindFirstFileW(pattern.c_str(), &entry);
    if (handle != INVALID_HANDLE_VALUE) {
        do {
            if (!wcscmp(entry.cFileName, L".") || !wcscmp(entry.cFileName, L".."))
                continue;
            std::wstring child = std::wstring(path) + L"\\" + entry.cFileName;
            // A link goes as a link: what it points at is no scratch folder.
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                if (!RemoveDirectoryW(child.c_str()))
                    DeleteFileW(child.c_str());
                continue;
            }
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                ForceRemove(child.c_str());
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(handle, &entry));
        FindClose(handle);
    }
    SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(path);
}

}  // namespace

std::wstring Wide(const char* text)
{
    wchar_t buffer[MAX_PATH * 2] = {0};
    MultiByteToWideChar(CP_ACP, 0, text, -1, buffer, MAX_PATH * 2);
    return buffer;
}

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
    // A test may write a file the launcher is reading or replacing at that
    // moment: shared as the launcher shares its reads, and tried again for
    // a while when another program holds it.
    HANDLE file = INVALID_HANDLE_VALUE;
    const DWORD start = GetTickCount();
    do {
        file = CreateFileA(path.data, GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0,
                           CREATE_ALWAYS, 0, 0);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION)
            break;
        Sleep(20);
    } while (GetTickCount() - start < 2000);
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
    if (path.IsEmpty())
        return;
    // Under Wine a link to a file looks like the file, and deleting it would
    // delete its target: the Unix links go first, as links.
    const CString unixPath = WineUnixPath(path);
    if (unixPath.GetLength() > 1 && unixPath.data[0] == '/' &&
        GetFileAttributesA(path.data) != INVALID_FILE_ATTRIBUTES) {
        CString command;
        command.Format("find '%s' -mindepth 1 -type l -delete", unixPath.data);
        RunUnixShell(command.data);
    }
    ForceRemove((L"\\\\?\\" + Wide(path.data)).c_str());
}

CString WineUnixPath(const CString& path)
{
    typedef char*(CDECL * UnixFileName)(const wchar_t*);
    UnixFileName unixFileName = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixFileName || path.IsEmpty())
        return CString();
    char* name = unixFileName(Wide(path.data).c_str());
    if (!name)
        return CString();
    // The Unix name is UTF-8; the shell line is ANSI.
    wchar_t wide[MAX_PATH * 4] = {0};
    MultiByteToWideChar(CP_UTF8, 0, name, -1, wide, MAX_PATH * 4);
    HeapFree(GetProcessHeap(), 0, name);
    char text[MAX_PATH * 8] = {0};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof(text), 0, 0);
    CString result(text);
    while (result.GetLength() > 1 && result.data[result.GetLength() - 1] == '/')
        result.Delete(result.GetLength() - 1, 1);
    return result;
}

// Wine starts Unix programs but gives no handle to wait on, so the shell
// leaves its status in a marker file, by a rename.
bool RunUnixShell(const char* command)
{
    static int serial = 0;
    char temp[MAX_PATH] = {0};
    GetTempPathA(sizeof(temp), temp);
    CString marker;
    marker.Format("%squelt-shell-%lu-%d.done", temp, GetCurrentProcessId(), ++serial);
    DeleteFileA(marker.data);
    const CString unixMarker = WineUnixPath(CString(temp)) + "/" + (marker.data + lstrlenA(temp));
    CString line;
    line.Format("Z:\\bin\\sh -c \"%s >/dev/null 2>&1; echo $? > '%s.part'; mv '%s.part' '%s'\"",
                command, unixMarker.data, unixMarker.data, unixMarker.data);
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started;
    memset(&started, 0, sizeof(started));
    if (!CreateProcessA(0, line.data, 0, 0, FALSE, 0, 0, 0, &startup, &started))
        return false;
    // For a Unix program Wine gives no process handle and leaves whatever
    // in the thread handle; closing that value could close one of ours
    // (the launcher's process handle, say).
    if (started.hProcess) {
        CloseHandle(started.hProcess);
        if (started.hThread)
            CloseHandle(started.hThread);
    }
    const bool ended = WaitForFile(marker, 15000);
    CString status = ReadWholeFile(marker);
    DeleteFileA(marker.data);
    return ended && status.data && status.data[0] == '0';
}

bool MakeUnixLink(const CString& link, const CString& target)
{
    CString linkPath(link);
    CString targetPath(target);
    if (Zint_Std::EndsWithBackslash(linkPath.data))
        linkPath.Delete(linkPath.GetLength() - 1, 1);
    if (Zint_Std::EndsWithBackslash(targetPath.data))
        targetPath.Delete(targetPath.GetLength() - 1, 1);
    // The link does not exist yet: its folder is converted instead.
    CString linkFolder(linkPath);
    Zint_Std::CutAfterLastBackslash(linkFolder.data);
    const CString folder = WineUnixPath(linkFolder);
    const CString unixTarget = WineUnixPath(targetPath);
    if (folder.IsEmpty() || unixTarget.IsEmpty())
        return false;
    CString command;
    command.Format("ln -s '%s' '%s/%s'", unixTarget.data, folder.data,
                   linkPath.data + linkFolder.GetLength());
    return RunUnixShell(command.data) &&
           GetFileAttributesA(linkPath.data) != INVALID_FILE_ATTRIBUTES;
}

bool SetFolderWritable(const CString& folder, const bool& writable)
{
    const CString unixPath = WineUnixPath(folder);
    if (unixPath.IsEmpty())
        return false;
    CString command;
    command.Format("chmod %s '%s'", writable ? "u+w" : "a-w", unixPath.data);
    return RunUnixShell(command.data);
}

unsigned int NextTestRandom(unsigned int& state)
{
    state = state * 1103515245u + 12345u;
    return (state >> 8) & 0xFFFFFF;
}
