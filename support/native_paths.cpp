#include "support/native_paths.h"

#include <windows.h>
#include <string.h>

#include "support/files.h"
#include "support/mbcs.h"

#ifndef KEY_WOW64_64KEY
#define KEY_WOW64_64KEY 0x0100
#endif

namespace Zint_Std {

namespace {

// Room for any path the ANSI file functions can reach, and then some.
const int kRoom = MAX_PATH * 3;

// The Sysnative form of a file under the system folder, when a file is there.
bool SysnativeFile(const char* path, const SystemFolderView& view, char* native)
{
    char system[kRoom];
    const int length = wsprintfA(system, "%s\\System32\\", view.windowsFolder);
    if (lstrlenA(path) <= length || lstrlenA(path) >= MAX_PATH * 2)
        return false;
    lstrcpynA(native, path, length + 1);
    if (lstrcmpiA(native, system))
        return false;
    wsprintfA(native, "%s\\Sysnative\\%s", view.windowsFolder, path + length);
    return FileExists(native);
}

// Under WOW64 the file a 64-bit program starts, into native; false when
// that is file itself.
bool NativeFile(const char* file, const SystemFolderView& view, char* native)
{
    if (!view.wow64 || !*file)
        return false;
    if (SysnativeFile(file, view, native))
        return true;
    // A name with a folder, a drive or a scheme is taken as written.
    if (FindLastBackslash(file) || strpbrk(file, "/:") || lstrlenA(file) >= MAX_PATH)
        return false;
    char named[MAX_PATH + 8];
    wsprintfA(named, strchr(file, '.') ? "%s" : "%s.exe", file);
    char found[MAX_PATH * 2];
    char* part = 0;
    if (AppPathsProgram(named, KEY_WOW64_64KEY, found)) {
        if (!SysnativeFile(found, view, native))
            lstrcpyA(native, found);
        return true;
    }
    const DWORD length = SearchPathA(0, file, ".exe", MAX_PATH, found, &part);
    if (length && length < MAX_PATH)
        return SysnativeFile(found, view, native);
    wsprintfA(native, "%s\\Sysnative\\%s", view.windowsFolder, named);
    return FileExists(native);
}

}  // namespace

bool AppPathsProgram(const char* name, const REGSAM& view, char* program)
{
    if (lstrlenA(name) >= MAX_PATH)
        return false;
    char key[kRoom];
    wsprintfA(key, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\%s", name);
    for (int i = 0; i < 2; i++) {
        HKEY opened = 0;
        if (RegOpenKeyExA(i ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, key, 0,
                          KEY_QUERY_VALUE | view, &opened))
            continue;
        char value[500];
        DWORD size = sizeof(value) - 1;
        DWORD type = 0;
        const LONG status =
            RegQueryValueExA(opened, 0, 0, &type, reinterpret_cast<BYTE*>(value), &size);
        RegCloseKey(opened);
        if (status || (type != REG_SZ && type != REG_EXPAND_SZ))
            continue;
        value[size] = 0;
        // The value may be quoted.
        char* start = value[0] == '"' ? value + 1 : value;
        char* quote = strchr(start, '"');
        if (quote)
            *quote = 0;
        const DWORD written = ExpandEnvironmentStringsA(start, program, MAX_PATH * 2);
        if (written && written <= MAX_PATH * 2 && FileExists(program))
            return true;
    }
    return false;
}

void ReadSystemFolderView(SystemFolderView& view)
{
    typedef BOOL(WINAPI * IsWow64Function)(HANDLE, PBOOL);
    const IsWow64Function isWow64 = reinterpret_cast<IsWow64Function>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process")));
    BOOL wow64 = FALSE;
    const UINT length = GetSystemWindowsDirectoryA(view.windowsFolder, MAX_PATH);
    view.wow64 = length && length < MAX_PATH && isWow64 && isWow64(GetCurrentProcess(), &wow64) &&
                 wow64;
}

CString NativeProgramPath(const CString& file, const SystemFolderView& view)
{
    char native[kRoom];
    return NativeFile(file.Text(), view, native) ? CString(native) : file;
}

CString NativeProgramPath(const CString& file)
{
    SystemFolderView view;
    ReadSystemFolderView(view);
    return NativeProgramPath(file, view);
}

}  // namespace Zint_Std
