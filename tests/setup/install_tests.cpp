// setup.exe installing from a scratch package in the test desktop: the
// dialog, the copied files, the registry, the profile value, the shortcuts
// and the end of the run.
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <shlobj.h>

#include "editor/editor_driver.h"
#include "launcher/ui_driver.h"
#include "setup_checks.h"

using Zint_Std::CString;

namespace {

class SetupInstallTest : public SetupTestBase {};

CString ProfileValue(const CString& folder, const char* section, const char* key)
{
    char value[512];
    value[0] = 0;
    GetPrivateProfileStringA(section, key, "", value, sizeof(value),
                             (folder + "quelt_.ini").data);
    return CString(value);
}

bool LauncherRuns(void*)
{
    return FindWindowA("QUELT_APP_WND_CLASS", 0) != 0;
}

}  // namespace

TEST_F(SetupInstallTest, AllUsersWithStartupAndPerUserSettings)
{
    InstallChoice choice;
    choice.folder = TestInstallFolder("all users");
    choice.allUsers = 1;
    choice.startup = 1;
    choice.multiUser = 1;
    CSetupRun run;
    ASSERT_TRUE(run.Start(package.setupPath, ""));
    {
        // The defaults of a first installation.
        CDialogUnderTest dialog;
        ASSERT_TRUE(dialog.WaitFor(run.process.dwProcessId, "Queltのインストール"));
        CString expected = SpecialFolder(CSIDL_PROGRAM_FILES) + "quelt_\\";
        EXPECT_STREQ(expected.data, dialog.Text(1000).data);
        EXPECT_TRUE(dialog.IsChecked(1002));
        EXPECT_TRUE(dialog.IsChecked(1003));
        EXPECT_TRUE(dialog.IsEnabled(1004));
        EXPECT_FALSE(dialog.IsChecked(1004));
        EXPECT_FALSE(dialog.IsChecked(1005));
        EXPECT_STREQ("インストール開始(&S)", TextOfWindow(dialog.Item(IDOK)).data);
    }
    // Typed without the trailing backslash: it comes back with one.
    InstallChoice typed = choice;
    typed.folder.Delete(typed.folder.GetLength() - 1, 1);
    ASSERT_TRUE(RunInstallDialog(run, typed, "setup_install_dialog"));
    CString question;
    ASSERT_TRUE(AnswerFinalQuestion(run, IDNO, &question, "setup_install_done"));
    EXPECT_STREQ("Queltのインストールが完了しました！\n\n"
                 "Queltは起動直後隠れています.表示方法はデフォルト Alt + 1 (変更可能) です.\n\n"
                 "今すぐQueltを起動しますか？",
                 question.data);
    ASSERT_TRUE(run.WaitEnded());

    const CString& folder = choice.folder;
    ExpectProgramFiles(folder, package.withPinlet);
    EXPECT_STREQ(folder.data, ProfileValue(folder, "Alias", "QUELT_HOME").data);

    CString value;
    DWORD number = 7;
    EXPECT_TRUE(ReadRegistryString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "Version", value));
    EXPECT_STREQ("0.981", value.data);
    EXPECT_TRUE(ReadRegistryString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "InstFolder", value));
    EXPECT_STREQ(folder.data, value.data);
    EXPECT_TRUE(ReadRegistryDword(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "AllUsers", number));
    EXPECT_EQ(1u, number);
    EXPECT_TRUE(ReadRegistryDword(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "MultiUser", number));
    EXPECT_EQ(1u, number);
    const CString menu = SpecialFolder(CSIDL_COMMON_PROGRAMS) + "Quelt\\";
    EXPECT_TRUE(
        ReadRegistryString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "ProgramMenuFolder", value));
    EXPECT_STREQ(menu.data, value.data);
    const CString startupLink = SpecialFolder(CSIDL_COMMON_STARTUP) + "Quelt.lnk";
    EXPECT_TRUE(ReadRegistryString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "StartupFile", value));
    EXPECT_STREQ(startupLink.data, value.data);
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kSettingsKeyPath));
    EXPECT_TRUE(ReadRegistryString(HKEY_LOCAL_MACHINE, kUninstallKeyPath, "DisplayName", value));
    EXPECT_STREQ("Quelt", value.data);
    EXPECT_TRUE(
        ReadRegistryString(HKEY_LOCAL_MACHINE, kUninstallKeyPath, "UninstallString", value));
    EXPECT_STREQ((CString("\"") + folder + "setup.exe\" -U").data, value.data);

    ExpectShortcut(menu + "Quelt.lnk", folder + "quelt_.exe", "", folder);
    ExpectShortcut(menu + "Queltのヘルプ.lnk", folder + "quelt_.chm", "", folder);
    ExpectShortcut(menu + "アンインストール.lnk", folder + "setup.exe", "-U", folder);
    ExpectShortcut(menu + "お読みください.lnk", folder + "readme.txt", "", folder);
    ExpectShortcut(menu + "送るメニューにショートカットの追加／削除.lnk", folder + "Pinlet.exe",
                   "", folder);
    ExpectShortcut(startupLink, folder + "quelt_.exe", "", folder);
    ExpectMissing(SpecialFolder(CSIDL_PROGRAMS) + "Quelt\\");

    // No launcher on No; readme.txt is opened either way.
    EXPECT_EQ(0, FindWindowA("QUELT_APP_WND_CLASS", 0));
    EXPECT_NE((HWND)0, WaitForNotepad("readme"));
    ExpectPackageRemoved(package);
}

TEST_F(SetupInstallTest, CurrentUserWithoutStartupStartsLauncher)
{
    InstallChoice choice;
    choice.folder = TestInstallFolder("current user");
    choice.allUsers = 0;
    choice.startup = 0;
    choice.multiUser = 1;  // refused: the box is disabled without all users
    choice.sendTo = 1;
    CSetupRun run;
    ASSERT_TRUE(run.Start(package.setupPath, ""));
    {
        CDialogUnderTest dialog;
        ASSERT_TRUE(dialog.WaitFor(run.process.dwProcessId, "Queltのインストール"));
        ASSERT_TRUE(dialog.SetChecked(1003, false));
        EXPECT_FALSE(dialog.IsEnabled(1004));
        ASSERT_TRUE(dialog.SetChecked(1003, true));
        EXPECT_TRUE(dialog.IsEnabled(1004));
        EXPECT_FALSE(dialog.IsChecked(1004));
    }
    ASSERT_TRUE(RunInstallDialog(run, choice, 0));
    ASSERT_TRUE(AnswerFinalQuestion(run, IDYES, 0, 0));
    ASSERT_TRUE(run.WaitEnded());
    EXPECT_TRUE(WaitUntil(LauncherRuns, 0));
    // Started by the desktop's shell, so with its rights, not with setup's.
    EXPECT_STRCASEEQ("explorer.exe",
                     ParentProgramOf(FindWindowA("QUELT_APP_WND_CLASS", 0)).data);

    const CString& folder = choice.folder;
    ExpectProgramFiles(folder, package.withPinlet);
    CString value;
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kSettingsKeyPath));
    EXPECT_TRUE(ReadRegistryString(HKEY_CURRENT_USER, kSettingsKeyPath, "Version", value));
    EXPECT_STREQ("0.981", value.data);
    EXPECT_TRUE(ReadRegistryString(HKEY_CURRENT_USER, kSettingsKeyPath, "InstFolder", value));
    EXPECT_STREQ(folder.data, value.data);
    EXPECT_FALSE(RegistryValueExists(HKEY_CURRENT_USER, kSettingsKeyPath, "AllUsers"));
    EXPECT_FALSE(RegistryValueExists(HKEY_CURRENT_USER, kSettingsKeyPath, "MultiUser"));
    EXPECT_FALSE(RegistryValueExists(HKEY_CURRENT_USER, kSettingsKeyPath, "StartupFile"));
    const CString menu = SpecialFolder(CSIDL_PROGRAMS) + "Quelt\\";
    EXPECT_TRUE(
        ReadRegistryString(HKEY_CURRENT_USER, kSettingsKeyPath, "ProgramMenuFolder", value));
    EXPECT_STREQ(menu.data, value.data);
    EXPECT_TRUE(
        ReadRegistryString(HKEY_LOCAL_MACHINE, kUninstallKeyPath, "UninstallString", value));
    EXPECT_STREQ((CString("\"") + folder + "setup.exe\" -U").data, value.data);
    ExpectShortcut(menu + "アンインストール.lnk", folder + "setup.exe", "-U", folder);
    ExpectShortcut(menu + "Quelt.lnk", folder + "quelt_.exe", "", folder);
    ExpectMissing(SpecialFolder(CSIDL_STARTUP) + "Quelt.lnk");
    ExpectMissing(SpecialFolder(CSIDL_COMMON_STARTUP) + "Quelt.lnk");
    ExpectMissing(SpecialFolder(CSIDL_COMMON_PROGRAMS) + "Quelt\\");
    if (package.withPinlet) {
        // The registration tool writes its SendTo shortcut on -a.
        EXPECT_TRUE(WaitForFile(SpecialFolder(CSIDL_SENDTO) + "Queltに登録.lnk", kSetupWaitMs));
    }
    const HWND readme = WaitForNotepad("readme");
    EXPECT_NE((HWND)0, readme);
    EXPECT_STRCASEEQ("explorer.exe", ParentProgramOf(readme).data);
    ExpectPackageRemoved(package);
}

TEST_F(SetupInstallTest, EmptyFolderIsRefused)
{
    CSetupRun run;
    ASSERT_TRUE(run.Start(package.setupPath, ""));
    CDialogUnderTest dialog;
    ASSERT_TRUE(dialog.WaitFor(run.process.dwProcessId, "Queltのインストール"));
    const char* const kEmpty[] = {"", "   "};
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(dialog.SetText(1000, kEmpty[i]));
        ASSERT_TRUE(dialog.Click(IDOK));
        HWND box = dialog.WaitForMessageBox("Quelt");
        ASSERT_NE((HWND)0, box) << "blank folder '" << kEmpty[i] << "' was not refused";
        EXPECT_STREQ("インストールするフォルダを入力してください.", MessageBoxLabel(box).data);
        if (i == 0)
            TakeSettledScreenshot(box, "setup_empty_folder");
        ASSERT_TRUE(CDialogUnderTest::Answer(box, IDOK));
        EXPECT_TRUE(dialog.IsOpen());
        EXPECT_TRUE(WaitForFocus(dialog.dialog, dialog.Item(1000)));
    }
    ASSERT_TRUE(dialog.Click(IDCANCEL));
    ASSERT_TRUE(dialog.WaitClosed());
    ASSERT_TRUE(run.WaitEnded());
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kSettingsKeyPath));
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKeyPath));
    ExpectPackageKept(package);
}

TEST_F(SetupInstallTest, NoProgramMenuFolderMeansNoShortcutsAtAll)
{
    // A file where the Start-menu folder belongs: the folder cannot be made.
    const CString blocker = SpecialFolder(CSIDL_PROGRAMS) + "Quelt";
    ASSERT_TRUE(WriteTextFile(blocker, "in the way\r\n"));
    InstallChoice choice;
    choice.folder = TestInstallFolder("no menu");
    choice.allUsers = 0;
    choice.startup = 1;
    const bool installed = InstallQuietly(package, choice);
    DeleteFileA(blocker.data);
    ASSERT_TRUE(installed);
    ExpectProgramFiles(choice.folder, package.withPinlet);
    EXPECT_TRUE(RegistryValueExists(HKEY_CURRENT_USER, kSettingsKeyPath, "InstFolder"));
    EXPECT_FALSE(RegistryValueExists(HKEY_CURRENT_USER, kSettingsKeyPath, "ProgramMenuFolder"));
    EXPECT_FALSE(RegistryValueExists(HKEY_CURRENT_USER, kSettingsKeyPath, "StartupFile"));
    ExpectMissing(SpecialFolder(CSIDL_STARTUP) + "Quelt.lnk");
}

TEST_F(SetupInstallTest, BrowseTakesTheChosenFolderAsItIs)
{
    CSetupRun run;
    ASSERT_TRUE(run.Start(package.setupPath, ""));
    CDialogUnderTest dialog;
    ASSERT_TRUE(dialog.WaitFor(run.process.dwProcessId, "Queltのインストール"));
    // The picker opens on the folder in the edit; OK gives it back with a
    // backslash and without "quelt_\" added.
    CString chosen(package.folder);
    chosen.Delete(chosen.GetLength() - 1, 1);
    ASSERT_TRUE(dialog.SetText(1000, chosen.data));
    // The picker moves to the initial folder once its tree is filled. Wine
    // now and then stops filling it short of the folder while it asks the
    // drives for their labels; a person would close the picker and open it
    // again, and so does the test, three times at most.
    HWND picker = 0;
    bool selected = false;
    for (int attempt = 0; attempt < 3 && !selected; attempt++) {
        if (picker) {
            const CString shown =
                SelectedTreeItemText(FindWindowExA(picker, 0, WC_TREEVIEWA, 0));
            printf("the picker shows '%s'; opening it again\n", shown.Text());
            ASSERT_TRUE(CDialogUnderTest::Answer(picker, IDCANCEL));
            const DWORD start = GetTickCount();
            while (IsWindow(picker) && GetTickCount() - start < kSetupWaitMs)
                Sleep(50);
            ASSERT_FALSE(IsWindow(picker)) << "the picker did not close";
        }
        ASSERT_TRUE(dialog.Click(1001));
        picker = WaitForOwnedDialog(dialog.dialog);
        ASSERT_TRUE(picker != 0) << "no folder picker";
        EXPECT_TRUE(ShowsText(picker, "Queltをインストールするフォルダを選択してください."));
        selected = WaitForTreeSelection(picker, "BrowseTakesTheChosenFolderAsItIs", 10000);
    }
    EXPECT_TRUE(selected) << "the picker never showed the initial folder";
    TakeSettledScreenshot(picker, "setup_browse");
    ASSERT_TRUE(CDialogUnderTest::Answer(picker, IDOK));
    EXPECT_TRUE(WaitForItemText(dialog.Item(1000), package.folder.data))
        << dialog.Text(1000).data;

    // Cancelled, the picker leaves the edit alone.
    ASSERT_TRUE(dialog.SetText(1000, "C:\\typed by hand"));
    ASSERT_TRUE(dialog.Click(1001));
    picker = WaitForOwnedDialog(dialog.dialog);
    ASSERT_TRUE(picker != 0);
    ASSERT_TRUE(CDialogUnderTest::Answer(picker, IDCANCEL));
    EXPECT_STREQ("C:\\typed by hand", dialog.Text(1000).data);
    ASSERT_TRUE(dialog.Click(IDCANCEL));
    ASSERT_TRUE(run.WaitEnded());
}

TEST_F(SetupInstallTest, FolderOverlappingThePackageIsRefused)
{
    // An installation recorded where the package was unpacked beside it.
    ASSERT_TRUE(WriteEarlierInstallation(HKEY_CURRENT_USER, "0.9", package.payload));
    const struct {
        CString folder;
        CString untouched;  // what a copy would have made
    } kFolders[] = {
        {package.payload, package.payload + "setup.exe"},              // is the package
        {package.folder, package.folder + "quelt_.exe"},               // holds it
        {package.payload + "inside\\", package.payload + "inside\\"},  // lies in it
    };
    for (size_t i = 0; i < sizeof(kFolders) / sizeof(kFolders[0]); ++i) {
        CSetupRun run;
        ASSERT_TRUE(run.Start(package.setupPath, ""));
        InstallChoice choice;
        choice.folder = kFolders[i].folder;
        choice.allUsers = 0;
        ASSERT_TRUE(RunInstallDialog(run, choice, 0));
        CDialogUnderTest box;
        ASSERT_TRUE(box.WaitFor(run.process.dwProcessId, "Quelt")) << choice.folder.data;
        EXPECT_STREQ("インストール先のフォルダが,インストール元の quelt_ フォルダと同じか,その中か,それを含むフォルダです.\n"
                     "インストール元の外にある別のフォルダを指定してください.\n"
                     "インストールを中止します.",
                     MessageBoxLabel(box.dialog).data)
            << choice.folder.data;
        ASSERT_TRUE(CDialogUnderTest::Answer(box.dialog, IDOK));
        ASSERT_TRUE(run.WaitEnded());
        ExpectMissing(kFolders[i].untouched);
        ExpectPackageKept(package);
        EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKeyPath));
        CString version;
        EXPECT_TRUE(ReadRegistryString(HKEY_CURRENT_USER, kSettingsKeyPath, "Version", version));
        EXPECT_STREQ("0.9", version.data);
    }
}

TEST_F(SetupInstallTest, ReinstallWritesTheShortcutsAgain)
{
    InstallChoice choice;
    choice.folder = TestInstallFolder("reinstalled");
    ASSERT_TRUE(InstallQuietly(package, choice));
    const CString menu = SpecialFolder(CSIDL_COMMON_PROGRAMS) + "Quelt\\";
    const CString startupLink = SpecialFolder(CSIDL_COMMON_STARTUP) + "Quelt.lnk";
    ASSERT_TRUE(DeleteFileA((menu + "アンインストール.lnk").data));
    ASSERT_TRUE(DeleteFileA(startupLink.data));
    HKEY key = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettingsKeyPath, 0,
                                           KEY_SET_VALUE, &key));
    RegDeleteValueA(key, "ProgramMenuFolder");
    RegDeleteValueA(key, "StartupFile");
    RegCloseKey(key);

    // The same version again, into the menu folder that is still there.
    ASSERT_TRUE(package.Build("ReinstallWritesTheShortcutsAgain2"));
    ASSERT_TRUE(InstallQuietly(package, choice, true));
    const CString& folder = choice.folder;
    ExpectShortcut(menu + "アンインストール.lnk", folder + "setup.exe", "-U", folder);
    ExpectShortcut(startupLink, folder + "quelt_.exe", "", folder);
    CString value;
    EXPECT_TRUE(
        ReadRegistryString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "ProgramMenuFolder", value));
    EXPECT_STREQ(menu.data, value.data);
    EXPECT_TRUE(ReadRegistryString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "StartupFile", value));
    EXPECT_STREQ(startupLink.data, value.data);
}

TEST_F(SetupInstallTest, SwitchingUsersDropsTheOtherRecord)
{
    InstallChoice choice;
    choice.folder = TestInstallFolder("switched");
    const int kSides[] = {1, 0, 1};
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            CString name;
            name.Format("SwitchingUsersDropsTheOtherRecord%d", i);
            ASSERT_TRUE(package.Build(name.data));
        }
        choice.allUsers = kSides[i];
        ASSERT_TRUE(InstallQuietly(package, choice, i > 0)) << i;
        const HKEY own = kSides[i] ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
        const HKEY other = kSides[i] ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
        CString value;
        EXPECT_TRUE(ReadRegistryString(own, kSettingsKeyPath, "InstFolder", value)) << i;
        EXPECT_STREQ(choice.folder.data, value.data);
        EXPECT_FALSE(RegistryKeyExists(other, kSettingsKeyPath)) << i;
        const int programs = kSides[i] ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS;
        const int startup = kSides[i] ? CSIDL_COMMON_STARTUP : CSIDL_STARTUP;
        ExpectExists(SpecialFolder(programs) + "Quelt\\Quelt.lnk");
        ExpectExists(SpecialFolder(startup) + "Quelt.lnk");
        ExpectMissing(SpecialFolder(kSides[i] ? CSIDL_PROGRAMS : CSIDL_COMMON_PROGRAMS) +
                      "Quelt\\");
        ExpectMissing(SpecialFolder(kSides[i] ? CSIDL_STARTUP : CSIDL_COMMON_STARTUP) +
                      "Quelt.lnk");
    }
    // A user's own installation in another folder leaves the shared one be.
    InstallChoice own;
    own.folder = TestInstallFolder("switched own");
    own.allUsers = 0;
    ASSERT_TRUE(package.Build("SwitchingUsersDropsTheOtherRecord3") &&
                InstallQuietly(package, own, true));
    CString value;
    EXPECT_TRUE(ReadRegistryString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "InstFolder", value));
    EXPECT_STREQ(choice.folder.data, value.data);
    ExpectExists(SpecialFolder(CSIDL_COMMON_PROGRAMS) + "Quelt\\Quelt.lnk");
}

TEST_F(SetupInstallTest, SystemListStartsTheUninstallerInBothForms)
{
    InstallChoice choice;
    choice.folder = TestInstallFolder("from the system list");
    ASSERT_TRUE(InstallQuietly(package, choice));
    const CString program = choice.folder + "setup.exe";
    CString quoted;
    ASSERT_TRUE(ReadRegistryString(HKEY_LOCAL_MACHINE, kUninstallKeyPath, "UninstallString", quoted));
    // Started as written, as the system does; earlier installations wrote
    // the line unquoted.
    const CString lines[] = {quoted, program + " -U"};
    for (int i = 0; i < 2; ++i) {
        CSetupRun run;
        CDialogUnderTest dialog;
        EXPECT_TRUE(run.StartAsGiven(program, lines[i].data) &&
                    dialog.WaitFor(run.process.dwProcessId, "Queltのアンインストール") &&
                    dialog.Click(IDCANCEL) && run.WaitEnded())
            << lines[i].data;
    }
}

TEST_F(SetupInstallTest, ReinstallWithoutStartupRemovesItsShortcut)
{
    InstallChoice choice;
    choice.folder = TestInstallFolder("startup off");
    ASSERT_TRUE(InstallQuietly(package, choice));
    const CString link = SpecialFolder(CSIDL_COMMON_STARTUP) + "Quelt.lnk";
    ExpectExists(link);
    // Installed files made read-only or hidden are replaced all the same.
    const CString launcher = choice.folder + "quelt_.exe", setup = choice.folder + "setup.exe";
    ASSERT_TRUE(SetFileAttributesA(launcher.data, FILE_ATTRIBUTE_READONLY) &&
                SetFileAttributesA(setup.data, FILE_ATTRIBUTE_HIDDEN));
    choice.startup = 0;
    ASSERT_TRUE(package.Build("ReinstallWithoutStartup2") && InstallQuietly(package, choice, true));
    ExpectMissing(link);
    EXPECT_FALSE(RegistryValueExists(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "StartupFile"));
    EXPECT_EQ(0u, (GetFileAttributesA(launcher.data) | GetFileAttributesA(setup.data)) &
                      (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    // The next run shows the box as recorded.
    CSetupRun run;
    CDialogUnderTest dialog;
    ASSERT_TRUE(package.Build("ReinstallWithoutStartup3") && run.Start(package.setupPath, "") &&
                AnswerFinalQuestion(run, IDYES, 0, 0) &&  // the same version again
                dialog.WaitFor(run.process.dwProcessId, "Queltのインストール"));
    EXPECT_FALSE(dialog.IsChecked(1002));
    ASSERT_TRUE(dialog.Click(IDCANCEL) && run.WaitEnded());
}

TEST_F(SetupInstallTest, FolderOfAnotherProgramIsAskedAbout)
{
    const CString other = TestInstallFolder("other program");
    ASSERT_TRUE(Zint_Std::MakeFolderPath(other) && WriteTextFile(other + "readme.txt", "other"));
    CSetupRun run;
    InstallChoice choice;
    choice.folder = other;
    CDialogUnderTest box;
    ASSERT_TRUE(run.Start(package.setupPath, "") && RunInstallDialog(run, choice, 0) &&
                box.WaitFor(run.process.dwProcessId, "Quelt"));
    EXPECT_TRUE(strstr(MessageBoxLabel(box.dialog).data, other.data) != 0);
    EXPECT_EQ(BS_DEFPUSHBUTTON, GetWindowLongA(GetDlgItem(box.dialog, IDNO), GWL_STYLE) & 0x0F);
    ASSERT_TRUE(CDialogUnderTest::Answer(box.dialog, IDNO));
    // Back in the dialog with the folder as typed, and nothing copied.
    CDialogUnderTest dialog;
    ASSERT_TRUE(dialog.WaitFor(run.process.dwProcessId, "Queltのインストール"));
    EXPECT_STREQ(other.data, dialog.Text(1000).data);
    EXPECT_STREQ("other", ReadWholeFile(other + "readme.txt").data);
    ExpectMissing(other + "quelt_.exe");
    ASSERT_TRUE(dialog.Click(IDCANCEL) && run.WaitEnded());
    ExpectPackageKept(package);
}
