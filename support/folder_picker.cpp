// The shell's folder-selection dialog.
#include "support/files.h"

#include <shlobj.h>

namespace Zint_Std {

int CALLBACK CFolderPicker::SelectInitialFolder(HWND dialog, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED)
        SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

CFolderPicker::CFolderPicker(HWND owner, const CString& title, const CString& initialFolder)
    : title(title), initialFolder(initialFolder), owner(owner ? owner : GetDesktopWindow())
{
    result.Reserve(500);
}

CFolderPicker::~CFolderPicker()
{
    initialFolder.Empty();
    title.Empty();
    result.Empty();
}

bool CFolderPicker::Browse()
{
    BROWSEINFOA info;
    ZeroMemory(&info, sizeof(info));
    info.hwndOwner = owner;
    info.lpszTitle = title.Text();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    if (!initialFolder.IsEmpty()) {
        info.lpfn = SelectInitialFolder;
        info.lParam = reinterpret_cast<LPARAM>(initialFolder.data);
    }
    LPITEMIDLIST items = SHBrowseForFolderA(&info);
    if (!items)
        return false;
    bool reserved = result.Reserve(500);
    if (reserved)
        SHGetPathFromIDListA(items, result.data);
    IMalloc* allocator = 0;
    if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator) {
        allocator->Free(items);
        allocator->Release();
    }
    if (!reserved)
        return false;
    AppendBackslash(result);
    return true;
}

}  // namespace Zint_Std
