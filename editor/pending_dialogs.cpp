// Placeholders until each dialog is in: they change nothing.
#include "editor/command_dialog.h"
#include "editor/editor_dialogs.h"

int EditOneCommand(HWND, const char*, const char*) { return 0; }
int NewCommandFromPath(HWND, const char*, const char*) { return 0; }
int EditSettings(HWND, const ATOM&, const char*) { return 0; }
bool EditCommandEntry(HWND, const CCommandStore&, CommandEntry&, const int&) { return false; }
