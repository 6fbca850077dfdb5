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
    if (folder.IsEmpty())
        return false;
    // A folder that is a link goes as a link: what it points at was never
    // part of this tree.
    const LinkKind folderKind = LinkKindOf(folder.data);
    if (folderKind != kNoLink)
        return folderKind == kMarkedLink && RemoveLinkItself(folder.data);
    CArray<CString> entries;
    int refused = 0;
    ListFolder(folder, entries, "*", true, true, refused);
    // Descending order puts every path before the folders that hold it.
    entries.QuickSort(0, entries.count - 1, false);
    bool all = refused == 0;
    for (int i = 0; i < entries.count; i++) {
        const char* entry = entries.items[i].data;
        const LinkKind kind = LinkKindOf(entry);
        if (kind != kNoLink) {
            if (kind != kMarkedLink || !RemoveLinkItself(entry))
                all = false;
        } else if (!DeleteFileA(entry) && !RemoveDirectoryA(entry)) {
            all = false;
        }
    }
    if (!RemoveDirectoryA(folder.data))
        all = false;
    return all;
}

bool CopyFolderTree(const CString& source, const CString& target)
{
    if (!MakeFolderPath(target))
        return false;
    CArray<CString> entries;
    int refused = 0;
    ListFolder(source, entries, "*", true, true, refused);
    // Ascending order puts every folder before its contents.
    entries.QuickSort(0, entries.count - 1, true);
    bool all = refused == 0;
    int prefix = source.GetLength();
    for (int i = 0; i < entries.count; i++) {
        // A link would copy what lies outside the source, or an empty
        // folder in place of one: it is left out, and the copy incomplete.
        if (IsLink(entries.items[i].data)) {
            all = false;
            continue;
        }
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
