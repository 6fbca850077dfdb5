// The pictures of the suite for its README: the real programs, started from
// bin\ beside this program in the test desktop, each shown in a typical
// state and photographed, cropped to the windows of interest. Run by
// scripts/make-screenshots.sh, which names the folder of the pictures (a
// Unix path) in QUELT_SHOTS; not part of the test suite.
#include <gtest/gtest.h>

#include <windows.h>
#include <stdlib.h>

#include "editor/editor_driver.h"
#include "editor/editor_ids.h"
#include "launcher/launcher_ids.h"
#include "launcher/ui_driver.h"
#include "setup/setup_driver.h"
#include "support/files.h"
#include "test_paths.h"

using Zint_Std::CString;

namespace {

const UINT kTrayNotify = WM_USER + 0x41B;
const UINT kTrayIconId = 93657;

const char kProfile[] = "[HotKey]\r\nALT=1\r\nKey=49\r\n[QUELT]\r\nHistory=10\r\nToolTip=1\r\n"
                        "TaskTray=1\r\nImeCtrl=2\r\nWndWidth=265\r\nWndHeight=43\r\n"
                        "[Alias]\r\nTOOLS=C:\\Tools\r\nMEMO=C:\\users\\Public\\Documents\\memo\r\n";
const char kCommands[] = "; Quelt のコマンド\r\n"
                         "[notepad]\r\nPATH=notepad.exe\r\nCOMMENT=メモ帳\r\n"
                         "[netstat]\r\nPATH=netstat.exe -an\r\nCOMMENT=接続の一覧\r\n"
                         "[notebook]\r\nPATH=%MEMO%\\notebook.txt\r\nCOMMENT=覚え書き\r\n"
                         "[nslookup]\r\nPATH=cmd.exe /k nslookup $1\r\nCOMMENT=名前を引く\r\n"
                         "[calc]\r\nPATH=calc.exe\r\nCOMMENT=電卓\r\n"
                         "[web]\r\nPATH=\"C:\\Program Files\\Browser\\browser.exe\" "
                         "https://www.example.com/search?q=$1\r\n"
                         "FOLDER=C:\\Program Files\\Browser\r\nCOMMENT=Web を検索\r\n"
                         "[tools]\r\nPATH=%TOOLS%\\\r\nCOMMENT=道具のフォルダ\r\n";

// Draws the window and its items now and lets its thread answer a message,
// so that the picture shows it complete.
void Settle(HWND window)
{
    RedrawWindow(window, 0, 0, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    for (int i = 0; i < 3; ++i) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
        UpdateWindow(window);
    }
}

// A picture of the desktop area that the windows cover, with a
// margin, as name.png in the folder QUELT_SHOTS names.
bool Shoot(const char* name, HWND first, HWND second = 0)
{
    const char* folder = getenv("QUELT_SHOTS");
    if (!folder || !*folder) {
        printf("QUELT_SHOTS names no folder\n");
        return false;
    }
    HWND windows[] = {first, second};
    RECT area;
    SetRectEmpty(&area);
    for (HWND window : windows) {
        if (!window)
            continue;
        Settle(window);
        RECT rect;
        if (!GetWindowRect(window, &rect))
            return false;
        UnionRect(&area, &area, &rect);
    }
    const int margin = 8;
    InflateRect(&area, margin, margin);
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    IntersectRect(&area, &area, &desktop);
    if (IsRectEmpty(&area))
        return false;
    // The coordinates are those of the Wine desktop's own X window.
    CString command;
    command.Format("import -window $(xdotool search --name 'Wine desktop' | head -n 1) "
                   "-crop %ldx%ld+%ld+%ld +repage -strip '%s/%s.png'",
                   area.right - area.left, area.bottom - area.top, area.left, area.top, folder,
                   name);
    const bool taken = RunUnixShell(command.data);
    printf("%s: %ldx%ld at %ld,%ld%s\n", name, area.right - area.left, area.bottom - area.top,
           area.left, area.top, taken ? "" : " FAILED");
    fflush(stdout);
    return taken;
}

bool Visible(void* window)
{
    return IsWindowVisible(static_cast<HWND>(window)) != FALSE;
}

bool Gone(void* window)
{
    return !IsWindow(static_cast<HWND>(window)) || !IsWindowVisible(static_cast<HWND>(window));
}

class LauncherTour : public ::testing::Test {
protected:
    CLauncherUnderTest launcher;
    CDialogUnderTest dialog;

    void SetUp() override
    {
        ASSERT_TRUE(launcher.Start(kCommands, kProfile));
        ASSERT_TRUE(launcher.WaitUntilHotKeyHeld(MOD_ALT, '1'));
    }
    void TearDown() override
    {
        if (dialog.IsOpen()) {
            PostMessageA(dialog.dialog, WM_COMMAND, IDCANCEL, 0);
            dialog.WaitClosed();
        }
    }
};

}  // namespace

TEST_F(LauncherTour, InputBoxWithCandidates)
{
    ASSERT_TRUE(launcher.ShowWithHotKey());
    ASSERT_TRUE(launcher.Type("n"));
    ASSERT_TRUE(launcher.WaitEditText("n"));
    ASSERT_TRUE(launcher.Keys("Tab"));
    HWND list = launcher.ToolTip();
    ASSERT_TRUE(list != 0);
    ASSERT_TRUE(WaitUntil(Visible, list));
    ASSERT_TRUE(launcher.Keys("Tab"));
    ASSERT_TRUE(launcher.WaitEditText("netstat "));
    EXPECT_TRUE(Shoot("launcher-candidates", launcher.window, list));
    ASSERT_TRUE(launcher.Keys("Escape"));
    EXPECT_TRUE(launcher.WaitHidden());
}

TEST_F(LauncherTour, TrayMenu)
{
    PostMessageA(launcher.window, kTrayNotify, kTrayIconId, WM_RBUTTONDOWN);
    HWND menu = WaitForProcessWindow(launcher.process.dwProcessId, "#32768", 0, true);
    ASSERT_TRUE(menu != 0) << "the popup menu did not appear";
    EXPECT_TRUE(Shoot("tray-menu", menu));
    ASSERT_TRUE(ActivateTestDesktop());
    ASSERT_TRUE(launcher.Keys("Escape"));
    EXPECT_TRUE(WaitUntil(Gone, menu));
}

TEST_F(LauncherTour, CommandListAndCommandEditor)
{
    ASSERT_TRUE(PostMessageA(launcher.window, WM_COMMAND, MAKEWPARAM(kCmdEditCommands, 0), 0));
    ASSERT_TRUE(dialog.WaitFor(launcher.process.dwProcessId, "コマンドの一覧"));
    ASSERT_TRUE(dialog.WaitRowCount(IDC_LIST_COMMANDS, 7));
    const int row = dialog.FindRow(IDC_LIST_COMMANDS, "web");
    ASSERT_LE(0, row);
    ASSERT_TRUE(dialog.SelectRow(IDC_LIST_COMMANDS, row));
    EXPECT_TRUE(Shoot("command-list", dialog.dialog));

    ASSERT_TRUE(dialog.Click(IDC_LIST_EDIT));
    CDialogUnderTest editor;
    ASSERT_TRUE(editor.WaitFor(launcher.process.dwProcessId, "コマンドの編集"));
    ASSERT_TRUE(editor.SetText(IDC_PREVIEW_ARGUMENTS, "ランチャー"));
    struct Preview {
        static bool Filled(void* context)
        {
            const CString text = static_cast<CDialogUnderTest*>(context)->Text(
                IDC_PREVIEW_PARAMETERS);
            return text.data && strstr(text.data, "ランチャー");
        }
    };
    EXPECT_TRUE(WaitUntil(Preview::Filled, &editor));
    EXPECT_TRUE(Shoot("command-editor", editor.dialog));
    ASSERT_TRUE(editor.Click(IDCANCEL));
    ASSERT_TRUE(editor.WaitClosed());
}

TEST_F(LauncherTour, SettingsEditor)
{
    ASSERT_TRUE(PostMessageA(launcher.window, WM_COMMAND, kCmdEditSettings, 0));
    ASSERT_TRUE(dialog.WaitFor(launcher.process.dwProcessId, "Queltの設定"));
    ASSERT_TRUE(dialog.WaitRowCount(IDC_SETTINGS_ALIASES, 2));
    EXPECT_TRUE(Shoot("settings", dialog.dialog));
}

TEST(SetupTour, InstallDialog)
{
    CSetupPackage package;
    ASSERT_TRUE(package.Build("shots-setup"));
    CSetupRun run;
    ASSERT_TRUE(run.Start(package.setupPath, ""));
    CDialogUnderTest dialog;
    ASSERT_TRUE(dialog.WaitFor(run.process.dwProcessId, "Queltのインストール"));
    // The default folder names this machine's Program Files; a plain one
    // reads better.
    ASSERT_TRUE(dialog.SetText(1000, "C:\\Program Files\\Quelt"));
    EXPECT_TRUE(Shoot("setup-install", dialog.dialog));
    ASSERT_TRUE(dialog.Click(IDCANCEL));
    ASSERT_TRUE(dialog.WaitClosed());
    EXPECT_TRUE(run.WaitEnded());

    // The uninstaller asks only where an installation is recorded: the
    // package's folder is recorded as one for its first dialog, which is
    // cancelled, and the record goes again.
    ASSERT_TRUE(WriteEarlierInstallation(HKEY_LOCAL_MACHINE, "0.981", package.folder));
    CSetupRun uninstall;
    ASSERT_TRUE(uninstall.Start(package.setupPath, "-U"));
    CDialogUnderTest question;
    EXPECT_TRUE(question.WaitFor(uninstall.process.dwProcessId, "Queltのアンインストール"));
    if (question.IsOpen()) {
        EXPECT_TRUE(Shoot("setup-uninstall", question.dialog));
        EXPECT_TRUE(question.Click(IDCANCEL));
        EXPECT_TRUE(question.WaitClosed());
    }
    EXPECT_TRUE(uninstall.WaitEnded());
    CleanInstallationTraces();
}

TEST(PurgelTour, ResultBalloon)
{
    // Every step switched off: Purgel deletes nothing and still reports.
    const CString folder = MakeScratchFolder("shots-purgel");
    const CString temp = folder + "temp\\";
    ASSERT_TRUE(CreateDirectoryA(temp.data, 0));
    ASSERT_TRUE(CopyFileA((Zint_Std::ModuleFolder(0) + "Purgel.exe").data,
                          (folder + "Purgel.exe").data, FALSE));
    ASSERT_TRUE(WriteTextFile(folder + "Purgel.ini",
                              "[DEL_FLAG]\r\nWIN_TEMP_FILE=0\r\nTEMP_FOLDER=0\r\n"
                              "RECENT_FOLDER=0\r\nRECENT_WM_PLAYER=0\r\n"
                              "WINDOWS_UPDATE_FOLDER=0\r\n"));
    char oldTemp[MAX_PATH] = {0}, oldTmp[MAX_PATH] = {0};
    GetEnvironmentVariableA("TEMP", oldTemp, sizeof(oldTemp));
    GetEnvironmentVariableA("TMP", oldTmp, sizeof(oldTmp));
    SetEnvironmentVariableA("TEMP", temp.data);
    SetEnvironmentVariableA("TMP", temp.data);
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    memset(&process, 0, sizeof(process));
    CString program = folder + "Purgel.exe";
    CString line = CString("\"") + program + "\"";
    const BOOL started = CreateProcessA(program.data, line.data, 0, 0, FALSE, 0, 0, folder.data,
                                        &startup, &process);
    SetEnvironmentVariableA("TEMP", oldTemp);
    SetEnvironmentVariableA("TMP", oldTmp);
    ASSERT_TRUE(started);
    HWND balloon = WaitForProcessWindow(process.dwProcessId, "ZINT_TOOLTIP_WND", 0, true);
    EXPECT_TRUE(balloon != 0) << "no balloon";
    if (balloon) {
        EXPECT_TRUE(Shoot("purgel-balloon", balloon));
    }
    if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    RemoveScratchFolder(folder);
}

TEST(DatoraTour, ChangeDialog)
{
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    memset(&process, 0, sizeof(process));
    CString program = Zint_Std::ModuleFolder(0) + "Datora.exe";
    ASSERT_TRUE(CreateProcessA(program.data, 0, 0, 0, FALSE, 0, 0, 0, &startup, &process));
    CDialogUnderTest dialog;
    EXPECT_TRUE(dialog.WaitFor(process.dwProcessId, "ファイル情報一括変更"));
    if (dialog.IsOpen()) {
        // The folder, the time stamp and the read-only attribute chosen.
        EXPECT_TRUE(dialog.SetText(1000, "C:\\users\\Public\\Documents"));
        EXPECT_TRUE(dialog.SetChecked(1004, true));
        EXPECT_TRUE(dialog.SetChecked(1003, true));
        EXPECT_TRUE(dialog.SetChecked(1006, true));
        EXPECT_TRUE(Shoot("datora", dialog.dialog));
        dialog.Click(IDCANCEL);
    }
    if (WaitForSingleObject(process.hProcess, 15000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}
