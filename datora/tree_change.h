// The change itself: the chosen local time as a UTC file time, and the walk
// that gives every entry under a folder the chosen times and attributes,
// counting what really changed.
#ifndef QUELT_DATORA_TREE_CHANGE_H
#define QUELT_DATORA_TREE_CHANGE_H

#include <windows.h>

#include "support/string.h"

// What the user asked for.
struct ChangeRequest {
    bool setTime;        // creation, last-access and last-write time of files
    FILETIME time;       // UTC
    bool setAttributes;  // files, and folders with includeFolders
    DWORD attributes;
    bool includeFolders;  // sub-folders and the named folder itself
};

// What happened to the listed entries.
struct ChangeTally {
    int changed;   // every requested change took effect
    int failed;    // at least one requested change did not
    int skipped;   // folders when only the times were asked for
    int refused;   // names that cannot be used as they are, paths too long
    int links;     // left alone, and what they point at with them
    int unlisted;  // folders whose entries could not be read
};

enum EntryOutcome {
    kEntryChanged,
    kEntryFailed,
    kEntrySkipped,
    kEntryLink
};

// The date of one picker with the time of day of the other, read as local
// time under the time-zone rules in force on that date, as a UTC file time.
bool ChosenTimeToFileTime(const SYSTEMTIME& date, const SYSTEMTIME& timeOfDay, FILETIME& utc);

// Whether a file system can hold a time stamp of that (local) year: FAT
// and exFAT keep only the years 1980 to 2107.
bool FileSystemTakesYear(const char* fileSystem, const int& year);

// The chosen time as a UTC file time that the volume of folder can hold;
// false, with the reason for the user in problem, when the time cannot be
// converted or the volume's file system cannot keep it.
bool PrepareChosenTime(const Zint_Std::CString& folder, const SYSTEMTIME& date,
                       const SYSTEMTIME& timeOfDay, FILETIME& utc, Zint_Std::CString& problem);

// The attribute value of the four attribute boxes; normal when none is set.
DWORD ChosenAttributes(const bool& readOnly, const bool& hidden, const bool& archive,
                       const bool& system);

// Applies the request to one file or folder. Folders keep their times;
// links, and what they point at, are left alone.
EntryOutcome ChangeEntry(const Zint_Std::CString& path, const ChangeRequest& request);

// Applies the request to every file at every depth under folder (and, with
// includeFolders, to every sub-folder and to folder itself) and counts.
void ChangeTree(const Zint_Std::CString& folder, const ChangeRequest& request, ChangeTally& tally);

// The report of a run; true when nothing failed (an information box),
// false when the report is a warning. The links left alone, the names
// that could not be used and the folders that could not be read are counted
// in it when there are any.
bool FormatReport(const ChangeTally& tally, Zint_Std::CString& text);

#endif
