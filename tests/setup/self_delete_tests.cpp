// The batch file that deletes setup.exe after its run: what it holds, and
// that it gives up on a program file that can never be deleted instead of
// spinning for ever.
#include <windows.h>
#include <string.h>

#include "editor/editor_driver.h"
#include "launcher/ui_driver.h"
#include "setup_checks.h"

using Zint_Std::CString;

namespace {

class SetupSelfDeleteTest : public SetupTestBase {
protected:
    void TearDown() override
    {
        SetFileAttributesA(package.setupPath.data, FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(package.setupPath.data);
        SetupTestBase::TearDown();
    }
};

bool Holds(const CString& text, const CString& piece)
{
    return text.data && piece.data && strstr(text.data, piece.data) != 0;
}

}  // namespace

TEST_F(SetupSelfDeleteTest, GivesUpOnAProgramFileThatStays)
{
    ASSERT_TRUE(SetFileAttributesA(package.setupPath.data, FILE_ATTRIBUTE_READONLY));
    // Only a run that installed removes its package and program.
    CSetupRun run;
    ASSERT_TRUE(run.Start(package.setupPath, ""));
    InstallChoice choice;
    choice.folder = TestInstallFolder("read-only setup");
    ASSERT_TRUE(RunInstallDialog(run, choice, 0));
    ASSERT_TRUE(AnswerFinalQuestion(run, IDNO, 0, 0));
    ASSERT_TRUE(run.WaitEnded());
    const DWORD ended = GetTickCount();
    ExpectMissing(package.payload);

    // Written before the program ended, so it is there now.
    const CString batch = package.folder + "setup.bat";
    const CString text = ReadWholeFile(batch);
    ASSERT_TRUE(text.data && text.data[0]) << "no batch file";
    EXPECT_EQ(0, strncmp(text.data, "@echo off\r\n", 11));
    EXPECT_TRUE(Holds(text, ":one_more\r\n"));
    EXPECT_TRUE(Holds(text, CString("del \"") + package.setupPath + "\"\r\n"));
    EXPECT_TRUE(Holds(text, CString("if exist \"") + package.setupPath + "\" goto one_more:\r\n"));
    EXPECT_TRUE(Holds(text, "ping -n 2 127.0.0.1 >nul\r\n"));
    const char* last = strstr(text.data, CString("del \"" + batch + "\"\r\n").data);
    ASSERT_TRUE(last != 0);
    EXPECT_EQ('\0', last[batch.GetLength() + 8]) << "deleting itself is not the last line";

    // About a minute of tries with a pause of a second each, then the batch
    // file goes.
    EXPECT_TRUE(WaitForPathGone(batch, 180000)) << "the batch file never gave up";
    const DWORD seconds = (GetTickCount() - ended) / 1000;
    EXPECT_LE(30u, seconds) << "the tries were not paused";
    EXPECT_GE(150u, seconds);
    ExpectExists(package.setupPath);
}

TEST_F(SetupSelfDeleteTest, DeletesAProgramWhosePathHoldsPercentSigns)
{
    // cmd expands %PATH% wherever it stands in a batch file.
    CSetupPackage odd;
    ASSERT_TRUE(odd.Build("quelt%PATH%pkg"));
    InstallChoice choice;
    choice.folder = TestInstallFolder("percent");
    EXPECT_TRUE(InstallQuietly(odd, choice)) << "setup.exe was not deleted";
    EXPECT_TRUE(WaitForPathGone(odd.folder + "setup.bat"));
    RemoveScratchFolder(odd.folder);
}
