// Pinlet's own shortcut in the current user's SendTo folder.
#ifndef QUELT_PINLET_SENDTO_SHORTCUT_H
#define QUELT_PINLET_SENDTO_SHORTCUT_H

#include "support/string.h"

class CSendToShortcut {
public:
    Zint_Std::CString folder;    // the SendTo folder, trailing backslash; empty if unknown
    Zint_Std::CString linkPath;  // folder + "Queltに登録.lnk"

    // Looks the SendTo folder up; false when the shell gives none.
    bool Locate();
    bool Exists() const;
    // Writes (or overwrites) the shortcut to installFolder + "Pinlet.exe",
    // starting in installFolder. False when the folder cannot be made or
    // the shell's link object is not available.
    bool Create(const Zint_Std::CString& installFolder) const;
    // The outcome is not looked at: there is nothing to tell the user.
    void Delete() const;
};

#endif
