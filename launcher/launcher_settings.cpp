// Where the launcher's files live, the first-start copies, and the profile.
#include "launcher/command_list.h"

#include <windows.h>
#include <stdlib.h>

#include "commands/profile_keys.h"
#include "support/files.h"
#include "support/registry.h"

using Zint_Std::CString;

namespace {

const char kRegistryPath[] = "SoftWare\\QUELT_\\";
const char kCommandFileName[] = "quelt_cmd.txt";
const char kProfileName[] = "quelt_.ini";
const char kDefaultCommandFileName[] = "cmd_org.txt";

int ReadMultiUserSwitch()
{
    Zint_Std::CRegistryKey key;
    if (!key.Open(HKEY_LOCAL_MACHINE, kRegistryPath, false, false))
        return 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegQueryValueExA(key.hKey, "MultiUser", 0, 0, reinterpret_cast<BYTE*>(&value),
                         &size) != ERROR_SUCCESS)
        value = 0;
    key.Close();
    return static_cast<int>(value);
}

}  // namespace

CCommandList::CCommandList(const CString& installFolder)
    : multiUser(0), imeMode(0), savePosition(0), matchBeyondPrefix(1), rankByUse(0),
      calculator(1), startMenuPrograms(1), openUnnamed(1), romaji(1), namesGeneration(0)
{
    multiUser = ReadMultiUserSwitch();
    // A user who has a command file of his own keeps it, whatever the
    // install folder's rights have become since: his commands must not
    // vanish from view once that folder turns writable.
    CString userFolder;
    bool perUser = Zint_Std::GetUserSettingsPath(userFolder) &&
                   Zint_Std::PathExists((userFolder + kCommandFileName).data);
    // A shared installation under a protected folder (Program Files for a
    // standard user) cannot take this user's files: they then live in the
    // per-user folder, starting as copies of the shared ones.
    const bool sharedUnwritable =
        !multiUser && !perUser && !Zint_Std::CanCreateFilesIn(installFolder);
    if (!perUser && (multiUser || sharedUnwritable))
        perUser = Zint_Std::GetUserSettingsFolder(userFolder);
    // Without a folder of the user's own the launcher runs on the
    // installation's files, as it finds them.
    const CString folder = perUser ? userFolder : installFolder;
    commandFile = folder + kCommandFileName;
    profileFile = folder + kProfileName;
    if (!Zint_Std::PathExists(commandFile.data)) {
        // A user moved to his own files keeps the installation's current
        // commands, not the shipped defaults.
        CString source = installFolder + kDefaultCommandFileName;
        const CString shared = installFolder + kCommandFileName;
        if (perUser && !multiUser && Zint_Std::PathExists(shared.data))
            source = shared;
        if (!Zint_Std::CopyToOwnFile(source, commandFile)) {
            // An install folder closed to writing: the defaults are read
            // where they are.
            if (!perUser && Zint_Std::PathExists(source.data))
                commandFile = source;
            else
                commandFile.Reserve(0);  // every byte zero: the load then fails
        }
    }
    if (!Zint_Std::PathExists(profileFile.data))
        Zint_Std::CopyToOwnFile(installFolder + kProfileName, profileFile);
}

int CCommandList::ReadInt(const ProfileKey& key)
{
    return static_cast<int>(
        GetPrivateProfileIntA(key.section, key.name, key.defaultValue, profileFile.Text()));
}

void CCommandList::ReadHotKey(LauncherSettings& settings)
{
    settings.modifiers = 0;
    settings.key = 0;
    if (ReadInt(kProfileKeys[kKeyAlt]))
        settings.modifiers |= MOD_ALT;
    if (ReadInt(kProfileKeys[kKeyCtrl]))
        settings.modifiers |= MOD_CONTROL;
    if (ReadInt(kProfileKeys[kKeyShift]))
        settings.modifiers |= MOD_SHIFT;
    // The Windows key never combines with the others.
    if (!settings.modifiers && ReadInt(kProfileKeys[kKeyWin]))
        settings.modifiers = MOD_WIN;
    settings.key = ReadInt(kProfileKeys[kKeyVirtualKey]);
}

void CCommandList::ApplyAliases()
{
    const char* file = profileFile.Text();
    int length = 0;
    char* keys = ReadKeyNames(file, "Alias", length);
    if (!keys)
        return;
    char value[512];
    for (int at = 0; at < length && keys[at]; at += lstrlenA(keys + at) + 1) {
        value[0] = 0;
        GetPrivateProfileStringA("Alias", keys + at, "", value, sizeof(value), file);
        if (value[0])
            SetEnvironmentVariableA(keys + at, value);
    }
    free(keys);
}

int CCommandList::ReadSettings(LauncherSettings& settings)
{
    ReadHotKey(settings);
    settings.history = ReadInt(kProfileKeys[kKeyHistory]);
    settings.toolTip = ReadInt(kProfileKeys[kKeyToolTip]);
    settings.taskTray = ReadInt(kProfileKeys[kKeyTaskTray]);
    imeMode = ReadInt(kProfileKeys[kKeyImeCtrl]);
    settings.width = ReadInt(kProfileKeys[kKeyWndWidth]);
    settings.height = ReadInt(kProfileKeys[kKeyWndHeight]);
    savePosition = ReadInt(kProfileKeys[kKeySavePosition]);
    matchBeyondPrefix = ReadInt(kProfileKeys[kKeyMatch]);
    rankByUse = ReadInt(kProfileKeys[kKeyRank]);
    calculator = ReadInt(kProfileKeys[kKeyCalc]);
    startMenuPrograms = ReadInt(kProfileKeys[kKeyCatalog]);
    openUnnamed = ReadInt(kProfileKeys[kKeyOpen]);
    romaji = ReadInt(kProfileKeys[kKeyRomaji]);
    if (savePosition) {
        settings.x = ReadInt(kProfileKeys[kKeyPositionX]);
        settings.y = ReadInt(kProfileKeys[kKeyPositionY]);
    } else {
        settings.x = 0;
        settings.y = 0;
    }
    ApplyAliases();
    return 1;
}

int CCommandList::WritePosition(const int& x, const int& y)
{
    if (!savePosition || profileFile.IsEmpty())
        return 1;
    CString text;
    text.Format("%d", x);
    const ProfileKey& keyX = kProfileKeys[kKeyPositionX];
    WritePrivateProfileStringA(keyX.section, keyX.name, text.data, profileFile.data);
    text.Format("%d", y);
    const ProfileKey& keyY = kProfileKeys[kKeyPositionY];
    WritePrivateProfileStringA(keyY.section, keyY.name, text.data, profileFile.data);
    return 1;
}
