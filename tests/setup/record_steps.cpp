// Steps of the script check that reads an installation with tools of its
// own (wine reg, lnkinfo): one step installs and leaves everything in place
// and says where, the other uninstalls and cleans up. Outside that script
// (QUELT_SETUP_RECORD unset) both are skipped.
#include <windows.h>
#include <shlobj.h>
#include <stdlib.h>

#include "editor/editor_driver.h"
#include "launcher/ui_driver.h"
#include "setup_checks.h"

using Zint_Std::CString;

namespace {

CString RecordFolder()
{
    const char* folder = getenv("QUELT_SETUP_RECORD");
    return CString(folder ? folder : "");
}

}  // namespace

TEST(SetupRecordStep, InstallsAndLeavesIt)
{
    const CString out = RecordFolder();
    if (out.IsEmpty())
        GTEST_SKIP() << "run by check_install_record.sh";
    CoInitialize(0);
    CleanInstallationTraces();
    CSetupPackage package;
    ASSERT_TRUE(package.Build("record"));
    InstallChoice choice;
    choice.folder = TestInstallFolder("record");
    ASSERT_TRUE(InstallQuietly(package, choice));
    CString lines;
    lines.Format("%s\r\n%sQuelt\\\r\n", choice.folder.data,
                 SpecialFolder(CSIDL_COMMON_PROGRAMS).data);
    ASSERT_TRUE(WriteTextFile(out + "\\record.txt", lines.data));
    CoUninitialize();
}

TEST(SetupRecordStep, UninstallsAndCleansUp)
{
    if (RecordFolder().IsEmpty())
        GTEST_SKIP() << "run by check_install_record.sh";
    const CString folder = TestInstallFolder("record", false);
    CSetupRun run;
    bool started = run.Start(folder + "setup.exe", "-U");
    if (started) {
        CDialogUnderTest dialog;
        EXPECT_TRUE(dialog.WaitFor(run.process.dwProcessId, "Queltのアンインストール") &&
                    dialog.SetChecked(1005, true) && dialog.Click(IDOK) && run.WaitEnded());
        HWND done = WaitForAnyDialog("Quelt", "アンインストールが終了");
        EXPECT_TRUE(done && CDialogUnderTest::Answer(done, IDOK));
        EXPECT_TRUE(WaitForNoTempFiles(kUninstallCopyPattern));
    }
    CleanInstallationTraces();
    EXPECT_TRUE(started);
}
