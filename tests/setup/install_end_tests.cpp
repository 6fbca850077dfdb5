// The end of an installation with the system's answers replaced: whether
// the desktop's shell answers and whether setup is elevated decide how the
// registration tool, the launcher and the readme start, or which notice
// says that they do not. The boxes are answered as a user would.
#include <gtest/gtest.h>
#include <windows.h>

#include "editor/editor_driver.h"
#include "install_end.h"
#include "setup_driver.h"

using Zint_Std::CString;

namespace {

// Records each start with the way it took instead of starting anything.
class CRecordingStarter : public CUserStarter {
public:
    bool desktop;
    bool elevated;
    CString started;

    CRecordingStarter(const bool& desktop, const bool& elevated)
        : desktop(desktop), elevated(elevated) {}

protected:
    bool DesktopShellAvailable() override { return desktop; }
    bool StartThroughDesktop(const char* file, const char* parameters, const char*) override
    {
        return desktop && Record("desktop", file, parameters);
    }
    bool IsElevated() override { return elevated; }
    bool StartDirectly(const char* file, const char* parameters, const char*) override
    {
        return Record("direct", file, parameters);
    }

private:
    bool Record(const char* way, const char* file, const char* parameters)
    {
        CString line;
        line.Format("%s %s%s%s\n", way, file, parameters ? " " : "", parameters ? parameters : "");
        started.Append(line);
        return true;
    }
};

struct EndRun {
    CInstallEnd* end;
    InstallEndPlan plan;
};

DWORD WINAPI RunEnd(void* context)
{
    EndRun* run = static_cast<EndRun*>(context);
    run->end->Run(run->plan);
    return 0;
}

// Waits for the next box "Quelt" of this process, checks its text, answers.
void ExpectBox(const CString& text, const int& answer, const char* screenshot)
{
    CDialogUnderTest box;
    ASSERT_TRUE(box.WaitFor(GetCurrentProcessId(), "Quelt"));
    EXPECT_STREQ(text.data, MessageBoxLabel(box.dialog).data);
    if (screenshot)
        TakeSettledScreenshot(box.dialog, screenshot);
    EXPECT_TRUE(CDialogUnderTest::Answer(box.dialog, answer));
}

}  // namespace

TEST(InstallEnd, StartsWithTheUsersRightsOrTellsHowQueltStarts)
{
    const CString done = CString("Queltのインストールが完了しました！\n\n") +
                         "Queltは起動直後隠れています.表示方法はデフォルト Alt + 1 (変更可能) です.\n\n";
    const CString refused =
        done + "インストーラーが管理者権限で実行されているため,ここではQueltを起動しません.\n";
    const char kSendTo[] = "\n\n[送る] メニューに 【Queltに登録】 がないときは,スタートメニューの"
                           "「Quelt」→「送るメニューにショートカットの追加／削除」で追加してください.";
    const struct {
        bool desktop, elevated, startupLink, menuFolder;
        int answer;      // to the question; 0 when none may come
        CString notice;  // empty when none may come
        const char* started;
    } kCases[] = {
        {true, true, true, true, IDYES, CString(),
         "desktop C:\\q\\Pinlet.exe -a\ndesktop C:\\q\\quelt_.exe\ndesktop C:\\q\\readme.txt\n"},
        {true, true, true, true, IDNO, CString(),
         "desktop C:\\q\\Pinlet.exe -a\ndesktop C:\\q\\readme.txt\n"},
        {false, false, true, true, IDYES, CString(),
         "direct C:\\q\\Pinlet.exe -a\ndirect C:\\q\\quelt_.exe\ndirect C:\\q\\readme.txt\n"},
        {false, true, true, true, 0,
         refused + "Queltは次回のログオン時に自動的に起動します.\n"
                   "すぐに使うときは,スタートメニューの「Quelt」から起動してください." +
             kSendTo,
         ""},
        {false, true, false, true, 0,
         refused + "Queltは,スタートメニューの「Quelt」から起動してください." + kSendTo, ""},
        {false, true, false, false, 0,
         refused + "Queltは,インストール先のフォルダにある quelt_.exe から起動してください.", ""},
    };
    for (size_t i = 0; i < sizeof(kCases) / sizeof(kCases[0]); ++i) {
        SCOPED_TRACE(i);
        CRecordingStarter starter(kCases[i].desktop, kCases[i].elevated);
        CInstallEnd end(starter);
        EndRun run = {&end, InstallEndPlan()};
        run.plan.installFolder = "C:\\q\\";
        run.plan.firstInstall = run.plan.sendTo = true;
        run.plan.startupLink = kCases[i].startupLink;
        run.plan.menuFolder = kCases[i].menuFolder;
        HANDLE thread = CreateThread(0, 0, RunEnd, &run, 0, 0);
        ASSERT_TRUE(thread != 0);
        if (kCases[i].answer)
            ExpectBox(done + "今すぐQueltを起動しますか？", kCases[i].answer, 0);
        if (!kCases[i].notice.IsEmpty())
            ExpectBox(kCases[i].notice, IDOK, i == 3 ? "setup_no_start_notice" : 0);
        // A box nobody expected keeps the thread waiting; it is answered.
        if (WaitForSingleObject(thread, 15000) != WAIT_OBJECT_0) {
            ExpectBox("(a box nobody expected)", IDOK, 0);
            WaitForSingleObject(thread, 15000);
        }
        CloseHandle(thread);
        EXPECT_STREQ(kCases[i].started, starter.started.Text());
    }
}
