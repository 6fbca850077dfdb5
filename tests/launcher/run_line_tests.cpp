// Typed lines run against a real command file; a probe program records what
// reached the started process.
#include <gtest/gtest.h>

#include <process.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "commands/line_parser.h"
#include "launcher/command_runner.h"
#include "launcher/launcher_app.h"
#include "launcher/launcher_ids.h"
#include "support/files.h"
#include "test_paths.h"

using Zint_Std::CString;

namespace {

const DWORD kLaunchTimeoutMs = 30000;

// The shell shows its own error box when a start fails; this thread closes
// every dialog box of the process and counts them.
class ErrorBoxCloser {
public:
    volatile LONG seen;
    volatile LONG stop;
    HANDLE thread;

    ErrorBoxCloser() : seen(0), stop(0), thread(0)
    {
        thread = reinterpret_cast<HANDLE>(_beginthreadex(0, 0, Loop, this, 0, 0));
    }
    ~ErrorBoxCloser()
    {
        InterlockedExchange(&stop, 1);
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
    }

private:
    static BOOL CALLBACK CloseOne(HWND window, LPARAM parameter)
    {
        ErrorBoxCloser* self = reinterpret_cast<ErrorBoxCloser*>(parameter);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        char className[32];
        if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
            GetClassNameA(window, className, sizeof(className)) && !strcmp(className, "#32770")) {
            InterlockedIncrement(&self->seen);
            PostMessageA(window, WM_COMMAND, IDOK, 0);
            PostMessageA(window, WM_CLOSE, 0, 0);
        }
        return TRUE;
    }
    static unsigned __stdcall Loop(void* parameter)
    {
        ErrorBoxCloser* self = static_cast<ErrorBoxCloser*>(parameter);
        while (!self->stop) {
            EnumWindows(CloseOne, reinterpret_cast<LPARAM>(self));
            Sleep(100);
        }
        return 0;
    }
};

struct ProbeRecord {
    CString args;
    CString folder;
    CString raw;
};

CString Field(const CString& raw, const char* key)
{
    CString result;
    const char* at = strstr(raw.Text(), key);
    if (!at)
        return result;
    at += strlen(key);
    const char* end = strchr(at, '\n');
    result.Assign(at);
    if (end)
        result.data[end - at] = 0;
    return result;
}

class RunLineTest : public ::testing::Test {
protected:
    CString folder;
    CString probe;
    HWND window;
    CLauncherApp* app;
    ErrorBoxCloser* closer;
    int outputs;

    void SetUp() override
    {
        folder = MakeScratchFolder("run-line");
        probe = Zint_Std::ModuleFolder(0) + "launch_probe.exe";
        ASSERT_TRUE(Zint_Std::PathExists(probe.data));
        window = CreateWindowA("STATIC", "run-line-test", 0, 0, 0, 10, 10, 0, 0, 0, 0);
        ASSERT_TRUE(window != 0);
        app = 0;
        closer = new ErrorBoxCloser();
        outputs = 0;
        SetEnvironmentVariableA("QUELT_PROBE_VARS", 0);
    }
    void TearDown() override
    {
        delete app;
        delete closer;
        DestroyWindow(window);
        RemoveScratchFolder(folder);
    }

    void UseCommands(const CString& commands, const char* profile = 0)
    {
        ASSERT_TRUE(WriteTextFile(folder + "quelt_cmd.txt", commands.data));
        if (profile) {
            ASSERT_TRUE(WriteTextFile(folder + "quelt_.ini", profile));
        }
        app = new CLauncherApp(GetModuleHandleA(0));
        app->commandList = new CCommandList(folder);
        ASSERT_EQ(1, app->commandList->Load());
        LauncherSettings settings;
        memset(&settings, 0, sizeof(settings));
        app->commandList->ReadSettings(settings);
        app->runner = new CCommandRunner(GetModuleHandleA(0), window, folder);
    }

    // Runs a line; with a record wanted, waits for the probe's file.
    int Run(const char* line, ProbeRecord* record)
    {
        char name[32];
        sprintf(name, "probe-%d.txt", ++outputs);
        CString output = folder + name;
        SetEnvironmentVariableA("QUELT_PROBE_OUT", output.data);
        CString text(line);
        int result = app->RunLine(text);
        if (record) {
            EXPECT_TRUE(WaitForFile(output, kLaunchTimeoutMs)) << line;
            record->raw = ReadWholeFile(output);
            record->args = Field(record->raw, "args=");
            record->folder = Field(record->raw, "cwd=");
        }
        return result;
    }

    CString CopyProbe(const char* relative)
    {
        CString target = folder + relative;
        CString parent(target.data);
        Zint_Std::CutAfterLastBackslash(parent.data);
        Zint_Std::MakeFolderPath(parent);
        EXPECT_TRUE(CopyFileA(probe.data, target.data, FALSE));
        return target;
    }

    bool PostedCommand(WPARAM* wParam, LPARAM* lParam)
    {
        MSG message;
        if (!PeekMessageA(&message, window, WM_COMMAND, WM_COMMAND, PM_REMOVE))
            return false;
        *wParam = message.wParam;
        *lParam = message.lParam;
        return true;
    }
};

CString Section(const char* name, const CString& path, const char* folderValue = 0)
{
    CString text;
    text.Format("[%s]\r\nPATH=%s\r\n", name, path.data);
    if (folderValue) {
        text.Append("FOLDER=");
        text.Append(folderValue);
        text.Append("\r\n");
    }
    return text;
}

}  // namespace

TEST_F(RunLineTest, PlaceholdersReachTheProgram)
{
    CString commands = Section("p21", probe + " $2 $1") + Section("pall", probe + " $!") +
                       Section("whole", probe + " $$") + Section("plain", probe) +
                       Section("none", probe + " $1");
    UseCommands(commands);
    ProbeRecord record;
    EXPECT_EQ(1, Run("p21 a b c", &record));
    EXPECT_STREQ("b a b c", record.args.data);
    EXPECT_EQ(1, Run("PALL a b", &record));
    EXPECT_STREQ("a b ", record.args.data);
    EXPECT_EQ(1, Run("whole x   y", &record));
    EXPECT_STREQ("x   y", record.args.data);
    EXPECT_EQ(1, Run("  plain x   y  ", &record));
    EXPECT_STREQ("x y", record.args.data);
    EXPECT_EQ(1, Run("none", &record));
    EXPECT_STREQ("$1", record.args.data);
    EXPECT_EQ(0, closer->seen);
}

TEST_F(RunLineTest, QuotesAndTheDotRule)
{
    CString spaced = CopyProbe("probe dir\\launch probe.exe");
    CString dotted = CopyProbe("tools\\x.y z.exe");
    CString commands = Section("quoted", CString("\"") + spaced + "\" -opt") +
                       Section("unbalanced", CString("\"") + probe + " -v") +
                       Section("dotted", dotted) +
                       Section("split", probe + " one two");
    UseCommands(commands);
    ProbeRecord record;
    EXPECT_EQ(1, Run("quoted more", &record));
    EXPECT_STREQ("-opt more", record.args.data);
    EXPECT_NE(nullptr, strstr(record.raw.data, "launch probe.exe"));
    EXPECT_EQ(1, Run("unbalanced", &record));
    EXPECT_STREQ("-v", record.args.data);
    // The shell knows "x.y z.exe" as a whole: the blank stays in the name.
    EXPECT_EQ(1, Run("dotted", &record));
    EXPECT_NE(nullptr, strstr(record.raw.data, "x.y z.exe"));
    EXPECT_STREQ("", record.args.data);
    EXPECT_EQ(1, Run("split", &record));
    EXPECT_STREQ("one two", record.args.data);
    EXPECT_EQ(0, closer->seen);
}

TEST_F(RunLineTest, AFileWithoutDotIsNeverSplit)
{
    CString bare(probe.data);
    bare.data[bare.GetLength() - 4] = 0;  // without ".exe"
    UseCommands(Section("nodot", bare + " a b"));
    EXPECT_EQ(0, Run("nodot", 0));
    // The shell reported the failure in its own box.
    DWORD start = GetTickCount();
    while (closer->seen == 0 && GetTickCount() - start < 10000)
        Sleep(50);
    EXPECT_GE(closer->seen, 1);
}

TEST_F(RunLineTest, UnknownAndEmptyLinesRunNothing)
{
    UseCommands(Section("known", probe) + "[empty]\r\nPATH=\r\nFOLDER=C:\\\r\n");
    EXPECT_EQ(0, Run("", 0));
    EXPECT_EQ(0, Run("    \t ", 0));
    EXPECT_EQ(0, Run("unknown a b", 0));
    EXPECT_EQ(0, Run("empty", 0));
    EXPECT_EQ(0, Run("kno", 0));  // no prefix matching when a line runs
    WPARAM w;
    LPARAM l;
    EXPECT_FALSE(PostedCommand(&w, &l));
}

TEST_F(RunLineTest, FolderAndAliasesAreExpanded)
{
    CString work = folder + "work dir\\";
    Zint_Std::MakeFolderPath(work);
    CString probeFolder(probe.data);
    Zint_Std::CutAfterLastBackslash(probeFolder.data);
    CString profile;
    profile.Format("[Alias]\r\nQUELT_TEST_PROBES=%s\r\nQUELT_TEST_WORK=%s\r\n", probeFolder.data,
                   work.data);
    UseCommands(Section("env", CString("%QUELT_TEST_PROBES%launch_probe.exe"),
                        "%QUELT_TEST_WORK%") +
                    Section("nofolder", probe),
                profile.data);
    SetEnvironmentVariableA("QUELT_PROBE_VARS", "QUELT_TEST_WORK");
    ProbeRecord record;
    EXPECT_EQ(1, Run("env", &record));
    CString expected(work.data);
    expected.data[expected.GetLength() - 1] = 0;
    EXPECT_TRUE(lstrcmpiA(expected.data, record.folder.data) == 0 ||
                lstrcmpiA(work.data, record.folder.data) == 0)
        << record.folder.data;
    // The started program inherits the alias variables.
    EXPECT_STREQ(work.data, Field(record.raw, "env:QUELT_TEST_WORK=").data);

    char current[MAX_PATH];
    GetCurrentDirectoryA(sizeof(current), current);
    EXPECT_EQ(1, Run("nofolder", &record));
    EXPECT_EQ(0, lstrcmpiA(current, record.folder.data));
}

TEST_F(RunLineTest, ArrowOptionsOpenTheFolders)
{
    // Opening a folder starts the shell's explorer, looked up in that folder
    // first: a probe named explorer.exe there reports what was opened.
    CString work = folder + "work\\";
    CopyProbe("work\\explorer.exe");
    CString target = CopyProbe("target\\app.exe");
    CopyProbe("target\\explorer.exe");
    CString commands = Section("of", target + " ->of", work.data) +
                       Section("oaf", target, work.data) +
                       Section("nofolder", target);
    UseCommands(commands);
    ProbeRecord record;
    EXPECT_EQ(1, Run("of", &record));
    EXPECT_NE(nullptr, strstr(record.raw.data, "work")) << record.raw.data;
    EXPECT_EQ(0, strstr(record.raw.data, "target") != 0) << record.raw.data;
    EXPECT_EQ(1, Run("oaf ->oaf", &record));
    EXPECT_NE(nullptr, strstr(record.args.data, "target")) << record.raw.data;
    // "of" without a folder, and letter case other than the option's: the
    // text goes to the program as a parameter.
    EXPECT_EQ(1, Run("nofolder ->of", &record));
    EXPECT_STREQ("->of", record.args.data);
    EXPECT_EQ(1, Run("oaf ->OF", &record));
    EXPECT_STREQ("->OF", record.args.data);
    // "->" alone is an ordinary parameter.
    EXPECT_EQ(1, Run("oaf ->", &record));
    EXPECT_STREQ("->", record.args.data);
    EXPECT_EQ(0, closer->seen);
}

TEST_F(RunLineTest, TheEditOptionPostsTheNameAsTyped)
{
    UseCommands(Section("MyCmd", probe + " ->edit"));
    EXPECT_EQ(1, Run("mycmd", 0));
    WPARAM w = 0;
    LPARAM l = 0;
    ASSERT_TRUE(PostedCommand(&w, &l));
    EXPECT_EQ(0x19C41u, static_cast<unsigned>(w));
    char* name = reinterpret_cast<char*>(l);
    ASSERT_TRUE(name != 0);
    EXPECT_STREQ("mycmd", name);
    char foreign[8] = "mycmd";
    EXPECT_FALSE(app->runner->TakeBackEditName(foreign));
    EXPECT_TRUE(app->runner->TakeBackEditName(name));
    EXPECT_FALSE(app->runner->TakeBackEditName(name));  // taken back once only
    free(name);
}

TEST_F(RunLineTest, BuiltinCodesPostTheMenuCommands)
{
    UseCommands(Section("reload", CString("@600")) + Section("zero", CString("@")) +
                Section("spaced", CString("@2300 extra")) + Section("odd", CString("@1100")));
    WPARAM w = 0;
    LPARAM l = 0;
    EXPECT_EQ(1, Run("reload a b c", 0));  // typed words are ignored
    ASSERT_TRUE(PostedCommand(&w, &l));
    EXPECT_EQ(static_cast<WPARAM>(kCmdReloadCommands), w);
    EXPECT_EQ(0, l);
    EXPECT_EQ(1, Run("spaced", 0));
    ASSERT_TRUE(PostedCommand(&w, &l));
    EXPECT_EQ(static_cast<WPARAM>(kCmdReloadSettings), w);
    EXPECT_EQ(0, Run("zero", 0));
    EXPECT_EQ(0, Run("odd", 0));
    EXPECT_FALSE(PostedCommand(&w, &l));

    struct Posted {
        int code;
        WPARAM wParam;
    } posted[] = {{300, kCmdVersion}, {600, kCmdReloadCommands}, {700, kCmdOpenCommandFile}, {1400, kCmdEditSettings}, {1700, kCmdHelp}, {2100, kCmdEditCommands}, {2300, kCmdReloadSettings}, {2400, kCmdOpenProfile}, {2500, 0x19C41}};
    for (const Posted& p : posted) {
        EXPECT_EQ(1, app->runner->RunBuiltin(p.code)) << p.code;
        ASSERT_TRUE(PostedCommand(&w, &l)) << p.code;
        EXPECT_EQ(p.wParam, w) << p.code;
        EXPECT_EQ(0, l) << p.code;
    }
    const int idle[] = {0, 1, 1100, 1200, 1500, 2200, 2700, -600, 99999};
    for (int code : idle) {
        EXPECT_EQ(0, app->runner->RunBuiltin(code)) << code;
        EXPECT_FALSE(PostedCommand(&w, &l)) << code;
    }
}

TEST_F(RunLineTest, LongTextsNeitherOverflowNorRun)
{
    UseCommands(Section("long", probe + " $$"));
    // A typed line far beyond what the input box allows.
    CString line("long ");
    for (int i = 0; i < 600; i++)
        line.Append("w ");
    ProbeRecord record;
    EXPECT_EQ(1, Run(line.data, &record));
    EXPECT_EQ(1199, record.args.GetLength());

    // A file or folder that expands past 499 characters is expanded whole,
    // never cut off at the old 500-byte buffer.
    CString huge;
    for (int i = 0; i < 3000; i++)
        huge.AppendChar(static_cast<char>('a' + i % 26));
    SetEnvironmentVariableA("QUELT_TEST_HUGE", huge.data);
    char* expanded = ExpandEnvironmentToFit("<%QUELT_TEST_HUGE%>");
    ASSERT_TRUE(expanded != 0);
    EXPECT_EQ(3002, lstrlenA(expanded));
    free(expanded);
    expanded = ExpandEnvironmentToFit("short");
    ASSERT_TRUE(expanded != 0);
    EXPECT_STREQ("short", expanded);
    free(expanded);
}
