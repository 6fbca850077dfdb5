// The steps of one clean-up run and the deletion work they share. No step
// reports an error: what cannot be deleted stays and is not counted.
#ifndef QUELT_PURGEL_CLEAN_STEPS_H
#define QUELT_PURGEL_CLEAN_STEPS_H

#include "support/string.h"

// Files deleted and folders removed by each step of a run.
struct CleanCounts {
    int windowsTmpFiles;
    int tempFiles;
    int tempFolders;
    int recentFiles;
    int recentFolders;
    int updateFiles;
    int updateFolders;
};

void ClearCounts(CleanCounts& counts);
int TotalFiles(const CleanCounts& counts);
int TotalFolders(const CleanCounts& counts);

// The steps, in the order of a run.
int CleanWindowsTmp();
void CleanTempFolder(int& files, int& folders);
void CleanRecentFolder(int& files, int& folders);
void DeleteMediaPlayerList();
void CleanUpdateFolder(int& files, int& folders);

extern const char kMediaPlayerListKey[];

// Deletes the empty files directly in folder whose own (long) name ends in
// .tmp, in any case; returns how many.
int DeleteEmptyTmpFiles(const Zint_Std::CString& folder);
// Deletes everything under folder, deepest entries first; the folder itself
// stays. Links inside go as links, never what they point at (a link that
// cannot go as a link stays); entries whose names cannot be used are left. Adds to files and folders what was removed.
void DeleteFolderContents(const Zint_Std::CString& folder, int& files, int& folders);
// Empty means a size of 0 bytes on the disk, whether or not the file can be
// opened.
bool IsEmptyFile(const Zint_Std::CString& path);
// A temporary folder that is a drive root, the Windows folder, the user's
// profile or a folder above it, or one that holds the program itself holds
// far more than temporary files: it is never emptied. The test is on the
// names as given, each with its short (8.3) names spelled long.
bool IsProtectedFolder(const Zint_Std::CString& folder, const Zint_Std::CString& windowsFolder,
                       const Zint_Std::CString& profileFolder,
                       const Zint_Std::CString& programFolder = Zint_Std::CString());
// The path with every short (8.3) name in it spelled long
// ("C:\PROGRA~1\" is "C:\Program Files\"); as given when the system cannot
// tell, as for a path that does not exist.
Zint_Std::CString LongFormOf(const Zint_Std::CString& path);
// "<drive>\WUTemp\" of the Windows folder; false when that has no drive.
bool UpdateFolderOf(const char* windowsFolder, Zint_Std::CString& folder);

#endif
