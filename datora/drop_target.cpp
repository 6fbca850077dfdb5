#include "datora/drop_target.h"

#include "support/files.h"

using Zint_Std::CString;

CString FolderOfDroppedItem(const CString& item)
{
    CString folder(item);
    // The folder ends at the last real backslash, found character by
    // character: a trail byte 0x5C is no separator, and no fixed buffer
    // bounds how long a Japanese folder may be.
    if (!item.IsEmpty() && !Zint_Std::IsFolder(item.data))
        Zint_Std::CutAfterLastBackslash(folder.data);
    Zint_Std::AppendBackslash(folder);
    return folder;
}
