// Creating, deleting and copying whole folder trees.
#include "support/files.h"

#include "support/current_directory.h"
#include "support/mbcs.h"

namespace Zint_Std {

namespace {

bool MakeFolderLevels(const CString& folder, const CCurrentDirectory& start)
{
    if (folder.IsEmpty())
        return false;
    if (SetCurrentDirectoryA(folder.data)) {
        // Back at once: a relative path below must mean what it meant.
        start.Restore();
        return true;
    }
    if (CreateDirectoryA(folder.data, 0))
        return true;
    CString parent(folder);
    if (EndsWithBackslash(parent.data))
        parent.Delete(parent.GetLength() - 1, 1);
    // The parent ends at the last real backslash; a trail byte 0x5C of a
    // Japanese folder name is no separator.
    const char* last = FindLastBackslash(parent.data);
    if (!last || last == parent.data)
        return false;
    int cut = static_cast<int>(last - parent.data) + 1;
    parent.Delete(cut, parent.GetLength() - cut);
    return MakeFolderLevels(parent, start) && CreateDirectoryA(folder.data, 0);
}

}  // namespace

bool MakeFolderPath(const CString& folder)
{
    CCurrentDirectory start;
    return MakeFolderLevels(folder, start);
}

bool DeleteFolderTree(const CString& folder)
{
    CArray<CString> entries;
    ListFolder(folder, entries, "*", true, true);
    // Descending order puts every path before the folders that hold it.
    entries.QuickSort(0, entries.count - 1, false);
    bool all = true;
    for (int i = 0; i < entries.count; i++) {
        if (!DeleteFileA(entries.items[i].data) && !RemoveDirectoryA(entries.items[i].data))
            all = false;
    }
    if (folder.IsEmpty() || !RemoveDirectoryA(folder.data))
        all = false;
    return all;
}

bool CopyFolderTree(const CString& source, const CString& target)
{
    if (!MakeFolderPath(target))
        return false;
    CArray<CString> entries;
    ListFolder(source, entries, "*", true, true);
    // Ascending order puts every folder before its contents.
    entries.QuickSort(0, entries.count - 1, true);
    bool all = true;
    int prefix = source.GetLength();
    for (int i = 0; i < entries.count; i++) {
        CString relative(entries.items[i]);
        relative.Delete(0, prefix);
        CString destination = target + relative;
        if (IsFolder(entries.items[i].data)) {
            if (!MakeFolderPath(destination))
                all = false;
            continue;
        }
        // A file that cannot be copied is a failure, not a folder to make.
        if (!CopyFileA(entries.items[i].data, destination.data, FALSE)) {
            CString parent(destination);
            CutAfterLastBackslash(parent.data);
            if (!MakeFolderPath(parent) ||
                !CopyFileA(entries.items[i].data, destination.data, FALSE))
                all = false;
        }
    }
    return all;
}

}  // namespace Zint_Std
