#include "editor/command_store.h"

#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include "commands/command_file.h"
#include "commands/command_text_edit.h"
#include "commands/profile_text.h"
#include "commands/use_counts.h"
#include "support/files.h"

using Zint_Std::CString;

namespace {

// Large enough for any value a user keeps in a command file; the dialogs
// flag what the launcher would not read in full.
const int kValueBuffer = 4096;

const char* const kKeys[] = {"PATH", "FOLDER", "COMMENT"};

bool SameBytes(const CString& a, const CString& b)
{
    return lstrcmpA(a.Text(), b.Text()) == 0 &&
           a.GetLength() == b.GetLength();
}

// The launcher's order: after-or-equal when lstrcmpiA is 0 or more, and on
// a tie the element of the later half goes first.
bool ComesAfterOrTies(const CommandEntry& a, const CommandEntry& b)
{
    return lstrcmpiA(a.name.Text(), b.name.Text()) >= 0;
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

CCommandStore::CCommandStore(const char* commandFile)
    : file(commandFile), backedUp(false), wroteFile(false), twinCount(0), failingStep(kNoStep),
      refusedMarkedFile(false)
{
}

bool CCommandStore::Load()
{
    entries.SetSize(0);
    twinCount = 0;
    CCommandFile current;
    if (!current.Read(file.Text()))
        return false;
    for (int i = 0; i < current.SectionCount(); i++) {
        if (!current.IsListed(i))
            continue;
        // The launcher runs the first of two names that differ only in
        // letter case; the later one is left as it is.
        if (!current.Section(i).firstOfName) {
            twinCount++;
            continue;
        }
        CommandEntry entry;
        entry.name = current.SectionName(i);
        entry.loadedName = entry.name;
        entry.path = current.Value(i, "PATH", kValueBuffer);
        entry.folder = current.Value(i, "FOLDER", kValueBuffer);
        entry.comment = current.Value(i, "COMMENT", kValueBuffer);
        entry.loadedPath = entry.path;
        entry.loadedFolder = entry.folder;
        entry.loadedComment = entry.comment;
        entry.deleted = 0;
        if (!entries.Add(entry))
            return false;
    }
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
            lstrcmpiA(entries.items[i].name.Text(), name) == 0)
            return i;
    }
    return -1;
}

CString CCommandStore::UniqueName(const char* base) const
{
    CString name(base);
    for (int suffix = 2; FindName(name.Text(), -1) >= 0; suffix++) {
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
    if (failingStep == kStepBackup ||
        (Zint_Std::PathExists(file.data) && !CopyFileA(file.data, BackupPath().data, FALSE)))
        return false;
    backedUp = true;
    return true;
}

namespace {

bool HoldsLineBreak(const CString& text)
{
    return text.data && (strchr(text.data, '\r') || strchr(text.data, '\n'));
}

}  // namespace

// Nothing that is written may open a line of its own: a line break in a
// value or a bracket in a name would become a section of its own.
bool CCommandStore::CanBeWritten() const
{
    for (int i = 0; i < entries.count; i++) {
        const CommandEntry& entry = entries.items[i];
        if (entry.deleted || !IsChanged(i))
            continue;
        const NameProblem problem = CheckCommandName(entry.name.Text());
        if (problem == kNameEmpty || problem == kNameBreaksProfile)
            return false;
        if (HoldsLineBreak(entry.path) || HoldsLineBreak(entry.folder) ||
            HoldsLineBreak(entry.comment))
            return false;
    }
    return true;
}

// Writes the text beside the file and puts it in the file's place in one
// step: the file on disk is the old one or the new one, never a mix.
bool CCommandStore::PutInPlace(const char* bytes, const int& length)
{
    Zint_Std::CFileReplacement replacement(file);
    return failingStep != kStepTemporary && replacement.Create() &&
           failingStep != kStepWrite && replacement.Write(bytes, length) &&
           failingStep != kStepFlush && replacement.Flush() && MakeBackup() &&
           failingStep != kStepReplace && replacement.PutInPlace();
}

void CCommandStore::CarryUseCounts() const
{
    // A renamed command keeps how much it was used, a deleted one loses it.
    const int most = entries.count;
    const char** from = static_cast<const char**>(malloc(sizeof(const char*) * (most + 1)));
    const char** to = static_cast<const char**>(malloc(sizeof(const char*) * (most + 1)));
    int pairs = 0;
    for (int i = 0; from && to && i < entries.count; i++) {
        const CommandEntry& entry = entries.items[i];
        if (entry.loadedName.IsEmpty() || (!entry.deleted && SameBytes(entry.name, entry.loadedName)))
            continue;
        from[pairs] = entry.loadedName.data;
        to[pairs] = entry.deleted ? 0 : entry.name.data;
        pairs++;
    }
    const CString path = CUseCounts::PathBeside(file);
    CUseCounts counts;
    if (pairs && counts.Load(path) == kUseCountsLoaded && counts.Carry(from, to, pairs))
        counts.Save(path);
    free(from);
    free(to);
}

// Sections that differ from an earlier one only in letter case: the
// launcher never runs them, and the editors do not show them. Each pair is
// the twin and the first section of its name.
struct TwinSection {
    int twin;
    int first;
};

namespace {

bool FindTwins(const CCommandFile& file, Zint_Std::CArray<TwinSection>& twins)
{
    for (int i = 0; i < file.SectionCount(); i++) {
        if (!file.IsListed(i) || file.Section(i).firstOfName)
            continue;
        TwinSection pair;
        pair.twin = i;
        pair.first = file.FindSection(file.SectionName(i).data);
        if (pair.first >= 0 && !twins.Add(pair))
            return false;
    }
    return true;
}

}  // namespace

// A deleted or renamed command takes its hidden twins along: otherwise the
// launcher would run one of them, which the editor never showed, under the
// old name, or under a new command of that name.
bool CCommandStore::TakeTwinsAlong(CCommandTextEdit& edit, const Zint_Std::CArray<TwinSection>& twins,
                                   const int& section, const CommandEntry& entry) const
{
    bool ok = true;
    for (int i = 0; ok && i < twins.count; i++) {
        if (twins.items[i].first != section)
            continue;
        ok = entry.deleted ? edit.DeleteSection(twins.items[i].twin)
                           : edit.RenameSection(twins.items[i].twin, entry.name.data);
    }
    return ok;
}

SaveResult CCommandStore::Save()
{
    if (!HasChanges())
        return kSavedNothing;
    if (!CanBeWritten())
        return kSaveFailed;
    // The changes go into the file as it is now, so that what another
    // program or a hand edit changed meanwhile elsewhere stays.
    CCommandFile current;
    refusedMarkedFile = false;
    if (!current.Read(file.Text()))
        return kSaveFailed;
    if (current.IsConverted()) {
        refusedMarkedFile = true;
        return kSaveFailed;
    }
    CCommandTextEdit edit(current);
    Zint_Std::CArray<TwinSection> twins;
    bool ok = FindTwins(current, twins);
    for (int i = 0; ok && i < entries.count; i++) {
        CommandEntry& entry = entries.items[i];
        if (!IsChanged(i))
            continue;
        const int section =
            entry.loadedName.IsEmpty() ? -1 : current.FindSection(entry.loadedName.data);
        if (entry.deleted) {
            ok = section < 0 ||
                 (edit.DeleteSection(section) && TakeTwinsAlong(edit, twins, section, entry));
            continue;
        }
        CString encoded[3];
        const CString* values[] = {&entry.path, &entry.folder, &entry.comment};
        const CString* loaded[] = {&entry.loadedPath, &entry.loadedFolder, &entry.loadedComment};
        const char* texts[3];
        for (int k = 0; k < 3; k++) {
            encoded[k] = EncodeProfileValue(values[k]->Text());
            texts[k] = values[k]->IsEmpty() ? "" : (encoded[k].Text());
        }
        // A new command, or one whose section is gone from the file.
        if (section < 0) {
            ok = edit.AppendSection(entry.name.data, kKeys, texts, 3);
            continue;
        }
        if (!SameBytes(entry.name, entry.loadedName))
            ok = edit.RenameSection(section, entry.name.data) &&
                 TakeTwinsAlong(edit, twins, section, entry);
        for (int k = 0; ok && k < 3; k++) {
            if (!SameBytes(*values[k], *loaded[k]))
                ok = edit.SetValue(section, kKeys[k], encoded[k].Text());
        }
    }
    int length = 0;
    char* text = ok ? edit.Compose(length) : 0;
    ok = text && PutInPlace(text, length);
    free(text);
    if (!ok)
        return kSaveFailed;
    wroteFile = true;
    CarryUseCounts();
    // Deleted entries are gone from the file: drop them from the list.
    int kept = 0;
    for (int i = 0; i < entries.count; i++) {
        if (entries.items[i].deleted)
            continue;
        if (kept != i)
            entries.items[kept] = entries.items[i];
        CommandEntry& entry = entries.items[kept++];
        entry.loadedName = entry.name;
        entry.loadedPath = entry.path;
        entry.loadedFolder = entry.folder;
        entry.loadedComment = entry.comment;
    }
    entries.SetSize(kept);
    return kSaved;
}

const char* CCommandStore::SaveFailureText() const
{
    if (refusedMarkedFile)
        return "コマンドファイルに書き込めませんでした。\n\n"
               "このファイルは先頭にバイト順マーク(BOM)の付いた UTF-8 または Unicode の"
               "テキストで、Shift-JIS ではありません。メモ帳で開き、「名前を付けて保存」で"
               "文字コードを「ANSI」にして保存し直してください。";
    return "コマンドファイルに書き込めませんでした。";
}
