// The single-command editor opened from the real launcher: a new command
// through the built-in code and the menu command, a command's own "->edit"
// option, a path registered through SendTo, the checks before OK and the
// live preview; then what the command file holds afterwards.
#include <gtest/gtest.h>

#include <windows.h>
#include <string.h>

#include "editor/editor_driver.h"
#include "editor/editor_ids.h"
#include "launcher/ui_driver.h"
#include "support/files.h"
#include "support/shortcut.h"
#include "test_paths.h"

using Zint_Std::CString;

namespace {

const UINT kEditCommands = 40001;
const UINT kRegisterPath = 2175;
const char kNewCaption[] = "新しいコマンド";
const char kEditCaption[] = "コマンドの編集";
const char kProfile[] = "[HotKey]\r\nALT=1\r\nKey=49\r\n[QUELT]\r\nHistory=10\r\nToolTip=1\r\n"
                        "TaskTray=1\r\nImeCtrl=2\r\nWndWidth=265\r\nWndHeight=43\r\n";

struct FocusWait {
    HWND dialog;
    HWND item;
};

HWND FocusIn(HWND dialog)
{
    GUITHREADINFO info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, 0), &info))
        return 0;
    return info.hwndFocus;
}

bool FocusReached(void* context)
{
    FocusWait* wait = static_cast<FocusWait*>(context);
    return FocusIn(wait->dialog) == wait->item;
}

bool WindowGone(void* window)
{
    return !IsWindow(static_cast<HWND>(window));
}

// A screenshot of the dialog drawn through: its thread paints it and every
// item now, then answers a message, before the screen is taken.
bool ScreenshotOfDialog(HWND dialog, const char* name)
{
    RedrawWindow(dialog, 0, 0, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, kUiTimeoutMs, &ignored);
    return TakeScreenshot(name);
}

class CommandDialogUiTest : public ::testing::Test {
protected:
    CLauncherUnderTest launcher;
    CDialogUnderTest dialog;
    CString commandFile;
    CString before;  // the command file as the test wrote it

    void TearDown() override
    {
        // A dialog left open by a failed check must not hold up the quit.
        if (dialog.IsOpen()) {
            PostMessageA(dialog.dialog, WM_COMMAND, IDCANCEL, 0);
            dialog.WaitClosed();
        }
    }

    void StartWith(const char* commands)
    {
        ASSERT_TRUE(launcher.Start(commands, kProfile));
        ASSERT_TRUE(launcher.WaitUntilHotKeyHeld(MOD_ALT, '1'));
        commandFile = launcher.folder + "quelt_cmd.txt";
        before = ReadWholeFile(commandFile);
    }
    void OpenNewFromMenu()
    {
        ASSERT_TRUE(PostMessageA(launcher.window, WM_COMMAND, MAKEWPARAM(kEditCommands, 1), 0));
        ASSERT_TRUE(dialog.WaitFor(launcher.process.dwProcessId, kNewCaption));
    }
    void OpenForPath(const CString& path)
    {
        ATOM atom = GlobalAddAtomA(path.data);
        ASSERT_NE(0, atom);
        ASSERT_TRUE(PostMessageA(launcher.window, kRegisterPath, atom, 0));
        ASSERT_TRUE(dialog.WaitFor(launcher.process.dwProcessId, kNewCaption));
    }
    void Fill(const char* name, const char* path, const char* folder, const char* comment)
    {
        ASSERT_TRUE(dialog.SetText(IDC_COMMAND_NAME, name));
        ASSERT_TRUE(dialog.SetText(IDC_COMMAND_PATH, path));
        ASSERT_TRUE(dialog.SetText(IDC_COMMAND_FOLDER, folder));
        ASSERT_TRUE(dialog.SetText(IDC_COMMAND_COMMENT, comment));
    }
    void ExpectFields(const char* name, const char* path, const char* folder,
                      const char* comment)
    {
        EXPECT_STREQ(name, dialog.Text(IDC_COMMAND_NAME).Text());
        EXPECT_STREQ(path, dialog.Text(IDC_COMMAND_PATH).Text());
        EXPECT_STREQ(folder, dialog.Text(IDC_COMMAND_FOLDER).Text());
        EXPECT_STREQ(comment, dialog.Text(IDC_COMMAND_COMMENT).Text());
    }
    void PressOkAndWaitClosed()
    {
        ASSERT_TRUE(dialog.Click(IDOK));
        ASSERT_TRUE(dialog.WaitClosed());
        ASSERT_NO_FATAL_FAILURE(WaitEditorReturned());
    }
    // The dialog is destroyed and its thread, the launcher's, answers a
    // message again: the editor has returned, whatever it saved is saved.
    void WaitEditorReturned()
    {
        ASSERT_TRUE(WaitUntil(WindowGone, dialog.dialog));
        DWORD_PTR ignored = 0;
        ASSERT_TRUE(SendMessageTimeoutA(launcher.window, WM_NULL, 0, 0, SMTO_NORMAL,
                                        kUiTimeoutMs, &ignored));
    }
    // OK is refused with a message box that holds words; the dialog stays
    // and the focus lands on the field.
    void ExpectRefused(const char* words, const int& field, const char* screenshot = 0)
    {
        ASSERT_TRUE(dialog.Click(IDOK));
        HWND box = dialog.WaitForMessageBox("Quelt");
        ASSERT_TRUE(box != 0) << "no message for " << words;
        CString label = MessageBoxLabel(box);
        EXPECT_TRUE(strstr(label.Text(), words)) << label.Text();
        if (screenshot) {
            EXPECT_TRUE(ScreenshotOfDialog(box, screenshot));
        }
        ASSERT_TRUE(CDialogUnderTest::Answer(box, IDOK));
        EXPECT_TRUE(dialog.IsOpen());
        FocusWait wait = {dialog.dialog, dialog.Item(field)};
        EXPECT_TRUE(WaitUntil(FocusReached, &wait)) << "the focus is not on the field for "
                                                    << words;
    }
    CString Value(const char* section, const char* key)
    {
        CString value;
        value.Reserve(1024);
        GetPrivateProfileStringA(section, key, "", value.data, 1024, commandFile.data);
        return value;
    }
    void ExpectFileUntouched()
    {
        int length = 0;
        CString now = ReadWholeFile(commandFile, &length);
        EXPECT_STREQ(before.Text(), now.Text());
        EXPECT_EQ(before.GetLength(), length);
        EXPECT_FALSE(Zint_Std::PathExists((launcher.folder + "quelt_cmd.txt.bak").data));
    }
    // The launcher read the file again: Tab completes the prefix to the
    // whole name and a blank.
    void ExpectCompletes(const char* prefix, const char* completed)
    {
        // The dialog was the last window shown: the X focus goes back first.
        ASSERT_TRUE(ActivateTestDesktop());
        ASSERT_TRUE(launcher.ShowWithHotKey());
        ASSERT_TRUE(launcher.Type(prefix));
        ASSERT_TRUE(launcher.WaitEditText(prefix)) << "the box holds '"
                                                   << launcher.EditText().Text() << "'";
        ASSERT_TRUE(launcher.Keys("Tab"));
        EXPECT_TRUE(launcher.WaitEditText(completed))
            << "the box holds '" << launcher.EditText().Text() << "'";
        ASSERT_TRUE(launcher.Keys("Escape"));
        EXPECT_TRUE(launcher.WaitHidden());
    }
    // The same through window messages to the box: the launcher's key
    // filter takes a posted Tab as it takes a pressed one.
    void ExpectCompletesThroughMessages(const char* prefix, const char* completed)
    {
        ASSERT_TRUE(launcher.ShowWithHotKey());
        DWORD_PTR ignored = 0;
        ASSERT_TRUE(SendMessageTimeoutA(launcher.edit, WM_SETTEXT, 0,
                                        reinterpret_cast<LPARAM>(prefix), SMTO_NORMAL,
                                        kUiTimeoutMs, &ignored));
        const WPARAM end = static_cast<WPARAM>(strlen(prefix));
        ASSERT_TRUE(SendMessageTimeoutA(launcher.edit, EM_SETSEL, end, end, SMTO_NORMAL,
                                        kUiTimeoutMs, &ignored));
        ASSERT_TRUE(PostMessageA(launcher.edit, WM_KEYDOWN, VK_TAB, 0x000F0001));
        EXPECT_TRUE(launcher.WaitEditText(completed))
            << "the box holds '" << launcher.EditText().Text() << "'";
        ASSERT_TRUE(PostMessageA(launcher.edit, WM_KEYDOWN, VK_ESCAPE, 0x00010001));
        EXPECT_TRUE(launcher.WaitHidden());
    }
};

}  // namespace

TEST_F(CommandDialogUiTest, BuiltinCodeOpensAnEmptyNewCommandThatIsSavedAsTyped)
{
    ASSERT_NO_FATAL_FAILURE(StartWith("[newcmd]\r\nPATH=@2500\r\n[keep]\r\nPATH=keep.exe\r\n"));
    ASSERT_TRUE(launcher.ShowWithHotKey());
    ASSERT_TRUE(launcher.Type("newcmd"));
    ASSERT_TRUE(launcher.WaitEditText("newcmd"));
    ASSERT_TRUE(launcher.Keys("Return"));
    ASSERT_TRUE(dialog.WaitFor(launcher.process.dwProcessId, kNewCaption));
    ExpectFields("", "", "", "");
    EXPECT_STREQ("パスが空のコマンドは実行されません", dialog.Text(IDC_PREVIEW_NOTE).Text());
    // The focus starts in the name.
    FocusWait wait = {dialog.dialog, dialog.Item(IDC_COMMAND_NAME)};
    EXPECT_TRUE(WaitUntil(FocusReached, &wait));

    // Tab walks the fields top to bottom, the read-only preview left out.
    const int order[] = {IDC_COMMAND_NAME, IDC_COMMAND_PATH, IDC_COMMAND_PATH_BROWSE,
                         IDC_COMMAND_FOLDER, IDC_COMMAND_FOLDER_BROWSE, IDC_COMMAND_COMMENT,
                         IDC_PREVIEW_ARGUMENTS, IDOK, IDCANCEL, IDC_COMMAND_NAME};
    for (size_t i = 0; i + 1 < sizeof(order) / sizeof(order[0]); i++) {
        HWND next = GetNextDlgTabItem(dialog.dialog, dialog.Item(order[i]), FALSE);
        EXPECT_EQ(order[i + 1], GetDlgCtrlID(next)) << "after item " << order[i];
    }

    ASSERT_NO_FATAL_FAILURE(Fill("zebra", "\"C:\\Program Files\\x.exe\" -a", "  C:\\work",
                                 "しま模様の表"));
    EXPECT_STREQ("C:\\Program Files\\x.exe", dialog.Text(IDC_PREVIEW_FILE).Text());
    EXPECT_STREQ("-a", dialog.Text(IDC_PREVIEW_PARAMETERS).Text());
    EXPECT_TRUE(ScreenshotOfDialog(dialog.dialog, "command-new-filled"));
    ASSERT_NO_FATAL_FAILURE(PressOkAndWaitClosed());

    // Exactly as typed, leading blanks and quotes included.
    EXPECT_STREQ("\"C:\\Program Files\\x.exe\" -a", Value("zebra", "PATH").Text());
    EXPECT_STREQ("  C:\\work", Value("zebra", "FOLDER").Text());
    EXPECT_STREQ("しま模様の表", Value("zebra", "COMMENT").Text());
    EXPECT_STREQ("@2500", Value("newcmd", "PATH").Text());
    EXPECT_STREQ("keep.exe", Value("keep", "PATH").Text());
    EXPECT_STREQ(before.Text(), ReadWholeFile(launcher.folder + "quelt_cmd.txt.bak").Text());
    ExpectCompletes("zeb", "zebra ");
}

TEST_F(CommandDialogUiTest, CancelWritesNothing)
{
    ASSERT_NO_FATAL_FAILURE(StartWith("; 手書きのメモ\r\n[alpha]\r\nPATH=alpha.exe\r\n"));
    ASSERT_NO_FATAL_FAILURE(OpenNewFromMenu());
    ExpectFields("", "", "", "");
    ASSERT_NO_FATAL_FAILURE(Fill("beta", "beta.exe", "C:\\", "書かれない"));
    ASSERT_TRUE(dialog.Click(IDCANCEL));
    ASSERT_TRUE(dialog.WaitClosed());
    ASSERT_NO_FATAL_FAILURE(WaitEditorReturned());
    ExpectFileUntouched();

    // Esc closes it the same way.
    ASSERT_NO_FATAL_FAILURE(OpenNewFromMenu());
    ASSERT_NO_FATAL_FAILURE(Fill("gamma", "gamma.exe", "", ""));
    ASSERT_TRUE(PostMessageA(dialog.Item(IDC_COMMAND_NAME), WM_KEYDOWN, VK_ESCAPE, 0x00010001));
    ASSERT_TRUE(dialog.WaitClosed());
    ASSERT_NO_FATAL_FAILURE(WaitEditorReturned());
    ExpectFileUntouched();
}

TEST_F(CommandDialogUiTest, ArrowEditOpensThatCommandAndChangesOnlyItsComment)
{
    const char commands[] = "; 先頭のメモ\r\n"
                            "[alpha]\r\nPATH=alpha.exe\r\nCOMMENT=最初\r\n"
                            "[Edit-Me]\r\nPATH=x.exe ->edit\r\nFOLDER=C:\\work\r\n"
                            "COMMENT=古い説明\r\nICON=keep.ico\r\n"
                            "; 中のメモ\r\n"
                            "[omega]\r\nPATH=omega.exe\r\n";
    ASSERT_NO_FATAL_FAILURE(StartWith(commands));
    ASSERT_TRUE(launcher.ShowWithHotKey());
    ASSERT_TRUE(launcher.Type("edit-me"));
    ASSERT_TRUE(launcher.WaitEditText("edit-me"));
    ASSERT_TRUE(launcher.Keys("Return"));
    ASSERT_TRUE(dialog.WaitFor(launcher.process.dwProcessId, kEditCaption));
    ExpectFields("Edit-Me", "x.exe ->edit", "C:\\work", "古い説明");
    EXPECT_STREQ("x.exe", dialog.Text(IDC_PREVIEW_FILE).Text());
    EXPECT_STREQ("->edit", dialog.Text(IDC_PREVIEW_PARAMETERS).Text());
    EXPECT_STREQ("C:\\work", dialog.Text(IDC_PREVIEW_FOLDER).Text());
    EXPECT_STREQ("->edit: このコマンドを編集画面で開きます", dialog.Text(IDC_PREVIEW_NOTE).Text());
    EXPECT_TRUE(ScreenshotOfDialog(dialog.dialog, "command-edit-existing"));

    ASSERT_TRUE(dialog.SetText(IDC_COMMAND_COMMENT, "新しい説明"));
    ASSERT_NO_FATAL_FAILURE(PressOkAndWaitClosed());
    CString expected(commands);
    const char oldLine[] = "COMMENT=古い説明";
    const int at = expected.Find(oldLine, 0);
    ASSERT_GE(at, 0);
    expected.Delete(at, static_cast<int>(strlen(oldLine)));
    CString head(expected);
    head.data[at] = 0;
    CString changed = head + "COMMENT=新しい説明" + (expected.data + at);
    EXPECT_STREQ(changed.Text(), ReadWholeFile(commandFile).Text());
    EXPECT_TRUE(Zint_Std::PathExists((launcher.folder + "quelt_cmd.txt.bak").data));
}

TEST_F(CommandDialogUiTest, InvalidInputIsRefusedUntilFixed)
{
    ASSERT_NO_FATAL_FAILURE(StartWith("[Notepad]\r\nPATH=notepad.exe\r\n"));
    ASSERT_NO_FATAL_FAILURE(OpenNewFromMenu());
    ExpectRefused("コマンド名を入力", IDC_COMMAND_NAME);
    ASSERT_TRUE(dialog.SetText(IDC_COMMAND_NAME, "two words"));
    ExpectRefused("空白は使えません", IDC_COMMAND_NAME);
    ASSERT_TRUE(dialog.SetText(IDC_COMMAND_NAME, "[x]"));
    ExpectRefused("使えない文字", IDC_COMMAND_NAME);
    ASSERT_TRUE(dialog.SetText(IDC_COMMAND_NAME, "NOTEPAD"));
    ExpectRefused("「NOTEPAD」という名前のコマンドはすでにあります", IDC_COMMAND_NAME);
    ASSERT_TRUE(dialog.SetText(IDC_COMMAND_NAME, "fresh"));
    ExpectRefused("パスを入力", IDC_COMMAND_PATH);

    CString longPath;
    for (int i = 0; i < 496; i++)
        longPath.AppendChar('p');
    longPath.Append(".exe");
    ASSERT_EQ(500, longPath.GetLength());
    ASSERT_TRUE(dialog.SetText(IDC_COMMAND_PATH, longPath.data));
    ExpectRefused("499 バイト以内", IDC_COMMAND_PATH, "command-refused-long-path");
    // 249 double-byte characters and 2 bytes more: 500 bytes.
    CString wide;
    for (int i = 0; i < 249; i++)
        wide.Append("漢");
    wide.Append("\\a");
    ASSERT_TRUE(dialog.SetText(IDC_COMMAND_PATH, "fresh.exe"));
    ASSERT_TRUE(dialog.SetText(IDC_COMMAND_FOLDER, wide.data));
    ExpectRefused("全角文字は 2 バイト", IDC_COMMAND_FOLDER);
    ASSERT_TRUE(dialog.SetText(IDC_COMMAND_FOLDER, ""));
    CString comment;
    for (int i = 0; i < 50; i++)
        comment.Append("説");
    ASSERT_TRUE(dialog.SetText(IDC_COMMAND_COMMENT, comment.data));
    ExpectRefused("99 バイト以内", IDC_COMMAND_COMMENT);
    ASSERT_TRUE(dialog.SetText(IDC_COMMAND_COMMENT, "line\r\nbreak"));
    ExpectRefused("改行", IDC_COMMAND_COMMENT);
    ExpectFileUntouched();

    // Fixed, it goes through; Enter in a field is OK.
    ASSERT_TRUE(dialog.SetText(IDC_COMMAND_COMMENT, "ok"));
    ASSERT_TRUE(PostMessageA(dialog.Item(IDC_COMMAND_COMMENT), WM_KEYDOWN, VK_RETURN, 0x001C0001));
    ASSERT_TRUE(dialog.WaitClosed());
    ASSERT_NO_FATAL_FAILURE(WaitEditorReturned());
    EXPECT_STREQ("fresh.exe", Value("fresh", "PATH").Text());
    EXPECT_STREQ("ok", Value("fresh", "COMMENT").Text());
    EXPECT_STREQ("notepad.exe", Value("Notepad", "PATH").Text());
}

TEST_F(CommandDialogUiTest, FailedWriteIsReportedAndTheFileStays)
{
    ASSERT_NO_FATAL_FAILURE(StartWith("[alpha]\r\nPATH=alpha.exe\r\n"));
    // Held open for reading only: the file reads, but no one may write it.
    HANDLE held = CreateFileA(commandFile.data, GENERIC_READ, FILE_SHARE_READ, 0, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, 0);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    ASSERT_NO_FATAL_FAILURE(OpenNewFromMenu());
    ASSERT_NO_FATAL_FAILURE(Fill("beta", "beta.exe", "", ""));
    ASSERT_TRUE(dialog.Click(IDOK));
    ASSERT_TRUE(dialog.WaitClosed());
    // The dialog is gone: the message belongs to the launcher's window.
    HWND box = WaitForProcessWindow(launcher.process.dwProcessId, "#32770", "Quelt", true);
    ASSERT_TRUE(box != 0);
    EXPECT_STREQ("コマンドファイルに書き込めませんでした。", MessageBoxLabel(box).Text());
    ASSERT_TRUE(CDialogUnderTest::Answer(box, IDOK));
    ASSERT_NO_FATAL_FAILURE(WaitEditorReturned());
    CloseHandle(held);
    EXPECT_STREQ(before.Text(), ReadWholeFile(commandFile).Text());
    EXPECT_STREQ("", Value("beta", "PATH").Text());
}

TEST_F(CommandDialogUiTest, RegisteredPathBecomesANewCommand)
{
    ASSERT_NO_FATAL_FAILURE(StartWith("[run]\r\nPATH=run.exe\r\n"));
    CString tools = launcher.folder + "Tool Box";
    ASSERT_TRUE(CreateDirectoryA(tools.data, 0));
    CString program = tools + "\\Run.exe";
    ASSERT_TRUE(WriteTextFile(program, "x"));
    ASSERT_NO_FATAL_FAILURE(OpenForPath(program));
    // "Run" is taken (letter case aside): the name gets a number.
    ExpectFields("Run2", (CString("\"") + program + "\"").data, tools.data, "");
    EXPECT_STREQ(program.data, dialog.Text(IDC_PREVIEW_FILE).Text());
    EXPECT_TRUE(ScreenshotOfDialog(dialog.dialog, "command-new-from-path"));
    ASSERT_NO_FATAL_FAILURE(PressOkAndWaitClosed());
    EXPECT_STREQ((CString("\"") + program + "\"").data, Value("Run2", "PATH").Text());
    EXPECT_STREQ(tools.data, Value("Run2", "FOLDER").Text());

    // A shortcut gives its target, arguments and working folder.
    CString work = launcher.folder + "work";
    ASSERT_TRUE(CreateDirectoryA(work.data, 0));
    Zint_Std::ShortcutRequest request;
    request.linkPath = launcher.folder + "My Tool.lnk";
    request.targetPath = program;
    request.arguments = "-q";
    request.workingFolder = work;
    Zint_Std::CShortcutWriter writer;
    ASSERT_TRUE(writer.Open());
    ASSERT_TRUE(writer.WriteShortcut(request));
    writer.Close();
    ASSERT_NO_FATAL_FAILURE(OpenForPath(request.linkPath));
    CString command = CString("\"") + program + "\" -q";
    ExpectFields("MyTool", command.data, work.data, "");
    EXPECT_STREQ("-q", dialog.Text(IDC_PREVIEW_PARAMETERS).Text());
    ASSERT_NO_FATAL_FAILURE(PressOkAndWaitClosed());
    EXPECT_STREQ(command.data, Value("MyTool", "PATH").Text());
    EXPECT_STREQ(work.data, Value("MyTool", "FOLDER").Text());
    // A single candidate comes in its own spelling.
    ExpectCompletesThroughMessages("myt", "MyTool ");
}

TEST_F(CommandDialogUiTest, BrowsedFileIsPutIntoThePathQuotedWhenItHoldsABlank)
{
    ASSERT_NO_FATAL_FAILURE(StartWith("[alpha]\r\nPATH=alpha.exe\r\n"));
    CString tools = launcher.folder + "Browse Me";
    ASSERT_TRUE(CreateDirectoryA(tools.data, 0));
    CString program = tools + "\\pick.exe";
    ASSERT_TRUE(WriteTextFile(program, "x"));
    ASSERT_NO_FATAL_FAILURE(OpenNewFromMenu());
    ASSERT_TRUE(dialog.Click(IDC_COMMAND_PATH_BROWSE));
    CDialogUnderTest picker;
    ASSERT_TRUE(picker.WaitFor(launcher.process.dwProcessId, "実行するファイルを選んでください"));
    EXPECT_TRUE(ScreenshotOfDialog(picker.dialog, "command-browse-file"));
    // The file name box of either dialog style.
    const int nameBox = picker.Item(0x47C) ? 0x47C : 0x480;
    HWND name = picker.Item(nameBox);
    ASSERT_TRUE(name != 0);
    HWND nameEdit = FindWindowExA(name, 0, "Edit", 0);
    DWORD_PTR ignored = 0;
    ASSERT_TRUE(SendMessageTimeoutA(nameEdit ? nameEdit : name, WM_SETTEXT, 0,
                                    reinterpret_cast<LPARAM>(program.data), SMTO_NORMAL,
                                    kUiTimeoutMs, &ignored));
    ASSERT_TRUE(picker.Click(IDOK));
    ASSERT_TRUE(picker.WaitClosed());
    CString quoted = CString("\"") + program + "\"";
    struct PathWait {
        CDialogUnderTest* dialog;
        const char* expected;
        static bool Holds(void* context)
        {
            PathWait* wait = static_cast<PathWait*>(context);
            return strcmp(wait->dialog->Text(IDC_COMMAND_PATH).Text(), wait->expected) == 0;
        }
    } wait = {&dialog, quoted.data};
    EXPECT_TRUE(WaitUntil(PathWait::Holds, &wait)) << dialog.Text(IDC_COMMAND_PATH).Text();
    EXPECT_STREQ(program.data, dialog.Text(IDC_PREVIEW_FILE).Text());
    ASSERT_TRUE(dialog.Click(IDCANCEL));
    ASSERT_TRUE(dialog.WaitClosed());
    ASSERT_NO_FATAL_FAILURE(WaitEditorReturned());
    ExpectFileUntouched();
}

TEST_F(CommandDialogUiTest, PreviewFollowsTheFieldsAndTheSample)
{
    ASSERT_NO_FATAL_FAILURE(StartWith("[alpha]\r\nPATH=alpha.exe\r\n"));
    ASSERT_NO_FATAL_FAILURE(OpenNewFromMenu());
    ASSERT_NO_FATAL_FAILURE(Fill("show", "%WINDIR%\\notepad.exe -x $2", "%WINDIR%\\temp", ""));
    // Without a sample the placeholders stay as written.
    EXPECT_STREQ("-x $2", dialog.Text(IDC_PREVIEW_PARAMETERS).Text());
    EXPECT_TRUE(strstr(dialog.Text(IDC_PREVIEW_NOTE).Text(), "$1"));
    ASSERT_TRUE(dialog.SetText(IDC_PREVIEW_ARGUMENTS, "one two three"));
    char windows[MAX_PATH];
    ASSERT_TRUE(GetEnvironmentVariableA("WINDIR", windows, sizeof(windows)));
    EXPECT_STREQ((CString(windows) + "\\notepad.exe").data, dialog.Text(IDC_PREVIEW_FILE).Text());
    EXPECT_STREQ("-x two three", dialog.Text(IDC_PREVIEW_PARAMETERS).Text());
    EXPECT_STREQ((CString(windows) + "\\temp").data, dialog.Text(IDC_PREVIEW_FOLDER).Text());
    EXPECT_STREQ("", dialog.Text(IDC_PREVIEW_NOTE).Text());
    EXPECT_TRUE(ScreenshotOfDialog(dialog.dialog, "command-preview-sample"));

    ASSERT_TRUE(dialog.SetText(IDC_COMMAND_PATH, "x.exe ->of"));
    ASSERT_TRUE(dialog.SetText(IDC_PREVIEW_ARGUMENTS, ""));
    EXPECT_TRUE(strstr(dialog.Text(IDC_PREVIEW_NOTE).Text(), "作業フォルダ「"));
    EXPECT_TRUE(strstr(dialog.Text(IDC_PREVIEW_NOTE).Text(), "」を開きます"));
    EXPECT_TRUE(ScreenshotOfDialog(dialog.dialog, "command-preview-note"));
    ASSERT_TRUE(dialog.SetText(IDC_COMMAND_PATH, "@2500"));
    EXPECT_STREQ("組み込みコマンド 2500: 新しいコマンドを作ります",
                 dialog.Text(IDC_PREVIEW_NOTE).Text());
    ASSERT_TRUE(dialog.SetText(IDC_COMMAND_PATH, ""));
    EXPECT_STREQ("パスが空のコマンドは実行されません", dialog.Text(IDC_PREVIEW_NOTE).Text());
    EXPECT_STREQ("", dialog.Text(IDC_PREVIEW_FILE).Text());
    ASSERT_TRUE(dialog.Click(IDCANCEL));
    ASSERT_TRUE(dialog.WaitClosed());
    ASSERT_NO_FATAL_FAILURE(WaitEditorReturned());
    ExpectFileUntouched();
}
