// The single-command editor: name, PATH, FOLDER, COMMENT and a preview of
// what the launcher would run. Used by the command list, by the one-command
// entry and by the new command from a path.
#ifndef QUELT_EDITOR_COMMAND_DIALOG_H
#define QUELT_EDITOR_COMMAND_DIALOG_H

#include <windows.h>

#include "editor/command_store.h"

// Edits entry, a working copy; its name is checked against the live
// entries of store other than selfIndex (-1 for a command not in the store
// yet). True when the user confirmed valid input with OK; entry then holds
// it. Nothing is written to the file here.
bool EditCommandEntry(HWND owner, const CCommandStore& store, CommandEntry& entry,
                      const int& selfIndex);

#endif
