// The installed setup.exe started with -U: the dialog of the first stage,
// the temporary copy that removes the installation, and what stays.
#include <windows.h>
#include <shlobj.h>

#include "editor/editor_driver.h"
#include "launcher/ui_driver.h"
#include "setup_checks.h"

using Zint_Std::CString;

namespace {

class SetupUninstallTest : public SetupTestBase {
protected:
    CString folder;
    CString menu;
    CString startupLink;

    // Installs for all users (or the current user) with the start-up link.
    void Install(const char* name, const int& allUsers, const int& multiUser)
    {
        InstallChoice choice;
        folder = TestInstallFolder(name);
        choice.folder = folder;
        choice.allUsers = allUsers;
        choice.multiUser = multiUser;
        ASSERT_TRUE(InstallQuietly(package, choice));
        menu = SpecialFolder(allUsers ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS) + "Quelt\\";
        startupLink = SpecialFolder(allUsers ? CSIDL_COMMON_STARTUP : CSIDL_STARTUP) +
                      "Quelt.lnk";
        ExpectExists(menu + "アンインストール.lnk");
        ExpectExists(startupLink);
    }

    // Runs both stages, ticking the settings box as told.
    void Uninstall(const bool& deleteSettings, const char* screenshots)
    {
        CString entry;
        const bool ownEntry =
            !ReadRegistryString(HKEY_LOCAL_MACHINE, kUninstallKeyPath, "UninstallString", entry) ||
            strstr(entry.data, folder.data);
        CSetupRun run;
        ASSERT_TRUE(run.Start(folder + "setup.exe", "-U"));
        CDialogUnderTest dialog;
        ASSERT_TRUE(dialog.WaitFor(run.process.dwProcessId, "Queltのアンインストール"));
        EXPECT_FALSE(dialog.IsChecked(1005));
        EXPECT_STREQ("Queltの設定ファイルも削除する(&D)", TextOfWindow(dialog.Item(1005)).data);
        ASSERT_TRUE(dialog.SetChecked(1005, deleteSettings));
        if (screenshots) {
            CString name;
            name.Format("%s_dialog", screenshots);
            TakeSettledScreenshot(dialog.dialog, name.data);
        }
        ASSERT_TRUE(dialog.Click(IDOK));
        ASSERT_TRUE(run.WaitEnded());
        // The entry goes with the first stage, before any file; another
        // installation's entry stays.
        EXPECT_EQ(!ownEntry, RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKeyPath));

        HWND done = WaitForAnyDialog("Quelt", "アンインストールが終了");
        ASSERT_NE((HWND)0, done);
        EXPECT_STREQ("Queltのアンインストールが終了しました．", MessageBoxLabel(done).data);
        // The temporary copy is what shows the message.
        EXPECT_LE(1, CountTempFiles(kUninstallCopyPattern));
        if (screenshots) {
            CString name;
            name.Format("%s_done", screenshots);
            TakeSettledScreenshot(done, name.data);
        }
        ASSERT_TRUE(CDialogUnderTest::Answer(done, IDOK));
        EXPECT_TRUE(WaitForNoTempFiles(kUninstallCopyPattern))
            << "the temporary copy or its batch file stayed";
    }

    void ExpectRecordsGone()
    {
        EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kSettingsKeyPath));
        EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kSettingsKeyPath));
        EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKeyPath));
        ExpectMissing(menu);
        ExpectMissing(startupLink);
    }

    // A copy of the installed setup.exe in the temporary folder, as the
    // first stage makes it.
    CString TemporaryCopy(const char* name)
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof(temp), temp);
        const CString copy = CString(temp) + name;
        EXPECT_TRUE(CopyFileA((folder + "setup.exe").data, copy.data, FALSE)) << copy.data;
        return copy;
    }

    void ExpectProgramFilesGone()
    {
        static const char* const kGone[] = {
            "omake\\Purgel.exe", "omake\\Purgel.txt", "omake\\Datora.exe", "omake\\Datora.txt",
            "omake", "quelt_.exe", "quelt_.dll", "readme.txt",
            "setup.exe", "cmd_org.txt", "Pinlet.exe"};
        for (size_t i = 0; i < sizeof(kGone) / sizeof(kGone[0]); ++i)
            ExpectMissing(folder + kGone[i]);
    }
};

const char kNotInstalledHere[] =
    "このフォルダにはQueltがインストールされていません.\n"
    "アンインストールは,インストールしたフォルダの setup.exe から行ってください.";

struct RemovalProbe {
    CString launcher;
    CString menuLink;
};

// Anything of the installation has been removed.
bool SomethingRemoved(void* context)
{
    const RemovalProbe* probe = static_cast<const RemovalProbe*>(context);
    return !RegistryKeyExists(HKEY_CURRENT_USER, kSettingsKeyPath) ||
           GetFileAttributesA(probe->launcher.data) == INVALID_FILE_ATTRIBUTES ||
           GetFileAttributesA(probe->menuLink.data) == INVALID_FILE_ATTRIBUTES;
}

}  // namespace

TEST_F(SetupUninstallTest, KeepsTheSettingsFilesUnlessAsked)
{
    Install("keep settings", 1, 0);
    ASSERT_TRUE(WriteTextFile(folder + "quelt_cmd.txt", "[own]\r\nPATH=notepad.exe\r\n"));
    ASSERT_TRUE(WriteTextFile(folder + "quelt_cmd.txt.bak", "[old]\r\n"));
    const CString sendTo = SpecialFolder(CSIDL_SENDTO) + "Queltに登録.lnk";
    if (package.withPinlet) {
        Zint_Std::CShortcutWriter writer;
        ASSERT_TRUE(writer.Open());
        Zint_Std::ShortcutRequest request;
        request.linkPath = sendTo;
        request.targetPath = folder + "Pinlet.exe";
        request.workingFolder = folder;
        ASSERT_TRUE(writer.WriteShortcut(request));
        writer.Close();
    }
    Uninstall(false, "setup_uninstall");
    ExpectRecordsGone();
    ExpectProgramFilesGone();
    ExpectExists(folder + "quelt_.ini");
    ExpectExists(folder + "quelt_cmd.txt");
    ExpectExists(folder + "quelt_cmd.txt.bak");
    if (package.withPinlet)
        ExpectMissing(sendTo);
}

TEST_F(SetupUninstallTest, RemovesSettingsAndFolderWithBlanksInItsPath)
{
    Install("with blanks\\quelt_ folder", 0, 0);
    ASSERT_TRUE(WriteTextFile(folder + "quelt_cmd.txt", "[own]\r\nPATH=notepad.exe\r\n"));
    // The copies the launcher makes for a user who cannot write the folder.
    const CString own = SpecialFolder(CSIDL_APPDATA) + "quelt_\\";
    ASSERT_TRUE(Zint_Std::MakeFolderPath(own));
    ASSERT_TRUE(WriteTextFile(own + "quelt_cmd.txt", "[own]\r\n"));
    ASSERT_TRUE(WriteTextFile(own + "quelt_use.txt", "; quelt_use 1\r\n"));
    Uninstall(true, 0);
    ExpectRecordsGone();
    ExpectProgramFilesGone();
    ExpectMissing(folder + "quelt_.ini");
    ExpectMissing(folder + "quelt_cmd.txt");
    ExpectMissing(folder);
    ExpectMissing(own);
}

TEST_F(SetupUninstallTest, RemovesTheUsersOwnSettingsFolder)
{
    Install("per user", 1, 1);
    DWORD multiUser = 0;
    ASSERT_TRUE(ReadRegistryDword(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "MultiUser", multiUser));
    ASSERT_EQ(1u, multiUser);
    const CString own = SpecialFolder(CSIDL_APPDATA) + "quelt_\\";
    ASSERT_TRUE(Zint_Std::MakeFolderPath(own));
    ASSERT_TRUE(WriteTextFile(own + "quelt_.ini", "[QUELT]\r\n"));
    ASSERT_TRUE(WriteTextFile(own + "quelt_cmd.txt", "[own]\r\n"));
    ASSERT_TRUE(WriteTextFile(own + "quelt_cmd.txt.bak", "[old]\r\n"));
    ASSERT_TRUE(WriteTextFile(own + "quelt_use.txt", "; quelt_use 1\r\n"));
    ASSERT_TRUE(WriteTextFile(own + "Purgel.ini", "[DEL_FLAG]\r\n"));
    ASSERT_TRUE(WriteTextFile(folder + "quelt_use.txt", "; quelt_use 1\r\n"));
    // Read-only or hidden files of the suite go all the same; a file of the
    // user's keeps its attributes, and the folder.
    const DWORD kOdd = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    ASSERT_TRUE(SetFileAttributesA((own + "quelt_cmd.txt").data, kOdd));
    ASSERT_TRUE(SetFileAttributesA((folder + "quelt_.dll").data, kOdd));
    ASSERT_TRUE(SetFileAttributesA((folder + "omake\\Purgel.exe").data, FILE_ATTRIBUTE_READONLY));
    const CString mine = folder + "mine.txt";
    ASSERT_TRUE(WriteTextFile(mine, "mine"));
    ASSERT_TRUE(SetFileAttributesA(mine.data, FILE_ATTRIBUTE_READONLY));
    Uninstall(true, 0);
    ExpectRecordsGone();
    ExpectProgramFilesGone();
    ExpectMissing(own);
    ExpectMissing(folder + "quelt_.ini");
    ExpectMissing(folder + "quelt_use.txt");
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_READONLY),
              GetFileAttributesA(mine.data) & (kOdd | FILE_ATTRIBUTE_DIRECTORY));
}

// A per-user installation beside an all-users record: one of another folder
// stays with its shortcuts; one without a folder goes, its shortcuts stay.
TEST_F(SetupUninstallTest, PerUserInstallBesideAStaleAllUsersRecord)
{
    const CString otherMenu = SpecialFolder(CSIDL_COMMON_PROGRAMS) + "Quelt\\";
    const CString otherLink = SpecialFolder(CSIDL_COMMON_STARTUP) + "Quelt.lnk";
    const CString other = TestInstallFolder("other folder");
    const char* const kValues[][2] = {
        {"InstFolder", other.data}, {"ProgramMenuFolder", otherMenu.data}, {"StartupFile", otherLink.data}};
    const char* const kRows[] = {"beside another folder", "beside no folder"};
    for (int row = 0; row < 2; ++row) {
        SCOPED_TRACE(kRows[row]);
        ASSERT_TRUE(row == 0 || package.Build(kRows[row]));
        Install(kRows[row], 0, 0);
        HKEY key = 0;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSettingsKeyPath, 0, 0, 0,
                                                 KEY_ALL_ACCESS, 0, &key, 0));
        for (int i = row; i < 3; ++i)
            RegSetValueExA(key, kValues[i][0], 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(kValues[i][1]),
                           static_cast<DWORD>(strlen(kValues[i][1]) + 1));
        RegCloseKey(key);
        // The system's list names the other folder's uninstaller: that entry stays.
        const CString otherCommand = CString("\"") + other + "setup.exe\" -U";
        if (row == 0 && RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKeyPath, 0, KEY_SET_VALUE,
                                      &key) == ERROR_SUCCESS) {
            RegSetValueExA(key, "UninstallString", 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(otherCommand.data),
                           static_cast<DWORD>(otherCommand.GetLength() + 1));
            RegCloseKey(key);
        }
        ASSERT_TRUE(Zint_Std::MakeFolderPath(otherMenu));
        ASSERT_TRUE(WriteTextFile(otherMenu + "Quelt.lnk", "other"));
        ASSERT_TRUE(WriteTextFile(otherLink, "other"));
        Uninstall(false, 0);
        EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kSettingsKeyPath));
        ExpectMissing(menu);
        ExpectMissing(startupLink);
        EXPECT_EQ(row == 0, RegistryValueExists(HKEY_LOCAL_MACHINE, kSettingsKeyPath,
                                                "ProgramMenuFolder"));
        ExpectExists(otherMenu + "Quelt.lnk");
        ExpectExists(otherLink);
        EXPECT_EQ(row == 0, RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKeyPath));
        CleanInstallationTraces();
    }
}

TEST_F(SetupUninstallTest, NoOrCancelChangesNothing)
{
    Install("refused", 1, 0);
    {
        CLauncherUnderTest launcher;
        ASSERT_TRUE(launcher.Start("", ""));
        ASSERT_TRUE(launcher.WaitUntilHotKeyHeld(MOD_ALT, '1'));
        CSetupRun run;
        ASSERT_TRUE(run.Start(folder + "setup.exe", "-U"));
        CDialogUnderTest box;
        ASSERT_TRUE(box.WaitFor(run.process.dwProcessId, "Quelt"));
        EXPECT_STREQ("Queltが起動しています.\nQueltを終了してアンインストール処理を続けますか？",
                     MessageBoxLabel(box.dialog).data);
        ASSERT_TRUE(CDialogUnderTest::Answer(box.dialog, IDNO));
        ASSERT_TRUE(run.WaitEnded());
        EXPECT_TRUE(IsWindow(launcher.window));
    }
    {
        CSetupRun run;
        ASSERT_TRUE(run.Start(folder + "setup.exe", "-U"));
        CDialogUnderTest dialog;
        ASSERT_TRUE(dialog.WaitFor(run.process.dwProcessId, "Queltのアンインストール"));
        ASSERT_TRUE(dialog.Click(IDCANCEL));
        ASSERT_TRUE(run.WaitEnded());
    }
    EXPECT_EQ(0, CountTempFiles(kUninstallCopyPattern));
    EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKeyPath));
    EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kSettingsKeyPath));
    ExpectProgramFiles(folder, package.withPinlet);
    ExpectExists(menu + "アンインストール.lnk");
    ExpectExists(startupLink);
}

TEST_F(SetupUninstallTest, SecondStageStartedByHandWithoutHandle)
{
    Install("by hand\\two  blanks", 0, 0);
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    const CString copy = CString(temp) + "_qu_by_hand.tmp.exe";
    ASSERT_TRUE(CopyFileA((folder + "setup.exe").data, copy.data, FALSE));
    CString arguments;
    arguments.Format("/MainUninst 0 1 %s", folder.data);
    CSetupRun run;
    ASSERT_TRUE(run.Start(copy, arguments.data));
    CDialogUnderTest done;
    ASSERT_TRUE(done.WaitFor(run.process.dwProcessId, "Quelt"));
    EXPECT_STREQ("Queltのアンインストールが終了しました．", MessageBoxLabel(done.dialog).data);
    ASSERT_TRUE(CDialogUnderTest::Answer(done.dialog, IDOK));
    ASSERT_TRUE(run.WaitEnded());
    EXPECT_TRUE(WaitForNoTempFiles(kUninstallCopyPattern));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kSettingsKeyPath));
    ExpectMissing(menu);
    ExpectProgramFilesGone();
    ExpectMissing(folder);
}

TEST_F(SetupUninstallTest, ForeignFolderIsRefused)
{
    Install("recorded", 1, 0);
    // A copy of the uninstaller among files of another folder.
    const CString foreign = TestInstallFolder("foreign");
    ASSERT_TRUE(Zint_Std::MakeFolderPath(foreign));
    const char* const kForeignFiles[] = {"setup.exe", "quelt_.exe", "readme.txt"};
    for (size_t i = 0; i < 3; ++i)
        ASSERT_TRUE(CopyFileA((folder + kForeignFiles[i]).data, (foreign + kForeignFiles[i]).data,
                              FALSE));
    CString handOver;
    handOver.Format("/MainUninst 0 1 %s", foreign.data);
    // The first stage started there, and a second stage handed that folder.
    const CString programs[] = {foreign + "setup.exe", TemporaryCopy("_qu_foreign.tmp.exe")};
    const CString arguments[] = {CString("-U"), handOver};
    for (int i = 0; i < 2; ++i) {
        CSetupRun run;
        ASSERT_TRUE(run.Start(programs[i], arguments[i].data));
        CDialogUnderTest box;
        ASSERT_TRUE(box.WaitFor(run.process.dwProcessId, "Quelt")) << arguments[i].data;
        EXPECT_STREQ(kNotInstalledHere, MessageBoxLabel(box.dialog).data);
        if (i == 0)
            TakeSettledScreenshot(box.dialog, "setup_uninstall_foreign");
        ASSERT_TRUE(CDialogUnderTest::Answer(box.dialog, IDOK));
        ASSERT_TRUE(run.WaitEnded());
    }
    EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKeyPath));
    EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kSettingsKeyPath));
    ExpectProgramFiles(folder, package.withPinlet);
    ExpectExists(menu + "アンインストール.lnk");
    ExpectExists(startupLink);
    for (size_t i = 0; i < 3; ++i)
        ExpectExists(foreign + kForeignFiles[i]);
    // No uninstaller copy of the first stage, and the refused second stage
    // kept its program.
    EXPECT_EQ(1, CountTempFiles(kUninstallCopyPattern));
}

TEST_F(SetupUninstallTest, SecondStageWaitsForTheFirst)
{
    Install("waited for", 0, 0);
    // A first stage that stays: a suspended process whose handle the second
    // stage inherits.
    const CString self = Zint_Std::ModuleFolder(0) + "setup_uninstall_tests.exe";
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION held;
    ZeroMemory(&held, sizeof(held));
    CString line;
    line.Format("\"%s\" --gtest_list_tests", self.data);
    ASSERT_TRUE(CreateProcessA(self.data, line.data, 0, 0, FALSE, CREATE_SUSPENDED, 0, 0, &startup,
                               &held));
    HANDLE handed = 0;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), held.hProcess, GetCurrentProcess(), &handed,
                                SYNCHRONIZE, TRUE, 0));
    CString arguments;
    arguments.Format("/MainUninst %d 0 %s", static_cast<int>(reinterpret_cast<INT_PTR>(handed)),
                     folder.data);
    CSetupRun run;
    const bool started = run.Start(TemporaryCopy("_qu_waits.tmp.exe"), arguments.data, true);
    CloseHandle(handed);

    // Well past the two pauses of 500 ms, nothing is gone while it lives.
    RemovalProbe probe = {folder + "quelt_.exe", menu + "Quelt.lnk"};
    EXPECT_FALSE(started && WaitUntil(SomethingRemoved, &probe, 4000))
        << "the second stage did not wait";
    TerminateProcess(held.hProcess, 0);
    CloseHandle(held.hProcess);
    CloseHandle(held.hThread);
    ASSERT_TRUE(started);

    HWND done = WaitForAnyDialog("Quelt", "アンインストールが終了");
    ASSERT_NE((HWND)0, done);
    ASSERT_TRUE(CDialogUnderTest::Answer(done, IDOK));
    ASSERT_TRUE(run.WaitEnded());
    EXPECT_TRUE(WaitForNoTempFiles(kUninstallCopyPattern));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kSettingsKeyPath));
    ExpectMissing(menu);
    ExpectMissing(startupLink);
    ExpectProgramFilesGone();
}

TEST_F(SetupUninstallTest, LinksAndOddNamesInItsFoldersLeadNowhere)
{
    Install("odd entries", 0, 0);
    CHostileTree hostile;
    ASSERT_TRUE(hostile.Build("uninstall-hostile")) << hostile.failure;
    // Beside the menu folder: what a walk that climbed out of it would reach.
    const CString marker = SpecialFolder(CSIDL_PROGRAMS) + "quelt-test-marker.txt";
    ASSERT_TRUE(WriteTextFile(marker, "marker"));
    ASSERT_TRUE(MakeUnixLink(menu + "link", hostile.outside));
    ASSERT_TRUE(MakeUnixLink(menu + "filelink", hostile.outside + "keep.txt"));
    ASSERT_TRUE(MakeUnixLink(folder + "omake\\link", hostile.outside));
    const std::wstring odd = L"\\\\?\\" + Wide(menu.data) + L"\u00A5..";
    ASSERT_TRUE(CreateDirectoryW(odd.c_str(), 0));

    Uninstall(false, 0);
    std::string why;
    EXPECT_TRUE(hostile.OutsideIsIntact(why)) << why;
    ExpectExists(marker);
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kSettingsKeyPath));
    ExpectMissing(menu + "アンインストール.lnk");
    ExpectMissing(folder + "quelt_.exe");
    DeleteFileA(marker.data);
    RemoveScratchFolder(menu);
    RemoveScratchFolder(folder);
    hostile.Remove();
}
