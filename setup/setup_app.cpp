#include "setup_app.h"

#include <stdlib.h>
#include <string.h>

#include "setup_paths.h"
#include "support/files.h"
#include "support/registry.h"

using Zint_Std::CString;

const char kSuiteVersion[] = "0.981";
const char kSettingsKey[] = "SoftWare\\QUELT_\\";
const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QUELT_\\";

namespace {

const char kLauncherClass[] = "QUELT_APP_WND_CLASS";
const char kRunningMutex[] = "QUELT_SETUP_RUNNING";

// One installation or first uninstall stage at a time: two would copy over
// and delete each other's files. The mutex lives until the process ends.
// Its handle is not inheritable, so the second uninstall stage, which the
// first starts with inheritance, holds none and is never refused: it only
// waits for the first stage to end, which releases the mutex.
bool TakeRunningMutex()
{
    HANDLE mutex = CreateMutexA(0, TRUE, kRunningMutex);
    if (mutex && GetLastError() != ERROR_ALREADY_EXISTS)
        return true;
    if (mutex)
        CloseHandle(mutex);
    CSetupApp::Notify("Queltのセットアップが既に実行中です.\n"
                      "実行中のセットアップを終えてから,もう一度実行してください.");
    return false;
}

bool ReadInstallFolder(HKEY root, CString& folder)
{
    Zint_Std::CRegistryKey key;
    if (!key.Open(root, kSettingsKey, false, false) || !key.QueryString("InstFolder", folder) ||
        folder.IsEmpty())
        return false;
    Zint_Std::AppendBackslash(folder);
    return true;
}

bool RecordedInstallFolderIs(HKEY root, const CString& folder)
{
    CString recorded;
    return ReadInstallFolder(root, recorded) && SameResolvedFolder(recorded, folder);
}

}  // namespace

CSetupApp::CSetupApp(HINSTANCE instance) : instance(instance)
{
    char path[500];
    path[0] = 0;
    GetModuleFileNameA(0, path, sizeof(path));
    path[sizeof(path) - 1] = 0;
    modulePath.Assign(path);
    Zint_Std::CutAfterLastBackslash(path);
    moduleFolder.Assign(path);
}

int CSetupApp::Run(const char* commandLine, int argumentCount, char** arguments)
{
    const char* line = commandLine ? commandLine : "";
    if (line[0] == 0) {
        // Started from its own install folder this program is the
        // uninstaller: installing would delete it and the package it lacks.
        if (IsInstalledCopy()) {
            MessageBoxA(GetDesktopWindow(),
                        "アンインストールするには,スタートメニューの「Quelt」→"
                        "「アンインストール」を選ぶか,\n-U を付けて起動してください.",
                        "Quelt", MB_SYSTEMMODAL | MB_ICONEXCLAMATION | MB_OK);
            return 0;
        }
        if (TakeRunningMutex() && RunInstall())
            ScheduleSelfDelete(true);
        return 0;
    }
    if (strcmp(line, "-U") == 0 || IsUnquotedUninstallLine(GetCommandLineA(), modulePath)) {
        if (TakeRunningMutex())
            StartUninstall();
        return 0;
    }
    // Without a folder there is nothing to remove: file names alone would
    // name files of the temporary folder.
    if (argumentCount >= 5 && arguments && strcmp(arguments[1], "/MainUninst") == 0) {
        // The folder is the rest of the line, so that blanks in it survive.
        const size_t skip =
            strlen(arguments[1]) + strlen(arguments[2]) + strlen(arguments[3]) + 3;
        CString folder;
        if (strlen(line) > skip)
            folder.Assign(line + skip);
        Zint_Std::AppendBackslash(folder);
        if (folder.IsEmpty())
            return 0;
        if (RunUninstall(atoi(arguments[2]), atoi(arguments[3]), folder))
            ScheduleSelfDelete(false);
        return 0;
    }
    return 0;
}

bool CSetupApp::CloseRunningLauncher(const char* question)
{
    HWND launcher = FindWindowA(kLauncherClass, 0);
    if (!launcher)
        return true;
    if (MessageBoxA(GetDesktopWindow(), question, "Quelt",
                    MB_SYSTEMMODAL | MB_ICONEXCLAMATION | MB_YESNO) == IDNO)
        return false;
    SendMessageA(launcher, WM_DESTROY, 0, 0);
    Sleep(500);
    return true;
}

bool CSetupApp::IsInstalledCopy() const
{
    if (MatchesRecordedInstallFolder(moduleFolder))
        return true;
    const CString launcher = moduleFolder + "quelt_.exe";
    const CString package = moduleFolder + "quelt_";
    return Zint_Std::PathExists(launcher.data) && !Zint_Std::IsFolder(package.data);
}

bool CSetupApp::MatchesRecordedInstallFolder(const CString& folder)
{
    return RecordedInstallFolderIs(HKEY_LOCAL_MACHINE, folder) ||
           RecordedInstallFolderIs(HKEY_CURRENT_USER, folder);
}

bool CSetupApp::IsUnquotedUninstallLine(const char* rawLine, const CString& modulePath)
{
    static const char kSwitch[] = " -U";
    const int switchLength = sizeof(kSwitch) - 1;
    if (!rawLine || modulePath.IsEmpty() ||
        lstrlenA(rawLine) != modulePath.GetLength() + switchLength ||
        strcmp(rawLine + modulePath.GetLength(), kSwitch) != 0)
        return false;
    CString programPart(rawLine);
    programPart.Delete(modulePath.GetLength(), switchLength);
    return SamePathText(programPart.data, modulePath.data);
}

bool CSetupApp::OverlapsRecordedInstallation(const CString& folder)
{
    CString recorded;
    return (ReadInstallFolder(HKEY_LOCAL_MACHINE, recorded) && FoldersOverlap(folder, recorded)) ||
           (ReadInstallFolder(HKEY_CURRENT_USER, recorded) && FoldersOverlap(folder, recorded));
}

void CSetupApp::Notify(const char* text)
{
    MessageBoxA(GetDesktopWindow(), text, "Quelt", MB_SYSTEMMODAL | MB_ICONEXCLAMATION | MB_OK);
}
