// Lets programs of lower integrity (Pinlet started from the Explorer) post
// the registration message to a launcher that an elevated installer started
// elevated. Windows before Vista has no message filter and needs nothing.
#ifndef QUELT_LAUNCHER_MESSAGE_FILTER_H
#define QUELT_LAUNCHER_MESSAGE_FILTER_H

#include <windows.h>

enum MessageFilterRoute {
    kFilterNotAvailable,  // neither function exists: nothing filters messages
    kFilterForWindow,     // ChangeWindowMessageFilterEx on the window
    kFilterForProcess,    // ChangeWindowMessageFilter, for the whole process
    kFilterRefused        // the function exists but failed
};

// Looks the filter functions up at run time and allows message for window.
MessageFilterRoute AllowMessageFromLowerIntegrity(HWND window, const UINT& message);

#endif
