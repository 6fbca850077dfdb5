// The five switches of the clean-up in the [DEL_FLAG] section of Purgel.ini.
// Any non-zero value switches its step on.
#ifndef QUELT_PURGEL_SETTINGS_H
#define QUELT_PURGEL_SETTINGS_H

#include "support/string.h"

class CPurgelSettings {
public:
    int winTempFile;          // empty .tmp files in the Windows folder
    int tempFolder;           // everything under the temporary folder
    int recentFolder;         // everything under the recent-documents folder
    int recentWmPlayer;       // the media player's recent-file list
    int windowsUpdateFolder;  // \WUTemp on the Windows drive

    CPurgelSettings();

    // Reads every switch with its default; a value that is no number reads 0.
    void Load(const Zint_Std::CString& path);
    // Writes every switch back, so a missing file is created with the values
    // read, and flushes the profile cache.
    void Save(const Zint_Std::CString& path) const;
};

// The settings file beside the program, or the user's own copy of it when
// the program's folder cannot be written.
void BuildSettingsPath(Zint_Std::CString& path);

#endif
