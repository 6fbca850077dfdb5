#include "path_registration.h"

#include <shellapi.h>

#include "command_line.h"
#include "pinlet_texts.h"

using Zint_Std::CString;

namespace {

const int kLauncherLooks = 5;
const DWORD kLookPauseMs = 500;

}  // namespace

CPathRegistration::CPathRegistration(const CString& folder)
    : installFolder(folder), launcherWindow(0)
{
}

void CPathRegistration::Register(const char* arguments)
{
    if (!FindLauncher() && !StartLauncherWhenAsked())
        return;
    CString path = PathForAtom(arguments);
    PostPath(path);
}

bool CPathRegistration::FindLauncher()
{
    launcherWindow = FindWindowA(kLauncherWindowClassName, 0);
    return launcherWindow != 0;
}

bool CPathRegistration::StartLauncherWhenAsked()
{
    if (MessageBoxA(GetDesktopWindow(), kAskStartLauncher, kPinletCaption, MB_YESNO) == IDNO)
        return false;
    CString program(installFolder);
    program.Append(kLauncherProgramName);
    // Without a recorded folder the launcher is started by its bare name and
    // without a working folder.
    const char* workingFolder = installFolder.IsEmpty() ? 0 : installFolder.data;
    ShellExecuteA(0, "open", program.data, 0, workingFolder, SW_SHOWNORMAL);
    if (WaitForLauncher())
        return true;
    MessageBoxA(GetDesktopWindow(), kLauncherStartFailed, kPinletCaption,
                MB_SYSTEMMODAL | MB_ICONWARNING);
    return false;
}

bool CPathRegistration::WaitForLauncher()
{
    for (int look = 0; look < kLauncherLooks; ++look) {
        if (FindLauncher())
            return true;
        Sleep(kLookPauseMs);
    }
    return false;
}

void CPathRegistration::PostPath(const CString& path)
{
    ATOM atom = GlobalAddAtomA(path.Text());
    if (!atom)
        return;
    // Lets the launcher's dialog come to the front.
    SetForegroundWindow(launcherWindow);
    SetActiveWindow(launcherWindow);
    // The launcher reads and deletes the atom; nothing is waited for.
    PostMessageA(launcherWindow, kRegisterPathMessage, atom, 0);
}
