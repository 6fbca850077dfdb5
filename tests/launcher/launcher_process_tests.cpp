// The real launcher program, started from a scratch install folder and
// watched from outside: its window, its hotkey, its messages and its files.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include "launcher/ui_driver.h"
#include "support/files.h"
#include "test_paths.h"

using Zint_Std::CString;

namespace {

const DWORD kTimeoutMs = 30000;
const char kHotKeyFailed[] = "ホットキーの登録に失敗しました !\n設定を変更してください.";
const char kCommandFileFailed[] = "コマンドファイルの読み込みに失敗しました.";

// A top-level window of the process, waited for.
HWND WaitForWindow(const DWORD& process, const char* className, const char* title)
{
    return WaitForProcessWindow(process, className, title, false, kTimeoutMs);
}

class LauncherProcessTest : public ::testing::Test {
protected:
    CString folder;
    PROCESS_INFORMATION process;

    void SetUp() override
    {
        memset(&process, 0, sizeof(process));
        ASSERT_EQ(nullptr, FindWindowA("QUELT_APP_WND_CLASS", 0))
            << "a launcher from elsewhere is running";
        folder = MakeScratchFolder("launcher-process");
        CString program = Zint_Std::ModuleFolder(0) + "quelt_.exe";
        ASSERT_TRUE(CopyFileA(program.data, (folder + "quelt_.exe").data, FALSE));
    }
    void TearDown() override
    {
        if (process.hProcess) {
            if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(process.hProcess, 99);
            WaitForSingleObject(process.hProcess, 5000);
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
        RemoveScratchFolder(folder);
    }

    void WriteCommands(const char* text = "[a]\r\nPATH=a.exe\r\n")
    {
        ASSERT_TRUE(WriteTextFile(folder + "quelt_cmd.txt", text));
    }
    void WriteProfile(const char* text) { ASSERT_TRUE(WriteTextFile(folder + "quelt_.ini", text)); }

    bool Start(PROCESS_INFORMATION& started)
    {
        STARTUPINFOA startup;
        memset(&startup, 0, sizeof(startup));
        startup.cb = sizeof(startup);
        CString program = folder + "quelt_.exe";
        CString line = CString("\"") + program + "\"";
        return CreateProcessA(program.data, line.data, 0, 0, FALSE, 0, 0, folder.data, &startup,
                              &started) != 0;
    }

    HWND StartLauncher()
    {
        if (!Start(process))
            return 0;
        return WaitForWindow(process.dwProcessId, "QUELT_APP_WND_CLASS", "Quelt");
    }

    DWORD WaitForExit(const PROCESS_INFORMATION& started)
    {
        if (WaitForSingleObject(started.hProcess, kTimeoutMs) != WAIT_OBJECT_0)
            return 0xFFFFFFFF;
        DWORD code = 0xFFFFFFFE;
        GetExitCodeProcess(started.hProcess, &code);
        return code;
    }

    // The quit request as the installer sends it.
    DWORD Quit(HWND window)
    {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(window, WM_DESTROY, 0, 0, SMTO_NORMAL, kTimeoutMs, &ignored);
        return WaitForExit(process);
    }

    // Answers a message box of the launcher and returns its text.
    CString AnswerBox(const char* caption)
    {
        HWND box = WaitForWindow(process.dwProcessId, "#32770", caption);
        if (!box)
            return CString("(no box)");
        CString text = MessageBoxText(box);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return text;
    }
};

}  // namespace

TEST_F(LauncherProcessTest, StartsHiddenHoldsTheHotKeyAndASecondStartLeavesItAlone)
{
    WriteCommands();
    HWND window = StartLauncher();
    ASSERT_TRUE(window != 0);
    EXPECT_FALSE(IsWindowVisible(window));
    LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_TRUE((style & WS_CAPTION) == WS_CAPTION);
    EXPECT_FALSE(style & (WS_SYSMENU | WS_THICKFRAME));
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    RECT frame;
    GetWindowRect(window, &frame);
    EXPECT_EQ(265, frame.right - frame.left);
    EXPECT_EQ(43, frame.bottom - frame.top);
    EXPECT_EQ(0, frame.left);
    EXPECT_EQ(0, frame.top);
    // The input box is made just after the window.
    HWND edit = 0;
    const DWORD created = GetTickCount();
    while (!(edit = FindWindowExA(window, 0, "EDIT", 0)) && GetTickCount() - created < kTimeoutMs)
        Sleep(20);
    ASSERT_TRUE(edit != 0);
    RECT client, box;
    GetClientRect(window, &client);
    GetClientRect(edit, &box);
    EXPECT_EQ(client.right - 4, box.right);
    EXPECT_EQ(client.bottom - 4, box.bottom);

    // Wait until start-up has come to the hotkey. The probe holds the
    // combination for a moment, so it waits for the launcher's first wait
    // for input.
    ASSERT_EQ(0u, WaitForInputIdle(process.hProcess, kTimeoutMs));
    DWORD start = GetTickCount();
    while (!HotKeyHeldElsewhere(MOD_ALT, '1') && GetTickCount() - start < kTimeoutMs)
        Sleep(50);
    EXPECT_TRUE(HotKeyHeldElsewhere(MOD_ALT, '1'));

    PROCESS_INFORMATION second;
    ASSERT_TRUE(Start(second));
    EXPECT_EQ(0u, WaitForExit(second));
    CloseHandle(second.hProcess);
    CloseHandle(second.hThread);
    EXPECT_EQ(window, FindWindowA("QUELT_APP_WND_CLASS", 0));
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(process.hProcess, 0));
    EXPECT_FALSE(IsWindowVisible(window));

    // Unknown commands are ignored; the launcher keeps running. (The editor
    // command opens a modal dialog now; foreign pointers posted with it are
    // tested with the editor dialogs.)
    EXPECT_EQ(0, SendMessageA(window, WM_COMMAND, 12345, 0));
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(process.hProcess, 0));

    EXPECT_EQ(0u, Quit(window));
    EXPECT_EQ(nullptr, FindWindowA("QUELT_APP_WND_CLASS", 0));
    EXPECT_FALSE(HotKeyHeldElsewhere(MOD_ALT, '1'));
}

TEST_F(LauncherProcessTest, SavedPositionIsUsedAndWrittenBackWithoutNegatives)
{
    WriteCommands();
    WriteProfile("[QUELT]\r\nSavePosition=1\r\nPositionX=120\r\nPositionY=80\r\nWndWidth=300\r\n");
    HWND window = StartLauncher();
    ASSERT_TRUE(window != 0);
    RECT frame;
    GetWindowRect(window, &frame);
    EXPECT_EQ(120, frame.left);
    EXPECT_EQ(80, frame.top);
    EXPECT_EQ(300, frame.right - frame.left);
    SetWindowPos(window, 0, -50, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(0u, Quit(window));
    CString profile = folder + "quelt_.ini";
    EXPECT_EQ(0u, GetPrivateProfileIntA("QUELT", "PositionX", 77, profile.data));
    EXPECT_EQ(200u, GetPrivateProfileIntA("QUELT", "PositionY", 77, profile.data));
}

TEST_F(LauncherProcessTest, WithoutSavePositionNothingIsWritten)
{
    WriteCommands();
    const char text[] = "[QUELT]\r\nSavePosition=0\r\nPositionX=120\r\nPositionY=80\r\n";
    WriteProfile(text);
    HWND window = StartLauncher();
    ASSERT_TRUE(window != 0);
    RECT frame;
    GetWindowRect(window, &frame);
    EXPECT_EQ(0, frame.left);
    EXPECT_EQ(0, frame.top);
    SetWindowPos(window, 0, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(0u, Quit(window));
    EXPECT_STREQ(text, ReadWholeFile(folder + "quelt_.ini").data);
}

TEST_F(LauncherProcessTest, NoCommandFileAndNoDefaultEndsWithTheMessage)
{
    ASSERT_TRUE(Start(process));
    EXPECT_STREQ(kCommandFileFailed, AnswerBox("Quelt").data);
    EXPECT_EQ(0u, WaitForExit(process));
    EXPECT_FALSE(Zint_Std::PathExists((folder + "quelt_cmd.txt").data));
}

TEST_F(LauncherProcessTest, FirstStartCopiesTheDefaultCommandFile)
{
    CString shipped = Zint_Std::ModuleFolder(0) + "cmd_org.txt";
    ASSERT_TRUE(CopyFileA(shipped.data, (folder + "cmd_org.txt").data, FALSE));
    HWND window = StartLauncher();
    ASSERT_TRUE(window != 0);
    int copiedLength = 0, shippedLength = 0;
    CString copied = ReadWholeFile(folder + "quelt_cmd.txt", &copiedLength);
    CString original = ReadWholeFile(shipped, &shippedLength);
    ASSERT_GT(shippedLength, 0);
    ASSERT_EQ(shippedLength, copiedLength);
    EXPECT_EQ(0, memcmp(copied.data, original.data, shippedLength));
    EXPECT_EQ(0u, Quit(window));
}

TEST_F(LauncherProcessTest, AHotKeyHeldElsewhereGivesTheErrorAndTheLauncherStays)
{
    WriteCommands();
    HWND holder = CreateWindowA("STATIC", "holder", 0, 0, 0, 10, 10, 0, 0, 0, 0);
    ASSERT_TRUE(RegisterHotKey(holder, 7, MOD_ALT, '1'));
    ASSERT_TRUE(Start(process));
    EXPECT_STREQ(kHotKeyFailed, AnswerBox("ERROR").data);
    HWND window = WaitForWindow(process.dwProcessId, "QUELT_APP_WND_CLASS", "Quelt");
    ASSERT_TRUE(window != 0);
    // Start-up went on to the end: the window is hidden again and answers.
    DWORD start = GetTickCount();
    while (IsWindowVisible(window) && GetTickCount() - start < kTimeoutMs)
        Sleep(50);
    EXPECT_FALSE(IsWindowVisible(window));
    DWORD_PTR answer = 1;
    EXPECT_TRUE(SendMessageTimeoutA(window, WM_COMMAND, 12345, 0, SMTO_NORMAL, kTimeoutMs, &answer));
    EXPECT_EQ(0u, answer);
    EXPECT_EQ(0u, Quit(window));
    UnregisterHotKey(holder, 7);
    DestroyWindow(holder);
}

TEST_F(LauncherProcessTest, HostileProfileValuesNeitherCrashNorChangeTheFile)
{
    WriteCommands();
    const char text[] =
        "[HotKey]\r\nALT=-1\r\nCtrl=abc\r\nKey=123\r\n[QUELT]\r\nWndWidth=-40\r\nWndHeight=999999"
        "\r\nHistory=-3\r\nToolTip=2147483648\r\nTaskTray=0\r\nImeCtrl=-7\r\nSavePosition=x\r\n"
        "[Alias]\r\n=novalue\r\nQUELT_T=\r\n";
    WriteProfile(text);
    HWND window = StartLauncher();
    ASSERT_TRUE(window != 0);
    ASSERT_EQ(0u, WaitForInputIdle(process.hProcess, kTimeoutMs));
    DWORD start = GetTickCount();
    while (!HotKeyHeldElsewhere(MOD_ALT, VK_F12) && GetTickCount() - start < kTimeoutMs)
        Sleep(50);
    EXPECT_TRUE(HotKeyHeldElsewhere(MOD_ALT, VK_F12));
    EXPECT_EQ(0u, Quit(window));
    EXPECT_STREQ(text, ReadWholeFile(folder + "quelt_.ini").data);
}
