// What the launcher and the editor library quelt_.dll agree on: the
// messages one sends to the other's windows.
#ifndef QUELT_COMMANDS_EDITOR_CONTRACT_H
#define QUELT_COMMANDS_EDITOR_CONTRACT_H

#include <windows.h>

// Sent by the launcher to each open dialog of the editor library when it
// has to end at once (an uninstall, the end of the session): the dialog
// closes as cancelled, without a question, unsaved changes discarded, and
// answers kDialogEndedUnasked. Other dialogs answer 0.
const UINT WM_ENDEDITORDIALOG = WM_APP + 0x100;
const LRESULT kDialogEndedUnasked = 1;

#endif
