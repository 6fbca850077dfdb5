// How the launcher opens its editor dialogs: one at a time, the library
// loaded only for a dialog, a warning when it is missing, registration atoms
// consumed exactly once, and nothing freed that another program posted.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include "editor/editor_driver.h"
#include "editor/editor_ids.h"
#include "launcher/ui_driver.h"

using Zint_Std::CString;

namespace {

const UINT kEditCommands = 40001;
const UINT kEditSettings = 40002;
const UINT kRegisterPath = WM_USER + 0x47F;

const char kCommands[] = "[one]\r\nPATH=one.exe\r\n";
const char kProfile[] = "[HotKey]\r\nALT=1\r\nKey=49\r\n";

const char kListCaption[] = "コマンドの一覧";
const char kSettingsCaption[] = "Queltの設定";
const char kNewCaption[] = "新しいコマンド";

class LauncherEditorTest : public ::testing::Test {
protected:
    CLauncherUnderTest launcher;

    bool StartLauncher()
    {
        return launcher.Start(kCommands, kProfile) && launcher.WaitUntilHotKeyHeld(MOD_ALT, '1');
    }
    // Sent, not posted: it returns once the launcher has handled it, and
    // times out when the handler opened a dialog instead.
    bool HandledAtOnce(const UINT& message, const WPARAM& wParam, const LPARAM& lParam)
    {
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(launcher.window, message, wParam, lParam, SMTO_NORMAL, 5000,
                                   &result) != 0;
    }
    bool Alive() { return WaitForSingleObject(launcher.process.hProcess, 0) == WAIT_TIMEOUT; }
    // The hotkey shows the input box, which then goes away with Escape.
    void ExpectHotKeyWorks()
    {
        ASSERT_TRUE(launcher.ShowWithHotKey());
        // After a dialog has closed Wine may leave the X focus on the
        // desktop, where the Escape would be lost.
        ASSERT_TRUE(launcher.FocusBoxForKeys());
        ASSERT_TRUE(launcher.Keys("Escape"));
        EXPECT_TRUE(launcher.WaitHidden());
    }
};

// The warning the launcher shows for a missing library or entry point.
void ExpectLoadWarning(const DWORD& process)
{
    CDialogUnderTest finder;
    finder.processId = process;
    HWND box = finder.WaitForMessageBox("警告");
    ASSERT_NE(static_cast<HWND>(0), box);
    EXPECT_STREQ("dllのロードに失敗しました.\n", MessageBoxLabel(box).data);
    EXPECT_TRUE(CDialogUnderTest::Answer(box, IDOK));
}

TEST_F(LauncherEditorTest, WithoutTheLibraryEachEditorWarnsAndTheHotKeyStillWorks)
{
    launcher.withEditor = false;
    ASSERT_TRUE(StartLauncher());
    const DWORD process = launcher.process.dwProcessId;

    ASSERT_TRUE(PostMessageA(launcher.window, WM_COMMAND, kEditCommands, 0));
    ExpectLoadWarning(process);
    ASSERT_TRUE(PostMessageA(launcher.window, WM_COMMAND, kEditSettings, 0));
    ExpectLoadWarning(process);

    // The atom is consumed although no dialog follows.
    ATOM atom = GlobalAddAtomA("C:\\quelt-test\\missing-library.txt");
    ASSERT_NE(0, atom);
    ASSERT_TRUE(PostMessageA(launcher.window, kRegisterPath, atom, 0));
    ExpectLoadWarning(process);
    EXPECT_EQ(0, GlobalFindAtomA("C:\\quelt-test\\missing-library.txt"));

    ASSERT_TRUE(Alive());
    ExpectHotKeyWorks();
    // A later try warns again: nothing of the failed load stayed.
    ASSERT_TRUE(PostMessageA(launcher.window, WM_COMMAND, kEditCommands, 0));
    ExpectLoadWarning(process);
    ExpectHotKeyWorks();
}

TEST_F(LauncherEditorTest, ANameThatAnotherProgramPostedIsNeverFreed)
{
    ASSERT_TRUE(StartLauncher());
    // Any program can post the editor command with an arbitrary lParam; the
    // launcher must not take it for a buffer of its own.
    const LPARAM foreign[] = {0x00345678, static_cast<LPARAM>(0x7FFE0000),
                              reinterpret_cast<LPARAM>(launcher.window)};
    for (const LPARAM& value : foreign) {
        ASSERT_TRUE(PostMessageA(launcher.window, WM_COMMAND, MAKEWPARAM(kEditCommands, 1), value));
        CDialogUnderTest dialog;
        ASSERT_TRUE(dialog.WaitFor(launcher.process.dwProcessId, kNewCaption));
        // Opened as without a name.
        EXPECT_STREQ("", dialog.Text(IDC_COMMAND_NAME).data);
        ASSERT_TRUE(dialog.Click(IDCANCEL));
        ASSERT_TRUE(dialog.WaitClosed());
        ASSERT_TRUE(Alive());
    }
    ExpectHotKeyWorks();
}

TEST_F(LauncherEditorTest, WhileOneDialogIsOpenTheOthersAreRefusedAndPathsDropped)
{
    ASSERT_TRUE(StartLauncher());
    ASSERT_TRUE(PostMessageA(launcher.window, WM_COMMAND, kEditCommands, 0));
    CDialogUnderTest list;
    ASSERT_TRUE(list.WaitFor(launcher.process.dwProcessId, kListCaption));
    TakeScreenshot("editor-list-open");

    EXPECT_TRUE(HandledAtOnce(WM_COMMAND, kEditSettings, 0));
    EXPECT_TRUE(HandledAtOnce(WM_COMMAND, MAKEWPARAM(kEditCommands, 1), 0));
    ATOM atom = GlobalAddAtomA("C:\\quelt-test\\dropped path.txt");
    ASSERT_NE(0, atom);
    ASSERT_TRUE(PostMessageA(launcher.window, kRegisterPath, atom, 0));
    // Consumed, and the path is lost: the user is told why, over the list.
    HWND box = list.WaitForMessageBox("Quelt");
    ASSERT_NE(static_cast<HWND>(0), box);
    EXPECT_EQ(list.dialog, GetWindow(box, GW_OWNER));
    EXPECT_STREQ("Quelt のダイアログが開いているため、次のパスを登録できませんでした。\n\n"
                 "C:\\quelt-test\\dropped path.txt\n\nダイアログを閉じてから、もう一度送ってください。",
                 MessageBoxLabel(box).data);
    EXPECT_TRUE(CDialogUnderTest::Answer(box, IDOK));
    EXPECT_EQ(0, GlobalFindAtomA("C:\\quelt-test\\dropped path.txt"));
    CDialogUnderTest other;
    other.processId = launcher.process.dwProcessId;
    EXPECT_EQ(static_cast<HWND>(0), other.WaitForMessageBox(kSettingsCaption, 0));
    EXPECT_EQ(static_cast<HWND>(0), other.WaitForMessageBox(kNewCaption, 0));
    EXPECT_TRUE(list.IsOpen());

    ASSERT_TRUE(list.Click(IDCANCEL));
    ASSERT_TRUE(list.WaitClosed());
    ExpectHotKeyWorks();
    // Once the dialog is closed the next one opens.
    ASSERT_TRUE(PostMessageA(launcher.window, WM_COMMAND, kEditSettings, 0));
    CDialogUnderTest settings;
    ASSERT_TRUE(settings.WaitFor(launcher.process.dwProcessId, kSettingsCaption));
    ASSERT_TRUE(settings.Click(IDCANCEL));
    ASSERT_TRUE(settings.WaitClosed());
}

TEST_F(LauncherEditorTest, ARegisteredPathIsReadOnceAndAtomZeroOpensAnEmptyCommand)
{
    ASSERT_TRUE(StartLauncher());
    ATOM atom = GlobalAddAtomA("C:\\quelt-test\\report.txt");
    ASSERT_NE(0, atom);
    ASSERT_TRUE(PostMessageA(launcher.window, kRegisterPath, atom, 0));
    CDialogUnderTest dialog;
    ASSERT_TRUE(dialog.WaitFor(launcher.process.dwProcessId, kNewCaption));
    EXPECT_EQ(0, GlobalFindAtomA("C:\\quelt-test\\report.txt"));
    EXPECT_STREQ("report", dialog.Text(IDC_COMMAND_NAME).data);
    EXPECT_STREQ("C:\\quelt-test\\report.txt", dialog.Text(IDC_COMMAND_PATH).data);
    ASSERT_TRUE(dialog.Click(IDCANCEL));
    ASSERT_TRUE(dialog.WaitClosed());

    ASSERT_TRUE(PostMessageA(launcher.window, kRegisterPath, 0, 0));
    CDialogUnderTest empty;
    ASSERT_TRUE(empty.WaitFor(launcher.process.dwProcessId, kNewCaption));
    EXPECT_STREQ("", empty.Text(IDC_COMMAND_NAME).data);
    EXPECT_STREQ("", empty.Text(IDC_COMMAND_PATH).data);
    ASSERT_TRUE(empty.Click(IDCANCEL));
    ASSERT_TRUE(empty.WaitClosed());
    ASSERT_TRUE(Alive());
    ExpectHotKeyWorks();
}

}  // namespace

namespace {

const UINT kQuit = 40005;
const UINT kReloadCommands = 40007;
const UINT kReloadSettings = 40009;
const char kHotKeyAtomName[] = "QUELT_APP_WND_CLASS";

// Earlier launchers that were killed leave references to the hotkey atom;
// they are dropped so that a leak of this one shows.
void ForgetLeftoverHotKeyAtom()
{
    for (int i = 0; i < 1000 && GlobalFindAtomA(kHotKeyAtomName); i++)
        GlobalDeleteAtom(GlobalFindAtomA(kHotKeyAtomName));
}

bool Ended(void* process)
{
    return WaitForSingleObject(static_cast<HANDLE>(process), 0) == WAIT_OBJECT_0;
}

}  // namespace

TEST_F(LauncherEditorTest, UnderAnOpenDialogTrayCommandsWaitAndAnEndCancelsTheDialogFirst)
{
    ForgetLeftoverHotKeyAtom();
    ASSERT_TRUE(StartLauncher());
    // Reloads and quit wait for the dialog: no hotkey error box, no end.
    ASSERT_TRUE(PostMessageA(launcher.window, WM_COMMAND, kEditCommands, 0));
    CDialogUnderTest list;
    ASSERT_TRUE(list.WaitFor(launcher.process.dwProcessId, kListCaption));
    for (const UINT& command : {kReloadSettings, kReloadCommands, kQuit})
        EXPECT_TRUE(HandledAtOnce(WM_COMMAND, command, 0)) << command;
    EXPECT_EQ(static_cast<HWND>(0), list.WaitForMessageBox("ERROR", 0));
    EXPECT_TRUE(Alive());
    ASSERT_TRUE(list.Click(IDCANCEL));
    ASSERT_TRUE(list.WaitClosed());
    ExpectHotKeyWorks();
    // Afterwards a reload keeps the hotkey.
    ASSERT_TRUE(HandledAtOnce(WM_COMMAND, kReloadSettings, 0));
    ExpectHotKeyWorks();

    // The session's end, under two nested dialogs: both go, the hotkey and
    // its atom are given back before the process is ended.
    ASSERT_TRUE(PostMessageA(launcher.window, WM_COMMAND, kEditCommands, 0));
    ASSERT_TRUE(list.WaitFor(launcher.process.dwProcessId, kListCaption));
    ASSERT_TRUE(list.Click(IDC_LIST_NEW));
    CDialogUnderTest single;
    ASSERT_TRUE(single.WaitFor(launcher.process.dwProcessId, kNewCaption));
    ASSERT_TRUE(HandledAtOnce(WM_QUERYENDSESSION, 0, 0));
    ASSERT_TRUE(HandledAtOnce(WM_ENDSESSION, TRUE, 0));
    EXPECT_TRUE(single.WaitClosed());
    EXPECT_TRUE(list.WaitClosed());
    EXPECT_FALSE(HotKeyHeldElsewhere(MOD_ALT, '1'));
    // Wine keeps window class names in the same table: the name goes with
    // the process.
    EXPECT_TRUE(WaitUntil(Ended, launcher.process.hProcess));
    EXPECT_EQ(0, GlobalFindAtomA(kHotKeyAtomName));
}

TEST_F(LauncherEditorTest, TheInstallersDestroyUnderADialogReleasesHotKeyAndAtom)
{
    ForgetLeftoverHotKeyAtom();
    ASSERT_TRUE(StartLauncher());
    ASSERT_TRUE(PostMessageA(launcher.window, WM_COMMAND, kEditSettings, 0));
    CDialogUnderTest settings;
    ASSERT_TRUE(settings.WaitFor(launcher.process.dwProcessId, kSettingsCaption));
    // Sent as the installer sends it.
    ASSERT_TRUE(HandledAtOnce(WM_DESTROY, 0, 0));
    EXPECT_TRUE(settings.WaitClosed());
    EXPECT_TRUE(WaitUntil(Ended, launcher.process.hProcess));
    EXPECT_FALSE(HotKeyHeldElsewhere(MOD_ALT, '1'));
    EXPECT_EQ(0, GlobalFindAtomA(kHotKeyAtomName));
}
