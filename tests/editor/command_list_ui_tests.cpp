// The command list opened from the real launcher: the ways it opens, the
// order and the filter of its rows, delete, rename, duplicate and new
// through the single-command editor, what OK and Cancel leave in the
// command file, the keys of the list, and the Start-menu import.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "editor/editor_driver.h"
#include "editor/editor_ids.h"
#include "launcher/launcher_ids.h"
#include "launcher/ui_driver.h"
#include "support/files.h"
#include "support/shortcut.h"
#include "test_paths.h"

using Zint_Std::CString;

namespace {

const char kListCaption[] = "コマンドの一覧";
const char kImportCaption[] = "スタートメニューから取り込み";
const char kNewCaption[] = "新しいコマンド";
const char kEditCaption[] = "コマンドの編集";
const char kProfile[] = "[HotKey]\r\nALT=1\r\nKey=49\r\n[QUELT]\r\nHistory=10\r\nToolTip=1\r\n"
                        "TaskTray=1\r\nImeCtrl=2\r\nWndWidth=265\r\nWndHeight=43\r\n";

// Comments, blank lines, a key the editors do not know, and a command that
// opens this list.
const char kCommands[] = "; Quelt のコマンド\r\n"
                         "[notepad]\r\nPATH=notepad.exe\r\nCOMMENT=メモ帳\r\n"
                         "\r\n"
                         "; 道具\r\n"
                         "[Calc]\r\nPATH=calc.exe\r\nFOLDER=C:\\windows\r\nCOMMENT=電卓\r\n"
                         "X-COLOR=blue\r\n"
                         "\r\n"
                         "[browser]\r\nPATH=\"C:\\Program Files\\Browser\\b.exe\" -new\r\n"
                         "COMMENT=Web を見る\r\n"
                         "\r\n"
                         "[alpha]\r\nPATH=alpha.exe\r\n"
                         "[lister]\r\nPATH=@2100\r\n";

// The command file's text with the lines from the one that starts with
// first up to (not including) the one that starts with next taken out.
std::string WithoutLines(const char* text, const char* first, const char* next)
{
    std::string all(text);
    const size_t from = all.find(first);
    const size_t to = all.find(next, from);
    if (from == std::string::npos || to == std::string::npos)
        return "(lines not found)";
    return all.substr(0, from) + all.substr(to);
}

// The text without its empty lines: Wine's profile writer drops them from
// every file it writes (Windows keeps them), so only the other lines can be
// compared byte for byte.
std::string WithoutBlankLines(const std::string& text)
{
    std::string kept;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find("\r\n", at);
        end = end == std::string::npos ? text.size() : end + 2;
        if (text.compare(at, end - at, "\r\n") != 0)
            kept += text.substr(at, end - at);
        at = end;
    }
    return kept;
}

struct RowCountWait {
    CDialogUnderTest* dialog;
    int id;
    int row;
    bool checked;
};

bool RowCheckedAs(void* context)
{
    RowCountWait* wait = static_cast<RowCountWait*>(context);
    return wait->dialog->IsRowChecked(wait->id, wait->row) == wait->checked;
}

struct CellWait {
    CDialogUnderTest* dialog;
    int id;
    int row;
    const char* text;
};

bool CellHolds(void* context)
{
    CellWait* wait = static_cast<CellWait*>(context);
    return strcmp(wait->dialog->Cell(wait->id, wait->row, 0).Text(), wait->text) == 0;
}

struct ItemTextWait {
    CDialogUnderTest* dialog;
    int id;
    const char* text;
};

bool ItemHolds(void* context)
{
    ItemTextWait* wait = static_cast<ItemTextWait*>(context);
    return strcmp(wait->dialog->Text(wait->id).Text(), wait->text) == 0;
}

// A program path as PATH holds it: quoted when it has a blank.
CString AsPath(const CString& program)
{
    if (!strchr(program.Text(), ' '))
        return program;
    return CString("\"") + program + "\"";
}

bool LabelEditOpen(void* listView)
{
    return SendMessageA(static_cast<HWND>(listView), LVM_GETEDITCONTROL, 0, 0) != 0;
}

bool WindowGone(void* window)
{
    HWND handle = static_cast<HWND>(window);
    return !IsWindow(handle) || !IsWindowVisible(handle);
}

class CommandListUiTest : public ::testing::Test {
protected:
    CLauncherUnderTest launcher;
    CDialogUnderTest list;
    CString commandFile;
    CString before;

    void TearDown() override
    {
        // A dialog left open by a failed check must not hold up the quit;
        // a question about unsaved changes gets its yes.
        for (int attempt = 0; attempt < 3 && list.IsOpen(); attempt++) {
            PostMessageA(list.dialog, WM_COMMAND, IDCANCEL, 0);
            HWND box = list.WaitForMessageBox("Quelt", 2000);
            if (box)
                CDialogUnderTest::Answer(box, IDYES);
            list.WaitClosed();
        }
    }

    void Start(const char* commands = kCommands)
    {
        ASSERT_TRUE(launcher.Start(commands, kProfile));
        ASSERT_TRUE(launcher.WaitUntilHotKeyHeld(MOD_ALT, '1'));
        commandFile = launcher.folder + "quelt_cmd.txt";
        before = ReadWholeFile(commandFile);
    }
    void OpenFromMenu()
    {
        ASSERT_TRUE(PostMessageA(launcher.window, WM_COMMAND, MAKEWPARAM(kCmdEditCommands, 0), 0));
        ASSERT_TRUE(list.WaitFor(launcher.process.dwProcessId, kListCaption));
    }
    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        const int rows = list.RowCount(IDC_LIST_COMMANDS);
        for (int row = 0; row < rows; row++)
            names.push_back(list.Cell(IDC_LIST_COMMANDS, row, 0).Text());
        return names;
    }
    void Select(const char* name)
    {
        const int row = list.FindRow(IDC_LIST_COMMANDS, name);
        ASSERT_GE(row, 0) << name << " is not in the list";
        ASSERT_TRUE(list.SelectRow(IDC_LIST_COMMANDS, row));
    }
    // Delete on the selected row, the question answered.
    void DeleteSelected(const char* name, const int& answer)
    {
        const int rows = list.RowCount(IDC_LIST_COMMANDS);
        ASSERT_TRUE(list.Click(IDC_LIST_DELETE));
        HWND box = list.WaitForMessageBox("Quelt");
        ASSERT_TRUE(box != 0);
        EXPECT_STREQ((std::string("「") + name + "」を削除しますか？").c_str(),
                     MessageBoxLabel(box).Text());
        ASSERT_TRUE(CDialogUnderTest::Answer(box, answer));
        if (answer == IDYES) {
            ASSERT_TRUE(list.WaitRowCount(IDC_LIST_COMMANDS, rows - 1));
        }
    }
    void PressOkAndWaitClosed(CDialogUnderTest& dialog)
    {
        ASSERT_TRUE(dialog.Click(IDOK));
        ASSERT_TRUE(dialog.WaitClosed());
    }
    CString Value(const char* section, const char* key)
    {
        CString value;
        value.Reserve(1024);
        GetPrivateProfileStringA(section, key, "\x01", value.data, 1024, commandFile.data);
        return value;
    }
    bool HasSection(const char* section) { return strcmp(Value(section, "PATH").Text(), "\x01") != 0; }
    CString Backup() { return ReadWholeFile(launcher.folder + "quelt_cmd.txt.bak"); }
    void ExpectFileUntouched()
    {
        EXPECT_STREQ(before.Text(), ReadWholeFile(commandFile).Text());
        EXPECT_FALSE(Zint_Std::PathExists((launcher.folder + "quelt_cmd.txt.bak").data));
    }
    // The launcher read the file again: Tab completes the prefix to the
    // one name it fits, followed by a blank.
    void ExpectCompletes(const char* prefix, const char* name)
    {
        ASSERT_TRUE(launcher.ShowWithHotKey());
        // The last dialog has gone; Wine leaves the X focus on the desktop.
        ASSERT_TRUE(launcher.FocusBoxForKeys());
        ASSERT_TRUE(launcher.Type(prefix));
        ASSERT_TRUE(launcher.WaitEditText(prefix)) << "the box holds " << launcher.EditText().Text();
        ASSERT_TRUE(launcher.Keys("Tab"));
        const std::string completed = std::string(name) + " ";
        EXPECT_TRUE(launcher.WaitEditText(completed.c_str()))
            << "the box holds " << launcher.EditText().Text();
        ASSERT_TRUE(launcher.Keys("Escape"));
        EXPECT_TRUE(launcher.WaitHidden());
    }
    void ExpectStatus(const char* text)
    {
        ItemTextWait wait = {&list, IDC_LIST_STATUS, text};
        EXPECT_TRUE(WaitUntil(ItemHolds, &wait)) << list.Text(IDC_LIST_STATUS).Text();
    }
};

}  // namespace

TEST_F(CommandListUiTest, OpensFromTheMenuTheTrayAndTheBuiltInCodeWithRowsInTheLaunchersOrder)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(OpenFromMenu());
    // The launcher's order: lstrcmpiA over the names.
    std::vector<std::string> expected = {"notepad", "Calc", "browser", "alpha", "lister"};
    std::sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) {
        return lstrcmpiA(a.c_str(), b.c_str()) < 0;
    });
    EXPECT_EQ(expected, Names());
    const int calc = list.FindRow(IDC_LIST_COMMANDS, "Calc");
    ASSERT_GE(calc, 0);
    EXPECT_STREQ("calc.exe", list.Cell(IDC_LIST_COMMANDS, calc, 1).Text());
    EXPECT_STREQ("C:\\windows", list.Cell(IDC_LIST_COMMANDS, calc, 2).Text());
    EXPECT_STREQ("電卓", list.Cell(IDC_LIST_COMMANDS, calc, 3).Text());
    ExpectStatus("5 件のコマンド");
    // The first row starts selected, so that the row buttons work at once.
    EXPECT_EQ(0, list.SelectedRow(IDC_LIST_COMMANDS));
    EXPECT_TRUE(list.IsEnabled(IDC_LIST_EDIT));
    EXPECT_TRUE(list.IsEnabled(IDC_LIST_DUPLICATE));
    EXPECT_TRUE(list.IsEnabled(IDC_LIST_DELETE));
    EXPECT_STREQ("新規(&N)...", list.Text(IDC_LIST_NEW).Text());
    EXPECT_STREQ("スタートメニューから取り込み(&I)...", list.Text(IDC_LIST_IMPORT).Text());
    EXPECT_TRUE(TakeScreenshot("command-list"));
    // Nothing changed: Cancel closes without a question.
    ASSERT_TRUE(list.Click(IDCANCEL));
    ASSERT_TRUE(list.WaitClosed());

    ASSERT_TRUE(PostMessageA(launcher.window, WM_TRAYNOTIFY, TRAY_ICON_ID, WM_LBUTTONDBLCLK));
    ASSERT_TRUE(list.WaitFor(launcher.process.dwProcessId, kListCaption));
    EXPECT_EQ(expected, Names());
    // The close box cancels too.
    ASSERT_TRUE(PostMessageA(list.dialog, WM_CLOSE, 0, 0));
    ASSERT_TRUE(list.WaitClosed());

    ASSERT_TRUE(launcher.ShowWithHotKey());
    ASSERT_TRUE(launcher.FocusBoxForKeys());
    ASSERT_TRUE(launcher.Type("lister"));
    ASSERT_TRUE(launcher.WaitEditText("lister"));
    ASSERT_TRUE(launcher.Keys("Return"));
    ASSERT_TRUE(list.WaitFor(launcher.process.dwProcessId, kListCaption));
    EXPECT_EQ(expected, Names());
    ASSERT_TRUE(list.Click(IDCANCEL));
    ASSERT_TRUE(list.WaitClosed());
    ExpectFileUntouched();
}

TEST_F(CommandListUiTest, TheFilterNarrowsByNamePathAndComment)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(OpenFromMenu());
    ASSERT_TRUE(list.SetText(IDC_LIST_FILTER, "CALC"));
    EXPECT_EQ(std::vector<std::string>{"Calc"}, Names());
    ExpectStatus("5 件のコマンド（絞り込み中：1 件）");
    EXPECT_EQ(0, list.SelectedRow(IDC_LIST_COMMANDS));
    // The comment, in double-byte text.
    ASSERT_TRUE(list.SetText(IDC_LIST_FILTER, "メモ"));
    EXPECT_EQ(std::vector<std::string>{"notepad"}, Names());
    // The path: the quoted program of browser and the built-in code.
    ASSERT_TRUE(list.SetText(IDC_LIST_FILTER, "program files"));
    EXPECT_EQ(std::vector<std::string>{"browser"}, Names());
    ASSERT_TRUE(list.SetText(IDC_LIST_FILTER, "@21"));
    EXPECT_EQ(std::vector<std::string>{"lister"}, Names());
    ASSERT_TRUE(list.SetText(IDC_LIST_FILTER, ".exe"));
    EXPECT_EQ(4, list.RowCount(IDC_LIST_COMMANDS));
    ExpectStatus("5 件のコマンド（絞り込み中：4 件）");
    // FOLDER is not searched.
    ASSERT_TRUE(list.SetText(IDC_LIST_FILTER, "windows"));
    EXPECT_EQ(0, list.RowCount(IDC_LIST_COMMANDS));
    EXPECT_FALSE(list.IsEnabled(IDC_LIST_EDIT));
    EXPECT_FALSE(list.IsEnabled(IDC_LIST_DUPLICATE));
    EXPECT_FALSE(list.IsEnabled(IDC_LIST_DELETE));
    EXPECT_TRUE(list.IsEnabled(IDC_LIST_NEW));
    ASSERT_TRUE(list.SetText(IDC_LIST_FILTER, ""));
    EXPECT_EQ(5, list.RowCount(IDC_LIST_COMMANDS));
    ExpectStatus("5 件のコマンド");
    EXPECT_TRUE(list.IsEnabled(IDC_LIST_EDIT));
}

TEST_F(CommandListUiTest, DeleteThenOkTakesOutOnlyThatSectionAndKeepsABackup)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(OpenFromMenu());
    ASSERT_NO_FATAL_FAILURE(Select("browser"));
    // No: nothing goes.
    ASSERT_NO_FATAL_FAILURE(DeleteSelected("browser", IDNO));
    EXPECT_EQ(5, list.RowCount(IDC_LIST_COMMANDS));
    ASSERT_NO_FATAL_FAILURE(DeleteSelected("browser", IDYES));
    EXPECT_EQ(-1, list.FindRow(IDC_LIST_COMMANDS, "browser"));
    ExpectStatus("4 件のコマンド");
    // The next row takes the selection.
    EXPECT_STREQ("Calc", list.Cell(IDC_LIST_COMMANDS, list.SelectedRow(IDC_LIST_COMMANDS), 0).Text());
    // Still in memory only.
    EXPECT_STREQ(before.Text(), ReadWholeFile(commandFile).Text());
    ASSERT_NO_FATAL_FAILURE(PressOkAndWaitClosed(list));

    EXPECT_EQ(WithoutBlankLines(WithoutLines(kCommands, "[browser]", "[alpha]")),
              WithoutBlankLines(ReadWholeFile(commandFile).Text()));
    EXPECT_STREQ(kCommands, Backup().Text());
    EXPECT_FALSE(HasSection("browser"));
    ExpectCompletes("lis", "lister");
}

TEST_F(CommandListUiTest, RenameThroughTheEditorMovesTheWholeSection)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(OpenFromMenu());
    ASSERT_NO_FATAL_FAILURE(Select("Calc"));
    ASSERT_TRUE(list.Click(IDC_LIST_EDIT));
    CDialogUnderTest editor;
    ASSERT_TRUE(editor.WaitFor(launcher.process.dwProcessId, kEditCaption));
    EXPECT_STREQ("Calc", editor.Text(IDC_COMMAND_NAME).Text());
    EXPECT_STREQ("calc.exe", editor.Text(IDC_COMMAND_PATH).Text());
    ASSERT_TRUE(editor.SetText(IDC_COMMAND_NAME, "Rechner"));
    ASSERT_TRUE(editor.SetText(IDC_COMMAND_COMMENT, "計算機"));
    ASSERT_NO_FATAL_FAILURE(PressOkAndWaitClosed(editor));
    // The row moved to its place in the order and stays selected.
    // alpha, browser, lister, notepad, Rechner.
    CellWait moved = {&list, IDC_LIST_COMMANDS, 4, "Rechner"};
    ASSERT_TRUE(WaitUntil(CellHolds, &moved)) << list.Cell(IDC_LIST_COMMANDS, 4, 0).Text();
    EXPECT_EQ(4, list.SelectedRow(IDC_LIST_COMMANDS));
    EXPECT_EQ(-1, list.FindRow(IDC_LIST_COMMANDS, "Calc"));
    EXPECT_STREQ("計算機", list.Cell(IDC_LIST_COMMANDS, 4, 3).Text());
    ASSERT_NO_FATAL_FAILURE(PressOkAndWaitClosed(list));

    EXPECT_FALSE(HasSection("Calc"));
    EXPECT_STREQ("calc.exe", Value("Rechner", "PATH").Text());
    EXPECT_STREQ("C:\\windows", Value("Rechner", "FOLDER").Text());
    EXPECT_STREQ("計算機", Value("Rechner", "COMMENT").Text());
    EXPECT_STREQ("blue", Value("Rechner", "X-COLOR").Text());
    EXPECT_STREQ("notepad.exe", Value("notepad", "PATH").Text());
    EXPECT_STREQ(kCommands, Backup().Text());
    ExpectCompletes("rech", "Rechner");
}

TEST_F(CommandListUiTest, DuplicateAndNewAddCommandsOnOk)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(OpenFromMenu());
    ASSERT_NO_FATAL_FAILURE(Select("notepad"));
    ASSERT_TRUE(list.Click(IDC_LIST_DUPLICATE));
    CDialogUnderTest editor;
    ASSERT_TRUE(editor.WaitFor(launcher.process.dwProcessId, kNewCaption));
    EXPECT_STREQ("notepad2", editor.Text(IDC_COMMAND_NAME).Text());
    EXPECT_STREQ("notepad.exe", editor.Text(IDC_COMMAND_PATH).Text());
    EXPECT_STREQ("メモ帳", editor.Text(IDC_COMMAND_COMMENT).Text());
    ASSERT_NO_FATAL_FAILURE(PressOkAndWaitClosed(editor));
    ASSERT_TRUE(list.WaitRowCount(IDC_LIST_COMMANDS, 6));
    EXPECT_STREQ("notepad2",
                 list.Cell(IDC_LIST_COMMANDS, list.SelectedRow(IDC_LIST_COMMANDS), 0).Text());

    // A filter that would hide the new command is cleared for it.
    ASSERT_TRUE(list.SetText(IDC_LIST_FILTER, "calc"));
    ASSERT_TRUE(list.Click(IDC_LIST_NEW));
    ASSERT_TRUE(editor.WaitFor(launcher.process.dwProcessId, kNewCaption));
    EXPECT_STREQ("", editor.Text(IDC_COMMAND_NAME).Text());
    ASSERT_TRUE(editor.SetText(IDC_COMMAND_NAME, "zeta"));
    ASSERT_TRUE(editor.SetText(IDC_COMMAND_PATH, "zeta.exe -z"));
    ASSERT_TRUE(editor.SetText(IDC_COMMAND_COMMENT, "最後の文字"));
    ASSERT_NO_FATAL_FAILURE(PressOkAndWaitClosed(editor));
    ASSERT_TRUE(list.WaitRowCount(IDC_LIST_COMMANDS, 7));
    EXPECT_STREQ("", list.Text(IDC_LIST_FILTER).Text());
    EXPECT_EQ(6, list.SelectedRow(IDC_LIST_COMMANDS));
    EXPECT_STREQ("zeta", list.Cell(IDC_LIST_COMMANDS, 6, 0).Text());

    // A new command cancelled in the editor adds nothing.
    ASSERT_TRUE(list.Click(IDC_LIST_NEW));
    ASSERT_TRUE(editor.WaitFor(launcher.process.dwProcessId, kNewCaption));
    ASSERT_TRUE(editor.SetText(IDC_COMMAND_NAME, "never"));
    ASSERT_TRUE(editor.Click(IDCANCEL));
    ASSERT_TRUE(editor.WaitClosed());
    EXPECT_EQ(7, list.RowCount(IDC_LIST_COMMANDS));
    ExpectStatus("7 件のコマンド");
    ASSERT_NO_FATAL_FAILURE(PressOkAndWaitClosed(list));

    EXPECT_STREQ("notepad.exe", Value("notepad2", "PATH").Text());
    EXPECT_STREQ("メモ帳", Value("notepad2", "COMMENT").Text());
    EXPECT_STREQ("zeta.exe -z", Value("zeta", "PATH").Text());
    EXPECT_STREQ("最後の文字", Value("zeta", "COMMENT").Text());
    EXPECT_FALSE(HasSection("never"));
    // What was there is still there, byte for byte, ahead of the new ones.
    const std::string kept = WithoutBlankLines(kCommands);
    const std::string now = WithoutBlankLines(ReadWholeFile(commandFile).Text());
    EXPECT_EQ(kept, now.substr(0, kept.size()));
    ExpectCompletes("zet", "zeta");
}

TEST_F(CommandListUiTest, CancelWithChangesAsksAndWritesNothing)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(OpenFromMenu());
    ASSERT_NO_FATAL_FAILURE(Select("alpha"));
    ASSERT_NO_FATAL_FAILURE(DeleteSelected("alpha", IDYES));

    ASSERT_TRUE(list.Click(IDCANCEL));
    HWND box = list.WaitForMessageBox("Quelt");
    ASSERT_TRUE(box != 0);
    EXPECT_STREQ("変更を破棄しますか？", MessageBoxLabel(box).Text());
    ASSERT_TRUE(CDialogUnderTest::Answer(box, IDNO));
    EXPECT_TRUE(list.IsOpen());
    EXPECT_EQ(4, list.RowCount(IDC_LIST_COMMANDS));

    // Esc asks the same.
    ASSERT_TRUE(PostMessageA(list.Item(IDC_LIST_COMMANDS), WM_KEYDOWN, VK_ESCAPE, 0x00010001));
    box = list.WaitForMessageBox("Quelt");
    ASSERT_TRUE(box != 0);
    EXPECT_STREQ("変更を破棄しますか？", MessageBoxLabel(box).Text());
    ASSERT_TRUE(CDialogUnderTest::Answer(box, IDYES));
    ASSERT_TRUE(list.WaitClosed());
    ExpectFileUntouched();
    EXPECT_TRUE(HasSection("alpha"));
}

TEST_F(CommandListUiTest, TheInstallersDestroyUnderChangesAsksNothingAndWritesNothing)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(OpenFromMenu());
    ASSERT_NO_FATAL_FAILURE(Select("alpha"));
    ASSERT_NO_FATAL_FAILURE(DeleteSelected("alpha", IDYES));
    // Sent as the installer sends it: a question would hold the sender up.
    DWORD_PTR result = 0;
    EXPECT_TRUE(SendMessageTimeoutA(launcher.window, WM_DESTROY, 0, 0, SMTO_NORMAL, 5000, &result));
    EXPECT_EQ(static_cast<HWND>(0), list.WaitForMessageBox("Quelt", 0));
    EXPECT_TRUE(list.WaitClosed());
    EXPECT_TRUE(WaitUntil(
        [](void* process) { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; },
        launcher.process.hProcess));
    ExpectFileUntouched();
}

TEST_F(CommandListUiTest, AChangeMadeElsewhereWhileTheListIsOpenSurvivesOk)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(OpenFromMenu());
    ASSERT_TRUE(WritePrivateProfileStringA("notepad", "COMMENT", "外で変えた", commandFile.data));
    ASSERT_TRUE(WritePrivateProfileStringA("outside", "PATH", "outside.exe", commandFile.data));
    WritePrivateProfileStringA(0, 0, 0, commandFile.data);
    ASSERT_NO_FATAL_FAILURE(Select("alpha"));
    ASSERT_NO_FATAL_FAILURE(DeleteSelected("alpha", IDYES));
    ASSERT_NO_FATAL_FAILURE(PressOkAndWaitClosed(list));
    EXPECT_FALSE(HasSection("alpha"));
    EXPECT_STREQ("外で変えた", Value("notepad", "COMMENT").Text());
    EXPECT_STREQ("outside.exe", Value("outside", "PATH").Text());
    EXPECT_STREQ("calc.exe", Value("Calc", "PATH").Text());
    ExpectCompletes("outs", "outside");
}

// Edits of one save that meet at one place in the file: a key for the last
// command and a new command at its end, a key for a command and its deleted
// neighbour, and a new command of a name whose hidden twin is deleted.
TEST_F(CommandListUiTest, ChangesOfOneSaveThatMeetAtOnePlaceEachLandInTheirOwnCommand)
{
    ASSERT_NO_FATAL_FAILURE(Start("[notepad]\r\nPATH=notepad.exe\r\n\r\n[zip]\r\nPATH=7z.exe"));
    CDialogUnderTest editor;
    auto edit = [&](const int& button, const char* caption, const char* name, const int& field,
                    const char* text) {
        if (name) {
            ASSERT_NO_FATAL_FAILURE(Select(name));
        }
        ASSERT_TRUE(list.Click(button));
        ASSERT_TRUE(editor.WaitFor(launcher.process.dwProcessId, caption));
        if (button == IDC_LIST_NEW) {
            ASSERT_TRUE(editor.SetText(IDC_COMMAND_PATH, "new.exe"));
        }
        ASSERT_TRUE(editor.SetText(field, text));
        ASSERT_NO_FATAL_FAILURE(PressOkAndWaitClosed(editor));
    };
    ASSERT_NO_FATAL_FAILURE(OpenFromMenu());
    ASSERT_NO_FATAL_FAILURE(edit(IDC_LIST_NEW, kNewCaption, 0, IDC_COMMAND_NAME, "backup"));
    ASSERT_NO_FATAL_FAILURE(edit(IDC_LIST_EDIT, kEditCaption, "zip", IDC_COMMAND_COMMENT, "archiver"));
    ASSERT_NO_FATAL_FAILURE(PressOkAndWaitClosed(list));
    EXPECT_STREQ("archiver", Value("zip", "COMMENT").Text());
    EXPECT_STREQ("\x01", Value("backup", "COMMENT").Text());
    EXPECT_STREQ("new.exe", Value("backup", "PATH").Text());

    ASSERT_TRUE(WriteTextFile(commandFile, "[b]\r\nPATH=b.exe\r\n[a]\r\nPATH=a.exe"));
    ASSERT_NO_FATAL_FAILURE(OpenFromMenu());
    ASSERT_NO_FATAL_FAILURE(Select("a"));
    ASSERT_NO_FATAL_FAILURE(DeleteSelected("a", IDYES));
    ASSERT_NO_FATAL_FAILURE(edit(IDC_LIST_EDIT, kEditCaption, "b", IDC_COMMAND_COMMENT, "kept"));
    ASSERT_NO_FATAL_FAILURE(PressOkAndWaitClosed(list));
    WritePrivateProfileStringA(0, 0, 0, commandFile.data);
    EXPECT_STREQ("kept", Value("b", "COMMENT").Text());
    EXPECT_FALSE(HasSection("a"));

    ASSERT_TRUE(WriteTextFile(commandFile, "[foo]\r\nPATH=shown.exe\r\n[FOO]\r\nPATH=hidden.exe\r\n"));
    ASSERT_NO_FATAL_FAILURE(OpenFromMenu());
    ExpectStatus("1 件のコマンド　同じ名前のコマンドが複数あります");
    ASSERT_NO_FATAL_FAILURE(DeleteSelected("foo", IDYES));
    ASSERT_NO_FATAL_FAILURE(edit(IDC_LIST_NEW, kNewCaption, 0, IDC_COMMAND_NAME, "foo"));
    ASSERT_NO_FATAL_FAILURE(PressOkAndWaitClosed(list));
    WritePrivateProfileStringA(0, 0, 0, commandFile.data);
    EXPECT_STREQ("new.exe", Value("foo", "PATH").Text());
    EXPECT_EQ(nullptr, strstr(ReadWholeFile(commandFile).Text(), "hidden.exe"));
}

TEST_F(CommandListUiTest, EnterDeleteAndADoubleClickInTheListWork)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(OpenFromMenu());
    ASSERT_NO_FATAL_FAILURE(Select("Calc"));
    ASSERT_TRUE(ActivateTestDesktop());
    ASSERT_TRUE(launcher.Keys("Return"));
    CDialogUnderTest editor;
    ASSERT_TRUE(editor.WaitFor(launcher.process.dwProcessId, kEditCaption));
    EXPECT_STREQ("Calc", editor.Text(IDC_COMMAND_NAME).Text());
    // Enter opened the editor; the list is still there behind it.
    EXPECT_TRUE(list.IsOpen());
    ASSERT_TRUE(editor.Click(IDCANCEL));
    ASSERT_TRUE(editor.WaitClosed());

    // Down moves to the next row, Delete asks about it.
    ASSERT_TRUE(ActivateTestDesktop());
    ASSERT_TRUE(launcher.Keys("Down Delete"));
    HWND box = list.WaitForMessageBox("Quelt");
    ASSERT_TRUE(box != 0);
    EXPECT_STREQ("「lister」を削除しますか？", MessageBoxLabel(box).Text());
    ASSERT_TRUE(CDialogUnderTest::Answer(box, IDNO));
    EXPECT_EQ(5, list.RowCount(IDC_LIST_COMMANDS));

    // A double click on a row edits it too.
    const int notepad = list.FindRow(IDC_LIST_COMMANDS, "notepad");
    ASSERT_GE(notepad, 0);
    RECT row;
    ASSERT_TRUE(list.RowScreenRect(IDC_LIST_COMMANDS, notepad, row));
    CString click;
    click.Format("mousemove --sync %ld %ld click --repeat 2 --delay 60 1", row.left + 8,
                 (row.top + row.bottom) / 2);
    ASSERT_TRUE(XDoTool(click.data));
    ASSERT_TRUE(editor.WaitFor(launcher.process.dwProcessId, kEditCaption));
    EXPECT_STREQ("notepad", editor.Text(IDC_COMMAND_NAME).Text());
    ASSERT_TRUE(editor.Click(IDCANCEL));
    ASSERT_TRUE(editor.WaitClosed());

    // Nothing changed: Esc closes at once.
    ASSERT_TRUE(ActivateTestDesktop());
    ASSERT_TRUE(launcher.Keys("Escape"));
    ASSERT_TRUE(list.WaitClosed());
    ExpectFileUntouched();
}

TEST_F(CommandListUiTest, TheListGrowsWithTheDialogWhichKeepsItsFirstSizeAsTheSmallest)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(OpenFromMenu());
    RECT first, listFirst, okFirst;
    ASSERT_TRUE(GetWindowRect(list.dialog, &first));
    ASSERT_TRUE(GetWindowRect(list.Item(IDC_LIST_COMMANDS), &listFirst));
    ASSERT_TRUE(GetWindowRect(list.Item(IDOK), &okFirst));
    const int width = first.right - first.left;
    const int height = first.bottom - first.top;
    ASSERT_TRUE(SetWindowPos(list.dialog, 0, 0, 0, width + 100, height + 60,
                             SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE));
    RECT grown, listGrown, okGrown, newGrown;
    ASSERT_TRUE(GetWindowRect(list.dialog, &grown));
    ASSERT_TRUE(GetWindowRect(list.Item(IDC_LIST_COMMANDS), &listGrown));
    ASSERT_TRUE(GetWindowRect(list.Item(IDOK), &okGrown));
    ASSERT_TRUE(GetWindowRect(list.Item(IDC_LIST_NEW), &newGrown));
    EXPECT_EQ(width + 100, grown.right - grown.left);
    EXPECT_EQ(listFirst.right - listFirst.left + 100, listGrown.right - listGrown.left);
    EXPECT_EQ(listFirst.bottom - listFirst.top + 60, listGrown.bottom - listGrown.top);
    // OK keeps its place at the bottom right; New stays at the left.
    EXPECT_EQ(grown.right - okGrown.right, first.right - okFirst.right);
    EXPECT_EQ(grown.bottom - okGrown.bottom, first.bottom - okFirst.bottom);
    EXPECT_EQ(listGrown.left, newGrown.left);
    EXPECT_TRUE(TakeScreenshot("command-list-grown"));

    ASSERT_TRUE(SetWindowPos(list.dialog, 0, 0, 0, 200, 120,
                             SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE));
    RECT shrunk;
    ASSERT_TRUE(GetWindowRect(list.dialog, &shrunk));
    EXPECT_EQ(width, shrunk.right - shrunk.left);
    EXPECT_EQ(height, shrunk.bottom - shrunk.top);
}

namespace {

// A folder of the test's own in the user's Start-menu programs, removed
// again at the end.
class CStartMenuFolder {
public:
    CString folder;

    bool Create()
    {
        CString programs;
        if (!Zint_Std::GetSpecialFolderPath(programs, CSIDL_PROGRAMS))
            return false;
        folder = programs + "QueltTest\\";
        RemoveScratchFolder(folder);
        return Zint_Std::MakeFolderPath(folder);
    }
    ~CStartMenuFolder()
    {
        if (!folder.IsEmpty())
            RemoveScratchFolder(folder);
    }
};

}  // namespace

TEST_F(CommandListUiTest, ImportAddsTheTickedShortcutsWithTheirTargets)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    CStartMenuFolder menu;
    ASSERT_TRUE(menu.Create());
    const CString tools = launcher.folder + "tools";
    ASSERT_TRUE(CreateDirectoryA(tools.data, 0));
    const char* programs[] = {"one.exe", "two.exe", "three.exe"};
    for (const char* program : programs)
        ASSERT_TRUE(WriteTextFile(tools + "\\" + program, "MZ"));
    {
        Zint_Std::CShortcutWriter writer;
        ASSERT_TRUE(writer.Open());
        const char* links[] = {"Quelt Test One.lnk", "Quelt Test Two.lnk", "Quelt Test Three.lnk"};
        for (int i = 0; i < 3; i++) {
            Zint_Std::ShortcutRequest request;
            request.linkPath = menu.folder + links[i];
            request.targetPath = tools + "\\" + programs[i];
            request.arguments = i == 1 ? "-two" : "";
            ASSERT_TRUE(writer.WriteShortcut(request)) << links[i];
        }
        writer.Close();
    }

    ASSERT_NO_FATAL_FAILURE(OpenFromMenu());
    ASSERT_TRUE(list.Click(IDC_LIST_IMPORT));
    CDialogUnderTest import;
    ASSERT_TRUE(import.WaitFor(launcher.process.dwProcessId, kImportCaption));
    const int one = import.FindRow(IDC_IMPORT_LIST, "QueltTestOne");
    const int two = import.FindRow(IDC_IMPORT_LIST, "QueltTestTwo");
    const int three = import.FindRow(IDC_IMPORT_LIST, "QueltTestThree");
    ASSERT_GE(one, 0);
    ASSERT_GE(two, 0);
    ASSERT_GE(three, 0);
    const CString onePath = AsPath(tools + "\\one.exe");
    const CString twoPath = AsPath(tools + "\\two.exe") + " -two";
    EXPECT_STREQ(onePath.data, import.Cell(IDC_IMPORT_LIST, one, 1).Text());
    EXPECT_STREQ(twoPath.data, import.Cell(IDC_IMPORT_LIST, two, 1).Text());
    EXPECT_STREQ((menu.folder + "Quelt Test One.lnk").data,
                 import.Cell(IDC_IMPORT_LIST, one, 2).Text());
    EXPECT_STREQ("取り込むショートカットにチェックを付けてください", import.Text(IDC_IMPORT_NOTE).Text());
    // Nothing is ticked at the start.
    const int rows = import.RowCount(IDC_IMPORT_LIST);
    for (int row = 0; row < rows; row++)
        EXPECT_FALSE(import.IsRowChecked(IDC_IMPORT_LIST, row)) << "row " << row;

    // Adding with nothing ticked is refused.
    ASSERT_TRUE(import.Click(IDOK));
    HWND box = import.WaitForMessageBox("Quelt");
    ASSERT_TRUE(box != 0);
    EXPECT_TRUE(strstr(MessageBoxLabel(box).Text(), "チェックを付けてください"));
    ASSERT_TRUE(CDialogUnderTest::Answer(box, IDOK));
    EXPECT_TRUE(import.IsOpen());

    // Tick all and untick all.
    ASSERT_TRUE(import.Click(IDC_IMPORT_ALL));
    RowCountWait all = {&import, IDC_IMPORT_LIST, rows - 1, true};
    ASSERT_TRUE(WaitUntil(RowCheckedAs, &all));
    for (int row = 0; row < rows; row++)
        EXPECT_TRUE(import.IsRowChecked(IDC_IMPORT_LIST, row)) << "row " << row;
    ASSERT_TRUE(import.Click(IDC_IMPORT_NONE));
    RowCountWait none = {&import, IDC_IMPORT_LIST, rows - 1, false};
    ASSERT_TRUE(WaitUntil(RowCheckedAs, &none));
    for (int row = 0; row < rows; row++)
        EXPECT_FALSE(import.IsRowChecked(IDC_IMPORT_LIST, row)) << "row " << row;

    // F2 edits the selected row's name in place; Esc leaves it as it was.
    ASSERT_TRUE(import.SelectRow(IDC_IMPORT_LIST, one));
    ASSERT_TRUE(ActivateTestDesktop());
    ASSERT_TRUE(launcher.Keys("F2"));
    ASSERT_TRUE(WaitUntil(LabelEditOpen, import.Item(IDC_IMPORT_LIST)));
    HWND label = reinterpret_cast<HWND>(
        SendMessageA(import.Item(IDC_IMPORT_LIST), LVM_GETEDITCONTROL, 0, 0));
    ASSERT_TRUE(launcher.Keys("Escape"));
    ASSERT_TRUE(WaitUntil(WindowGone, label));
    EXPECT_STREQ("QueltTestOne", import.Cell(IDC_IMPORT_LIST, one, 0).Text());

    // A name changed in place: one with a blank is refused and can be put right.
    label = reinterpret_cast<HWND>(
        SendMessageA(import.Item(IDC_IMPORT_LIST), LVM_EDITLABELA, two, 0));
    ASSERT_TRUE(label != 0);
    ASSERT_TRUE(SendMessageA(label, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Quelt Two")));
    ASSERT_TRUE(ActivateTestDesktop());
    ASSERT_TRUE(launcher.Keys("Return"));
    box = import.WaitForMessageBox("Quelt");
    ASSERT_TRUE(box != 0);
    EXPECT_TRUE(strstr(MessageBoxLabel(box).Text(), "空白")) << MessageBoxLabel(box).Text();
    ASSERT_TRUE(CDialogUnderTest::Answer(box, IDOK));
    EXPECT_STREQ("QueltTestTwo", import.Cell(IDC_IMPORT_LIST, two, 0).Text());
    // Back in the edit with what was typed.
    label = reinterpret_cast<HWND>(SendMessageA(import.Item(IDC_IMPORT_LIST), LVM_GETEDITCONTROL, 0, 0));
    ASSERT_TRUE(label != 0);
    EXPECT_STREQ("Quelt Two", TextOfWindow(label).Text());
    // A name the command file has already (letter case aside).
    ASSERT_TRUE(SendMessageA(label, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("NOTEPAD")));
    ASSERT_TRUE(ActivateTestDesktop());
    ASSERT_TRUE(launcher.Keys("Return"));
    box = import.WaitForMessageBox("Quelt");
    ASSERT_TRUE(box != 0);
    EXPECT_TRUE(strstr(MessageBoxLabel(box).Text(), "すでにあります")) << MessageBoxLabel(box).Text();
    ASSERT_TRUE(CDialogUnderTest::Answer(box, IDOK));
    label = reinterpret_cast<HWND>(SendMessageA(import.Item(IDC_IMPORT_LIST), LVM_GETEDITCONTROL, 0, 0));
    ASSERT_TRUE(label != 0);
    ASSERT_TRUE(SendMessageA(label, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("QtTwo")));
    ASSERT_TRUE(ActivateTestDesktop());
    ASSERT_TRUE(launcher.Keys("Return"));
    CellWait renamed = {&import, IDC_IMPORT_LIST, two, "QtTwo"};
    ASSERT_TRUE(WaitUntil(CellHolds, &renamed)) << import.Cell(IDC_IMPORT_LIST, two, 0).Text();
    EXPECT_TRUE(WaitUntil(WindowGone, label));

    ASSERT_TRUE(import.SetRowChecked(IDC_IMPORT_LIST, one, true));
    ASSERT_TRUE(import.SetRowChecked(IDC_IMPORT_LIST, two, true));
    ItemTextWait counted = {&import, IDC_IMPORT_STATUS, ""};
    CString status;
    status.Format("%d 件中 2 件にチェック", rows);
    counted.text = status.data;
    EXPECT_TRUE(WaitUntil(ItemHolds, &counted)) << import.Text(IDC_IMPORT_STATUS).Text();
    EXPECT_TRUE(TakeScreenshot("import-shortcuts"));
    ASSERT_NO_FATAL_FAILURE(PressOkAndWaitClosed(import));

    // Pending in the list until its OK.
    ASSERT_TRUE(list.WaitRowCount(IDC_LIST_COMMANDS, 7));
    EXPECT_GE(list.FindRow(IDC_LIST_COMMANDS, "QueltTestOne"), 0);
    EXPECT_GE(list.FindRow(IDC_LIST_COMMANDS, "QtTwo"), 0);
    EXPECT_EQ(-1, list.FindRow(IDC_LIST_COMMANDS, "QueltTestThree"));
    EXPECT_FALSE(HasSection("QueltTestOne"));
    EXPECT_TRUE(TakeScreenshot("command-list-after-import"));
    ASSERT_NO_FATAL_FAILURE(PressOkAndWaitClosed(list));

    EXPECT_STREQ(onePath.data, Value("QueltTestOne", "PATH").Text());
    EXPECT_STREQ(tools.data, Value("QueltTestOne", "FOLDER").Text());
    EXPECT_STREQ("QueltTest", Value("QueltTestOne", "COMMENT").Text());
    EXPECT_STREQ(twoPath.data, Value("QtTwo", "PATH").Text());
    EXPECT_FALSE(HasSection("QueltTestTwo"));
    EXPECT_FALSE(HasSection("QueltTestThree"));
    ExpectCompletes("qtt", "QtTwo");
}
