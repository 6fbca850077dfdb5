// setup.exe meeting an earlier installation, a running launcher and command
// lines it does not know.
#include <windows.h>
#include <shlobj.h>

#include "editor/editor_driver.h"
#include "launcher/ui_driver.h"
#include "setup_checks.h"

using Zint_Std::CString;

namespace {

class SetupEarlierTest : public SetupTestBase {};

const char kVersionQuestion[] =
    "既にインストールされているバージョンよりも\n同じか,古いバージョンをインストールしようとしています.\nインストールを続けますか?";

bool LauncherGone(void*)
{
    return FindWindowA("QUELT_APP_WND_CLASS", 0) == 0;
}

}  // namespace

TEST_F(SetupEarlierTest, SameOrNewerVersionIsQuestioned)
{
    const CString earlier = TestInstallFolder("earlier");
    const char* const kVersions[] = {"0.981", "1.0"};
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(WriteEarlierInstallation(HKEY_CURRENT_USER, kVersions[i], earlier));
        CSetupRun run;
        ASSERT_TRUE(run.Start(package.setupPath, ""));
        CDialogUnderTest box;
        ASSERT_TRUE(box.WaitFor(run.process.dwProcessId, "Quelt")) << kVersions[i];
        EXPECT_STREQ(kVersionQuestion, MessageBoxLabel(box.dialog).data) << kVersions[i];
        ASSERT_TRUE(CDialogUnderTest::Answer(box.dialog, IDNO));
        ASSERT_TRUE(run.WaitEnded());
        // No dialog came, nothing was installed, the package stays for
        // another try.
        ExpectMissing(earlier);
        EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKeyPath));
        ExpectPackageKept(package);
    }
}

TEST_F(SetupEarlierTest, OlderPerUserInstallationFillsTheDialog)
{
    const CString earlier = TestInstallFolder("older");
    ASSERT_TRUE(WriteEarlierInstallation(HKEY_CURRENT_USER, "0.98", earlier));
    CSetupRun run;
    ASSERT_TRUE(run.Start(package.setupPath, ""));
    CDialogUnderTest dialog;
    ASSERT_TRUE(dialog.WaitFor(run.process.dwProcessId, "Queltのインストール"));
    EXPECT_STREQ(earlier.data, dialog.Text(1000).data);
    EXPECT_FALSE(dialog.IsChecked(1003));
    EXPECT_FALSE(dialog.IsEnabled(1004));
    EXPECT_FALSE(dialog.IsChecked(1002));
    // Cancel: nothing installed, the package kept.
    ASSERT_TRUE(dialog.Click(IDCANCEL));
    ASSERT_TRUE(run.WaitEnded());
    ExpectMissing(earlier);
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKeyPath));
    ExpectPackageKept(package);
}

TEST_F(SetupEarlierTest, ReinstallKeepsTheUsersProfile)
{
    const CString folder = TestInstallFolder("reinstall");
    ASSERT_TRUE(Zint_Std::MakeFolderPath(folder));
    const char kOwnProfile[] = "[QUELT]\r\nWndWidth=321\r\n[Alias]\r\nQUELT_HOME=C:\\own\\\r\n";
    ASSERT_TRUE(WriteTextFile(folder + "quelt_.ini", kOwnProfile));
    ASSERT_TRUE(WriteEarlierInstallation(HKEY_LOCAL_MACHINE, "0.9", folder));

    CSetupRun run;
    ASSERT_TRUE(run.Start(package.setupPath, ""));
    InstallChoice choice;
    choice.folder = folder;
    ASSERT_TRUE(RunInstallDialog(run, choice, 0));
    CString question;
    ASSERT_TRUE(AnswerFinalQuestion(run, IDNO, &question, 0));
    // An earlier installation hears no word about the hotkey.
    EXPECT_STREQ("Queltのインストールが完了しました！\n\n今すぐQueltを起動しますか？",
                 question.data);
    ASSERT_TRUE(run.WaitEnded());
    EXPECT_STREQ(kOwnProfile, ReadWholeFile(folder + "quelt_.ini").data);
    ExpectExists(folder + "quelt_.exe");
    ExpectPackageRemoved(package);
}

TEST_F(SetupEarlierTest, RunningLauncherIsAskedToQuit)
{
    CLauncherUnderTest launcher;
    ASSERT_TRUE(launcher.Start("", ""));
    ASSERT_TRUE(launcher.WaitUntilHotKeyHeld(MOD_ALT, '1'));
    const char kQuestion[] =
        "Queltが起動しています.\nQueltを終了してインストール処理を続けますか？";

    // No: the run ends at once, the launcher stays.
    {
        CSetupRun run;
        ASSERT_TRUE(run.Start(package.setupPath, ""));
        CDialogUnderTest box;
        ASSERT_TRUE(box.WaitFor(run.process.dwProcessId, "Quelt"));
        EXPECT_STREQ(kQuestion, MessageBoxLabel(box.dialog).data);
        ASSERT_TRUE(CDialogUnderTest::Answer(box.dialog, IDNO));
        ASSERT_TRUE(run.WaitEnded());
        EXPECT_TRUE(IsWindow(launcher.window));
        ExpectPackageKept(package);
    }
    // Yes: the launcher quits, then the dialog comes.
    {
        CSetupRun run;
        ASSERT_TRUE(run.Start(package.setupPath, ""));
        CDialogUnderTest box;
        ASSERT_TRUE(box.WaitFor(run.process.dwProcessId, "Quelt"));
        ASSERT_TRUE(CDialogUnderTest::Answer(box.dialog, IDYES));
        EXPECT_TRUE(WaitUntil(LauncherGone, 0));
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(launcher.process.hProcess, kSetupWaitMs));
        CDialogUnderTest dialog;
        ASSERT_TRUE(dialog.WaitFor(run.process.dwProcessId, "Queltのインストール"));
        ASSERT_TRUE(dialog.Click(IDCANCEL));
        ASSERT_TRUE(run.WaitEnded());
        ExpectPackageKept(package);
    }
}

TEST_F(SetupEarlierTest, OtherCommandLinesDoNothing)
{
    const char* const kLines[] = {"-u", "/x", "-U extra"};
    for (int i = 0; i < 3; ++i) {
        CSetupRun run;
        ASSERT_TRUE(run.Start(package.setupPath, kLines[i]));
        ASSERT_TRUE(run.WaitEnded()) << kLines[i];
        ExpectExists(package.setupPath);
        ExpectExists(package.payload + "quelt_.exe");
        ExpectMissing(package.folder + "setup.bat");
        EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKeyPath));
    }
}

TEST_F(SetupEarlierTest, InstalledCopyWithoutArgumentsDeletesNothing)
{
    const CString folder = TestInstallFolder("installed copy");
    InstallChoice choice;
    choice.folder = folder;
    ASSERT_TRUE(InstallQuietly(package, choice));
    const CString installed = folder + "setup.exe";
    ExpectExists(installed);

    // Recognised by the recorded install folder, and without a record by the
    // launcher beside it and no package folder.
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 1) {
            RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSettingsKeyPath);
            RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKeyPath);
        }
        CSetupRun run;
        ASSERT_TRUE(run.Start(installed, ""));
        CDialogUnderTest box;
        ASSERT_TRUE(box.WaitFor(run.process.dwProcessId, "Quelt")) << pass;
        EXPECT_STREQ("アンインストールするには,スタートメニューの「Quelt」→「アンインストール」を選ぶか,\n"
                     "-U を付けて起動してください.",
                     MessageBoxLabel(box.dialog).data);
        ASSERT_TRUE(CDialogUnderTest::Answer(box.dialog, IDOK));
        ASSERT_TRUE(run.WaitEnded());
        // The batch file is written before the program ends: none means no
        // deletion will follow.
        ExpectMissing(folder + "setup.bat");
        ExpectExists(installed);
        ExpectProgramFiles(folder, package.withPinlet);
    }
}

TEST_F(SetupEarlierTest, RefusedWhileAnotherRunsOrWithoutTheLauncher)
{
    CSetupRun first, second, third;
    CDialogUnderTest dialog;
    HWND box = 0;
    ASSERT_TRUE(first.Start(package.setupPath, "") &&
                dialog.WaitFor(first.process.dwProcessId, "Queltのインストール"));
    ASSERT_TRUE(second.Start(package.setupPath, "") &&
                (box = WaitForAnyDialog("Quelt", "既に実行中です")) != 0 &&
                CDialogUnderTest::Answer(box, IDOK) && second.WaitEnded());
    ASSERT_TRUE(dialog.Click(IDCANCEL) && first.WaitEnded() &&
                DeleteFileA((package.payload + "quelt_.exe").data));
    ASSERT_TRUE(third.Start(package.setupPath, "") &&
                (box = WaitForAnyDialog("Quelt", "ファイルが見つかりません")) != 0 &&
                CDialogUnderTest::Answer(box, IDOK) && third.WaitEnded());
    ExpectMissing(package.folder + "setup.bat");
}
