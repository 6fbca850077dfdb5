// The settings editor opened from the real launcher: what it shows of the
// profile, what OK writes and how the launcher takes it up (hotkey, window
// size, aliases), the hotkey tried before saving, the checks of the input,
// and Cancel.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <string.h>

#include "editor/editor_driver.h"
#include "editor/editor_ids.h"
#include "editor/hotkey_keys.h"
#include "launcher/ui_driver.h"
#include "support/files.h"
#include "test_paths.h"

using Zint_Std::CString;

namespace {

const UINT kOpenSettings = 40002;
const char kCaption[] = "Queltの設定";
const char kAliasCaption[] = "エイリアスの編集";
const char kHotKeyTaken[] =
    "このホットキーはほかのプログラムが使用しています。別の組み合わせを選んでください。";
const char kWriteFailed[] = "設定ファイルに書き込めませんでした。";

// Comments and a key of no one's in every section, to see them kept.
const char kProfile[] =
    "; Quelt の設定\r\n"
    "[HotKey]\r\nALT=1\r\nCtrl=0\r\nShift=0\r\nWin=0\r\nKey=49\r\n"
    "[QUELT]\r\n; 入力\r\nHistory=25\r\nToolTip=0\r\nTaskTray=1\r\nImeCtrl=1\r\n"
    "WndWidth=300\r\nWndHeight=40\r\nSavePosition=0\r\nOwnKey=kept\r\n"
    "[Alias]\r\nTOOLS=C:\\Tools\r\nGREETING=\" hello \"\r\nOLD=gone\r\n";

// The probe is found only through an alias the test adds.
const char kCommands[] =
    "[qset]\r\nPATH=@1400\r\nCOMMENT=設定\r\n"
    "[probe]\r\nPATH=\"%QPROBE%launch_probe.exe\" $1\r\n";

bool Contains(const CString& text, const char* part)
{
    return text.data && strstr(text.data, part) != 0;
}

struct SizeWait {
    HWND window;
    int width;
    int height;
};

bool HasSize(void* context)
{
    SizeWait* wait = static_cast<SizeWait*>(context);
    RECT box;
    return GetWindowRect(wait->window, &box) && box.right - box.left == wait->width &&
           box.bottom - box.top == wait->height;
}

struct HotKeyState {
    UINT modifiers;
    UINT key;
};

bool HotKeyFree(void* context)
{
    HotKeyState* state = static_cast<HotKeyState*>(context);
    return !HotKeyHeldElsewhere(state->modifiers, state->key);
}

class SettingsDialogTest : public ::testing::Test {
protected:
    CLauncherUnderTest launcher;
    CDialogUnderTest dialog;
    CString work;
    CString profile;

    void SetUp() override
    {
        work = MakeScratchFolder("settings-dialog-work");
        SetEnvironmentVariableA("QUELT_PROBE_OUT", (work + "probe.txt").data);
        SetEnvironmentVariableA("QUELT_PROBE_VARS", "QPROBE;GREETING");
    }
    void TearDown() override
    {
        SetEnvironmentVariableA("QUELT_PROBE_OUT", 0);
        SetEnvironmentVariableA("QUELT_PROBE_VARS", 0);
        RemoveScratchFolder(work);
    }

    void StartLauncher()
    {
        ASSERT_TRUE(launcher.Start(kCommands, kProfile));
        ASSERT_TRUE(launcher.WaitUntilHotKeyHeld(MOD_ALT, '1'));
        profile = launcher.folder + "quelt_.ini";
    }
    void OpenFromMenu()
    {
        ASSERT_TRUE(PostMessageA(launcher.window, WM_COMMAND, kOpenSettings, 0));
        ASSERT_TRUE(dialog.WaitFor(launcher.process.dwProcessId, kCaption));
    }
    int ProfileNumber(const char* section, const char* key)
    {
        return static_cast<int>(GetPrivateProfileIntA(section, key, -12345, profile.data));
    }
    CString ProfileText(const char* section, const char* key)
    {
        char value[1024];
        GetPrivateProfileStringA(section, key, "<none>", value, sizeof(value), profile.data);
        return CString(value);
    }
    void SelectKey(const int& code)
    {
        const int index = FindHotKeyChoice(code);
        ASSERT_GE(index, 0);
        ASSERT_TRUE(dialog.SelectComboItem(IDC_SETTINGS_KEY, index));
        ASSERT_STREQ(HotKeyName(code).data,
                     dialog.ComboText(IDC_SETTINGS_KEY, dialog.ComboSelection(IDC_SETTINGS_KEY))
                         .data);
    }
    // OK that is refused: the box says text, the dialog stays.
    void ExpectRefusal(const char* text)
    {
        ASSERT_TRUE(dialog.Click(IDOK));
        HWND box = dialog.WaitForMessageBox("Quelt");
        ASSERT_TRUE(box != 0) << "no message for: " << text;
        EXPECT_TRUE(Contains(MessageBoxLabel(box), text))
            << "the box says: " << MessageBoxLabel(box).data;
        ASSERT_TRUE(CDialogUnderTest::Answer(box, IDOK));
        EXPECT_TRUE(dialog.IsOpen());
    }
    void CancelAndExpectProfileUnchanged()
    {
        ASSERT_TRUE(dialog.Click(IDCANCEL));
        ASSERT_TRUE(dialog.WaitClosed());
        EXPECT_STREQ(kProfile, ReadWholeFile(profile).data);
    }
};

}  // namespace

TEST_F(SettingsDialogTest, OpensFromTheMenuAndTheBuiltInCodeShowingTheProfile)
{
    ASSERT_NO_FATAL_FAILURE(StartLauncher());
    ASSERT_NO_FATAL_FAILURE(OpenFromMenu());

    EXPECT_TRUE(dialog.IsChecked(IDC_SETTINGS_ALT));
    EXPECT_FALSE(dialog.IsChecked(IDC_SETTINGS_CTRL));
    EXPECT_FALSE(dialog.IsChecked(IDC_SETTINGS_SHIFT));
    EXPECT_FALSE(dialog.IsChecked(IDC_SETTINGS_WIN));
    EXPECT_STREQ("1",
                 dialog.ComboText(IDC_SETTINGS_KEY, dialog.ComboSelection(IDC_SETTINGS_KEY)).data);
    EXPECT_STREQ("25", dialog.Text(IDC_SETTINGS_HISTORY).data);
    EXPECT_FALSE(dialog.IsChecked(IDC_SETTINGS_TOOLTIP));
    EXPECT_STREQ("表示のたびに IME をオフにする",
                 dialog.ComboText(IDC_SETTINGS_IME, dialog.ComboSelection(IDC_SETTINGS_IME)).data);
    EXPECT_STREQ("300", dialog.Text(IDC_SETTINGS_WIDTH).data);
    EXPECT_STREQ("40", dialog.Text(IDC_SETTINGS_HEIGHT).data);
    EXPECT_FALSE(dialog.IsChecked(IDC_SETTINGS_SAVE_POSITION));
    EXPECT_TRUE(dialog.IsChecked(IDC_SETTINGS_TASK_TRAY));
    EXPECT_TRUE(dialog.IsChecked(IDC_SETTINGS_CATALOG));
    EXPECT_TRUE(dialog.IsChecked(IDC_SETTINGS_OPEN));
    EXPECT_TRUE(dialog.IsChecked(IDC_SETTINGS_ROMAJI));
    ASSERT_EQ(3, dialog.RowCount(IDC_SETTINGS_ALIASES));
    EXPECT_STREQ("TOOLS", dialog.Cell(IDC_SETTINGS_ALIASES, 0, 0).data);
    EXPECT_STREQ("C:\\Tools", dialog.Cell(IDC_SETTINGS_ALIASES, 0, 1).data);
    EXPECT_STREQ("GREETING", dialog.Cell(IDC_SETTINGS_ALIASES, 1, 0).data);
    EXPECT_STREQ(" hello ", dialog.Cell(IDC_SETTINGS_ALIASES, 1, 1).data);
    EXPECT_STREQ("OLD", dialog.Cell(IDC_SETTINGS_ALIASES, 2, 0).data);
    // Nothing selected yet: nothing to edit or delete.
    EXPECT_FALSE(dialog.IsEnabled(IDC_SETTINGS_ALIAS_EDIT));
    EXPECT_FALSE(dialog.IsEnabled(IDC_SETTINGS_ALIAS_DELETE));
    EXPECT_TRUE(Contains(dialog.Text(IDC_SETTINGS_ALIAS_NOTE),
                         "削除したエイリアスは Quelt を再起動するまで残ります"));
    EXPECT_TRUE(TakeScreenshot("settings_dialog"));
    ASSERT_NO_FATAL_FAILURE(CancelAndExpectProfileUnchanged());

    // The same dialog through a command whose path is the built-in code.
    ASSERT_TRUE(launcher.ShowWithHotKey());
    ASSERT_TRUE(launcher.FocusBoxForKeys());
    ASSERT_TRUE(launcher.Type("qset"));
    ASSERT_TRUE(launcher.WaitEditText("qset"));
    ASSERT_TRUE(launcher.Keys("Return"));
    ASSERT_TRUE(dialog.WaitFor(launcher.process.dwProcessId, kCaption));
    EXPECT_STREQ("25", dialog.Text(IDC_SETTINGS_HISTORY).data);
    ASSERT_NO_FATAL_FAILURE(CancelAndExpectProfileUnchanged());
}

TEST_F(SettingsDialogTest, OkSavesTheChangesAndTheLauncherTakesThemUp)
{
    ASSERT_NO_FATAL_FAILURE(StartLauncher());
    ASSERT_NO_FATAL_FAILURE(OpenFromMenu());
    ASSERT_TRUE(dialog.SetChecked(IDC_SETTINGS_CTRL, true));
    ASSERT_NO_FATAL_FAILURE(SelectKey('Q'));
    ASSERT_TRUE(dialog.SetText(IDC_SETTINGS_HISTORY, "5"));
    ASSERT_TRUE(dialog.SetChecked(IDC_SETTINGS_TOOLTIP, true));
    ASSERT_TRUE(dialog.SelectComboItem(IDC_SETTINGS_IME, 2));
    ASSERT_TRUE(dialog.SetText(IDC_SETTINGS_WIDTH, "400"));
    ASSERT_TRUE(dialog.SetText(IDC_SETTINGS_HEIGHT, "60"));
    ASSERT_TRUE(dialog.SetChecked(IDC_SETTINGS_SAVE_POSITION, true));
    ASSERT_TRUE(dialog.SetChecked(IDC_SETTINGS_CATALOG, false));
    ASSERT_TRUE(dialog.SetChecked(IDC_SETTINGS_OPEN, false));
    ASSERT_TRUE(dialog.SetChecked(IDC_SETTINGS_ROMAJI, false));
    ASSERT_TRUE(dialog.Click(IDOK));
    ASSERT_TRUE(dialog.WaitClosed());

    EXPECT_EQ(1, ProfileNumber("HotKey", "ALT"));
    EXPECT_EQ(1, ProfileNumber("HotKey", "Ctrl"));
    EXPECT_EQ(81, ProfileNumber("HotKey", "Key"));
    EXPECT_EQ(5, ProfileNumber("QUELT", "History"));
    EXPECT_EQ(1, ProfileNumber("QUELT", "ToolTip"));
    EXPECT_EQ(0, ProfileNumber("QUELT", "ImeCtrl"));
    EXPECT_EQ(400, ProfileNumber("QUELT", "WndWidth"));
    EXPECT_EQ(60, ProfileNumber("QUELT", "WndHeight"));
    EXPECT_EQ(1, ProfileNumber("QUELT", "SavePosition"));
    EXPECT_EQ(1, ProfileNumber("QUELT", "TaskTray"));
    EXPECT_EQ(0, ProfileNumber("QUELT", "Catalog"));
    EXPECT_EQ(0, ProfileNumber("QUELT", "Open"));
    EXPECT_EQ(0, ProfileNumber("QUELT", "Romaji"));
    CString text = ReadWholeFile(profile);
    EXPECT_TRUE(Contains(text, "; Quelt の設定\r\n[HotKey]\r\nALT=1\r\nCtrl=1\r\n")) << text.data;
    EXPECT_TRUE(Contains(text, "; 入力\r\n")) << text.data;
    EXPECT_TRUE(Contains(text, "OwnKey=kept\r\n")) << text.data;
    EXPECT_TRUE(Contains(text, "GREETING=\" hello \"\r\n")) << text.data;

    // The candidate window is made after the hotkey is registered again:
    // once it is there, the reload is through.
    struct ToolTipMade {
        static bool Check(void* launcher)
        {
            return static_cast<CLauncherUnderTest*>(launcher)->ToolTip() != 0;
        }
    };
    ASSERT_TRUE(WaitUntil(ToolTipMade::Check, &launcher));
    SizeWait size = {launcher.window, 400, 60};
    EXPECT_TRUE(WaitUntil(HasSize, &size));
    EXPECT_TRUE(HotKeyHeldElsewhere(MOD_CONTROL | MOD_ALT, 'Q'));
    HotKeyState old = {MOD_ALT, '1'};
    EXPECT_TRUE(WaitUntil(HotKeyFree, &old));
    ASSERT_TRUE(launcher.ShowWithHotKey("ctrl+alt+q"));
    EXPECT_TRUE(launcher.Keys("Escape"));
    EXPECT_TRUE(launcher.WaitHidden());
}

TEST_F(SettingsDialogTest, AHotKeyHeldElsewhereIsRefusedAndCancelWritesNothing)
{
    const int otherId = 0x3A3A;
    ASSERT_TRUE(RegisterHotKey(0, otherId, MOD_CONTROL | MOD_ALT, 'W'));
    ASSERT_NO_FATAL_FAILURE(StartLauncher());
    ASSERT_NO_FATAL_FAILURE(OpenFromMenu());
    ASSERT_TRUE(dialog.SetChecked(IDC_SETTINGS_CTRL, true));
    ASSERT_NO_FATAL_FAILURE(SelectKey('W'));
    ASSERT_TRUE(dialog.SetText(IDC_SETTINGS_HISTORY, "7"));
    ASSERT_TRUE(dialog.SetText(IDC_SETTINGS_WIDTH, "500"));
    ASSERT_NO_FATAL_FAILURE(ExpectRefusal(kHotKeyTaken));
    EXPECT_STREQ(kProfile, ReadWholeFile(profile).data);
    // The try gave the launcher its own combination back.
    EXPECT_TRUE(HotKeyHeldElsewhere(MOD_ALT, '1'));
    ASSERT_NO_FATAL_FAILURE(CancelAndExpectProfileUnchanged());
    UnregisterHotKey(0, otherId);

    // The old hotkey still shows the box, and the size stayed.
    ASSERT_TRUE(launcher.ShowWithHotKey());
    RECT box;
    ASSERT_TRUE(GetWindowRect(launcher.window, &box));
    EXPECT_EQ(300, box.right - box.left);
    EXPECT_TRUE(launcher.Keys("Escape"));
    EXPECT_TRUE(launcher.WaitHidden());
}

TEST_F(SettingsDialogTest, TheHotKeyTryLeavesTheLaunchersRunningOneAlone)
{
    const int otherId = 0x3A3B;
    ASSERT_TRUE(RegisterHotKey(0, otherId, MOD_CONTROL | MOD_ALT, 'W'));
    ASSERT_NO_FATAL_FAILURE(StartLauncher());
    // The file names Alt+2 by now; the launcher still runs with Alt+1.
    ASSERT_TRUE(WritePrivateProfileStringA("HotKey", "Key", "50", profile.data));
    WritePrivateProfileStringA(0, 0, 0, profile.data);
    ASSERT_NO_FATAL_FAILURE(OpenFromMenu());
    ASSERT_TRUE(dialog.SetChecked(IDC_SETTINGS_CTRL, true));
    ASSERT_NO_FATAL_FAILURE(SelectKey('W'));
    ASSERT_NO_FATAL_FAILURE(ExpectRefusal(kHotKeyTaken));
    EXPECT_TRUE(HotKeyHeldElsewhere(MOD_ALT, '1'));
    EXPECT_FALSE(HotKeyHeldElsewhere(MOD_ALT, '2'));
    ASSERT_TRUE(dialog.Click(IDCANCEL));
    ASSERT_TRUE(dialog.WaitClosed());
    UnregisterHotKey(0, otherId);
}

TEST_F(SettingsDialogTest, ValuesWrittenByHandOutsideTheRangeStayUnlessTheUserChangesThem)
{
    const char handWritten[] = "[QUELT]\r\nHistory=-1\r\nWndWidth=20\r\nToolTip=0\r\n";
    ASSERT_TRUE(launcher.Start(kCommands, handWritten));
    ASSERT_TRUE(launcher.WaitUntilHotKeyHeld(MOD_ALT, '1'));
    profile = launcher.folder + "quelt_.ini";
    ASSERT_NO_FATAL_FAILURE(OpenFromMenu());
    ASSERT_TRUE(dialog.SetChecked(IDC_SETTINGS_TOOLTIP, true));
    ASSERT_TRUE(dialog.Click(IDOK));
    ASSERT_TRUE(dialog.WaitClosed());
    EXPECT_STREQ("[QUELT]\r\nHistory=-1\r\nWndWidth=20\r\nToolTip=1\r\n",
                 ReadWholeFile(profile).data);
    // Changed, the same field is checked again.
    ASSERT_NO_FATAL_FAILURE(OpenFromMenu());
    ASSERT_TRUE(dialog.SetText(IDC_SETTINGS_HISTORY, "1001"));
    ASSERT_NO_FATAL_FAILURE(ExpectRefusal("履歴の数は 0 から 1000 まで"));
    ASSERT_TRUE(dialog.Click(IDCANCEL));
    ASSERT_TRUE(dialog.WaitClosed());
}

TEST_F(SettingsDialogTest, InputThatTheLauncherCannotUseIsRefused)
{
    ASSERT_NO_FATAL_FAILURE(StartLauncher());
    ASSERT_NO_FATAL_FAILURE(OpenFromMenu());

    ASSERT_TRUE(dialog.SetChecked(IDC_SETTINGS_ALT, false));
    ASSERT_NO_FATAL_FAILURE(ExpectRefusal("修飾キー (Alt, Ctrl, Shift, Win) を 1 つ以上"));
    ASSERT_TRUE(dialog.SetChecked(IDC_SETTINGS_ALT, true));
    ASSERT_TRUE(dialog.SetChecked(IDC_SETTINGS_WIN, true));
    ASSERT_NO_FATAL_FAILURE(ExpectRefusal("Win キーはほかの修飾キーと組み合わせられません"));
    ASSERT_TRUE(dialog.SetChecked(IDC_SETTINGS_WIN, false));

    struct NumberCase {
        int id;
        const char* text;
        const char* message;
        const char* fine;
    } cases[] = {
        {IDC_SETTINGS_HISTORY, "1001", "履歴の数は 0 から 1000 まで", "0"},
        {IDC_SETTINGS_HISTORY, "", "履歴の数は 0 から 1000 まで", "1000"},
        {IDC_SETTINGS_WIDTH, "49", "幅は 50 から 4000 まで", "50"},
        {IDC_SETTINGS_WIDTH, "4001", "幅は 50 から 4000 まで", "4000"},
        {IDC_SETTINGS_HEIGHT, "9", "高さは 10 から 1000 まで", "10"},
        {IDC_SETTINGS_HEIGHT, "1001", "高さは 10 から 1000 まで", "1000"},
    };
    for (const NumberCase& c : cases) {
        ASSERT_TRUE(dialog.SetText(c.id, c.text));
        ASSERT_NO_FATAL_FAILURE(ExpectRefusal(c.message)) << c.text;
        ASSERT_TRUE(dialog.SetText(c.id, c.fine));
    }
    ASSERT_NO_FATAL_FAILURE(CancelAndExpectProfileUnchanged());
}

TEST_F(SettingsDialogTest, AliasesAreAddedEditedAndRemovedAndTheLauncherUsesThem)
{
    ASSERT_NO_FATAL_FAILURE(StartLauncher());
    ASSERT_NO_FATAL_FAILURE(OpenFromMenu());
    const int list = IDC_SETTINGS_ALIASES;

    // A new one, through the checks of the alias dialog.
    ASSERT_TRUE(dialog.Click(IDC_SETTINGS_ALIAS_ADD));
    CDialogUnderTest alias;
    ASSERT_TRUE(alias.WaitFor(launcher.process.dwProcessId, kAliasCaption));
    struct AliasCase {
        const char* name;
        const char* value;
        const char* message;
    } refused[] = {
        {"", "x", "名前を入力してください"},
        {"tools", "x", "同じ名前のエイリアスがすでにあります"},
        {"A=B", "x", "「=」は使えません"},
        {"MY DIR", "x", "空白や制御文字は使えません"},
        {"QPROBE", "", "値を入力してください"},
    };
    for (const AliasCase& c : refused) {
        ASSERT_TRUE(alias.SetText(IDC_ALIAS_NAME, c.name));
        ASSERT_TRUE(alias.SetText(IDC_ALIAS_VALUE, c.value));
        ASSERT_TRUE(alias.Click(IDOK));
        HWND box = alias.WaitForMessageBox("Quelt");
        ASSERT_TRUE(box != 0) << c.name;
        EXPECT_TRUE(Contains(MessageBoxLabel(box), c.message)) << MessageBoxLabel(box).data;
        ASSERT_TRUE(CDialogUnderTest::Answer(box, IDOK));
        EXPECT_TRUE(alias.IsOpen());
    }
    // 512 bytes; double-byte characters count twice.
    CString tooLong;
    for (int i = 0; i < 256; i++)
        tooLong.Append("あ");
    ASSERT_TRUE(alias.SetText(IDC_ALIAS_VALUE, tooLong.data));
    ASSERT_TRUE(alias.Click(IDOK));
    HWND box = alias.WaitForMessageBox("Quelt");
    ASSERT_TRUE(box != 0);
    EXPECT_TRUE(Contains(MessageBoxLabel(box), "511 バイト")) << MessageBoxLabel(box).data;
    EXPECT_TRUE(Contains(MessageBoxLabel(box), "全角文字は 2 バイト"));
    ASSERT_TRUE(CDialogUnderTest::Answer(box, IDOK));

    CString probeFolder = Zint_Std::ModuleFolder(0);
    ASSERT_TRUE(alias.SetText(IDC_ALIAS_NAME, "QPROBE"));
    ASSERT_TRUE(alias.SetText(IDC_ALIAS_VALUE, probeFolder.data));
    EXPECT_TRUE(TakeScreenshot("alias_dialog"));
    ASSERT_TRUE(alias.Click(IDOK));
    ASSERT_TRUE(alias.WaitClosed());
    ASSERT_TRUE(dialog.WaitRowCount(list, 4));
    EXPECT_STREQ("QPROBE", dialog.Cell(list, 3, 0).data);
    EXPECT_STREQ(probeFolder.data, dialog.Cell(list, 3, 1).data);

    // The edit button edits the selected one.
    ASSERT_TRUE(dialog.SelectRow(list, dialog.FindRow(list, "GREETING")));
    EXPECT_TRUE(dialog.IsEnabled(IDC_SETTINGS_ALIAS_EDIT));
    EXPECT_TRUE(dialog.IsEnabled(IDC_SETTINGS_ALIAS_DELETE));
    DWORD_PTR ignored = 0;
    ASSERT_TRUE(SendMessageTimeoutA(dialog.dialog, WM_NEXTDLGCTL,
                                    reinterpret_cast<WPARAM>(dialog.Item(list)), TRUE,
                                    SMTO_NORMAL, kUiTimeoutMs, &ignored));
    ASSERT_TRUE(dialog.Click(IDC_SETTINGS_ALIAS_EDIT));
    CDialogUnderTest edit;
    ASSERT_TRUE(edit.WaitFor(launcher.process.dwProcessId, kAliasCaption));
    EXPECT_STREQ("GREETING", edit.Text(IDC_ALIAS_NAME).data);
    EXPECT_STREQ(" hello ", edit.Text(IDC_ALIAS_VALUE).data);
    ASSERT_TRUE(edit.SetText(IDC_ALIAS_VALUE, "  \"bye\"  "));
    ASSERT_TRUE(edit.Click(IDOK));
    ASSERT_TRUE(edit.WaitClosed());
    EXPECT_STREQ("  \"bye\"  ", dialog.Cell(list, 1, 1).data);

    // A double click on the first row edits that one.
    ASSERT_TRUE(dialog.SelectRow(list, 0));
    HWND header = FindWindowExA(dialog.Item(list), 0, "SysHeader32", 0);
    RECT headerBox = {0, 0, 0, 0};
    if (header)
        GetClientRect(header, &headerBox);
    ASSERT_TRUE(PostMessageA(dialog.Item(list), WM_LBUTTONDBLCLK, MK_LBUTTON,
                             MAKELPARAM(12, headerBox.bottom + 4)));
    CDialogUnderTest first;
    ASSERT_TRUE(first.WaitFor(launcher.process.dwProcessId, kAliasCaption));
    EXPECT_STREQ("TOOLS", first.Text(IDC_ALIAS_NAME).data);
    ASSERT_TRUE(first.SetText(IDC_ALIAS_VALUE, "D:\\Tools"));
    ASSERT_TRUE(first.Click(IDOK));
    ASSERT_TRUE(first.WaitClosed());

    // Enter on the list opens the selected one; Cancel there keeps it.
    ASSERT_TRUE(dialog.SelectRow(list, dialog.FindRow(list, "OLD")));
    ASSERT_TRUE(SendMessageTimeoutA(dialog.dialog, WM_NEXTDLGCTL,
                                    reinterpret_cast<WPARAM>(dialog.Item(list)), TRUE,
                                    SMTO_NORMAL, kUiTimeoutMs, &ignored));
    ASSERT_TRUE(dialog.FocusForKeys());
    ASSERT_TRUE(launcher.Keys("Return"));
    CDialogUnderTest byEnter;
    ASSERT_TRUE(byEnter.WaitFor(launcher.process.dwProcessId, kAliasCaption));
    EXPECT_STREQ("OLD", byEnter.Text(IDC_ALIAS_NAME).data);
    EXPECT_STREQ("gone", byEnter.Text(IDC_ALIAS_VALUE).data);
    ASSERT_TRUE(byEnter.SetText(IDC_ALIAS_VALUE, "changed, then cancelled"));
    ASSERT_TRUE(byEnter.Click(IDCANCEL));
    ASSERT_TRUE(byEnter.WaitClosed());
    EXPECT_TRUE(dialog.IsOpen()) << "Enter on the list must not end the settings dialog";
    EXPECT_STREQ("gone", dialog.Cell(list, dialog.FindRow(list, "OLD"), 1).data);

    ASSERT_TRUE(dialog.Click(IDC_SETTINGS_ALIAS_DELETE));
    ASSERT_TRUE(dialog.WaitRowCount(list, 3));
    EXPECT_EQ(-1, dialog.FindRow(list, "OLD"));

    ASSERT_TRUE(dialog.Click(IDOK));
    ASSERT_TRUE(dialog.WaitClosed());
    EXPECT_STREQ(probeFolder.data, ProfileText("Alias", "QPROBE").data);
    EXPECT_STREQ("  \"bye\"  ", ProfileText("Alias", "GREETING").data);
    EXPECT_STREQ("D:\\Tools", ProfileText("Alias", "TOOLS").data);
    EXPECT_STREQ("<none>", ProfileText("Alias", "OLD").data);
    EXPECT_TRUE(Contains(ReadWholeFile(profile), "OwnKey=kept\r\n"));

    // The reloaded launcher has the new variables: the command finds its
    // program through one and hands both on.
    ASSERT_TRUE(launcher.ShowWithHotKey());
    ASSERT_TRUE(launcher.FocusBoxForKeys());
    ASSERT_TRUE(launcher.Type("probe one"));
    ASSERT_TRUE(launcher.WaitEditText("probe one"));
    ASSERT_TRUE(launcher.Keys("Return"));
    ASSERT_TRUE(WaitForFile(work + "probe.txt", kUiTimeoutMs));
    CString record = ReadWholeFile(work + "probe.txt");
    EXPECT_TRUE(Contains(record, "args=one\n")) << record.data;
    EXPECT_TRUE(Contains(record, (CString("env:QPROBE=") + probeFolder + "\n").data))
        << record.data;
    EXPECT_TRUE(Contains(record, "env:GREETING=  \"bye\"  \n")) << record.data;
}

TEST_F(SettingsDialogTest, AProfileThatCannotBeWrittenIsReported)
{
    ASSERT_NO_FATAL_FAILURE(StartLauncher());
    ASSERT_NO_FATAL_FAILURE(OpenFromMenu());
    // Held open without sharing, as an editor with the file open might.
    HANDLE lock = CreateFileA(profile.data, GENERIC_READ, 0, 0, OPEN_EXISTING, 0, 0);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    ASSERT_TRUE(dialog.SetText(IDC_SETTINGS_HISTORY, "3"));
    ASSERT_NO_FATAL_FAILURE(ExpectRefusal(kWriteFailed));
    CloseHandle(lock);
    ASSERT_NO_FATAL_FAILURE(CancelAndExpectProfileUnchanged());
}
