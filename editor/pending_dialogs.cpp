// Placeholders until each dialog is in: they change nothing.
#include "editor/command_dialog.h"
#include "editor/editor_dialogs.h"

int EditSettings(HWND, const ATOM&, const char*) { return 0; }
