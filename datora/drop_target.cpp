#include "datora/drop_target.h"

#include <stdlib.h>

#include "support/files.h"

using Zint_Std::CString;

CString FolderOfDroppedItem(const CString& item)
{
    CString folder(item);
    if (!item.IsEmpty() && !Zint_Std::IsFolder(item.data)) {
        char drive[_MAX_DRIVE];
        char directory[_MAX_DIR];
        _splitpath(item.data, drive, directory, 0, 0);
        folder = drive;
        folder += directory;
    }
    Zint_Std::AppendBackslash(folder);
    return folder;
}
