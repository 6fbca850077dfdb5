#include "purgel_settings.h"

#include <windows.h>
#include <stdlib.h>

#include "support/files.h"

using Zint_Std::CString;

namespace {

const char kSection[] = "DEL_FLAG";
const char kFileName[] = "Purgel.ini";

void WriteSwitch(const CString& path, const char* key, const int& value)
{
    CString text;
    text.Format("%d", value);
    WritePrivateProfileStringA(kSection, key, text.data, path.data);
}

}  // namespace

CPurgelSettings::CPurgelSettings()
    : winTempFile(1), tempFolder(1), recentFolder(0), recentWmPlayer(0), windowsUpdateFolder(0)
{
}

void CPurgelSettings::Load(const CString& path)
{
    const char* file = path.Text();
    winTempFile = GetPrivateProfileIntA(kSection, "WIN_TEMP_FILE", 1, file);
    tempFolder = GetPrivateProfileIntA(kSection, "TEMP_FOLDER", 1, file);
    recentFolder = GetPrivateProfileIntA(kSection, "RECENT_FOLDER", 0, file);
    recentWmPlayer = GetPrivateProfileIntA(kSection, "RECENT_WM_PLAYER", 0, file);
    windowsUpdateFolder = GetPrivateProfileIntA(kSection, "WINDOWS_UPDATE_FOLDER", 0, file);
}

void CPurgelSettings::Save(const CString& path) const
{
    WriteSwitch(path, "WIN_TEMP_FILE", winTempFile);
    WriteSwitch(path, "TEMP_FOLDER", tempFolder);
    WriteSwitch(path, "RECENT_FOLDER", recentFolder);
    WriteSwitch(path, "RECENT_WM_PLAYER", recentWmPlayer);
    WriteSwitch(path, "WINDOWS_UPDATE_FOLDER", windowsUpdateFolder);
    WritePrivateProfileStringA(0, 0, 0, path.data);
}

void BuildSettingsPath(CString& path)
{
    char module[500] = {0};
    // One byte short of the buffer: a cut-off path still ends in a terminator.
    GetModuleFileNameA(0, module, sizeof(module) - 1);
    char drive[4] = {0};
    char folder[500] = {0};
    _splitpath(module, drive, folder, 0, 0);
    CString programFolder(drive);
    programFolder += folder;
    path = programFolder + kFileName;
    // Settings are written back on every run; a program folder this user
    // cannot write (Program Files for a standard user) keeps them in the
    // user's own copy, which starts as the shipped file.
    if (Zint_Std::CanCreateFilesIn(programFolder))
        return;
    // Without a folder of the user's own the shipped file is read as it is.
    CString userFolder;
    if (!Zint_Std::GetUserSettingsFolder(userFolder))
        return;
    const CString own = userFolder + kFileName;
    if (!Zint_Std::PathExists(own.data))
        Zint_Std::CopyToOwnFile(path, own);
    path = own;
}
