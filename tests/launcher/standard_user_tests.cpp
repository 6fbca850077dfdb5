// A shared installation in a folder this user cannot write: the launcher and
// Purgel keep the user's files in the per-user folder, starting from the
// installation's; a folder the user can write keeps its own files. Runs
// without root's power over read-only folders (run-as-plain-user.sh).
#include <gtest/gtest.h>

#include <shlobj.h>
#include <stdio.h>
#include <string.h>

#include "editor/editor_driver.h"
#include "editor/editor_ids.h"
#include "launcher/command_list.h"
#include "launcher/ui_driver.h"
#include "support/files.h"

using Zint_Std::CString;

namespace {

const UINT kRegisterPath = WM_USER + 0x47F;
const char kNewCaption[] = "新しいコマンド";
const char kProfile[] = "[HotKey]\r\nALT=1\r\nKey=49\r\n[QUELT]\r\nHistory=4\r\n";
const char kShipped[] = "[shipped]\r\nPATH=notepad.exe\r\n";

CString UserFolder()
{
    CString appData;
    if (!Zint_Std::GetSpecialFolderPath(appData, CSIDL_APPDATA))
        return CString();
    return appData + "quelt_\\";
}

class StandardUserTest : public ::testing::Test {
protected:
    CString user;
    CString work;

    void SetUp() override
    {
        user = UserFolder();
        ASSERT_FALSE(user.IsEmpty());
        RemoveScratchFolder(user);
        work = MakeScratchFolder("standard-user");
        // Without the reduced powers a closed folder would still take files
        // and nothing here would be shown.
        CString closed = MakeScratchFolder("standard-user-closed");
        ASSERT_TRUE(SetFolderWritable(closed, false));
        const bool refused = !Zint_Std::CanCreateFilesIn(closed);
        SetFolderWritable(closed, true);
        RemoveScratchFolder(closed);
        ASSERT_TRUE(refused) << "a closed folder still takes files: root's override holds";
    }
    void TearDown() override
    {
        RemoveScratchFolder(user);
        RemoveScratchFolder(work);
    }

    // A path sent as Pinlet sends it opens the new-command dialog; OK saves.
    void AddCommandThroughEditor(CLauncherUnderTest& launcher, const char* name)
    {
        ATOM atom = GlobalAddAtomA("C:\\quelt-test\\added.txt");
        ASSERT_NE(0, atom);
        ASSERT_TRUE(PostMessageA(launcher.window, kRegisterPath, atom, 0));
        CDialogUnderTest dialog;
        ASSERT_TRUE(dialog.WaitFor(launcher.process.dwProcessId, kNewCaption));
        ASSERT_TRUE(dialog.SetText(IDC_COMMAND_NAME, name));
        ASSERT_TRUE(dialog.Click(IDOK));
        ASSERT_TRUE(dialog.WaitClosed());
    }
};

bool Holds(const CString& text, const char* part)
{
    return text.data && strstr(text.data, part);
}

struct FilePart {
    CString path;
    const char* part;
};

// The editor saves once its dialog has gone.
bool FileHoldsPart(void* context)
{
    const FilePart* wanted = static_cast<const FilePart*>(context);
    return Holds(ReadWholeFile(wanted->path), wanted->part);
}

bool WaitUntilFileHolds(const CString& path, const char* part)
{
    FilePart wanted = {path, part};
    return WaitUntil(FileHoldsPart, &wanted);
}

bool Ended(void* process)
{
    return WaitForSingleObject(static_cast<HANDLE>(process), 0) == WAIT_OBJECT_0;
}

}  // namespace

TEST_F(StandardUserTest, LauncherInAClosedFolderMovesTheUsersFilesToTheUserFolder)
{
    CString probe = Zint_Std::ModuleFolder(0) + "launch_probe.exe";
    CString commands;
    commands.Format("[probe]\r\nPATH=\"%s\"\r\n", probe.data);
    struct Case {
        const char* installed;  // the shared command file, or none yet
        const char* copied;     // what the user's command file starts as
    } cases[] = {{0, kShipped}, {commands.data, commands.data}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.installed ? "with a shared command file" : "first start");
        RemoveScratchFolder(user);
        CLauncherUnderTest launcher;
        launcher.shippedCommands = kShipped;
        launcher.closedFolder = true;
        // The launcher hands its own environment on to what it starts.
        SetEnvironmentVariableA("QUELT_PROBE_OUT", (work + "probe.txt").data);
        ASSERT_TRUE(launcher.Start(c.installed, kProfile));
        SetEnvironmentVariableA("QUELT_PROBE_OUT", 0);
        ASSERT_TRUE(launcher.WaitUntilHotKeyHeld(MOD_ALT, '1'));
        EXPECT_STREQ(c.copied, ReadWholeFile(user + "quelt_cmd.txt").data);
        EXPECT_STREQ(kProfile, ReadWholeFile(user + "quelt_.ini").data);
        if (!c.installed)
            continue;

        // The copied command runs. The keys come as messages: this prefix
        // has a desktop window of its own beside the test prefix's, and the
        // X keyboard could reach the other.
        ASSERT_TRUE(SendMessageA(launcher.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("probe")));
        ASSERT_TRUE(PostMessageA(launcher.edit, WM_KEYDOWN, VK_RETURN, 1));
        EXPECT_TRUE(WaitForFile(work + "probe.txt", kUiTimeoutMs));

        // An editor's save lands in the user's file; the shared one stays.
        AddCommandThroughEditor(launcher, "added");
        EXPECT_TRUE(WaitUntilFileHolds(user + "quelt_cmd.txt", "[added]"));
        EXPECT_STREQ(c.installed, ReadWholeFile(launcher.folder + "quelt_cmd.txt").data);
        EXPECT_TRUE(launcher.Quit());
    }
}

TEST_F(StandardUserTest, OwnFilesOutliveAnOpenedFolderCopiesAreWritableAndNoOwnFolderReadsTheShared)
{
    const CString install = MakeScratchFolder("standard-user-install");
    ASSERT_TRUE(WriteTextFile(install + "cmd_org.txt", kShipped));
    ASSERT_TRUE(WriteTextFile(install + "quelt_.ini", kProfile));
    // Shipped read-only: the user's copies must still take the editors' writes.
    for (const char* name : {"cmd_org.txt", "quelt_.ini"})
        ASSERT_TRUE(SetFileAttributesA((install + name).data, FILE_ATTRIBUTE_READONLY));
    CString blocker(user);  // a file where the user's folder would be
    blocker.Delete(blocker.GetLength() - 1, 1);
    const struct Step {
        const char* what;
        bool closed;          // the install folder is closed to writing
        bool blocked;         // no folder of the user's own can be made
        const char* ownFile;  // the command file in the install folder; 0: the user's
    } steps[] = {{"no folder of the user's own", true, true, "cmd_org.txt"},
                 {"closed install folder", true, false, 0},
                 {"install folder opened since", false, false, 0}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        ASSERT_TRUE(!step.blocked || WriteTextFile(blocker, ""));
        ASSERT_TRUE(SetFolderWritable(install, !step.closed));
        CCommandList list(install);
        DeleteFileA(blocker.data);
        const CString folder = step.ownFile ? install : user;
        EXPECT_STREQ((folder + (step.ownFile ? step.ownFile : "quelt_cmd.txt")).data,
                     list.commandFile.data);
        EXPECT_STREQ((folder + "quelt_.ini").data, list.profileFile.data);
        EXPECT_EQ(1, list.Load());
        EXPECT_EQ(1, list.names.count);
        for (const CString& file : {list.commandFile, list.profileFile})
            EXPECT_EQ(step.ownFile ? FILE_ATTRIBUTE_READONLY : 0u,
                      GetFileAttributesA(file.data) & FILE_ATTRIBUTE_READONLY);
    }
    SetFolderWritable(install, true);
    RemoveScratchFolder(install);
}

TEST_F(StandardUserTest, LauncherInAnOpenFolderKeepsItsOwnFiles)
{
    CLauncherUnderTest launcher;
    ASSERT_TRUE(launcher.Start(kShipped, kProfile));
    ASSERT_TRUE(launcher.WaitUntilHotKeyHeld(MOD_ALT, '1'));
    AddCommandThroughEditor(launcher, "added");
    EXPECT_TRUE(WaitUntilFileHolds(launcher.folder + "quelt_cmd.txt", "[added]"));
    EXPECT_FALSE(Zint_Std::FolderExists(user));
    // The try at writing leaves nothing behind.
    EXPECT_FALSE(Zint_Std::PathExists((launcher.folder + "qlt*.tmp").data));
}

TEST_F(StandardUserTest, PurgelInAClosedFolderWritesItsSettingsToTheUserFolder)
{
    // Every step off: the run only reads and writes back its settings.
    const char shipped[] =
        "; shipped\r\n[DEL_FLAG]\r\nWIN_TEMP_FILE=0\r\nTEMP_FOLDER=0\r\nRECENT_FOLDER=0\r\n"
        "RECENT_WM_PLAYER=0\r\nWINDOWS_UPDATE_FOLDER=0\r\n";
    const CString folder = MakeScratchFolder("standard-user-purgel");
    ASSERT_TRUE(CopyFileA((Zint_Std::ModuleFolder(0) + "Purgel.exe").data,
                          (folder + "Purgel.exe").data, FALSE));
    ASSERT_TRUE(WriteTextFile(folder + "Purgel.ini", shipped));
    ASSERT_TRUE(SetFolderWritable(folder, false));
    for (int run = 0; run < 2; run++) {
        STARTUPINFOA startup;
        memset(&startup, 0, sizeof(startup));
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process;
        CString path = folder + "Purgel.exe";
        CString line = CString("\"") + path + "\"";
        ASSERT_TRUE(CreateProcessA(path.data, line.data, 0, 0, FALSE, 0, 0, folder.data, &startup,
                                   &process));
        EXPECT_TRUE(WaitUntil(Ended, process.hProcess, 60000));
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        const CString own = ReadWholeFile(user + "Purgel.ini");
        EXPECT_EQ(0, strncmp(own.Text(), "; shipped\r\n", 11)) << own.data;
        EXPECT_EQ(0u, GetPrivateProfileIntA("DEL_FLAG", "TEMP_FOLDER", 1, (user + "Purgel.ini").data));
        // The user's own choice is read back on the next run, not the shipped one.
        if (run == 0)
            WritePrivateProfileStringA("DEL_FLAG", "RECENT_WM_PLAYER", "1", (user + "Purgel.ini").data);
        else
            EXPECT_EQ(1u, GetPrivateProfileIntA("DEL_FLAG", "RECENT_WM_PLAYER", 0,
                                                (user + "Purgel.ini").data));
    }
    EXPECT_STREQ(shipped, ReadWholeFile(folder + "Purgel.ini").data);
    SetFolderWritable(folder, true);
    RemoveScratchFolder(folder);
}
