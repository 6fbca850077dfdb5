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
        : desktop(desktop), elevated(elevated)
    {
    }

protected:
    bool DesktopShellAvailable() override { return desktop; }
    bool StartThroughDesktop(const char* file, const char* parameters,
                             const char*) override
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
        started.Append(way);
        started.Append(" ");
        started.Append(file);
        if (parameters) {
            started.Append(" ");
            started.Append(parameters);
        }
        started.Append("\n");
        return true;
    }
};

struct EndRun {
    CInstallEnd* end;
    const InstallEndPlan* plan;
};

DWORD WINAPI RunEnd(void* context)
{
    EndRun* run = static_cast<EndRun*>(context);
    run->end->Run(*run->plan);
    return 0;
}

const char kQuestion[] = "今すぐQueltを起動しますか？";
const char kHint[] = "Queltは起動直後隠れています.表示方法はデフォルト Alt + 1 (変更可能) です.\n\n";
const char kRefused[] =
    "インストーラーが管理者の権限で実行されているため,ここではQueltを起動しません.\n";

}  // namespace

TEST(InstallEnd, StartsWithTheUsersRightsOrTellsHowQueltStarts)
{
    const CString completed("Queltのインストールが完了しました！\n\n");
    const CString atLogOn = CString("Queltは次回のログオン時に自動的に起動します.\n") +
                            "すぐに使うときは,スタートメニューの「Quelt」から起動してください.";
    const CString sendToHint =
        "\n\n送るメニューに「Queltに登録」がないときは,スタートメニューの"
        "「送るメニューにショートカットの追加／削除」で追加してください.";
    const struct {
        const char* name;
        bool desktop;
        bool elevated;
        bool startupLink;
        bool menuFolder;
        int answer;      // to the question; 0 when none may come
        CString notice;  // empty when none may come
        const char* started;
    } kCases[] = {
        {"desktop shell", true, true, true, true, IDYES, CString(),
         "desktop C:\\q\\Pinlet.exe -a\ndesktop C:\\q\\quelt_.exe\ndesktop C:\\q\\readme.txt\n"},
        {"desktop shell, No", true, true, true, true, IDNO, CString(),
         "desktop C:\\q\\Pinlet.exe -a\ndesktop C:\\q\\readme.txt\n"},
        {"not elevated", false, false, true, true, IDYES, CString(),
         "direct C:\\q\\Pinlet.exe -a\ndirect C:\\q\\quelt_.exe\ndirect C:\\q\\readme.txt\n"},
        {"elevated, start-up shortcut", false, true, true, true, 0,
         completed + kHint + kRefused + atLogOn + sendToHint, ""},
        {"elevated, no start-up shortcut", false, true, false, true, 0,
         completed + kHint + kRefused + "Queltは,スタートメニューの「Quelt」から起動してください." +
             sendToHint,
         ""},
        {"elevated, no Start menu", false, true, false, false, 0,
         completed + kHint + kRefused +
             "Queltは,インストール先のフォルダにある quelt_.exe から起動してください.",
         ""},
    };
    for (size_t i = 0; i < sizeof(kCases) / sizeof(kCases[0]); ++i) {
        SCOPED_TRACE(kCases[i].name);
        InstallEndPlan plan;
        plan.installFolder = "C:\\q\\";
        plan.firstInstall = true;
        plan.sendTo = true;
        plan.startupLink = kCases[i].startupLink;
        plan.menuFolder = kCases[i].menuFolder;
        CRecordingStarter starter(kCases[i].desktop, kCases[i].elevated);
        CInstallEnd end(starter);
        EndRun run = {&end, &plan};
        HANDLE thread = CreateThread(0, 0, RunEnd, &run, 0, 0);
        ASSERT_TRUE(thread != 0);
        CDialogUnderTest box;
        if (kCases[i].answer) {
            EXPECT_TRUE(box.WaitFor(GetCurrentProcessId(), "Quelt"));
            EXPECT_STREQ((completed + kHint + kQuestion).data, MessageBoxLabel(box.dialog).data);
            EXPECT_TRUE(CDialogUnderTest::Answer(box.dialog, kCases[i].answer));
        }
        if (!kCases[i].notice.IsEmpty()) {
            EXPECT_TRUE(box.WaitFor(GetCurrentProcessId(), "Quelt"));
            EXPECT_STREQ(kCases[i].notice.data, MessageBoxLabel(box.dialog).data);
            if (i == 3)
                TakeSettledScreenshot(box.dialog, "setup_no_start_notice");
            EXPECT_TRUE(CDialogUnderTest::Answer(box.dialog, IDOK));
        }
        // A box nobody expected keeps the thread waiting.
        if (WaitForSingleObject(thread, 15000) != WAIT_OBJECT_0) {
            CDialogUnderTest extra;
            const bool shown = extra.WaitFor(GetCurrentProcessId(), "Quelt");
            ADD_FAILURE() << "a box nobody expected: "
                          << (shown ? MessageBoxLabel(extra.dialog).data : "(none found)");
            if (shown)
                CDialogUnderTest::Answer(extra.dialog, IDOK);
            WaitForSingleObject(thread, 15000);
        }
        CloseHandle(thread);
        EXPECT_STREQ(kCases[i].started, starter.started.data ? starter.started.data : "");
    }
}
