// What the launcher and the editor library quelt_.dll agree on: the entry
// points the launcher looks up by name, and the messages it sends to the
// library's dialogs. Both sides compile against these declarations.
#ifndef QUELT_COMMANDS_EDITOR_CONTRACT_H
#define QUELT_COMMANDS_EDITOR_CONTRACT_H

#include <windows.h>

#include "support/string.h"

// C linkage, cdecl, the launcher's own string objects passed by pointer; the
// library only reads them and never frees or changes them. Each returns
// non-zero only when it changed a file that the launcher has to read again.
extern "C" {
// origin 0: the command list; 1: the one command named by name.
int __cdecl CommandEditDlg(HWND owner, const Zint_Std::CString* commandFile, const int* origin,
                           const Zint_Std::CString* name);
// The hotkey id comes in the low half of hotKeyId.
int __cdecl PropertyEditDlg(HWND owner, DWORD hotKeyId, const Zint_Std::CString* profileFile);
int __cdecl CommandNewItemDlg(HWND owner, const Zint_Std::CString* commandFile,
                              const Zint_Std::CString* path);
}

typedef decltype(&CommandEditDlg) CommandEditEntry;
typedef decltype(&PropertyEditDlg) PropertyEditEntry;
typedef decltype(&CommandNewItemDlg) CommandNewItemEntry;

// The names the library exports them under.
const char kCommandEditEntryName[] = "CommandEditDlg";
const char kPropertyEditEntryName[] = "PropertyEditDlg";
const char kCommandNewItemEntryName[] = "CommandNewItemDlg";

// Sent by the launcher to each open dialog of the editor library when it
// has to end at once (an uninstall, the end of the session): the dialog
// closes as cancelled, without a question, unsaved changes discarded, and
// answers kDialogEndedUnasked. Other dialogs answer 0.
const UINT WM_ENDEDITORDIALOG = WM_APP + 0x100;
const LRESULT kDialogEndedUnasked = 1;

#endif
