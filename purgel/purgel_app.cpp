#include "purgel_app.h"

#include <mmsystem.h>

#include "balloon_wnd.h"
#include "stopwatch.h"

using Zint_Std::CString;

CPurgelApp* g_purgelApp = 0;

void FormatResultText(CString& text, const int& files, const int& folders)
{
    text.Format("[クリーン終了]\n 削除したファイル数 : %3d \n 削除したフォルダ数 : %3d ", files,
                folders);
}

CPurgelApp::CPurgelApp(HINSTANCE instanceHandle) : instance(instanceHandle)
{
    ClearCounts(counts);
}

int CPurgelApp::Run()
{
    BuildSettingsPath(settingsPath);
    settings.Load(settingsPath);
    settings.Save(settingsPath);
    RunSteps();
    CString text;
    FormatResultText(text, TotalFiles(counts), TotalFolders(counts));
    ShowResult(text);
    return 0;
}

void CPurgelApp::RunSteps()
{
    if (settings.winTempFile)
        counts.windowsTmpFiles = CleanWindowsTmp();
    if (settings.tempFolder)
        CleanTempFolder(counts.tempFiles, counts.tempFolders);
    if (settings.recentFolder)
        CleanRecentFolder(counts.recentFiles, counts.recentFolders);
    if (settings.recentWmPlayer)
        DeleteMediaPlayerList();
    if (settings.windowsUpdateFolder)
        CleanUpdateFolder(counts.updateFiles, counts.updateFolders);
}

void CPurgelApp::ShowResult(const CString& text)
{
    CBalloonWnd balloon(instance, GetDesktopWindow());
    balloon.Show(text, kBalloonTopmost | kBalloonCentred, 0, 0, 0, 0);
    CStopwatch stopwatch;
    // Spins instead of blocking: the display time is short and must hold
    // even when no message arrives.
    MSG message;
    for (;;) {
        if (PeekMessageA(&message, 0, 0, 0, PM_NOREMOVE)) {
            if (GetMessageA(&message, 0, 0, 0) <= 0)
                break;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        } else if (stopwatch.Elapsed() >= kResultDisplayMs) {
            balloon.Hide();
            break;
        }
    }
    timeEndPeriod(stopwatch.caps.wPeriodMin);
}
