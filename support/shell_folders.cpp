// The shell's special folders (programs, start-up, SendTo, application data,
// program files).
#include "support/files.h"

#include <shlobj.h>

#include "support/current_directory.h"
#include "support/registry.h"

namespace Zint_Std {

bool GetProgramFilesFromRegistry(CString& path)
{
    CCurrentDirectory start;
    CRegistryKey key;
    bool found = false;
    if (key.Open(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", false,
                 false) &&
        key.QueryString("ProgramFilesDir", path) && !path.IsEmpty()) {
        AppendBackslash(path);
        // Entering the folder proves that it exists.
        found = SetCurrentDirectoryA(path.data) != 0;
    }
    key.Close();
    return found;
}

bool GetSpecialFolderPath(CString& path, const int& csidl)
{
    if (!path.Reserve(500))
        return false;
    IMalloc* allocator = 0;
    if (FAILED(SHGetMalloc(&allocator)) || !allocator)
        return false;
    LPITEMIDLIST items = 0;
    HRESULT located = SHGetSpecialFolderLocation(GetDesktopWindow(), csidl, &items);
    if (SUCCEEDED(located) && items) {
        BOOL converted = SHGetPathFromIDListA(items, path.data);
        allocator->Free(items);
        allocator->Release();
        // A virtual folder has no path: that is no folder to use.
        if (!converted || path.IsEmpty())
            return false;
        AppendBackslash(path);
        return true;
    }
    allocator->Release();
    if (csidl != CSIDL_PROGRAM_FILES)
        return false;
    return GetProgramFilesFromRegistry(path);
}

bool GetUserSettingsPath(CString& folder)
{
    if (!GetSpecialFolderPath(folder, CSIDL_APPDATA) || folder.IsEmpty())
        return false;
    folder.Append("quelt_\\");
    return true;
}

bool GetUserSettingsFolder(CString& folder)
{
    if (!GetUserSettingsPath(folder))
        return false;
    return FolderExists(folder) || CreateDirectoryA(folder.data, 0) || FolderExists(folder);
}

}  // namespace Zint_Std
