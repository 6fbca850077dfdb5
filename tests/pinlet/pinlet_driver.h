// Runs the real Pinlet.exe from a scratch install folder: the folder recorded
// for the current user as the installer would, runs with an exact command
// line, its message boxes, and a stand-in for the launcher's window that
// records the paths posted to it.
#ifndef QUELT_TESTS_PINLET_DRIVER_H
#define QUELT_TESTS_PINLET_DRIVER_H

#include <windows.h>

#include "support/string.h"

const DWORD kPinletTimeoutMs = 15000;

// The install record HKCU\SoftWare\QUELT_\ InstFolder, set for a test and
// put back as it was afterwards.
class CInstallRecord {
public:
    CInstallRecord();
    ~CInstallRecord();
    bool Set(const Zint_Std::CString& folder);
    void Restore();

private:
    bool saved;
    bool keyExisted;
    bool valueExisted;
    Zint_Std::CString previous;
};

// Whether HKLM\SoftWare\QUELT_ opens for reading (then it wins over the
// per-user record).
bool MachineWideRecordExists();

// Where Pinlet keeps its SendTo shortcut.
Zint_Std::CString SendToShortcutPath();

// One run of Pinlet.exe.
class CPinletRun {
public:
    PROCESS_INFORMATION process;

    CPinletRun();
    ~CPinletRun();
    // Starts program with exactly this command line (the program name is
    // part of it).
    bool StartWithLine(const Zint_Std::CString& program, const Zint_Std::CString& line);
    // The usual form: the quoted program path, a blank, the arguments
    // (none and no blank when arguments is empty).
    bool Start(const Zint_Std::CString& program, const char* arguments);
    // Waits for the end; false when it did not end in time.
    bool WaitExit(DWORD& exitCode, const DWORD& timeoutMs = kPinletTimeoutMs);
    bool HasEnded();
    // A message box of Pinlet ("Quelt" caption); 0 when none came.
    HWND WaitForBox(const DWORD& timeoutMs = kPinletTimeoutMs) const;
};

// A window of the launcher's class in the test process: what Pinlet posts
// is recorded here, the atom read and deleted as the launcher does.
class CLauncherStandIn {
public:
    HWND window;
    int received;                // registration messages so far
    Zint_Std::CString lastPath;  // the atom's name of the last one
    ATOM lastAtom;

    CLauncherStandIn();
    ~CLauncherStandIn();
    bool Create();
    void Destroy();
    // Handles this thread's messages until a registration message has come
    // (or the time is up).
    bool WaitForPath(const DWORD& timeoutMs = kPinletTimeoutMs);
    // Handles the messages that are already waiting.
    void PumpMessages();
    LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

// A launcher that something other than the test started (Pinlet): found by
// its window, and quit at the end.
class CStartedLauncher {
public:
    HWND window;
    DWORD processId;
    HANDLE process;

    CStartedLauncher();
    ~CStartedLauncher();
    bool WaitForWindow(const DWORD& timeoutMs = kPinletTimeoutMs);
    // The full path of the program the process runs.
    Zint_Std::CString ProgramPath() const;
    bool Quit();
};

#endif
