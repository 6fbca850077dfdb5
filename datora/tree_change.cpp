#include "datora/tree_change.h"

#include <string.h>

#include "support/array.h"
#include "support/files.h"

using Zint_Std::CArray;
using Zint_Std::CString;

namespace {

// Attributes of 0 would mean "leave them" to the file system.
DWORD SettableAttributes(const DWORD& attributes)
{
    return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

bool WriteTimes(const CString& path, const FILETIME& time)
{
    HANDLE file = CreateFileA(path.data, GENERIC_READ | GENERIC_WRITE, 0, 0, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, 0);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BOOL written = SetFileTime(file, &time, &time, &time);
    CloseHandle(file);
    return written != 0;
}

// A read-only file cannot be opened for writing: its read-only attribute is
// lifted for the moment of the change and put back afterwards.
bool SetFileTimes(const CString& path, const DWORD& current, const FILETIME& time)
{
    const bool readOnly = (current & FILE_ATTRIBUTE_READONLY) != 0;
    if (readOnly &&
        !SetFileAttributesA(path.data, SettableAttributes(current & ~FILE_ATTRIBUTE_READONLY)))
        return false;
    bool written = WriteTimes(path, time);
    if (readOnly && !SetFileAttributesA(path.data, current))
        return false;
    return written;
}

}  // namespace

bool ChosenTimeToFileTime(const SYSTEMTIME& date, const SYSTEMTIME& timeOfDay, FILETIME& utc)
{
    SYSTEMTIME local = date;
    local.wHour = timeOfDay.wHour;
    local.wMinute = timeOfDay.wMinute;
    local.wSecond = timeOfDay.wSecond;
    local.wMilliseconds = 0;
    // The offset of the chosen date, not today's: a summer date chosen in
    // winter must still show the hour that was chosen.
    SYSTEMTIME universal;
    if (!TzSpecificLocalTimeToSystemTime(0, &local, &universal))
        return false;
    return SystemTimeToFileTime(&universal, &utc) != 0;
}

bool FileSystemTakesYear(const char* fileSystem, const int& year)
{
    // "FAT", "FAT12", "FAT16", "FAT32" and "exFAT".
    const bool fat = !_strnicmp(fileSystem, "FAT", 3) || !_stricmp(fileSystem, "exFAT");
    return !fat || (year >= 1980 && year <= 2107);
}

bool PrepareChosenTime(const CString& folder, const SYSTEMTIME& date, const SYSTEMTIME& timeOfDay,
                       FILETIME& utc, CString& problem)
{
    problem.Empty();
    if (!ChosenTimeToFileTime(date, timeOfDay, utc)) {
        problem = "選んだ日時を変換できませんでした.\n日付と時刻を選び直してください.";
        return false;
    }
    // Every file would fail alike, so the volume is asked once, before
    // anything changes. A volume that cannot be asked is not held up.
    CString root;
    char fileSystem[MAX_PATH + 1] = {0};
    if (!root.Reserve(folder.GetLength() + 2) ||
        !GetVolumePathNameA(folder.data, root.data, folder.GetLength() + 2) ||
        !GetVolumeInformationA(root.data, 0, 0, 0, 0, 0, fileSystem, sizeof(fileSystem)) ||
        FileSystemTakesYear(fileSystem, date.wYear))
        return true;
    problem.Format("このフォルダのドライブ (%s) には1980年から2107年までの日時しか"
                   "記録できません.\n日付を選び直してください.",
                   fileSystem);
    return false;
}

DWORD ChosenAttributes(const bool& readOnly, const bool& hidden, const bool& archive,
                       const bool& system)
{
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
    if (readOnly)
        attributes |= FILE_ATTRIBUTE_READONLY;
    if (hidden)
        attributes |= FILE_ATTRIBUTE_HIDDEN;
    if (archive)
        attributes |= FILE_ATTRIBUTE_ARCHIVE;
    if (system)
        attributes |= FILE_ATTRIBUTE_SYSTEM;
    return attributes;
}

EntryOutcome ChangeEntry(const CString& path, const ChangeRequest& request)
{
    const DWORD current = GetFileAttributesA(path.data);
    if (current == INVALID_FILE_ATTRIBUTES)
        return kEntryFailed;
    // Changed through a link, the times and attributes would be those of
    // what it points at, outside the tree.
    if (Zint_Std::IsLink(path.data))
        return kEntryLink;
    const bool folder = (current & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const bool setTime = request.setTime && !folder;
    if (!setTime && !request.setAttributes)
        return kEntrySkipped;
    bool done = true;
    // Times first: the new attributes may make the file read-only.
    if (setTime && !SetFileTimes(path, current, request.time))
        done = false;
    if (request.setAttributes && !SetFileAttributesA(path.data, request.attributes))
        done = false;
    return done ? kEntryChanged : kEntryFailed;
}

void ChangeTree(const CString& folder, const ChangeRequest& request, ChangeTally& tally)
{
    tally.changed = 0;
    tally.failed = 0;
    tally.skipped = 0;
    tally.refused = 0;
    tally.links = 0;
    tally.unlisted = 0;
    CArray<CString> entries;
    Zint_Std::ListFolder(folder, entries, "*", true, request.includeFolders, tally.refused,
                         tally.unlisted);
    if (request.includeFolders)
        entries.Add(folder);
    for (int i = 0; i < entries.count; i++) {
        switch (ChangeEntry(entries.items[i], request)) {
        case kEntryChanged:
            tally.changed++;
            break;
        case kEntryFailed:
            tally.failed++;
            break;
        case kEntrySkipped:
            tally.skipped++;
            break;
        case kEntryLink:
            tally.links++;
            break;
        }
    }
}

bool FormatReport(const ChangeTally& tally, CString& text)
{
    const bool clean = tally.failed == 0 && tally.refused == 0 && tally.unlisted == 0;
    if (clean) {
        text.Format("変更は正常に終了しました.\n変更した数：%d", tally.changed);
    } else if (tally.failed == 0 && tally.refused == 0) {
        // Only unread folders: what was in them is not known, so not counted.
        text.Format("変更できなかったものがあります.\n変更した数：%d", tally.changed);
    } else if (tally.refused == 0) {
        text.Format("変更できなかったものがあります.\n変更した数：%d\n変更できなかった数：%d",
                    tally.changed, tally.failed);
    } else {
        text.Format("変更できなかったものがあります.\n変更した数：%d\n変更できなかった数：%d\n"
                    "（うち名前が使えないかパスが長すぎるため扱えなかった数：%d）",
                    tally.changed, tally.failed + tally.refused, tally.refused);
    }
    if (tally.unlisted > 0) {
        CString unlistedLine;
        unlistedLine.Format("\n中身を読み取れなかったフォルダの数：%d", tally.unlisted);
        text += unlistedLine;
    }
    // Links are left alone on purpose: worth a line, no warning.
    if (tally.links > 0) {
        CString linkLine;
        linkLine.Format("\nリンクのため変更しなかった数：%d", tally.links);
        text += linkLine;
    }
    return clean;
}
