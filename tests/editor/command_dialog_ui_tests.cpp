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

const char* Text(const CString& text)
{
    return text.data ? text.data : "";
}

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

bool FileExists(void* path)
{
    return Zint_Std::PathExists(static_cast<CString*>(path)->data);
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
        EXPECT_STREQ(name, Text(dialog.Text(IDC_COMMAND_NAME)));
        EXPECT_STREQ(path, Text(dialog.Text(IDC_COMMAND_PATH)));
        EXPECT_STREQ(folder, Text(dialog.Text(IDC_COMMAND_FOLDER)));
        EXPECT_STREQ(comment, Text(dialog.Text(IDC_COMMAND_COMMENT)));
    }
    void PressOkAndWaitClosed()
    {
        ASSERT_TRUE(dialog.Click(IDOK));
        ASSERT_TRUE(dialog.WaitClosed());
    }
    // OK is refused with a message box that holds words; the dialog stays
    // and the focus lands on the field.
    void ExpectRefused(const char* words, const int& field)
    {
        ASSERT_TRUE(dialog.Click(IDOK));
        HWND box = dialog.WaitForMessageBox("Quelt");
        ASSERT_TRUE(box != 0) << "no message for " << words;
        CString label = MessageBoxLabel(box);
        EXPECT_TRUE(strstr(Text(label), words)) << Text(label);
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
        EXPECT_STREQ(Text(before), Text(now));
        EXPECT_EQ(before.GetLength(), length);
        EXPECT_FALSE(Zint_Std::PathExists((launcher.folder + "quelt_cmd.txt.bak").data));
    }
    // The launcher read the file again: Tab completes the prefix to name.
    void ExpectCompletes(const char* prefix, const char* name)
    {
        ASSERT_TRUE(launcher.ShowWithHotKey());
        ASSERT_TRUE(launcher.Type(prefix));
        ASSERT_TRUE(launcher.WaitEditText(prefix));
        ASSERT_TRUE(launcher.Keys("Tab"));
        EXPECT_TRUE(launcher.WaitEditText(name)) << "the box holds " << Text(launcher.EditText());
        ASSERT_TRUE(launcher.Keys("Escape"));
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
    EXPECT_STREQ("PATHが空のコマンドは実行されません", Text(dialog.Text(IDC_PREVIEW_NOTE)));
    // The focus starts in the name.
    FocusWait wait = {dialog.dialog, dialog.Item(IDC_COMMAND_NAME)};
    EXPECT_TRUE(WaitUntil(FocusReached, &wait));

    ASSERT_NO_FATAL_FAILURE(Fill("zebra", "\"C:\\Program Files\\x.exe\" -a", "  C:\\work",
                                 "しま模様の表"));
    EXPECT_STREQ("C:\\Program Files\\x.exe", Text(dialog.Text(IDC_PREVIEW_FILE)));
    EXPECT_STREQ("-a", Text(dialog.Text(IDC_PREVIEW_PARAMETERS)));
    EXPECT_TRUE(TakeScreenshot("command-new-filled"));
    ASSERT_NO_FATAL_FAILURE(PressOkAndWaitClosed());

    // Exactly as typed, leading blanks and quotes included.
    EXPECT_STREQ("\"C:\\Program Files\\x.exe\" -a", Text(Value("zebra", "PATH")));
    EXPECT_STREQ("  C:\\work", Text(Value("zebra", "FOLDER")));
    EXPECT_STREQ("しま模様の表", Text(Value("zebra", "COMMENT")));
    EXPECT_STREQ("@2500", Text(Value("newcmd", "PATH")));
    EXPECT_STREQ("keep.exe", Text(Value("keep", "PATH")));
    CString backup = launcher.folder + "quelt_cmd.txt.bak";
    EXPECT_TRUE(WaitUntil(FileExists, &backup));
    EXPECT_STREQ(Text(before), Text(ReadWholeFile(backup)));
    ExpectCompletes("zeb", "zebra");
}

TEST_F(CommandDialogUiTest, CancelWritesNothing)
{
    ASSERT_NO_FATAL_FAILURE(StartWith("; 手書きのメモ\r\n[alpha]\r\nPATH=alpha.exe\r\n"));
    ASSERT_NO_FATAL_FAILURE(OpenNewFromMenu());
    ExpectFields("", "", "", "");
    ASSERT_NO_FATAL_FAILURE(Fill("beta", "beta.exe", "C:\\", "書かれない"));
    ASSERT_TRUE(dialog.Click(IDCANCEL));
    ASSERT_TRUE(dialog.WaitClosed());
    ExpectFileUntouched();

    // Esc closes it the same way.
    ASSERT_NO_FATAL_FAILURE(OpenNewFromMenu());
    ASSERT_NO_FATAL_FAILURE(Fill("gamma", "gamma.exe", "", ""));
    ASSERT_TRUE(PostMessageA(dialog.Item(IDC_COMMAND_NAME), WM_KEYDOWN, VK_ESCAPE, 0x00010001));
    ASSERT_TRUE(dialog.WaitClosed());
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
    EXPECT_STREQ("x.exe", Text(dialog.Text(IDC_PREVIEW_FILE)));
    EXPECT_STREQ("->edit", Text(dialog.Text(IDC_PREVIEW_PARAMETERS)));
    EXPECT_STREQ("C:\\work", Text(dialog.Text(IDC_PREVIEW_FOLDER)));
    EXPECT_STREQ("->edit: このコマンドを編集画面で開きます", Text(dialog.Text(IDC_PREVIEW_NOTE)));
    EXPECT_TRUE(TakeScreenshot("command-edit-existing"));

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
    EXPECT_STREQ(Text(changed), Text(ReadWholeFile(commandFile)));
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
    ExpectRefused("499 バイト以内", IDC_COMMAND_PATH);
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

    // Fixed, it goes through.
    ASSERT_TRUE(dialog.SetText(IDC_COMMAND_COMMENT, "ok"));
    ASSERT_NO_FATAL_FAILURE(PressOkAndWaitClosed());
    EXPECT_STREQ("fresh.exe", Text(Value("fresh", "PATH")));
    EXPECT_STREQ("ok", Text(Value("fresh", "COMMENT")));
    EXPECT_STREQ("notepad.exe", Text(Value("Notepad", "PATH")));
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
    EXPECT_STREQ(program.data, Text(dialog.Text(IDC_PREVIEW_FILE)));
    EXPECT_TRUE(TakeScreenshot("command-new-from-path"));
    ASSERT_NO_FATAL_FAILURE(PressOkAndWaitClosed());
    EXPECT_STREQ((CString("\"") + program + "\"").data, Text(Value("Run2", "PATH")));
    EXPECT_STREQ(tools.data, Text(Value("Run2", "FOLDER")));

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
    EXPECT_STREQ("-q", Text(dialog.Text(IDC_PREVIEW_PARAMETERS)));
    ASSERT_NO_FATAL_FAILURE(PressOkAndWaitClosed());
    EXPECT_STREQ(command.data, Text(Value("MyTool", "PATH")));
    EXPECT_STREQ(work.data, Text(Value("MyTool", "FOLDER")));
    ExpectCompletes("myt", "MyTool");
}

TEST_F(CommandDialogUiTest, PreviewFollowsTheFieldsAndTheSample)
{
    ASSERT_NO_FATAL_FAILURE(StartWith("[alpha]\r\nPATH=alpha.exe\r\n"));
    ASSERT_NO_FATAL_FAILURE(OpenNewFromMenu());
    ASSERT_NO_FATAL_FAILURE(Fill("show", "%WINDIR%\\notepad.exe -x $2", "%WINDIR%\\temp", ""));
    // Without a sample the placeholders stay as written.
    EXPECT_STREQ("-x $2", Text(dialog.Text(IDC_PREVIEW_PARAMETERS)));
    EXPECT_TRUE(strstr(Text(dialog.Text(IDC_PREVIEW_NOTE)), "$1"));
    ASSERT_TRUE(dialog.SetText(IDC_PREVIEW_ARGUMENTS, "one two three"));
    char windows[MAX_PATH];
    ASSERT_TRUE(GetEnvironmentVariableA("WINDIR", windows, sizeof(windows)));
    EXPECT_STREQ((CString(windows) + "\\notepad.exe").data, Text(dialog.Text(IDC_PREVIEW_FILE)));
    EXPECT_STREQ("-x two three", Text(dialog.Text(IDC_PREVIEW_PARAMETERS)));
    EXPECT_STREQ((CString(windows) + "\\temp").data, Text(dialog.Text(IDC_PREVIEW_FOLDER)));
    EXPECT_STREQ("", Text(dialog.Text(IDC_PREVIEW_NOTE)));
    EXPECT_TRUE(TakeScreenshot("command-preview-sample"));

    ASSERT_TRUE(dialog.SetText(IDC_COMMAND_PATH, "x.exe ->of"));
    ASSERT_TRUE(dialog.SetText(IDC_PREVIEW_ARGUMENTS, ""));
    EXPECT_TRUE(strstr(Text(dialog.Text(IDC_PREVIEW_NOTE)), "作業フォルダ「"));
    EXPECT_TRUE(strstr(Text(dialog.Text(IDC_PREVIEW_NOTE)), "」を開きます"));
    ASSERT_TRUE(dialog.SetText(IDC_COMMAND_PATH, "@2500"));
    EXPECT_STREQ("組み込みコマンド 2500: 新しいコマンドを作ります",
                 Text(dialog.Text(IDC_PREVIEW_NOTE)));
    ASSERT_TRUE(dialog.SetText(IDC_COMMAND_PATH, ""));
    EXPECT_STREQ("PATHが空のコマンドは実行されません", Text(dialog.Text(IDC_PREVIEW_NOTE)));
    EXPECT_STREQ("", Text(dialog.Text(IDC_PREVIEW_FILE)));
    ASSERT_TRUE(dialog.Click(IDCANCEL));
    ASSERT_TRUE(dialog.WaitClosed());
    ExpectFileUntouched();
}
