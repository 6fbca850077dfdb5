// The real Pinlet.exe started as the SendTo menu, the installer and the
// user start it: its SendTo shortcut, its questions, and the path it hands
// to the launcher (a stand-in window that records the exact bytes, and the
// real launcher with its new-command dialog).
#include <gtest/gtest.h>

#include <objbase.h>
#include <stdio.h>
#include <string.h>

#include "commands/profile_text.h"
#include "editor/editor_driver.h"
#include "editor/editor_ids.h"
#include "launcher/ui_driver.h"
#include "pinlet_driver.h"
#include "support/files.h"
#include "support/shortcut.h"
#include "test_paths.h"

using Zint_Std::CString;

namespace {

const char kAskCreate[] = "[送る] メニューに 【Queltに登録】 を作成しますか？";
const char kAskDelete[] = "[送る] メニューの 【Queltに登録】 ショートカットを削除しますか？";
const char kAskStart[] =
    "Queltが起動していません.\nこの機能の利用にはQueltが起動している必要があります.\n"
    "Queltを起動しますか？";
const char kStartFailed[] = "Queltの起動に失敗しました.";
const char kNewCaption[] = "新しいコマンド";

const char kCommands[] = "[one]\r\nPATH=one.exe\r\n";
const char kProfile[] = "[HotKey]\r\nALT=1\r\nKey=49\r\n";

CString Repeated(const char* piece, const int& times)
{
    CString text;
    for (int i = 0; i < times; ++i)
        text.Append(piece);
    return text;
}

CString FirstBytes(const CString& text, const int& count)
{
    CString cut;
    cut.Reserve(count);
    memcpy(cut.data, text.data, count);
    return cut;
}

class PinletTest : public ::testing::Test {
protected:
    CString folder;   // the install folder Pinlet is recorded in
    CString program;  // folder + Pinlet.exe
    CString shortcut;
    CString scratch[2];
    int scratchCount;
    CInstallRecord record;

    PinletTest() : scratchCount(0) {}

    void SetUp() override
    {
        CoInitialize(0);
        ASSERT_FALSE(MachineWideRecordExists()) << "an installation is recorded machine-wide";
        ASSERT_EQ(static_cast<HWND>(0), FindWindowA("QUELT_APP_WND_CLASS", 0))
            << "a launcher from elsewhere is running";
        shortcut = SendToShortcutPath();
        ASSERT_FALSE(shortcut.IsEmpty());
        DeleteFileA(shortcut.data);
    }
    void TearDown() override
    {
        DeleteFileA(shortcut.data);
        record.Restore();
        for (int i = 0; i < scratchCount; ++i)
            RemoveScratchFolder(scratch[i]);
        CoUninitialize();
    }
    // Puts Pinlet.exe into target and records target as the install folder.
    bool InstallInto(const CString& target)
    {
        folder = target;
        program = folder + "Pinlet.exe";
        CString built = Zint_Std::ModuleFolder(0) + "Pinlet.exe";
        if (!CopyFileA(built.data, program.data, FALSE)) {
            printf("cannot copy %s to %s: %lu\n", built.data, program.data, GetLastError());
            return false;
        }
        return record.Set(folder);
    }
    bool InstallIntoScratch(const char* name)
    {
        if (scratchCount >= 2)
            return false;
        CString made = MakeScratchFolder(name);
        if (made.IsEmpty())
            return false;
        scratch[scratchCount++] = made;
        return InstallInto(made);
    }
    // A run that shows nothing: it must end by itself.
    void RunSilently(const char* arguments)
    {
        CPinletRun run;
        ASSERT_TRUE(run.Start(program, arguments));
        DWORD exitCode = 0;
        ASSERT_TRUE(run.WaitExit(exitCode)) << "Pinlet " << arguments << " did not end";
        EXPECT_EQ(0u, exitCode);
    }
    // A run that asks: the box's text is checked, then answered.
    void RunAndAnswer(const char* arguments, const char* question, const int& answer,
                      const char* screenshot = 0)
    {
        CPinletRun run;
        ASSERT_TRUE(run.Start(program, arguments));
        HWND box = run.WaitForBox();
        ASSERT_NE(static_cast<HWND>(0), box);
        EXPECT_STREQ(question, MessageBoxLabel(box).data);
        if (screenshot)
            TakeScreenshot(screenshot);
        ASSERT_TRUE(CDialogUnderTest::Answer(box, answer));
        DWORD exitCode = 0;
        ASSERT_TRUE(run.WaitExit(exitCode));
        EXPECT_EQ(0u, exitCode);
    }
    void ExpectShortcutTo(const CString& installFolder)
    {
        ASSERT_TRUE(Zint_Std::PathExists(shortcut.data)) << shortcut.data;
        Zint_Std::ShortcutContents contents;
        ASSERT_TRUE(Zint_Std::ReadShortcutFile(shortcut.data, contents));
        EXPECT_STRCASEEQ((installFolder + "Pinlet.exe").data, contents.target.data);
        CString working(contents.workingFolder);
        if (working.GetLength() && working.data[working.GetLength() - 1] != '\\')
            working.Append("\\");
        EXPECT_STRCASEEQ(installFolder.data, working.data);
        EXPECT_STREQ("", contents.arguments.data);
        EXPECT_STREQ("", contents.description.data);
    }
};

TEST_F(PinletTest, SwitchesWriteOverwriteAndDeleteTheShortcutWithoutAsking)
{
    ASSERT_TRUE(InstallIntoScratch("pinlet-first"));
    const CString first = folder;
    RunSilently("-a");
    ExpectShortcutTo(first);

    // Recorded elsewhere now: "-a" writes over the old shortcut.
    ASSERT_TRUE(InstallIntoScratch("pinlet-second"));
    ASSERT_STRCASENE(first.data, folder.data);
    RunSilently("-a");
    ExpectShortcutTo(folder);

    // For the independent reader of the lnk test script.
    char keep[MAX_PATH] = "";
    if (GetEnvironmentVariableA("QUELT_PINLET_LNK_OUT", keep, sizeof(keep))) {
        CString copy = CString(keep) + "\\pinlet.lnk";
        EXPECT_TRUE(CopyFileA(shortcut.data, copy.data, FALSE));
        EXPECT_TRUE(WriteTextFile(CString(keep) + "\\folder.txt", folder.data));
    }

    RunSilently("-d");
    EXPECT_FALSE(Zint_Std::PathExists(shortcut.data));
    // Nothing to delete: still nothing shown, still exit code 0.
    RunSilently("-d");
    EXPECT_FALSE(Zint_Std::PathExists(shortcut.data));
}

TEST_F(PinletTest, WithoutArgumentsEachRunOffersWhatTheShortcutLacks)
{
    ASSERT_TRUE(InstallIntoScratch("pinlet-toggle"));
    RunAndAnswer("", kAskCreate, IDNO);
    EXPECT_FALSE(Zint_Std::PathExists(shortcut.data));
    RunAndAnswer("", kAskCreate, IDYES, "pinlet-create-question");
    ExpectShortcutTo(folder);

    RunAndAnswer("", kAskDelete, IDNO, "pinlet-delete-question");
    ExpectShortcutTo(folder);
    RunAndAnswer("", kAskDelete, IDYES);
    EXPECT_FALSE(Zint_Std::PathExists(shortcut.data));

    // Blanks alone after the name are no argument either.
    CPinletRun run;
    ASSERT_TRUE(run.StartWithLine(program, CString("\"") + program + "\"   "));
    HWND box = run.WaitForBox();
    ASSERT_NE(static_cast<HWND>(0), box);
    EXPECT_STREQ(kAskCreate, MessageBoxLabel(box).data);
    ASSERT_TRUE(CDialogUnderTest::Answer(box, IDNO));
    DWORD exitCode = 1;
    ASSERT_TRUE(run.WaitExit(exitCode));
    EXPECT_EQ(0u, exitCode);
    EXPECT_FALSE(Zint_Std::PathExists(shortcut.data));
}

struct PathCase {
    const char* arguments;
    const char* arrives;
};

class PinletPathTest : public PinletTest {
protected:
    CLauncherStandIn standIn;

    // Runs Pinlet with this command line and returns what the stand-in got.
    void ExpectArrives(const CString& line, const CString& expected)
    {
        CPinletRun run;
        ASSERT_TRUE(run.StartWithLine(program, line));
        ASSERT_TRUE(standIn.WaitForPath()) << "nothing arrived for " << line.data;
        DWORD exitCode = 1;
        ASSERT_TRUE(run.WaitExit(exitCode));
        EXPECT_EQ(0u, exitCode);
        EXPECT_STREQ(expected.data, standIn.lastPath.data) << "from " << line.data;
        EXPECT_EQ(expected.GetLength(), standIn.lastPath.GetLength());
        EXPECT_NE(0, standIn.lastAtom);
        standIn.PumpMessages();
    }
    CString Line(const char* arguments) { return CString("\"") + program + "\" " + arguments; }
};

TEST_F(PinletPathTest, ThePathReachesTheLauncherWindowAsOneAtom)
{
    ASSERT_TRUE(InstallIntoScratch("pinlet-path"));
    ASSERT_TRUE(standIn.Create());
    const PathCase cases[] = {
        {"C:\\quelt-test\\report.txt", "C:\\quelt-test\\report.txt"},
        // The Explorer quotes a name with blanks.
        {"\"C:\\My Files\\a b.txt\"", "C:\\My Files\\a b.txt"},
        // Several quoted paths stay one text: only the outer quotes go.
        {"\"C:\\a b\\one.txt\" \"C:\\c d\\two.txt\"", "C:\\a b\\one.txt\" \"C:\\c d\\two.txt"},
        {"\"C:\\open.txt", "\"C:\\open.txt"},
        {"C:\\日本語\\表示.txt", "C:\\日本語\\表示.txt"},
        // Not a switch: the comparison is exact.
        {"-A", "-A"},
        {"-a -d", "-a -d"},
        // Blanks inside and at the end are the path's own.
        {"   C:\\x y.txt  ", "C:\\x y.txt  "},
    };
    for (const PathCase& one : cases)
        ExpectArrives(Line(one.arguments), CString(one.arrives));
    EXPECT_EQ(static_cast<int>(sizeof(cases) / sizeof(cases[0])), standIn.received);

    // The program name without quotes.
    if (program.Find(" ", 0) < 0)
        ExpectArrives(program + " C:\\z.txt", CString("C:\\z.txt"));
}

TEST_F(PinletPathTest, ALongPathIsCutToTheLongestAtomNameBetweenCharacters)
{
    ASSERT_TRUE(InstallIntoScratch("pinlet-long"));
    ASSERT_TRUE(standIn.Create());
    CString single = CString("C:\\") + Repeated("a", 297);
    ASSERT_EQ(300, single.GetLength());
    ExpectArrives(Line(single.data), FirstBytes(single, 255));

    // Byte 255 is the first byte of a double-byte character: it goes whole.
    CString split = CString("C:\\a") + Repeated("表", 148);
    ASSERT_EQ(300, split.GetLength());
    ExpectArrives(Line(split.data), FirstBytes(split, 254));

    // Quoted, the quotes go first and the rest is measured.
    CString quoted = CString("\"C:\\") + Repeated("表", 148) + "b\"";
    ExpectArrives(Line(quoted.data), FirstBytes(CString("C:\\") + Repeated("表", 148), 255));
}

TEST_F(PinletPathTest, WithTheLauncherAbsentADeclinedQuestionSendsNothing)
{
    ASSERT_TRUE(InstallIntoScratch("pinlet-declined"));
    RunAndAnswer("C:\\quelt-test\\declined.txt", kAskStart, IDNO, "pinlet-start-question");
    EXPECT_EQ(static_cast<HWND>(0), FindWindowA("QUELT_APP_WND_CLASS", 0));
    EXPECT_EQ(0, GlobalFindAtomA("C:\\quelt-test\\declined.txt"));
    // "-A" is a path too, so it asks the same.
    RunAndAnswer("-A", kAskStart, IDNO);
    EXPECT_FALSE(Zint_Std::PathExists(shortcut.data));
}

TEST_F(PinletPathTest, ALauncherThatDoesNotAppearGivesTheWarningAfterItsLooks)
{
    // An install folder without quelt_.exe.
    ASSERT_TRUE(InstallIntoScratch("pinlet-no-launcher"));
    CPinletRun run;
    ASSERT_TRUE(run.Start(program, "C:\\quelt-test\\never-sent.txt"));
    HWND question = run.WaitForBox();
    ASSERT_NE(static_cast<HWND>(0), question);
    EXPECT_STREQ(kAskStart, MessageBoxLabel(question).data);
    ASSERT_TRUE(CDialogUnderTest::Answer(question, IDYES));
    const DWORD answered = GetTickCount();

    HWND warning = run.WaitForBox();
    const DWORD waited = GetTickCount() - answered;
    ASSERT_NE(static_cast<HWND>(0), warning);
    EXPECT_STREQ(kStartFailed, MessageBoxLabel(warning).data);
    // Five looks, each followed by half a second.
    EXPECT_GE(waited, 2400u);
    EXPECT_LT(waited, 10000u);
    // A system-modal box stays on top.
    EXPECT_NE(0, GetWindowLongA(warning, GWL_EXSTYLE) & WS_EX_TOPMOST);
    TakeScreenshot("pinlet-start-failed");
    ASSERT_TRUE(CDialogUnderTest::Answer(warning, IDOK));
    DWORD exitCode = 1;
    ASSERT_TRUE(run.WaitExit(exitCode));
    EXPECT_EQ(0u, exitCode);
    EXPECT_EQ(0, GlobalFindAtomA("C:\\quelt-test\\never-sent.txt"));
    EXPECT_EQ(static_cast<HWND>(0), FindWindowA("QUELT_APP_WND_CLASS", 0));
}

class PinletLauncherTest : public PinletTest {
protected:
    CLauncherUnderTest launcher;

    void ExpectNewCommandFor(const DWORD& processId, const char* name, const CString& path,
                             const char* screenshot = 0)
    {
        CDialogUnderTest dialog;
        ASSERT_TRUE(dialog.WaitFor(processId, kNewCaption));
        if (name) {
            EXPECT_STREQ(name, dialog.Text(IDC_COMMAND_NAME).data);
        }
        EXPECT_STREQ(QuotedWhenBlank(path.data).data, dialog.Text(IDC_COMMAND_PATH).data);
        if (screenshot)
            TakeScreenshot(screenshot);
        ASSERT_TRUE(dialog.Click(IDCANCEL));
        ASSERT_TRUE(dialog.WaitClosed());
    }
};

TEST_F(PinletLauncherTest, TheRunningLauncherOpensItsNewCommandDialogForThePath)
{
    ASSERT_TRUE(launcher.Start(kCommands, kProfile));
    ASSERT_TRUE(launcher.WaitUntilHotKeyHeld(MOD_ALT, '1'));
    ASSERT_TRUE(InstallInto(launcher.folder));
    const DWORD processId = launcher.process.dwProcessId;

    RunSilently("C:\\quelt-test\\report.txt");
    ExpectNewCommandFor(processId, "report", CString("C:\\quelt-test\\report.txt"),
                        "pinlet-new-command");
    EXPECT_EQ(0, GlobalFindAtomA("C:\\quelt-test\\report.txt"));

    RunSilently("\"C:\\quelt test\\my notes.txt\"");
    ExpectNewCommandFor(processId, 0, CString("C:\\quelt test\\my notes.txt"));

    CString longPath = CString("C:\\q") + Repeated("表", 148);
    RunSilently(longPath.data);
    ExpectNewCommandFor(processId, 0, FirstBytes(longPath, 254));
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(launcher.process.hProcess, 0));
}

TEST_F(PinletLauncherTest, AnAgreedStartRunsTheLauncherFromTheInstallFolderWithThePath)
{
    // A prepared install folder whose launcher is not running.
    ASSERT_TRUE(launcher.Start(kCommands, kProfile));
    ASSERT_TRUE(launcher.WaitUntilHotKeyHeld(MOD_ALT, '1'));
    ASSERT_TRUE(launcher.Quit());
    ASSERT_TRUE(InstallInto(launcher.folder));

    CStartedLauncher started;
    {
        CPinletRun run;
        ASSERT_TRUE(run.Start(program, "C:\\quelt-test\\started.txt"));
        HWND box = run.WaitForBox();
        ASSERT_NE(static_cast<HWND>(0), box);
        EXPECT_STREQ(kAskStart, MessageBoxLabel(box).data);
        ASSERT_TRUE(CDialogUnderTest::Answer(box, IDYES));
        ASSERT_TRUE(started.WaitForWindow());
        DWORD exitCode = 1;
        ASSERT_TRUE(run.WaitExit(exitCode));
        EXPECT_EQ(0u, exitCode);
    }
    EXPECT_STRCASEEQ((folder + "quelt_.exe").data, started.ProgramPath().data);
    ExpectNewCommandFor(started.processId, "started", CString("C:\\quelt-test\\started.txt"),
                        "pinlet-started-launcher");
    EXPECT_TRUE(started.Quit());
}

}  // namespace
