#include "editor/command_store.h"

#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include "editor/profile_text.h"
#include "launcher/command_list.h"
#include "support/files.h"

using Zint_Std::CString;

namespace {

// Large enough for any value a user keeps in a command file; the dialogs
// flag what the launcher would not read in full.
const DWORD kValueBuffer = 4096;

CString ReadValue(const char* file, const char* section, const char* key)
{
    CString value;
    if (!value.Reserve(kValueBuffer))
        return value;
    GetPrivateProfileStringA(section, key, "", value.data, kValueBuffer, file);
    return value;
}

bool SameBytes(const CString& a, const CString& b)
{
    return lstrcmpA(a.data ? a.data : "", b.data ? b.data : "") == 0 &&
           a.GetLength() == b.GetLength();
}

// The launcher's order: after-or-equal when lstrcmpiA is 0 or more, and on
// a tie the element of the later half goes first.
bool ComesAfterOrTies(const CommandEntry& a, const CommandEntry& b)
{
    return lstrcmpiA(a.name.data ? a.name.data : "", b.name.data ? b.name.data : "") >= 0;
}

void MergeSort(CommandEntry* items, CommandEntry* scratch, const int& count)
{
    if (count < 2)
        return;
    const int half = count / 2;
    MergeSort(items, scratch, half);
    MergeSort(items + half, scratch, count - half);
    for (int i = 0; i < half; i++)
        scratch[i] = items[i];
    int left = 0, right = half, out = 0;
    while (left < half && right < count) {
        if (ComesAfterOrTies(scratch[left], items[right]))
            items[out++] = items[right++];
        else
            items[out++] = scratch[left++];
    }
    while (left < half)
        items[out++] = scratch[left++];
}

}  // namespace

char* ReadWholeSection(const char* file, const char* section, int& length)
{
    DWORD size = 4096;
    for (;;) {
        char* buffer = static_cast<char*>(calloc(size, 1));
        if (!buffer)
            return 0;
        DWORD got = GetPrivateProfileSectionA(section, buffer, size, file);
        if (got < size - 2) {
            length = static_cast<int>(got);
            return buffer;
        }
        free(buffer);
        size *= 2;
    }
}

CCommandStore::CCommandStore(const char* commandFile) : file(commandFile), backedUp(false) {}

bool CCommandStore::Load()
{
    entries.SetSize(0);
    int length = 0;
    char* names = ReadSectionNames(file.data ? file.data : "", length);
    if (!names)
        return false;
    for (int at = 0; at < length && names[at];) {
        CommandEntry entry;
        entry.name = names + at;
        entry.loadedName = entry.name;
        entry.path = ReadValue(file.data, names + at, "PATH");
        entry.folder = ReadValue(file.data, names + at, "FOLDER");
        entry.comment = ReadValue(file.data, names + at, "COMMENT");
        entry.loadedPath = entry.path;
        entry.loadedFolder = entry.folder;
        entry.loadedComment = entry.comment;
        entry.deleted = 0;
        entries.Add(entry);
        at += static_cast<int>(strlen(names + at)) + 1;
    }
    free(names);
    Sort();
    return true;
}

void CCommandStore::Sort()
{
    if (entries.count < 2)
        return;
    Zint_Std::CArray<CommandEntry> scratch;
    if (!scratch.Allocate(entries.count))
        return;
    MergeSort(entries.items, scratch.items, entries.count);
}

int CCommandStore::FindName(const char* name, const int& skip) const
{
    for (int i = 0; i < entries.count; i++) {
        if (i != skip && !entries.items[i].deleted &&
            lstrcmpiA(entries.items[i].name.data ? entries.items[i].name.data : "", name) == 0)
            return i;
    }
    return -1;
}

CString CCommandStore::UniqueName(const char* base) const
{
    CString name(base);
    for (int suffix = 2; FindName(name.data ? name.data : "", -1) >= 0; suffix++) {
        name = base;
        CString number;
        number.Format("%d", suffix);
        name.Append(number);
    }
    return name;
}

int CCommandStore::AddNew(const char* name, const char* path, const char* folder,
                          const char* comment)
{
    CommandEntry entry;
    entry.name = name;
    entry.path = path;
    entry.folder = folder;
    entry.comment = comment;
    entry.deleted = 0;
    if (!entries.Add(entry))
        return -1;
    return entries.count - 1;
}

void CCommandStore::Delete(const int& index)
{
    if (index < 0 || index >= entries.count)
        return;
    if (!entries.items[index].loadedName.IsEmpty()) {
        entries.items[index].deleted = 1;
        return;
    }
    for (int i = index; i + 1 < entries.count; i++)
        entries.items[i] = entries.items[i + 1];
    entries.SetSize(entries.count - 1);
}

bool CCommandStore::IsChanged(const int& index) const
{
    const CommandEntry& entry = entries.items[index];
    if (entry.deleted || entry.loadedName.IsEmpty())
        return true;
    return !SameBytes(entry.name, entry.loadedName) || !SameBytes(entry.path, entry.loadedPath) ||
           !SameBytes(entry.folder, entry.loadedFolder) ||
           !SameBytes(entry.comment, entry.loadedComment);
}

bool CCommandStore::HasChanges() const
{
    for (int i = 0; i < entries.count; i++) {
        if (IsChanged(i))
            return true;
    }
    return false;
}

CString CCommandStore::BackupPath() const
{
    CString folder(file);
    if (folder.data)
        Zint_Std::CutAfterLastBackslash(folder.data);
    folder.Append("quelt_cmd.txt.bak");
    return folder;
}

bool CCommandStore::MakeBackup()
{
    if (backedUp)
        return true;
    // Nothing to keep when the file does not exist yet.
    if (Zint_Std::PathExists(file.data) && !CopyFileA(file.data, BackupPath().data, FALSE))
        return false;
    backedUp = true;
    return true;
}

bool CCommandStore::WriteChangedKeys(CommandEntry& entry)
{
    struct KeyValue {
        const char* key;
        CString* value;
        CString* loaded;
    } keys[] = {{"PATH", &entry.path, &entry.loadedPath},
                {"FOLDER", &entry.folder, &entry.loadedFolder},
                {"COMMENT", &entry.comment, &entry.loadedComment}};
    const bool isNew = entry.loadedName.IsEmpty();
    for (const KeyValue& item : keys) {
        if (!isNew && SameBytes(*item.value, *item.loaded))
            continue;
        // A new command gets no empty keys.
        if (isNew && item.value->IsEmpty())
            continue;
        CString encoded = EncodeProfileValue(item.value->data);
        if (!WritePrivateProfileStringA(entry.name.data, item.key, encoded.data ? encoded.data : "",
                                        file.data))
            return false;
    }
    return true;
}

bool CCommandStore::RenameSections()
{
    // All old sections are read before any is removed, so that names that
    // trade places never overwrite each other.
    Zint_Std::CArray<CString> texts;
    if (!texts.Allocate(entries.count))
        return false;
    bool any = false;
    for (int i = 0; i < entries.count; i++) {
        CommandEntry& entry = entries.items[i];
        if (entry.deleted || entry.loadedName.IsEmpty() || SameBytes(entry.name, entry.loadedName))
            continue;
        int length = 0;
        char* lines = ReadWholeSection(file.data, entry.loadedName.data, length);
        if (!lines)
            return false;
        CString& text = texts.items[i];
        if (!text.Reserve(length + 1)) {
            free(lines);
            return false;
        }
        memcpy(text.data, lines, length + 1);
        free(lines);
        any = true;
    }
    if (!any)
        return true;
    for (int i = 0; i < entries.count; i++) {
        CommandEntry& entry = entries.items[i];
        if (!texts.items[i].data)
            continue;
        if (!WritePrivateProfileStringA(entry.loadedName.data, 0, 0, file.data))
            return false;
    }
    for (int i = 0; i < entries.count; i++) {
        CommandEntry& entry = entries.items[i];
        if (!texts.items[i].data)
            continue;
        // The double-NUL list of lines goes back as it came; an empty
        // section still gets its name line.
        if (!WritePrivateProfileSectionA(entry.name.data, texts.items[i].data, file.data))
            return false;
        entry.loadedName = entry.name;
    }
    return true;
}

SaveResult CCommandStore::Save()
{
    if (!HasChanges())
        return kSavedNothing;
    if (!MakeBackup())
        return kSaveFailed;
    for (int i = 0; i < entries.count; i++) {
        CommandEntry& entry = entries.items[i];
        if (entry.deleted && !WritePrivateProfileStringA(entry.loadedName.data, 0, 0, file.data))
            return kSaveFailed;
    }
    // Deleted entries are gone from the file: drop them from the list.
    int kept = 0;
    for (int i = 0; i < entries.count; i++) {
        if (!entries.items[i].deleted) {
            if (kept != i)
                entries.items[kept] = entries.items[i];
            kept++;
        }
    }
    entries.SetSize(kept);
    if (!RenameSections())
        return kSaveFailed;
    for (int i = 0; i < entries.count; i++) {
        CommandEntry& entry = entries.items[i];
        if (!WriteChangedKeys(entry))
            return kSaveFailed;
        entry.loadedName = entry.name;
        entry.loadedPath = entry.path;
        entry.loadedFolder = entry.folder;
        entry.loadedComment = entry.comment;
    }
    // Flushes a cached profile to disk.
    WritePrivateProfileStringA(0, 0, 0, file.data);
    return kSaved;
}
