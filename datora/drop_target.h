// The folder that a dropped file or folder stands for.
#ifndef QUELT_DATORA_DROP_TARGET_H
#define QUELT_DATORA_DROP_TARGET_H

#include "support/string.h"

// A folder stays itself, a file gives the folder that holds it; both with a
// trailing backslash.
Zint_Std::CString FolderOfDroppedItem(const Zint_Std::CString& item);

#endif
