// The clean-up program: reads and rewrites its switches, runs the switched-on
// steps in their order and shows the counts in the balloon for 2500 ms.
#ifndef QUELT_PURGEL_APP_H
#define QUELT_PURGEL_APP_H

#include <windows.h>

#include "clean_steps.h"
#include "purgel_settings.h"
#include "support/string.h"

const DWORD kResultDisplayMs = 2500;

class CPurgelApp {
public:
    HINSTANCE instance;
    Zint_Std::CString settingsPath;
    CPurgelSettings settings;
    CleanCounts counts;

    explicit CPurgelApp(HINSTANCE instance);

    // One whole run; the exit code.
    int Run();

private:
    void RunSteps();
    void ShowResult(const Zint_Std::CString& text);
};

// "[クリーン終了]" with the numbers of deleted files and folders.
void FormatResultText(Zint_Std::CString& text, const int& files, const int& folders);

extern CPurgelApp* g_purgelApp;

#endif
