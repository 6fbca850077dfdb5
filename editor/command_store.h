// The command file as the editors see it: every command with its three keys,
// edited in memory and written back only where something changed, key by
// key, so that everything else in the file stays as it was.
#ifndef QUELT_EDITOR_COMMAND_STORE_H
#define QUELT_EDITOR_COMMAND_STORE_H

#include "support/array.h"
#include "support/string.h"

class CCommandTextEdit;
struct TwinSection;

struct CommandEntry {
    Zint_Std::CString name;        // the section name it gets on saving
    Zint_Std::CString loadedName;  // the section it was read from; empty when new
    Zint_Std::CString path;
    Zint_Std::CString folder;
    Zint_Std::CString comment;
    // The values as read, to write only what the user changed.
    Zint_Std::CString loadedPath;
    Zint_Std::CString loadedFolder;
    Zint_Std::CString loadedComment;
    int deleted;  // non-zero: removed in the dialog, the section goes on saving
};

enum SaveResult {
    kSavedNothing = 0,  // nothing was pending
    kSaved,             // the file was changed
    kSaveFailed,        // nothing was written: the file is as it was
};

// The steps of a save, in order; a test makes one of them fail.
enum SaveStep {
    kNoStep = 0,
    kStepTemporary,  // the temporary file beside the command file is made
    kStepWrite,      // the new text goes into it
    kStepFlush,      // and reaches the disk
    kStepBackup,     // quelt_cmd.txt.bak, once per editing session
    kStepReplace,    // the temporary file takes the command file's place
};

class CCommandStore {
public:
    Zint_Std::CString file;                  // full path of the command file
    Zint_Std::CArray<CommandEntry> entries;  // live and deleted ones
    bool backedUp;                           // the backup was made during this editing session
    bool wroteFile;                          // a save of this session changed the file
    int twinCount;                           // later sections whose names differ only in letter case
    SaveStep failingStep;                    // kNoStep; tests make this step fail
    bool refusedMarkedFile;                  // the last save found a byte order mark and wrote nothing

    explicit CCommandStore(const char* commandFile);

    // Reads every command of the file, sorted as the launcher sorts; of two
    // names that differ only in letter case, the first, which the launcher
    // runs. A file that does not exist gives an empty list.
    bool Load();
    // The live entry named name, letter case aside, other than skip; -1.
    int FindName(const char* name, const int& skip) const;
    // base itself when no live entry has that name, else base2, base3...
    Zint_Std::CString UniqueName(const char* base) const;
    // Appends a new command; its index.
    int AddNew(const char* name, const char* path, const char* folder, const char* comment);
    // Marks an entry deleted; a new one is dropped from the list at once.
    void Delete(const int& index);
    bool IsChanged(const int& index) const;
    bool HasChanges() const;
    // Sorts the entries by name as the launcher sorts its list.
    void Sort();

    // Writes every pending change into the file as it is now: a changed key
    // in its own line, a new name in the header line, a deleted command's
    // own lines taken out, new commands appended; every other byte stays.
    // Hidden twins of a deleted or renamed command are deleted or renamed
    // with it.
    // The new text replaces the file in one step, after the file was copied
    // to quelt_cmd.txt.bak beside it (once per editing session).
    // A file that begins with a byte order mark is never written: its
    // bytes are no Shift-JIS text that a key could be changed in.
    SaveResult Save();
    // What the user is told when Save failed: why, and how to fix it.
    const char* SaveFailureText() const;

    // The backup's path: the command file's folder and quelt_cmd.txt.bak.
    Zint_Std::CString BackupPath() const;

private:
    bool MakeBackup();
    bool CanBeWritten() const;
    bool PutInPlace(const char* bytes, const int& length);
    // Renames and deletions of the save that just landed, in the use counts.
    void CarryUseCounts() const;
    bool TakeTwinsAlong(CCommandTextEdit& edit, const Zint_Std::CArray<TwinSection>& twins,
                        const int& section, const CommandEntry& entry) const;
};

#endif
