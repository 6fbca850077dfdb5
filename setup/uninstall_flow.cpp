// The uninstallation in its two stages: the installed program asks and
// hands over to a temporary copy, which removes the installation once the
// installed program has ended.
#include "setup_app.h"

#include <string.h>

#include "setup_paths.h"
#include "support/files.h"
#include "support/handles.h"
#include "support/registry.h"
#include "uninstall_dialog.h"

using Zint_Std::CString;
using Zint_Std::CRegistryKey;

namespace {

typedef LONG(WINAPI* QueryObject)(HANDLE, int, void*, ULONG, ULONG*);

// The start of the record NtQueryObject gives for its type query.
struct ObjectTypeName {
    USHORT length;  // in bytes
    USHORT maximumLength;
    const WCHAR* text;
};

const int kObjectTypeInformation = 2;

// A handed-over value that names no process here (the handle was not
// inherited) could name some other object that never becomes signalled.
// The handle carries only SYNCHRONIZE access, which no process query
// accepts, so its object type is asked instead.
bool NamesAProcess(HANDLE handle)
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    QueryObject queryObject =
        ntdll ? reinterpret_cast<QueryObject>(
                    reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryObject")))
              : 0;
    if (!queryObject)
        return false;
    ULONG_PTR buffer[128];
    ZeroMemory(buffer, sizeof(buffer));
    ULONG size = 0;
    if (queryObject(handle, kObjectTypeInformation, buffer, sizeof(buffer), &size) < 0)
        return false;
    const ObjectTypeName* type = reinterpret_cast<const ObjectTypeName*>(buffer);
    static const WCHAR kProcess[] = L"Process";
    return type->text && type->length == sizeof(kProcess) - sizeof(WCHAR) &&
           memcmp(type->text, kProcess, type->length) == 0;
}

void ReadLinkRecord(CRegistryKey& key, CString& programMenuFolder, CString& startupFile)
{
    if (!key.QueryString("ProgramMenuFolder", programMenuFolder))
        programMenuFolder.Empty();
    if (!key.QueryString("StartupFile", startupFile))
        startupFile.Empty();
}

// The InstFolder of an open settings key; false when it has none.
bool ReadRecordedFolder(CRegistryKey& key, CString& folder)
{
    return key.QueryString("InstFolder", folder) && !folder.IsEmpty();
}

// Removes the settings key of one root when it belongs to the folder being
// removed, and gives its shortcuts. Either root may hold the installation,
// and the other one a record of another installation, which stays with its
// shortcuts. A key without a folder names no installation: it goes, but
// its shortcuts may be another installation's and stay.
void TakeSettingsRecord(HKEY root, const CString& installFolder, CString& programMenuFolder,
                        CString& startupFile)
{
    programMenuFolder.Empty();
    startupFile.Empty();
    CRegistryKey key;
    if (!key.Open(root, kSettingsKey, false, false))
        return;
    CString recorded;
    if (ReadRecordedFolder(key, recorded)) {
        if (!SameResolvedFolder(recorded, installFolder))
            return;
        ReadLinkRecord(key, programMenuFolder, startupFile);
    }
    key.DeleteKey(0, 0);
}

void RemoveOwnShortcuts(const CString& programMenuFolder, const CString& startupFile)
{
    // Only paths that are this suite's own shortcuts: the record may have
    // been written by hand or by something else.
    const CString link = OwnStartupLink(startupFile);
    if (!link.IsEmpty())
        DeleteFileA(link.data);
    const CString menu = OwnMenuFolder(programMenuFolder);
    if (!menu.IsEmpty())
        Zint_Std::DeleteFolderTree(menu);
}

// Deletes one of the suite's own files. Read-only (and hidden or system)
// attributes would refuse the deletion, so they are cleared first; a file
// that stays gets them back. A link goes as a link; an entry that only looks
// like a plain file could reach another file, so it is left.
void DeleteOwnFile(const CString& path)
{
    if (!Zint_Std::FileExists(path.data))
        return;
    const Zint_Std::LinkKind kind = Zint_Std::LinkKindOf(path.data);
    if (kind == Zint_Std::kMarkedLink) {
        DeleteFileA(path.data);
        return;
    }
    if (kind != Zint_Std::kNoLink)
        return;
    const DWORD before = Zint_Std::ClearProtectiveAttributes(path.data);
    if (!DeleteFileA(path.data) && before)
        SetFileAttributesA(path.data, before);
}

void DeleteSettingsFiles(const CString& folder)
{
    for (int i = 0; i < kSettingsFileCount; ++i)
        DeleteOwnFile(folder + kSettingsFiles[i]);
}

// The settings of the uninstalling user: the install folder's files and the
// copies in his own folder. The launcher and Purgel move a user there not
// only with MultiUser but also when he cannot write the install folder, so
// both places are cleared whatever the record says.
void DeleteUserSettings(const CString& installFolder)
{
    DeleteSettingsFiles(installFolder);
    CString userFolder;
    // A linked folder leads elsewhere: nothing there is taken for his.
    if (!Zint_Std::GetUserSettingsPath(userFolder) ||
        Zint_Std::LinkKindOf(userFolder.data) != Zint_Std::kNoLink)
        return;
    DeleteSettingsFiles(userFolder);
    DeleteOwnFile(userFolder + "Purgel.ini");
    RemoveDirectoryA(userFolder.data);
}

// Starts program with the command line "program" arguments.
bool StartWithArguments(const char* program, const char* arguments, const bool& inheritHandles,
                        const char* folder, Zint_Std::CStartedProcess& started)
{
    CString line;
    line.Format("\"%s\" %s", program, arguments);
    return started.Start(program, line.data, inheritHandles, folder, false);
}

void RunToEnd(const CString& program, const char* argument)
{
    Zint_Std::CStartedProcess started;
    if (StartWithArguments(program.data, argument, false, 0, started))
        WaitForSingleObject(started.process.handle, INFINITE);
}

const char kNotInstalledHere[] =
    "このフォルダにはQueltがインストールされていません.\n"
    "アンインストールは,インストールしたフォルダの setup.exe から行ってください.";

// Only the installation the record names may be removed: a copy of this
// program elsewhere would otherwise delete files of that other folder.
// Either root's record will do: a per-user installation stays removable
// beside an all-users record of another folder.
bool IsRecordedInstallFolder(const CString& folder)
{
    return CSetupApp::MatchesRecordedInstallFolder(folder);
}

// The system's list holds one entry for the suite. It goes only when its
// command starts this folder's uninstaller (quoted or not), or names none:
// an entry of another installation stays listed.
void DeleteOwnUninstallEntry(const CString& installFolder)
{
    {
        CRegistryKey key;
        if (!key.Open(HKEY_LOCAL_MACHINE, kUninstallKey, false, false))
            return;
        CString command;
        if (key.QueryString("UninstallString", command) && !command.IsEmpty() &&
            !UninstallCommandNamesFolder(command, installFolder))
            return;
    }
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
}

}  // namespace

void CSetupApp::StartUninstall()
{
    if (!IsRecordedInstallFolder(moduleFolder)) {
        Notify(kNotInstalledHere);
        return;
    }
    if (!CloseRunningLauncher(
            "Queltが起動しています.\nQueltを終了してアンインストール処理を続けますか？"))
        return;
    int deleteSettings = 0;
    {
        CUninstallDlg dialog(instance, GetDesktopWindow());
        if (!dialog.Show())
            return;
        deleteSettings = dialog.deleteSettings;
    }

    DeleteOwnUninstallEntry(moduleFolder);

    char tempFolder[512];
    tempFolder[0] = 0;
    GetTempPathA(sizeof(tempFolder), tempFolder);
    char tempFile[512];
    tempFile[0] = 0;
    GetTempFileNameA(tempFolder, "_quelt_uninst_", 0, tempFile);
    CopyFileA(modulePath.data, tempFile, FALSE);
    char copy[512];
    wsprintfA(copy, "%s.exe", tempFile);
    MoveFileA(tempFile, copy);

    Zint_Std::CHandle self(OpenProcess(SYNCHRONIZE, TRUE, GetCurrentProcessId()));
    char parameters[512];
    wsprintfA(parameters, "/MainUninst %d %d %s",
              static_cast<int>(reinterpret_cast<INT_PTR>(self.handle)), deleteSettings,
              moduleFolder.data);
    // The handed-over number names a handle only in a process that
    // inherited it, so the copy is started directly, with inheritance.
    Zint_Std::CStartedProcess started;
    StartWithArguments(copy, parameters, true, tempFolder, started);
}

bool CSetupApp::RunUninstall(const int& waitHandle, const int& deleteSettings,
                             const CString& installFolder)
{
    HANDLE handedOver = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(waitHandle));
    // Only a handle that names a process is this program's to close.
    Zint_Std::CHandle firstStage(handedOver && NamesAProcess(handedOver) ? handedOver : 0);
    if (!IsRecordedInstallFolder(installFolder)) {
        firstStage.Close();
        Notify(kNotInstalledHere);
        return false;
    }
    Sleep(500);
    if (firstStage.IsOpen()) {
        WaitForSingleObject(firstStage.handle, INFINITE);
        firstStage.Close();
    }
    Sleep(500);

    CString programMenuFolders[2];
    CString startupFiles[2];
    TakeSettingsRecord(HKEY_LOCAL_MACHINE, installFolder, programMenuFolders[0], startupFiles[0]);
    TakeSettingsRecord(HKEY_CURRENT_USER, installFolder, programMenuFolders[1], startupFiles[1]);

    if (deleteSettings == 1)
        DeleteUserSettings(installFolder);

    for (int i = 0; i < 2; ++i)
        RemoveOwnShortcuts(programMenuFolders[i], startupFiles[i]);

    RunToEnd(installFolder + "Pinlet.exe", "-d");

    static const char* const kInstalledEntries[] = {
        "omake\\desktop.scf",
        "omake\\Purgel.exe",
        "omake\\Purgel.txt",
        "omake\\Purgel.ini",
        "omake\\Datora.exe",
        "omake\\Datora.txt",
        "omake\\",
        "quelt_.exe",
        "quelt_.dll",
        "quelt_.chm",
        "readme.txt",
        "setup.exe",
        "cmd_org.txt",
        "Pinlet.exe",
    };
    for (size_t i = 0; i < sizeof(kInstalledEntries) / sizeof(kInstalledEntries[0]); ++i) {
        const CString path = installFolder + kInstalledEntries[i];
        if (Zint_Std::EndsWithBackslash(path.data))
            RemoveDirectoryA(path.data);
        else
            DeleteOwnFile(path);
    }
    RemoveDirectoryA(installFolder.data);

    Notify("Queltのアンインストールが終了しました．");
    return true;
}
