// The one-command entry and the new command from a path: the single-command
// editor over a store of the command file, saved when the user confirmed.
#include "editor/command_dialog.h"
#include "editor/command_store.h"
#include "editor/dialog.h"
#include "editor/editor_dialogs.h"
#include "editor/path_command.h"

namespace {

void ShowWriteError(HWND owner, const CCommandStore& store)
{
    MessageBoxA(owner, store.SaveFailureText(), kEditorTitle, MB_OK | MB_ICONERROR);
}

bool LoadStore(HWND owner, CCommandStore& store)
{
    if (store.Load())
        return true;
    MessageBoxA(owner, "コマンドファイルを読み込めませんでした。", kEditorTitle,
                MB_OK | MB_ICONERROR);
    return false;
}

// Edits entry (the store's entry index, or a new one for -1) and saves the
// store on OK; 1 only when the file was changed.
int EditAndSave(HWND owner, CCommandStore& store, CommandEntry& entry, const int& index)
{
    if (!EditCommandEntry(owner, store, entry, index))
        return 0;
    if (index >= 0) {
        CommandEntry& stored = store.entries.items[index];
        stored.name = entry.name;
        stored.path = entry.path;
        stored.folder = entry.folder;
        stored.comment = entry.comment;
    } else if (store.AddNew(entry.name.data, entry.path.data, entry.folder.data,
                            entry.comment.data) < 0) {
        ShowWriteError(owner, store);
        return 0;
    }
    switch (store.Save()) {
    case kSaved:
        return 1;
    case kSaveFailed:
        ShowWriteError(owner, store);
        return 0;
    case kSavedNothing:
        break;
    }
    return 0;
}

}  // namespace

int EditOneCommand(HWND owner, const char* commandFile, const char* name)
{
    CCommandStore store(commandFile ? commandFile : "");
    if (!LoadStore(owner, store))
        return 0;
    const bool named = name && name[0];
    const int index = named ? store.FindName(name, -1) : -1;
    CommandEntry entry;
    entry.deleted = 0;
    if (index >= 0)
        entry = store.entries.items[index];
    else if (named)
        entry.name = name;
    return EditAndSave(owner, store, entry, index);
}

int NewCommandFromPath(HWND owner, const char* commandFile, const char* path)
{
    CCommandStore store(commandFile ? commandFile : "");
    if (!LoadStore(owner, store))
        return 0;
    CommandEntry entry;
    entry.deleted = 0;
    CommandFromPath(path, store, entry);
    return EditAndSave(owner, store, entry, -1);
}
