// The library's dialogs as the entry points call them. Each returns non-zero
// only when it changed a file that the launcher has to read again.
#ifndef QUELT_EDITOR_DIALOGS_H
#define QUELT_EDITOR_DIALOGS_H

#include <windows.h>

// The list of every command, with new, edit, duplicate, delete and import.
int EditCommandList(HWND owner, const char* commandFile);
// One command by name: that command, or a new one of that name when there
// is none; an empty name opens an empty new command.
int EditOneCommand(HWND owner, const char* commandFile, const char* name);
// A new command made from a file or folder path (a shortcut is resolved);
// an empty path opens an empty new command.
int NewCommandFromPath(HWND owner, const char* commandFile, const char* path);
// The profile's settings and aliases. hotKeyId is the launcher's hotkey
// registration on owner, which the dialog leaves as it found it.
int EditSettings(HWND owner, const ATOM& hotKeyId, const char* profileFile);

#endif
