// A user's whole way with the delivered package: setup.exe installs it, the
// launcher it starts runs a command, a file sent through Pinlet becomes a
// new command that the launcher then runs, and setup.exe -U removes it all.
// The package is the one make package builds; check_suite_journey.sh makes
// it and names its folder in QUELT_JOURNEY_PACKAGE.
#include <windows.h>
#include <shlobj.h>

#include "editor/editor_driver.h"
#include "editor/editor_ids.h"
#include "launcher/ui_driver.h"
#include "setup_checks.h"

using Zint_Std::CString;

namespace {

CString EnvironmentText(const char* name)
{
    char value[1024];
    DWORD length = GetEnvironmentVariableA(name, value, sizeof(value));
    if (length == 0 || length >= sizeof(value))
        return CString();
    return CString(value);
}

bool LauncherRuns(void*)
{
    return FindWindowA("QUELT_APP_WND_CLASS", 0) != 0;
}

// Takes over the launcher that setup started, so the keyboard helpers of
// the launcher driver can drive it.
bool AttachToRunningLauncher(CLauncherUnderTest& launcher)
{
    launcher.window = FindWindowA("QUELT_APP_WND_CLASS", 0);
    if (!launcher.window)
        return false;
    launcher.edit = FindWindowExA(launcher.window, 0, "EDIT", 0);
    DWORD processId = 0;
    GetWindowThreadProcessId(launcher.window, &processId);
    launcher.process.dwProcessId = processId;
    launcher.process.hProcess =
        OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId);
    return launcher.edit != 0 && launcher.process.hProcess != 0;
}

// Runs the command by name in the launcher and waits for the probe's record.
bool RunThroughTheLauncher(CLauncherUnderTest& launcher, const char* name, const CString& record)
{
    DeleteFileA(record.data);
    return launcher.ShowWithHotKey() && launcher.FocusBoxForKeys() && launcher.Type(name) &&
           launcher.WaitEditText(name) && launcher.Keys("Return") &&
           WaitForFile(record, kSetupWaitMs);
}

struct CommandPathProbe {
    CString commandFile;
    CString expected;
};

bool CommandPathIsSaved(void* context)
{
    const CommandPathProbe* probe = static_cast<const CommandPathProbe*>(context);
    char path[500];
    GetPrivateProfileStringA("journeyprobe", "PATH", "", path, sizeof(path),
                             probe->commandFile.data);
    return lstrcmpA(path, probe->expected.data) == 0;
}

class SuiteJourney : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(0);
        CleanInstallationTraces();
    }

    void TearDown() override
    {
        CleanInstallationTraces();
        CoUninitialize();
    }
};

}  // namespace

TEST_F(SuiteJourney, InstallUseRegisterAndUninstall)
{
    CSetupPackage package;
    package.folder = EnvironmentText("QUELT_JOURNEY_PACKAGE");
    ASSERT_FALSE(package.folder.IsEmpty()) << "QUELT_JOURNEY_PACKAGE names no package";
    package.setupPath = package.folder + "setup.exe";
    package.payload = package.folder + "quelt_\\";
    package.withPinlet = true;

    // The probe that both commands start. The launcher that setup starts is
    // the desktop's child and inherits nothing from setup: the name of the
    // probe's record reaches it as an [Alias] of the package's profile.
    const CString work = MakeScratchFolder("journey work");
    const CString probe = work + "journeyprobe.exe";
    ASSERT_TRUE(CopyFileA((Zint_Std::ModuleFolder(0) + "launch_probe.exe").data, probe.data,
                          FALSE));
    const CString record = work + "probe-record.txt";
    ASSERT_TRUE(WritePrivateProfileStringA("Alias", "QUELT_PROBE_OUT", record.data,
                                           (package.payload + "quelt_.ini").data));
    WritePrivateProfileStringA(0, 0, 0, (package.payload + "quelt_.ini").data);

    // Install for all users, with start-up and the SendTo shortcut, and
    // start the launcher at the end.
    InstallChoice choice;
    choice.folder = TestInstallFolder("journey");
    choice.sendTo = 1;
    const CString& folder = choice.folder;
    {
        CSetupRun run;
        ASSERT_TRUE(run.Start(package.setupPath, ""));
        ASSERT_TRUE(RunInstallDialog(run, choice, "journey_install_dialog"));
        ASSERT_TRUE(AnswerFinalQuestion(run, IDYES, 0, 0));
        ASSERT_TRUE(run.WaitEnded());
    }
    ExpectProgramFiles(folder, true);
    ExpectExists(folder + "quelt_.chm");
    ExpectExists(folder + "omake\\Purgel.ini");
    ExpectExists(folder + "omake\\desktop.scf");
    ExpectPackageRemoved(package);
    const CString sendTo = SpecialFolder(CSIDL_SENDTO) + "Queltに登録.lnk";
    ASSERT_TRUE(WaitForFile(sendTo, kSetupWaitMs)) << "Pinlet -a wrote no SendTo shortcut";
    ExpectShortcut(sendTo, folder + "Pinlet.exe", "", folder);
    EXPECT_NE((HWND)0, WaitForNotepad("readme"));
    CloseNotepads();

    // The installed launcher, with the command file made from cmd_org.txt.
    ASSERT_TRUE(WaitUntil(LauncherRuns, 0));
    CLauncherUnderTest launcher;
    ASSERT_TRUE(AttachToRunningLauncher(launcher));
    ASSERT_TRUE(launcher.WaitUntilHotKeyHeld(MOD_ALT, '1'));
    ASSERT_TRUE(WaitForFile(folder + "quelt_cmd.txt", kSetupWaitMs));

    // The file sent to "Queltに登録" opens the new-command dialog with it.
    {
        CSetupRun pinlet;
        CString quoted;
        quoted.Format("\"%s\"", probe.data);
        ASSERT_TRUE(pinlet.Start(folder + "Pinlet.exe", quoted.data));
        CDialogUnderTest dialog;
        ASSERT_TRUE(dialog.WaitFor(launcher.process.dwProcessId, "新しいコマンド"));
        EXPECT_STREQ("journeyprobe", dialog.Text(IDC_COMMAND_NAME).data);
        TakeSettledScreenshot(dialog.dialog, "journey_new_command");
        ASSERT_TRUE(dialog.Click(IDOK));
        ASSERT_TRUE(dialog.WaitClosed());
        ASSERT_TRUE(pinlet.WaitEnded());
        DWORD exitCode = 1;
        GetExitCodeProcess(pinlet.process.hProcess, &exitCode);
        EXPECT_EQ(0u, exitCode);
    }
    // The folder holds a blank, so the command quotes the file.
    CString quotedProbe;
    quotedProbe.Format("\"%s\"", probe.data);
    CommandPathProbe saved = {folder + "quelt_cmd.txt", quotedProbe};
    EXPECT_TRUE(WaitUntil(CommandPathIsSaved, &saved))
        << "quelt_cmd.txt holds no [journeyprobe] with the quoted PATH";

    // The launcher reloaded its list: the new command runs by its name.
    ASSERT_TRUE(RunThroughTheLauncher(launcher, "journeyprobe", record));
    ASSERT_TRUE(launcher.Quit());

    // setup.exe -U, with the settings files: nothing of the suite stays.
    {
        CSetupRun run;
        ASSERT_TRUE(run.Start(folder + "setup.exe", "-U"));
        CDialogUnderTest dialog;
        ASSERT_TRUE(dialog.WaitFor(run.process.dwProcessId, "Queltのアンインストール"));
        ASSERT_TRUE(dialog.SetChecked(1005, true));
        ASSERT_TRUE(dialog.Click(IDOK));
        ASSERT_TRUE(run.WaitEnded());
    }
    HWND done = WaitForAnyDialog("Quelt", "アンインストールが終了");
    ASSERT_NE((HWND)0, done);
    ASSERT_TRUE(CDialogUnderTest::Answer(done, IDOK));
    EXPECT_TRUE(WaitForNoTempFiles(kUninstallCopyPattern));
    EXPECT_TRUE(WaitForPathGone(folder)) << "the install folder stayed";
    ExpectMissing(sendTo);
    ExpectMissing(SpecialFolder(CSIDL_COMMON_PROGRAMS) + "Quelt\\");
    ExpectMissing(SpecialFolder(CSIDL_COMMON_STARTUP) + "Quelt.lnk");
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kSettingsKeyPath));
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKeyPath));
}
