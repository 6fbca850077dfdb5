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

std::wstring Wide(const char* text)
{
    wchar_t buffer[MAX_PATH * 2] = {0};
    MultiByteToWideChar(CP_ACP, 0, text, -1, buffer, MAX_PATH * 2);
    return buffer;
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
    if (path.IsEmpty())
        return;
    // Under Wine a link to a file looks like the file, and deleting it would
    // delete its target: the Unix links go first, as links.
    const std::wstring unixPath = WineUnixPath(path);
    if (unixPath.size() > 1 && unixPath[0] == L'/' &&
        GetFileAttributesA(path.data) != INVALID_FILE_ATTRIBUTES)
        RunUnixProgram(L"find '" + unixPath + L"' -mindepth 1 -type l -delete");
    ForceRemove((L"\\\\?\\" + Wide(path.data)).c_str());
}

std::wstring WineUnixPath(const CString& path)
{
    typedef char*(CDECL * UnixFileName)(const wchar_t*);
    UnixFileName unixFileName = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixFileName || path.IsEmpty())
        return std::wstring();
    char* name = unixFileName(Wide(path.data).c_str());
    if (!name)
        return std::wstring();
    // The Unix name is UTF-8.
    wchar_t wide[MAX_PATH * 4] = {0};
    MultiByteToWideChar(CP_UTF8, 0, name, -1, wide, MAX_PATH * 4);
    HeapFree(GetProcessHeap(), 0, name);
    std::wstring result(wide);
    while (result.size() > 1 && result[result.size() - 1] == L'/')
        result.erase(result.size() - 1);
    return result;
}

bool RunUnixProgram(const std::wstring& commandLine)
{
    // Wine does not tell when a Unix process has ended: the shell leaves a
    // marker file once the command is done, and that is waited for.
    static int runs = 0;
    char temp[MAX_PATH] = {0};
    GetTempPathA(sizeof(temp), temp);
    CString marker;
    marker.Format("%squelt-unix-%lu-%d.done", temp, GetCurrentProcessId(), ++runs);
    DeleteFileA(marker.data);
    const std::wstring markerFolder = WineUnixPath(CString(temp));
    if (markerFolder.empty())
        return false;
    std::wstring line = L"Z:\\bin\\sh -c \"" + commandLine + L"; : >'" + markerFolder +
                        L"/" + Wide(marker.data + lstrlenA(temp)) + L"'\"";
    STARTUPINFOW startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    if (!CreateProcessW(0, &line[0], 0, 0, FALSE, 0, 0, 0, &startup, &process))
        return false;
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    bool done = WaitForFile(marker, 30000);
    DeleteFileA(marker.data);
    return done;
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
    const std::wstring folder = WineUnixPath(linkFolder);
    const std::wstring unixTarget = WineUnixPath(targetPath);
    if (folder.empty() || unixTarget.empty())
        return false;
    const std::wstring name = Wide(linkPath.data + linkFolder.GetLength());
    if (!RunUnixProgram(L"ln -s '" + unixTarget + L"' '" + folder + L"/" + name + L"'"))
        return false;
    return GetFileAttributesA(linkPath.data) != INVALID_FILE_ATTRIBUTES;
}
