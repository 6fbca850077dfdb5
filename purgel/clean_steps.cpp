#include "clean_steps.h"

#include <windows.h>
#include <shlobj.h>
#include <stdlib.h>

#include "support/array.h"
#include "support/files.h"
#include "support/registry.h"
#include "start_folder.h"

using Zint_Std::CArray;
using Zint_Std::CString;

const char kMediaPlayerListKey[] = "Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList";

namespace {

enum RemovedAs {
    kKept,
    kFileDeleted,
    kFolderRemoved
};

// Resets the attributes so that read-only, hidden and system entries can go;
// an entry that stays (in use, or a folder that is not empty) gets its
// attributes back.
RemovedAs RemoveEntry(const CString& path, const bool& foldersToo)
{
    DWORD attributes = GetFileAttributesA(path.data);
    // A link keeps its attributes (changing them could change what it points
    // at) and goes as a link or not at all.
    switch (Zint_Std::LinkKindOf(path.data)) {
    case Zint_Std::kNoLink:
        break;
    case Zint_Std::kMarkedLink:
        if (!foldersToo && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return kKept;
        if (!Zint_Std::RemoveLinkItself(path.data))
            return kKept;
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? kFolderRemoved : kFileDeleted;
    case Zint_Std::kHiddenLink:
        return kKept;
    }
    SetFileAttributesA(path.data, FILE_ATTRIBUTE_NORMAL);
    if (DeleteFileA(path.data))
        return kFileDeleted;
    if (foldersToo && RemoveDirectoryA(path.data))
        return kFolderRemoved;
    if (attributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesA(path.data, attributes);
    return kKept;
}

// The two folder names are the same text but for case and a trailing
// backslash; nothing is resolved on the disk.
bool SameFolderText(const CString& first, const CString& second)
{
    if (first.IsEmpty() || second.IsEmpty())
        return false;
    CString a(first);
    CString b(second);
    Zint_Std::AppendBackslash(a);
    Zint_Std::AppendBackslash(b);
    return a.EqualsNoCase(b);
}

// folder is path itself or one of the folders that hold it, compared whole
// name by whole name ("C:\\Users\\" holds "C:\\Users\\a\\", "C:\\Use" does not).
bool IsAtOrAbove(const CString& folder, const CString& path)
{
    if (folder.IsEmpty() || path.IsEmpty())
        return false;
    CString above(folder);
    CString below(path);
    Zint_Std::AppendBackslash(above);
    Zint_Std::AppendBackslash(below);
    const int length = above.GetLength();
    if (below.GetLength() < length)
        return false;
    // Cut below at the same length; its last byte is then a backslash only
    // where a name of path ends there, since above ends in one.
    below.Delete(length, below.GetLength() - length);
    return Zint_Std::EndsWithBackslash(below.data) && above.EqualsNoCase(below);
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

// The finder matches a pattern against the short (8.3) name too: "*.tmp"
// finds keep.tmpl as KEEP~1.TMP. Only the long name counts. The dot is no
// trail byte, so the last four bytes are the last four characters.
bool HasTmpExtension(const CString& path)
{
    const int length = path.GetLength();
    return length >= 4 && lstrcmpiA(path.data + length - 4, ".tmp") == 0;
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
        if (!HasTmpExtension(found.items[i]))
            continue;
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
                       const CString& profileFolder, const CString& programFolder)
{
    // "C:\DOCUME~1\taro\" is the profile "C:\Documents and Settings\taro\":
    // the names compare only in one spelling.
    const CString path = LongFormOf(folder);
    return IsRootFolder(path) || SameFolderText(path, LongFormOf(windowsFolder)) ||
           IsAtOrAbove(path, LongFormOf(profileFolder)) ||
           IsAtOrAbove(path, LongFormOf(programFolder));
}

CString LongFormOf(const CString& path)
{
    if (path.IsEmpty())
        return path;
    char spelled[1024];
    const DWORD length = GetLongPathNameA(path.data, spelled, sizeof(spelled));
    if (length == 0 || length >= sizeof(spelled))
        return path;
    return CString(spelled);
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
    CString real;
    if (!AcceptStartFolder(CString(buffer), real))
        return;
    DeleteFolderContents(real, files, folders);
}

void CleanRecentFolder(int& files, int& folders)
{
    files = 0;
    folders = 0;
    CString recent;
    CString real;
    if (!Zint_Std::GetSpecialFolderPath(recent, CSIDL_RECENT) || !AcceptStartFolder(recent, real))
        return;
    DeleteFolderContents(real, files, folders);
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
    CString real;
    if (!UpdateFolderOf(WindowsFolder().data, folder) || !AcceptStartFolder(folder, real))
        return;
    DeleteFolderContents(real, files, folders);
    if (RemoveDirectoryA(folder.data))
        folders++;
}
