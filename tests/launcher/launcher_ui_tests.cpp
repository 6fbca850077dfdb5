// The real launcher in the test desktop, used the way a person uses it: the
// hotkey, typed keys, Tab, the arrows, Enter and Esc through the X keyboard;
// the tray icon's notifications and the menu commands as window messages.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>
#include <string.h>

#include "launcher/ui_driver.h"
#include "support/files.h"
#include "test_paths.h"

using Zint_Std::CString;

namespace {

const UINT kTrayNotify = WM_USER + 0x41B;
const UINT kTrayIconId = 93657;
const char kHotKeyFailed[] = "ホットキーの登録に失敗しました !\n設定を変更してください.";

CString Commands(const CString& workFolder)
{
    CString probe = Zint_Std::ModuleFolder(0) + "launch_probe.exe";
    CString text;
    text.Format("[netstat]\r\nPATH=netstat.exe\r\nCOMMENT=接続\r\n"
                "[notebook]\r\nPATH=notebook.exe\r\nCOMMENT=ノート\r\n"
                "[notepad]\r\nPATH=notepad.exe\r\nCOMMENT=メモ帳\r\n"
                "[nslookup]\r\nPATH=nslookup.exe\r\n"
                "[probe]\r\nPATH=\"%s\" $1 $2\r\nFOLDER=%s\r\nCOMMENT=記録\r\n",
                probe.data, workFolder.data);
    return text;
}

struct ProfileValues {
    int key;
    int history;
    int toolTip;
    int taskTray;
    int width;
    int height;
};

const ProfileValues kDefaults = {49, 10, 1, 1, 265, 43};

CString Profile(const ProfileValues& values)
{
    CString text;
    text.Format("[HotKey]\r\nALT=1\r\nKey=%d\r\n[QUELT]\r\nHistory=%d\r\nToolTip=%d\r\n"
                "TaskTray=%d\r\nImeCtrl=2\r\nWndWidth=%d\r\nWndHeight=%d\r\n",
                values.key, values.history, values.toolTip, values.taskTray, values.width,
                values.height);
    return text;
}

// Whether the shell holds the launcher's tray icon: only an existing icon
// can be modified.
bool TrayIconPresentNow(HWND window)
{
    NOTIFYICONDATAA data;
    memset(&data, 0, sizeof(data));
    data.cbSize = 88;
    data.hWnd = window;
    data.uID = kTrayIconId;
    data.uFlags = NIF_TIP;
    lstrcpynA(data.szTip, "Quelt", sizeof(data.szTip));
    return Shell_NotifyIconA(NIM_MODIFY, &data) != 0;
}

bool IconFound(void* window)
{
    return TrayIconPresentNow(static_cast<HWND>(window));
}

bool IconGone(void* window)
{
    return !TrayIconPresentNow(static_cast<HWND>(window));
}

// The shell answers for the icon in its own time.
bool TrayIconPresent(HWND window)
{
    return WaitUntil(IconFound, window, 5000);
}

bool TrayIconGone(HWND window)
{
    return WaitUntil(IconGone, window, 5000);
}

COLORREF ScreenPixel(const int& x, const int& y)
{
    HDC screen = GetDC(0);
    COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(0, screen);
    return colour;
}

class LauncherUiTest : public ::testing::Test {
protected:
    CLauncherUnderTest launcher;
    CString work;

    void SetUp() override
    {
        work = MakeScratchFolder("launcher-ui-work");
        SetEnvironmentVariableA("QUELT_PROBE_OUT", (work + "probe.txt").data);
    }
    void TearDown() override
    {
        SetEnvironmentVariableA("QUELT_PROBE_OUT", 0);
        RemoveScratchFolder(work);
    }

    void StartWith(const ProfileValues& values)
    {
        ASSERT_TRUE(launcher.Start(Commands(work).data, Profile(values).data));
        ASSERT_TRUE(launcher.WaitUntilHotKeyHeld(MOD_ALT, values.key));
    }
    void Show()
    {
        ASSERT_TRUE(launcher.ShowWithHotKey());
    }
    void ExpectText(const char* text)
    {
        EXPECT_TRUE(launcher.WaitEditText(text)) << "the box holds '" << launcher.EditText().data
                                                 << "', expected '" << text << "'";
    }
    void ExpectCaret(const int& position)
    {
        int start = -1, end = -1;
        launcher.Selection(start, end);
        EXPECT_EQ(position, start);
        EXPECT_EQ(position, end);
    }
    // Submits a line that names no command: the box comes back, empty.
    void SubmitUnknown(const char* line)
    {
        ASSERT_TRUE(launcher.Type(line));
        ASSERT_TRUE(launcher.WaitEditText(line));
        ASSERT_TRUE(launcher.Keys("Return"));
        ASSERT_TRUE(launcher.WaitEditText(""));
        ASSERT_TRUE(launcher.WaitShownWithFocus());
    }
    void Reload(const ProfileValues& values)
    {
        ASSERT_TRUE(WriteTextFile(launcher.folder + "quelt_.ini", Profile(values).data));
        DWORD_PTR ignored = 0;
        ASSERT_TRUE(SendMessageTimeoutA(launcher.window, WM_COMMAND, 40009, 0, SMTO_NORMAL,
                                        kUiTimeoutMs, &ignored));
    }
};

}  // namespace

TEST_F(LauncherUiTest, HotKeyBringsTheEmptyBoxToTheFrontAndEscHidesIt)
{
    ASSERT_NO_FATAL_FAILURE(StartWith(kDefaults));
    EXPECT_FALSE(launcher.IsShown());
    ASSERT_NO_FATAL_FAILURE(Show());
    EXPECT_TRUE(GetWindowLongA(launcher.window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    ASSERT_TRUE(launcher.Type("abc"));
    ExpectText("abc");

    // The hotkey again while the box shows text: emptied, still in front.
    ASSERT_TRUE(launcher.Keys("alt+1"));
    ExpectText("");
    EXPECT_TRUE(launcher.WaitShownWithFocus());

    ASSERT_TRUE(launcher.Type("xyz"));
    ExpectText("xyz");
    ASSERT_TRUE(launcher.Keys("Escape"));
    EXPECT_TRUE(launcher.WaitHidden());
    ASSERT_NO_FATAL_FAILURE(Show());
    EXPECT_STREQ("", launcher.EditText().data);
}

TEST_F(LauncherUiTest, TabCyclesThroughTheCandidatesBelowTheBox)
{
    ASSERT_NO_FATAL_FAILURE(StartWith(kDefaults));
    ASSERT_NO_FATAL_FAILURE(Show());
    ASSERT_TRUE(launcher.Type("n"));
    ExpectText("n");
    ASSERT_TRUE(launcher.Keys("Tab"));
    HWND list = launcher.ToolTip();
    ASSERT_TRUE(list != 0);
    struct Visible {
        static bool Check(void* window) { return IsWindowVisible(static_cast<HWND>(window)); }
    };
    ASSERT_TRUE(WaitUntil(Visible::Check, list));
    // Nothing in common beyond "n": the text stays, the list shows all four.
    ExpectText("n");
    EXPECT_TRUE(launcher.HasFocusInEdit()) << "the list must not take the focus";

    RECT box, rows;
    GetClientRect(launcher.edit, &box);
    POINT corner = {0, box.bottom};
    ClientToScreen(launcher.edit, &corner);
    GetWindowRect(list, &rows);
    EXPECT_EQ(corner.x, rows.left);
    EXPECT_EQ(corner.y + 2, rows.top);
    const int rowHeight = (rows.bottom - rows.top - 2) / 4;
    EXPECT_EQ(4 * rowHeight + 2, rows.bottom - rows.top);
    EXPECT_TRUE(TakeScreenshot("candidates-shown"));

    ASSERT_TRUE(launcher.Keys("Tab"));
    ExpectText("netstat ");
    ExpectCaret(8);
    ASSERT_TRUE(launcher.Keys("Tab"));
    ExpectText("notebook ");
    ExpectCaret(9);
    EXPECT_TRUE(TakeScreenshot("candidates-second-highlighted"));
    // The second row is highlighted, the others keep the list's colour.
    const int x = rows.right - 3;
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), ScreenPixel(x, rows.top + 1 + rowHeight + rowHeight / 2));
    EXPECT_EQ(GetSysColor(COLOR_INFOBK), ScreenPixel(x, rows.top + 1 + rowHeight / 2));
    EXPECT_EQ(RGB(0, 0, 0), ScreenPixel(rows.left, rows.top + 1));

    ASSERT_TRUE(launcher.Keys("Tab Tab"));
    ExpectText("nslookup ");
    ASSERT_TRUE(launcher.Keys("Tab"));
    ExpectText("netstat ");
    ASSERT_TRUE(launcher.Keys("shift+Tab"));
    ExpectText("nslookup ");
    ASSERT_TRUE(launcher.Keys("shift+Tab"));
    ExpectText("notepad ");

    // Shift+Tab on a fresh list starts at the last row.
    ASSERT_TRUE(launcher.Keys("ctrl+l"));
    ExpectText("");
    EXPECT_FALSE(IsWindowVisible(list));
    ASSERT_TRUE(launcher.Type("no"));
    ASSERT_TRUE(launcher.Keys("Tab"));
    ExpectText("note");
    ASSERT_TRUE(WaitUntil(Visible::Check, list));
    ASSERT_TRUE(launcher.Keys("shift+Tab"));
    ExpectText("notepad ");

    // Typing after the list was shown starts a new completion.
    ASSERT_TRUE(launcher.Keys("ctrl+l"));
    ASSERT_TRUE(launcher.Type("ns"));
    ASSERT_TRUE(launcher.Keys("Tab"));
    ExpectText("nslookup ");
    ExpectCaret(9);
    EXPECT_FALSE(IsWindowVisible(list));

    // The arguments after the caret stay behind the completed name.
    ASSERT_TRUE(launcher.Keys("ctrl+l"));
    ASSERT_TRUE(launcher.Type("pr arg"));
    ASSERT_TRUE(launcher.Keys("Left Left Left Left Tab"));
    ExpectText("probe  arg");
    ExpectCaret(6);
}

TEST_F(LauncherUiTest, EnterStartsTheCommandWithItsArgumentsInItsFolder)
{
    ASSERT_NO_FATAL_FAILURE(StartWith(kDefaults));
    ASSERT_NO_FATAL_FAILURE(Show());
    ASSERT_TRUE(launcher.Type("probe one two"));
    ExpectText("probe one two");
    ASSERT_TRUE(launcher.Keys("Return"));
    ASSERT_TRUE(WaitForFile(work + "probe.txt", kUiTimeoutMs));
    CString record = ReadWholeFile(work + "probe.txt");
    EXPECT_TRUE(strstr(record.data, "args=one two\n")) << record.data;
    CString folder(work);
    folder.Delete(folder.GetLength() - 1, 1);
    EXPECT_TRUE(strstr(record.data, (CString("cwd=") + folder + "\n").data)) << record.data;
    EXPECT_STREQ("", launcher.EditText().data);
}

TEST_F(LauncherUiTest, AnUnknownNameBringsTheBoxBackEmptyAndIsRemembered)
{
    ASSERT_NO_FATAL_FAILURE(StartWith(kDefaults));
    ASSERT_NO_FATAL_FAILURE(Show());
    SubmitUnknown("nosuch word");
    ASSERT_TRUE(launcher.Keys("Up"));
    ExpectText("nosuch word");
    ExpectCaret(11);

    // Enter on an empty box is remembered too, and shows the box again.
    ASSERT_TRUE(launcher.Keys("ctrl+l Return"));
    ASSERT_TRUE(launcher.WaitShownWithFocus());
    ASSERT_TRUE(launcher.Keys("Up"));
    ExpectText("");
    ASSERT_TRUE(launcher.Keys("Up"));
    ExpectText("nosuch word");
}

TEST_F(LauncherUiTest, HistoryWalksWithinItsLimit)
{
    ProfileValues values = kDefaults;
    values.history = 3;
    ASSERT_NO_FATAL_FAILURE(StartWith(values));
    ASSERT_NO_FATAL_FAILURE(Show());
    // Up with an empty history empties the box.
    ASSERT_TRUE(launcher.Type("typed"));
    ExpectText("typed");
    ASSERT_TRUE(launcher.Keys("Up"));
    ExpectText("");

    SubmitUnknown("l1");
    SubmitUnknown("l2");
    SubmitUnknown("l3");
    SubmitUnknown("l4");
    ASSERT_TRUE(launcher.Keys("Up"));
    ExpectText("l4");
    ASSERT_TRUE(launcher.Keys("Up"));
    ExpectText("l3");
    ASSERT_TRUE(launcher.Keys("ctrl+p"));
    ExpectText("l2");
    ASSERT_TRUE(launcher.Keys("Up"));
    ExpectText("l2");
    ASSERT_TRUE(launcher.Keys("Down"));
    ExpectText("l3");
    ASSERT_TRUE(launcher.Keys("ctrl+n"));
    ExpectText("l4");
    ASSERT_TRUE(launcher.Keys("Down"));
    ExpectText("");

    // Ctrl+L keeps the place in the history; Esc forgets it.
    ASSERT_TRUE(launcher.Keys("Up Up"));
    ExpectText("l3");
    ASSERT_TRUE(launcher.Keys("ctrl+l"));
    ExpectText("");
    ASSERT_TRUE(launcher.Keys("Down"));
    ExpectText("l4");
    ASSERT_TRUE(launcher.Keys("Up Up"));
    ExpectText("l2");
    ASSERT_TRUE(launcher.Keys("Escape"));
    ASSERT_TRUE(launcher.WaitHidden());
    ASSERT_NO_FATAL_FAILURE(Show());
    ASSERT_TRUE(launcher.Keys("Up"));
    ExpectText("l4");
}

TEST_F(LauncherUiTest, CtrlDDeletesOneWholeCharacter)
{
    ASSERT_NO_FATAL_FAILURE(StartWith(kDefaults));
    ASSERT_NO_FATAL_FAILURE(Show());
    ASSERT_TRUE(launcher.Type("ab"));
    ExpectText("ab");
    ASSERT_TRUE(launcher.Keys("ctrl+d"));
    ExpectText("a");
    ExpectCaret(1);

    struct Case {
        const char* text;
        int caret;
        const char* after;
        int caretAfter;
    };
    // ャ is 0x83 0x83: its second byte looks like a first one.
    const Case cases[] = {
        {"aノb", 1, "ab", 1},   // the character at the caret, both bytes
        {"aノb", 0, "ノb", 0},  // a single byte
        {"xノ", 3, "x", 1},     // at the end: the double-byte character before
        {"ャb", 3, "ャ", 2},    // at the end: only the b
        {"ャ", 2, "", 0},
    };
    for (const Case& c : cases) {
        SendMessageA(launcher.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.text));
        SendMessageA(launcher.edit, EM_SETSEL, c.caret, c.caret);
        ASSERT_TRUE(launcher.Keys("ctrl+d"));
        ExpectText(c.after);
        ExpectCaret(c.caretAfter);
    }
    // On an empty box nothing happens and the box stays.
    ASSERT_TRUE(launcher.Keys("ctrl+d a"));
    ExpectText("a");
}

TEST_F(LauncherUiTest, TrayMenuHidesTheBoxAndRunsTheChosenItem)
{
    ASSERT_NO_FATAL_FAILURE(StartWith(kDefaults));
    EXPECT_TRUE(TrayIconPresent(launcher.window));
    ASSERT_NO_FATAL_FAILURE(Show());
    PostMessageA(launcher.window, kTrayNotify, kTrayIconId, WM_RBUTTONDOWN);
    HWND menu = WaitForProcessWindow(launcher.process.dwProcessId, "#32768", 0, true);
    ASSERT_TRUE(menu != 0) << "the popup menu did not appear";
    EXPECT_FALSE(launcher.IsShown());
    EXPECT_TRUE(TakeScreenshot("tray-menu"));
    // From the bottom: exit, then the version box.
    // Hiding the last visible window took the X focus from the desktop.
    ASSERT_TRUE(ActivateTestDesktop());
    ASSERT_TRUE(launcher.Keys("Up Up"));
    TakeScreenshot("tray-menu-up");
    ASSERT_TRUE(launcher.Keys("Return"));
    HWND box = WaitForProcessWindow(launcher.process.dwProcessId, "#32770", "バージョン情報", true);
    ASSERT_TRUE(box != 0);
    EXPECT_STREQ("Quelt Version 0.981", MessageBoxText(box).data);
    PostMessageA(box, WM_COMMAND, IDOK, 0);

    // Other tray messages and other icons change nothing.
    PostMessageA(launcher.window, kTrayNotify, kTrayIconId + 1, WM_RBUTTONDOWN);
    PostMessageA(launcher.window, kTrayNotify, kTrayIconId, WM_LBUTTONDOWN);
    PostMessageA(launcher.window, kTrayNotify, kTrayIconId, WM_RBUTTONDOWN);
    menu = WaitForProcessWindow(launcher.process.dwProcessId, "#32768", 0, true);
    ASSERT_TRUE(menu != 0);
    ASSERT_TRUE(launcher.Keys("Escape"));
    ASSERT_NO_FATAL_FAILURE(Show());
}

TEST_F(LauncherUiTest, MenuCommandsOpenTheFilesInTheirPrograms)
{
    ASSERT_NO_FATAL_FAILURE(StartWith(kDefaults));
    PostMessageA(launcher.window, WM_COMMAND, 40006, 0);
    HWND editor = WaitForVisibleWindowHolding("Notepad", "quelt_cmd");
    if (!editor)
        TakeScreenshot("commands-not-opened");
    ASSERT_TRUE(editor != 0) << "the command file did not open";
    PostMessageA(editor, WM_CLOSE, 0, 0);
    PostMessageA(launcher.window, WM_COMMAND, 40010, 0);
    editor = WaitForVisibleWindowHolding("Notepad", "quelt_");
    if (!editor)
        TakeScreenshot("profile-not-opened");
    ASSERT_TRUE(editor != 0) << "the profile did not open";
    PostMessageA(editor, WM_CLOSE, 0, 0);

    // No help file installed: nothing opens, and the launcher goes on.
    PostMessageA(launcher.window, WM_COMMAND, 40003, 0);
    PostMessageA(launcher.window, WM_COMMAND, 40004, 0);
    HWND box = WaitForProcessWindow(launcher.process.dwProcessId, "#32770", 0, true);
    ASSERT_TRUE(box != 0);
    CString caption = WindowText(box);
    EXPECT_STREQ("バージョン情報", caption.data) << "the help request showed a box of its own";
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_NO_FATAL_FAILURE(Show());
}

// Another program coming to the front takes the activation from the box.
TEST_F(LauncherUiTest, AnotherProgramInFrontHidesTheBoxAndTheList)
{
    ASSERT_NO_FATAL_FAILURE(StartWith(kDefaults));
    ASSERT_NO_FATAL_FAILURE(Show());
    ASSERT_NO_FATAL_FAILURE(SubmitUnknown("z1"));
    ASSERT_NO_FATAL_FAILURE(SubmitUnknown("z2"));
    ASSERT_TRUE(launcher.Keys("Up Up"));
    ExpectText("z1");
    ASSERT_TRUE(launcher.Keys("ctrl+l"));
    ASSERT_TRUE(launcher.Type("n"));
    ASSERT_TRUE(launcher.Keys("Tab"));
    struct Shown {
        static bool Check(void* l) { return static_cast<CLauncherUnderTest*>(l)->ToolTipShown(); }
    };
    ASSERT_TRUE(WaitUntil(Shown::Check, &launcher));

    STARTUPINFOA startup;
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION other;
    char line[] = "notepad.exe";
    ASSERT_TRUE(CreateProcessA(0, line, 0, 0, FALSE, 0, 0, 0, &startup, &other));
    EXPECT_TRUE(WaitForProcessWindow(other.dwProcessId, "Notepad", 0, true) != 0);
    EXPECT_TRUE(launcher.WaitHidden());
    EXPECT_FALSE(launcher.ToolTipShown());
    TerminateProcess(other.hProcess, 0);
    WaitForSingleObject(other.hProcess, kUiTimeoutMs);
    CloseHandle(other.hProcess);
    CloseHandle(other.hThread);

    // The place in the history went back to the newest with the hide.
    ASSERT_NO_FATAL_FAILURE(Show());
    ASSERT_TRUE(launcher.Keys("Up"));
    ExpectText("z2");
}

TEST_F(LauncherUiTest, SettingsReloadAppliesEverySettingAtOnce)
{
    ASSERT_NO_FATAL_FAILURE(StartWith(kDefaults));
    ASSERT_NO_FATAL_FAILURE(Show());
    SubmitUnknown("h1");
    SubmitUnknown("h2");
    SubmitUnknown("h3");
    SubmitUnknown("h4");
    SubmitUnknown("h5");
    ASSERT_TRUE(launcher.HasFocusInEdit());

    ProfileValues changed = {50, 3, 0, 0, 400, 60};
    Reload(changed);
    // The box was in use: it comes back, with the new size.
    ASSERT_TRUE(launcher.WaitShownWithFocus());
    RECT frame, client, box;
    GetWindowRect(launcher.window, &frame);
    EXPECT_EQ(400, frame.right - frame.left);
    EXPECT_EQ(60, frame.bottom - frame.top);
    GetClientRect(launcher.window, &client);
    GetClientRect(launcher.edit, &box);
    EXPECT_EQ(client.right - 4, box.right);
    EXPECT_EQ(client.bottom - 4, box.bottom);

    EXPECT_FALSE(HotKeyHeldElsewhere(MOD_ALT, '1')) << "the old hotkey is still held";
    EXPECT_TRUE(HotKeyHeldElsewhere(MOD_ALT, '2'));
    EXPECT_TRUE(launcher.ToolTip() == 0) << "the list window stays without ToolTip";
    EXPECT_TRUE(TrayIconGone(launcher.window));

    ASSERT_TRUE(launcher.Keys("Escape"));
    ASSERT_TRUE(launcher.WaitHidden());
    ASSERT_TRUE(launcher.ShowWithHotKey("alt+2"));
    ASSERT_TRUE(launcher.Keys("Up Up Up Up"));
    ExpectText("h3");
    ASSERT_TRUE(launcher.Keys("Down Down"));
    ExpectText("h5");
    // Without the list only the common part is completed.
    ASSERT_TRUE(launcher.Keys("ctrl+l"));
    ASSERT_TRUE(launcher.Type("not"));
    ASSERT_TRUE(launcher.Keys("Tab"));
    ExpectText("note");
    ASSERT_TRUE(launcher.Keys("Tab"));
    ExpectText("note");

    // Back on: the list works again and the icon returns.
    ASSERT_TRUE(launcher.Keys("Escape"));
    ASSERT_TRUE(launcher.WaitHidden());
    Reload(kDefaults);
    EXPECT_FALSE(launcher.IsShown()) << "a hidden box stays hidden";
    EXPECT_TRUE(TrayIconPresent(launcher.window));
    EXPECT_TRUE(launcher.ToolTip() != 0);
    ASSERT_NO_FATAL_FAILURE(Show());
    ASSERT_TRUE(launcher.Type("not"));
    ASSERT_TRUE(launcher.Keys("Tab Tab"));
    ExpectText("notebook ");
    EXPECT_TRUE(launcher.ToolTipShown());
    GetWindowRect(launcher.window, &frame);
    EXPECT_EQ(265, frame.right - frame.left);
}

TEST_F(LauncherUiTest, HotKeyHeldElsewhereIsReportedAtStartAndOnReload)
{
    ASSERT_TRUE(RegisterHotKey(0, 0x4242, MOD_ALT, '1'));
    ASSERT_TRUE(launcher.Start(Commands(work).data, Profile(kDefaults).data));
    HWND box = WaitForProcessWindow(launcher.process.dwProcessId, "#32770", "ERROR", true);
    ASSERT_TRUE(box != 0);
    EXPECT_STREQ(kHotKeyFailed, MessageBoxText(box).data);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([](void* b) { return !IsWindow(static_cast<HWND>(b)); }, box));

    PostMessageA(launcher.window, WM_COMMAND, 40009, 0);
    box = WaitForProcessWindow(launcher.process.dwProcessId, "#32770", "ERROR", true);
    ASSERT_TRUE(box != 0);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([](void* b) { return !IsWindow(static_cast<HWND>(b)); }, box));

    // The tray menu still reaches the launcher.
    PostMessageA(launcher.window, kTrayNotify, kTrayIconId, WM_RBUTTONDOWN);
    ASSERT_TRUE(WaitForProcessWindow(launcher.process.dwProcessId, "#32768", 0, true) != 0);
    ASSERT_TRUE(ActivateTestDesktop());
    ASSERT_TRUE(launcher.Keys("Escape"));
    UnregisterHotKey(0, 0x4242);
}
