#include "launcher/message_filter.h"

namespace {

// Values and signatures of the Windows 7 and Vista headers; the suite is
// built for older versions and finds the functions at run time.
const DWORD kFilterAllow = 1;  // MSGFLT_ALLOW
const DWORD kFilterAdd = 1;    // MSGFLT_ADD

typedef BOOL(WINAPI* ChangeWindowMessageFilterExFunction)(HWND, UINT, DWORD, void*);
typedef BOOL(WINAPI* ChangeWindowMessageFilterFunction)(UINT, DWORD);

}  // namespace

MessageFilterRoute AllowMessageFromLowerIntegrity(HWND window, const UINT& message)
{
    HMODULE user32 = GetModuleHandleA("user32.dll");
    if (!user32)
        return kFilterNotAvailable;
    ChangeWindowMessageFilterExFunction forWindow =
        reinterpret_cast<ChangeWindowMessageFilterExFunction>(
            reinterpret_cast<void*>(GetProcAddress(user32, "ChangeWindowMessageFilterEx")));
    if (forWindow)
        return forWindow(window, message, kFilterAllow, 0) ? kFilterForWindow : kFilterRefused;
    ChangeWindowMessageFilterFunction forProcess =
        reinterpret_cast<ChangeWindowMessageFilterFunction>(
            reinterpret_cast<void*>(GetProcAddress(user32, "ChangeWindowMessageFilter")));
    if (forProcess)
        return forProcess(message, kFilterAdd) ? kFilterForProcess : kFilterRefused;
    return kFilterNotAvailable;
}
