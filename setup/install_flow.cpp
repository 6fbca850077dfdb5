// The install flow: from the earlier installation's record through the
// options dialog to the copied files, the registry, the profile and the
// shortcuts.
#include "setup_app.h"

#include <shlobj.h>

#include <stdlib.h>

#include "install_dialog.h"
#include "install_end.h"
#include "install_folder_check.h"
#include "os_version.h"
#include "setup_paths.h"
#include "support/files.h"
#include "support/registry.h"
#include "support/shortcut.h"

using Zint_Std::CString;
using Zint_Std::CRegistryKey;

namespace {

const UINT kQuestion = MB_SYSTEMMODAL | MB_ICONEXCLAMATION | MB_YESNO;
const UINT kNotice = MB_SYSTEMMODAL | MB_ICONEXCLAMATION | MB_OK;

struct InstallState {
    CString installFolder;
    double previousVersion;
    int allUsers;
    int startup;
    int multiUser;
    int sendTo;
    CString programMenuFolder;
    CString startupLinkPath;
    CString earlierStartupFile;  // StartupFile of the record read at the start

    InstallState() : previousVersion(0.0), allUsers(1), startup(1), multiUser(0), sendTo(0) {}
};

bool QueryDword(CRegistryKey& key, const char* name, int& value)
{
    DWORD data = 0;
    DWORD size = sizeof(data);
    DWORD type = 0;
    if (RegQueryValueExA(key.hKey, name, 0, &type, reinterpret_cast<BYTE*>(&data), &size) !=
        ERROR_SUCCESS)
        return false;
    value = static_cast<int>(data);
    return true;
}

void SetDword(CRegistryKey& key, const char* name, const int& value)
{
    DWORD data = static_cast<DWORD>(value);
    RegSetValueExA(key.hKey, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                   sizeof(data));
}

void ReadFolderAndVersion(CRegistryKey& key, InstallState& state)
{
    CString value;
    if (key.QueryString("InstFolder", value))
        state.installFolder.Assign(value);
    if (key.QueryString("Version", value))
        state.previousVersion = atof(value.Text());
}

// The start-up shortcut was chosen last time exactly when its path was
// recorded.
void ReadStartupChoice(CRegistryKey& key, InstallState& state)
{
    if (!key.QueryString("StartupFile", state.earlierStartupFile))
        state.earlierStartupFile.Empty();
    state.startup = state.earlierStartupFile.IsEmpty() ? 0 : 1;
}

void ReadEarlierInstallation(InstallState& state)
{
    CRegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, kSettingsKey, false, false)) {
        ReadFolderAndVersion(key, state);
        ReadStartupChoice(key, state);
        int value = 0;
        if (QueryDword(key, "AllUsers", value))
            state.allUsers = value;
        if (state.allUsers && QueryDword(key, "MultiUser", value))
            state.multiUser = value;
        return;
    }
    if (key.Open(HKEY_CURRENT_USER, kSettingsKey, false, false)) {
        ReadFolderAndVersion(key, state);
        ReadStartupChoice(key, state);
        state.allUsers = 0;
    }
}

void WriteSettingsValues(CRegistryKey& key, const InstallState& state)
{
    key.SetString("Version", CString(kSuiteVersion));
    key.SetString("InstFolder", state.installFolder);
    if (key.hRoot == HKEY_LOCAL_MACHINE) {
        SetDword(key, "AllUsers", 1);
        SetDword(key, "MultiUser", state.multiUser);
    }
    if (!state.programMenuFolder.IsEmpty())
        key.SetString("ProgramMenuFolder", state.programMenuFolder);
    // A reinstall without the start-up shortcut must not leave the earlier
    // path behind: the next run would show the option as chosen.
    if (!state.startupLinkPath.IsEmpty())
        key.SetString("StartupFile", state.startupLinkPath);
    else
        RegDeleteValueA(key.hKey, "StartupFile");
}

// A start-up shortcut recorded earlier goes unless it is the one just
// written; only this suite's own shortcut is ever deleted.
void DeleteReplacedStartupLink(const CString& recorded, const CString& written)
{
    const CString link = OwnStartupLink(recorded);
    const CString newLink = OwnStartupLink(written);
    if (!link.IsEmpty() && (newLink.IsEmpty() || lstrcmpiA(link.data, newLink.data) != 0))
        DeleteFileA(link.data);
}

// The root that now holds the record; 0 when none could be written.
HKEY WriteSettingsKey(InstallState& state)
{
    CRegistryKey key;
    if (state.allUsers == 1) {
        if (key.Open(HKEY_LOCAL_MACHINE, kSettingsKey, true, true)) {
            WriteSettingsValues(key, state);
            return HKEY_LOCAL_MACHINE;
        }
        state.allUsers = 0;
    }
    if (!key.Open(HKEY_CURRENT_USER, kSettingsKey, true, true))
        return 0;
    WriteSettingsValues(key, state);
    return HKEY_CURRENT_USER;
}

// An installation that switched between all users and the current user
// leaves the record of the other side, which the launcher and the
// uninstaller would read first or read as well: it goes with its shortcuts,
// unless they are the ones just written. The record of another folder that
// is still there is another installation, with an uninstaller of its own:
// it stays, and so do its shortcuts; a record that names no folder goes
// alone.
void RemoveOtherRecord(HKEY root, const InstallState& state)
{
    CString programMenuFolder;
    CString startupFile;
    {
        CRegistryKey key;
        if (!key.Open(root, kSettingsKey, true, false))
            return;
        CString folder;
        const bool named = key.QueryString("InstFolder", folder) && !folder.IsEmpty();
        if (named && Zint_Std::FolderExists(folder) &&
            !SameResolvedFolder(folder, state.installFolder))
            return;
        if (!named) {
            key.DeleteKey(0, 0);
            return;
        }
        if (!key.QueryString("ProgramMenuFolder", programMenuFolder))
            programMenuFolder.Empty();
        if (!key.QueryString("StartupFile", startupFile))
            startupFile.Empty();
        key.DeleteKey(0, 0);
    }
    DeleteReplacedStartupLink(startupFile, state.startupLinkPath);
    const CString menu = OwnMenuFolder(programMenuFolder);
    if (!menu.IsEmpty() &&
        !(!state.programMenuFolder.IsEmpty() && SameResolvedFolder(menu, state.programMenuFolder)))
        Zint_Std::DeleteFolderTree(menu);
}

void WriteUninstallEntry(const CString& installFolder)
{
    CRegistryKey key;
    if (!key.Open(HKEY_LOCAL_MACHINE, kUninstallKey, true, true))
        return;
    key.SetString("DisplayName", CString("Quelt"));
    // Quoted: the system starts the line as it stands, and an unquoted path
    // with a blank would end at that blank.
    key.SetString("UninstallString", CString("\"") + installFolder + "setup.exe\" -U");
}

void WriteHomeAlias(const CString& installFolder)
{
    const CString profile = installFolder + "quelt_.ini";
    char value[512];
    value[0] = 0;
    GetPrivateProfileStringA("Alias", "QUELT_HOME", "", value, sizeof(value), profile.data);
    if (value[0])
        return;
    WritePrivateProfileStringA("Alias", "QUELT_HOME", installFolder.data, profile.data);
    WritePrivateProfileStringA(0, 0, 0, profile.data);
    Sleep(100);
}

// The package holds at least the launcher and its editors; without them an
// installation would copy nothing but setup.exe.
bool PackageIsComplete(const CString& package)
{
    static const char* const kPrograms[] = {"quelt_.exe", "quelt_.dll"};
    for (size_t i = 0; i < sizeof(kPrograms) / sizeof(kPrograms[0]); ++i) {
        if (!Zint_Std::FileExists((package + kPrograms[i]).data))
            return false;
    }
    return true;
}

// Installing over another program's files overwrites those of the same
// names, and the uninstaller deletes them later: only on the user's word,
// and No is the default.
bool ConfirmFolderOfAnotherProgram(const CString& folder)
{
    if (!HoldsFilesOfAnotherProgram(folder))
        return true;
    CString question;
    question.Format("指定されたフォルダには,Quelt以外のファイルがあります.\n%s\n\n"
                    "Queltのファイルと同じ名前のファイルは上書きされ,\n"
                    "アンインストールのときに削除されます.\n"
                    "このフォルダにインストールしますか？",
                    folder.data);
    return MessageBoxA(GetDesktopWindow(), question.data, "Quelt",
                       kQuestion | MB_DEFBUTTON2) == IDYES;
}

// An installed file that is read-only, hidden or system refuses to be
// copied over, and the reinstall would stop half-way. Only the files the
// package (and this program) are about to replace are touched.
void ClearProtectionOfReplacedFiles(const CString& package, const CString& installFolder)
{
    Zint_Std::CArray<CString> files;
    Zint_Std::ListFolder(package, files, "*", true, false);
    const int prefix = package.GetLength();
    for (int i = 0; i < files.count; ++i)
        Zint_Std::ClearProtectiveAttributes((installFolder + (files.items[i].data + prefix)).data);
    Zint_Std::ClearProtectiveAttributes((installFolder + "setup.exe").data);
}

bool SendToShortcutExists()
{
    CString link;
    if (!Zint_Std::GetSpecialFolderPath(link, CSIDL_SENDTO))
        return false;
    link.Append("Queltに登録.lnk");
    return Zint_Std::PathExists(link.data);
}

}  // namespace

bool CSetupApp::RunInstall()
{
    COsVersion osVersion;
    const CString package = moduleFolder + "quelt_\\";
    if (!PackageIsComplete(package)) {
        Notify("インストールするQueltのファイルが見つかりません.\n"
               "setup.exeと同じフォルダに,Queltのファイル一式が入った quelt_ フォルダが必要です.\n"
               "インストールを中止します.");
        return false;
    }
    if (!CloseRunningLauncher("Queltが起動しています.\nQueltを終了してインストール処理を続けますか？"))
        return false;

    InstallState state;
    ReadEarlierInstallation(state);
    if (state.installFolder.IsEmpty()) {
        if (Zint_Std::GetSpecialFolderPath(state.installFolder, CSIDL_PROGRAM_FILES))
            state.installFolder.Append("quelt_\\");
        else
            state.installFolder.Empty();
    }

    if (!(atof(kSuiteVersion) > state.previousVersion) &&
        MessageBoxA(GetDesktopWindow(),
                    "既にインストールされているバージョンよりも\n同じか,古いバージョンをインストールしようとしています.\nインストールを続けますか?",
                    "Quelt", kQuestion) == IDNO)
        return false;

    if (SendToShortcutExists())
        state.sendTo = 1;

    CInstallDlg dialog(instance, GetDesktopWindow(), osVersion);
    dialog.installFolder.Assign(state.installFolder);
    dialog.allUsers = state.allUsers;
    dialog.startup = state.startup;
    dialog.multiUser = state.multiUser;
    dialog.sendTo = state.sendTo;
    // Declining the folder of another program opens the dialog again with
    // everything as the user left it.
    for (;;) {
        if (!dialog.Show())
            return false;
        // An install folder that is, holds or lies in the package folder
        // would be copied onto itself, and the package removal after the run
        // would take the installation with it.
        if (FoldersOverlap(dialog.installFolder, package)) {
            Notify("インストール先のフォルダが,インストール元の quelt_ フォルダと同じか,その中か,それを含むフォルダです.\n"
                   "インストール元の外にある別のフォルダを指定してください.\n"
                   "インストールを中止します.");
            return false;
        }
        if (ConfirmFolderOfAnotherProgram(dialog.installFolder))
            break;
    }
    state.installFolder.Assign(dialog.installFolder);
    state.allUsers = dialog.allUsers;
    state.startup = dialog.startup;
    state.multiUser = dialog.multiUser;
    state.sendTo = dialog.sendTo;

    // The user's own profile must survive the copy.
    if (Zint_Std::PathExists((state.installFolder + "quelt_.ini").data))
        DeleteFileA((package + "quelt_.ini").data);
    ClearProtectionOfReplacedFiles(package, state.installFolder);

    if (!Zint_Std::CopyFolderTree(package, state.installFolder) ||
        !CopyFileA(modulePath.data, (state.installFolder + "setup.exe").data, FALSE)) {
        MessageBoxA(GetDesktopWindow(),
                    "指定されたフォルダへのファイルコピーに失敗しました.\nインストールを中止します.",
                    "Quelt", kNotice);
        return false;
    }
    installedFolder.Assign(state.installFolder);

    WriteHomeAlias(state.installFolder);
    WriteUninstallEntry(state.installFolder);
    CreateShortcuts(state.installFolder, state.allUsers, state.startup, state.programMenuFolder,
                    state.startupLinkPath);
    DeleteReplacedStartupLink(state.earlierStartupFile, state.startupLinkPath);
    const HKEY written = WriteSettingsKey(state);
    if (written)
        RemoveOtherRecord(written == HKEY_LOCAL_MACHINE ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE,
                          state);

    InstallEndPlan plan;
    plan.installFolder = state.installFolder;
    plan.firstInstall = state.previousVersion < 0.1;
    plan.sendTo = state.sendTo == 1;
    plan.startupLink = !state.startupLinkPath.IsEmpty();
    plan.menuFolder = !state.programMenuFolder.IsEmpty();
    CUserStarter starter;
    CInstallEnd end(starter);
    end.Run(plan);
    return true;
}

void CSetupApp::CreateShortcuts(const CString& installFolder, const int& allUsers,
                                const int& startup, CString& programMenuFolder,
                                CString& startupLinkPath)
{
    programMenuFolder.Empty();
    startupLinkPath.Empty();
    CString programs;
    CString startupFolder;
    if (!Zint_Std::GetSpecialFolderPath(programs, allUsers == 1 ? CSIDL_COMMON_PROGRAMS
                                                                : CSIDL_PROGRAMS))
        programs.Empty();
    if (!Zint_Std::GetSpecialFolderPath(startupFolder, allUsers == 1 ? CSIDL_COMMON_STARTUP
                                                                     : CSIDL_STARTUP))
        startupFolder.Empty();

    // Without the programs folder the menu folder would be a relative path,
    // which the uninstaller would resolve against its own working folder.
    if (programs.IsEmpty())
        return;
    programMenuFolder = programs + "Quelt\\";
    // A reinstall finds the folder in place and writes its shortcuts anew.
    if (!Zint_Std::FolderExists(programMenuFolder) &&
        !CreateDirectoryA(programMenuFolder.data, 0)) {
        programMenuFolder.Empty();
        return;
    }

    Zint_Std::CShortcutWriter writer;
    if (!writer.Open())
        return;

    static const struct {
        const char* linkName;
        const char* target;
        const char* arguments;
    } kMenuLinks[] = {
        {"Quelt.lnk", "quelt_.exe", ""},
        {"Queltのヘルプ.lnk", "quelt_.chm", ""},
        {"アンインストール.lnk", "setup.exe", "-U"},
        {"お読みください.lnk", "readme.txt", ""},
        {"送るメニューにショートカットの追加／削除.lnk", "Pinlet.exe", ""},
    };
    for (size_t i = 0; i < sizeof(kMenuLinks) / sizeof(kMenuLinks[0]); ++i) {
        Zint_Std::ShortcutRequest request;
        request.linkPath = programMenuFolder + kMenuLinks[i].linkName;
        request.targetPath = installFolder + kMenuLinks[i].target;
        request.arguments = kMenuLinks[i].arguments;
        request.workingFolder = installFolder;
        writer.WriteShortcut(request);
    }

    if (startup == 1 && !startupFolder.IsEmpty()) {
        Zint_Std::ShortcutRequest request;
        request.linkPath = startupFolder + "Quelt.lnk";
        request.targetPath = installFolder + "quelt_.exe";
        request.workingFolder = installFolder;
        if (writer.WriteShortcut(request))
            startupLinkPath.Assign(request.linkPath);
    }
    writer.Close();
}
