#include "clean_steps.h"

#include <windows.h>
#include <shlobj.h>
#include <stdlib.h>

#include "support/array.h"
#include "support/files.h"
#include "support/registry.h"

using Zint_Std::CArray;
using Zint_Std::CString;

const char kMediaPlayerListKey[] = "Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList";

namespace {

enum RemovedAs { kKept, kFileDeleted, kFolderRemoved };

// Resets the attributes so that read-only, hidden and system entries can go;
// an entry that stays (in use, or a folder that is not empty) gets its
// attributes back.
RemovedAs RemoveEntry(const CString& path, const bool& foldersToo)
{
    DWORD attributes = GetFileAttributesA(path.data);
    SetFileAttributesA(path.data, FILE_ATTRIBUTE_NORMAL);
    if (DeleteFileA(path.data))
        return kFileDeleted;
    if (foldersToo && RemoveDirectoryA(path.data))
        return kFolderRemoved;
    if (attributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesA(path.data, attributes);
    return kKept;
}

bool SameFolder(const CString& first, const CString& second)
{
    if (first.IsEmpty() || second.IsEmpty())
        return false;
    CString a(first);
    CString b(second);
    Zint_Std::AppendBackslash(a);
    Zint_Std::AppendBackslash(b);
    return a.EqualsNoCase(b);
}

bool IsRootFolder(const CString& folder)
{
    CString path(folder);
    Zint_Std::AppendBackslash(path);
    int length = path.GetLength();
    // "C:\"
    if (length == 3 && path.data[1] == ':')
        return true;
    // "\\server\share\" and "\"
    if (length == 1)
        return true;
    if (length > 2 && path.data[0] == '\\' && path.data[1] == '\\') {
        int separators = 0;
        for (int i = 2; i < length; i++) {
            if (path.data[i] == '\\')
                separators++;
            else if (IsDBCSLeadByte(static_cast<BYTE>(path.data[i])) && i + 1 < length)
                i++;
        }
        return separators <= 2;
    }
    return false;
}

CString WindowsFolder()
{
    char buffer[500] = {0};
    GetWindowsDirectoryA(buffer, 500);
    return CString(buffer);
}

}  // namespace

void ClearCounts(CleanCounts& counts)
{
    ZeroMemory(&counts, sizeof(counts));
}

int TotalFiles(const CleanCounts& counts)
{
    return counts.windowsTmpFiles + counts.tempFiles + counts.recentFiles + counts.updateFiles;
}

int TotalFolders(const CleanCounts& counts)
{
    return counts.tempFolders + counts.recentFolders + counts.updateFolders;
}

bool IsEmptyFile(const CString& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.data, GetFileExInfoStandard, &data))
        return false;
    return data.nFileSizeHigh == 0 && data.nFileSizeLow == 0;
}

int DeleteEmptyTmpFiles(const CString& folder)
{
    CArray<CString> found;
    Zint_Std::ListFolder(folder, found, "*.tmp", false, false);
    int deleted = 0;
    for (int i = 0; i < found.count; i++) {
        // Opening the file to read its size would give 0 for one that is in
        // use or read-only too; the size on the disk tells an empty one.
        if (!IsEmptyFile(found.items[i]))
            continue;
        if (RemoveEntry(found.items[i], false) == kFileDeleted)
            deleted++;
    }
    return deleted;
}

void DeleteFolderContents(const CString& folder, int& files, int& folders)
{
    CArray<CString> found;
    Zint_Std::ListFolder(folder, found, "*", true, true);
    // Descending: every entry comes before the folders that hold it.
    found.Sort(false);
    for (int i = 0; i < found.count; i++) {
        RemovedAs removed = RemoveEntry(found.items[i], true);
        if (removed == kFileDeleted)
            files++;
        else if (removed == kFolderRemoved)
            folders++;
    }
}

bool IsProtectedFolder(const CString& folder, const CString& windowsFolder,
                       const CString& profileFolder)
{
    return IsRootFolder(folder) || SameFolder(folder, windowsFolder) ||
           SameFolder(folder, profileFolder);
}

bool UpdateFolderOf(const char* windowsFolder, CString& folder)
{
    char drive[8] = {0};
    _splitpath(windowsFolder, drive, 0, 0, 0);
    folder.Empty();
    // Without a drive the path would name the current drive's root.
    if (!drive[0])
        return false;
    folder.Format("%s\\WUTemp\\", drive);
    return true;
}

int CleanWindowsTmp()
{
    char buffer[200] = {0};
    GetWindowsDirectoryA(buffer, 200);
    if (!buffer[0])
        return 0;
    return DeleteEmptyTmpFiles(CString(buffer));
}

void CleanTempFolder(int& files, int& folders)
{
    files = 0;
    folders = 0;
    char buffer[500] = {0};
    GetTempPathA(500, buffer);
    if (!buffer[0])
        return;
    CString temp(buffer);
    CString profile;
    if (!Zint_Std::GetSpecialFolderPath(profile, CSIDL_PROFILE))
        profile.Empty();
    if (IsProtectedFolder(temp, WindowsFolder(), profile))
        return;
    DeleteFolderContents(temp, files, folders);
}

void CleanRecentFolder(int& files, int& folders)
{
    files = 0;
    folders = 0;
    CString recent;
    if (!Zint_Std::GetSpecialFolderPath(recent, CSIDL_RECENT))
        return;
    DeleteFolderContents(recent, files, folders);
}

void DeleteMediaPlayerList()
{
    Zint_Std::CRegistryKey key;
    key.DeleteKey(HKEY_CURRENT_USER, kMediaPlayerListKey);
    key.Close();
}

void CleanUpdateFolder(int& files, int& folders)
{
    files = 0;
    folders = 0;
    CString folder;
    if (!UpdateFolderOf(WindowsFolder().data, folder))
        return;
    DeleteFolderContents(folder, files, folders);
    if (RemoveDirectoryA(folder.data))
        folders++;
}
