// The procedure of a modal dialog whose one object a global pointer names:
// every message goes to that object's HandleMessage, none while the pointer
// is null (before the object is made and after it has gone).
#ifndef QUELT_SUPPORT_DIALOG_FORWARDER_H
#define QUELT_SUPPORT_DIALOG_FORWARDER_H

#include <windows.h>

namespace Zint_Std {

template <class Dialog, Dialog** object>
INT_PTR CALLBACK ForwardToDialogObject(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return *object ? (*object)->HandleMessage(dialog, message, wParam, lParam) : FALSE;
}

}  // namespace Zint_Std

#endif
