// Hands a path to the running launcher, which opens its new-command dialog
// for it; starts the launcher first when the user agrees.
#ifndef QUELT_PINLET_PATH_REGISTRATION_H
#define QUELT_PINLET_PATH_REGISTRATION_H

#include <windows.h>

#include "support/string.h"

class CPathRegistration {
public:
    Zint_Std::CString installFolder;  // where quelt_.exe is started from
    HWND launcherWindow;

    explicit CPathRegistration(const Zint_Std::CString& folder);

    // The whole exchange for the arguments of the command line.
    void Register(const char* arguments);

private:
    bool FindLauncher();
    // Asks, starts the launcher and waits for its window: five looks, each
    // failed one followed by a pause of 500 ms. False when the user said no
    // or the window never came (then after the warning).
    bool StartLauncherWhenAsked();
    bool WaitForLauncher();
    void PostPath(const Zint_Std::CString& path);
};

#endif
