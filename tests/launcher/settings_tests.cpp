// The profile's settings, the [Alias] variables, the window position and the
// choice between shared and per-user files.
#include <gtest/gtest.h>

#include <shlobj.h>
#include <stdio.h>
#include <string.h>

#include "launcher/command_list.h"
#include "support/files.h"
#include "test_paths.h"

using Zint_Std::CString;

namespace {

class SettingsTest : public ::testing::Test {
protected:
    CString folder;
    CString profile;

    void SetUp() override
    {
        folder = MakeScratchFolder("settings");
        profile = folder + "quelt_.ini";
        WriteTextFile(folder + "quelt_cmd.txt", "[a]\r\nPATH=a.exe\r\n");
    }
    void TearDown() override { RemoveScratchFolder(folder); }

    LauncherSettings Read(CCommandList& list)
    {
        LauncherSettings settings;
        memset(&settings, 0x5A, sizeof(settings));  // ReadSettings fills every field
        EXPECT_EQ(1, list.ReadSettings(settings));
        return settings;
    }
};

CString Environment(const char* name)
{
    char value[1024];
    value[0] = 0;
    if (!GetEnvironmentVariableA(name, value, sizeof(value)))
        return CString();
    return CString(value);
}

}  // namespace

TEST_F(SettingsTest, AnEmptyOrMissingProfileGivesTheDefaults)
{
    for (int round = 0; round < 2; round++) {
        if (round == 1) {
            ASSERT_TRUE(WriteTextFile(profile, ""));
        }
        CCommandList list(folder);
        LauncherSettings s = Read(list);
        EXPECT_EQ(MOD_ALT, s.modifiers);
        EXPECT_EQ(49, s.key);
        EXPECT_EQ(10, s.history);
        EXPECT_EQ(1, s.toolTip);
        EXPECT_EQ(1, s.taskTray);
        EXPECT_EQ(2, list.imeMode);
        EXPECT_EQ(265, s.width);
        EXPECT_EQ(43, s.height);
        EXPECT_EQ(0, list.savePosition);
        EXPECT_EQ(0, s.x);
        EXPECT_EQ(0, s.y);
    }
}

TEST_F(SettingsTest, HotKeyModifierRules)
{
    struct Case {
        const char* text;
        int modifiers;
    } cases[] = {
        {"ALT=0\r\nCtrl=0\r\nShift=0\r\nWin=1\r\n", MOD_WIN},
        {"ALT=1\r\nWin=1\r\n", MOD_ALT},
        {"ALT=0\r\nCtrl=1\r\nShift=1\r\nWin=1\r\n", MOD_CONTROL | MOD_SHIFT},
        {"ALT=2\r\nCtrl=-1\r\n", MOD_ALT | MOD_CONTROL},
        {"ALT=0\r\n", 0},
    };
    for (const Case& c : cases) {
        CString text("[HotKey]\r\n");
        text.Append(c.text);
        text.Append("Key=112\r\n");
        ASSERT_TRUE(WriteTextFile(profile, text.data));
        CCommandList list(folder);
        LauncherSettings s = Read(list);
        EXPECT_EQ(c.modifiers, s.modifiers) << c.text;
        EXPECT_EQ(112, s.key);
    }
}

TEST_F(SettingsTest, PositionIsReadOnlyWithSavePosition)
{
    ASSERT_TRUE(WriteTextFile(profile, "[QUELT]\r\nSavePosition=0\r\nPositionX=50\r\nPositionY=60\r\n"));
    {
        CCommandList list(folder);
        LauncherSettings s = Read(list);
        EXPECT_EQ(0, s.x);
        EXPECT_EQ(0, s.y);
    }
    ASSERT_TRUE(WriteTextFile(profile, "[QUELT]\r\nSavePosition=1\r\nPositionX=50\r\nPositionY=60\r\n"));
    CCommandList list(folder);
    LauncherSettings s = Read(list);
    EXPECT_EQ(1, list.savePosition);
    EXPECT_EQ(50, s.x);
    EXPECT_EQ(60, s.y);
}

TEST_F(SettingsTest, BadValuesAreTakenAsTheProfileReaderConvertsThem)
{
    const char text[] =
        "[QUELT]\r\nHistory=-5\r\nToolTip=abc\r\nTaskTray=\r\nImeCtrl=99999999999\r\n"
        "WndWidth=12x\r\nWndHeight=-2147483648\r\n[HotKey]\r\nKey=-1\r\n";
    ASSERT_TRUE(WriteTextFile(profile, text));
    CCommandList list(folder);
    LauncherSettings s = Read(list);
    EXPECT_EQ(-5, s.history);
    EXPECT_EQ(static_cast<int>(GetPrivateProfileIntA("QUELT", "ToolTip", 1, profile.data)),
              s.toolTip);
    EXPECT_EQ(12, s.width);
    EXPECT_EQ(-1, s.key);
    // Nothing was written back.
    EXPECT_STREQ(text, ReadWholeFile(profile).data);
}

TEST_F(SettingsTest, AliasesBecomeEnvironmentVariables)
{
    SetEnvironmentVariableA("QUELT_TEST_KEPT", "old");
    CString text("[Alias]\r\nQUELT_TEST_X=abc\r\nQUELT_TEST_KEPT=\r\n");
    // More than 1024 bytes of key names.
    for (int i = 0; i < 120; i++) {
        char line[80];
        sprintf(line, "QUELT_TEST_LONG_ALIAS_NAME_%03d=value %d\r\n", i, i);
        text.Append(line);
    }
    ASSERT_TRUE(WriteTextFile(profile, text.data));
    CCommandList list(folder);
    Read(list);
    EXPECT_STREQ("abc", Environment("QUELT_TEST_X").data);
    EXPECT_STREQ("old", Environment("QUELT_TEST_KEPT").data);
    EXPECT_STREQ("value 0", Environment("QUELT_TEST_LONG_ALIAS_NAME_000").data);
    EXPECT_STREQ("value 119", Environment("QUELT_TEST_LONG_ALIAS_NAME_119").data);
    char expanded[100];
    ExpandEnvironmentStringsA("[%QUELT_TEST_X%]", expanded, sizeof(expanded));
    EXPECT_STREQ("[abc]", expanded);
}

TEST_F(SettingsTest, LongAliasValuesAreCutAt511Bytes)
{
    CString text("[Alias]\r\nQUELT_TEST_LONG=");
    for (int i = 0; i < 700; i++)
        text.AppendChar('v');
    text.Append("\r\n");
    ASSERT_TRUE(WriteTextFile(profile, text.data));
    CCommandList list(folder);
    Read(list);
    EXPECT_EQ(511, Environment("QUELT_TEST_LONG").GetLength());
}

TEST_F(SettingsTest, WritePositionOnlyWithSavePosition)
{
    ASSERT_TRUE(WriteTextFile(profile, "[QUELT]\r\nSavePosition=0\r\n"));
    CCommandList list(folder);
    Read(list);
    EXPECT_EQ(1, list.WritePosition(30, 40));
    EXPECT_STREQ("[QUELT]\r\nSavePosition=0\r\n", ReadWholeFile(profile).data);

    ASSERT_TRUE(WriteTextFile(profile, "[QUELT]\r\nSavePosition=1\r\n"));
    Read(list);
    EXPECT_EQ(1, list.WritePosition(30, 40));
    EXPECT_EQ(30u, GetPrivateProfileIntA("QUELT", "PositionX", -1, profile.data));
    EXPECT_EQ(40u, GetPrivateProfileIntA("QUELT", "PositionY", -1, profile.data));
}

TEST_F(SettingsTest, SharedModeTakesBothFilesFromTheInstallFolder)
{
    RemoveScratchFolder(folder);
    folder = MakeScratchFolder("settings");
    ASSERT_TRUE(WriteTextFile(folder + "cmd_org.txt", "[org]\r\nPATH=org.exe\r\n"));
    CCommandList list(folder);
    EXPECT_EQ(0, list.multiUser);
    EXPECT_STREQ((folder + "quelt_cmd.txt").data, list.commandFile.data);
    EXPECT_STREQ((folder + "quelt_.ini").data, list.profileFile.data);
    // The first start copied the default command file.
    EXPECT_STREQ("[org]\r\nPATH=org.exe\r\n", ReadWholeFile(list.commandFile).data);
    EXPECT_FALSE(Zint_Std::PathExists(list.profileFile.data));
}

// Per-user mode is switched on in the machine's registry of the test prefix
// and switched off again afterwards.
class PerUserTest : public SettingsTest {
protected:
    CString userFolder;
    bool createdKey;

    void SetUp() override
    {
        SettingsTest::SetUp();
        CString appData;
        ASSERT_TRUE(Zint_Std::GetSpecialFolderPath(appData, CSIDL_APPDATA));
        userFolder = appData + "quelt_\\";
        RemoveScratchFolder(userFolder);
        HKEY key = 0;
        DWORD disposition = 0;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SoftWare\\QUELT_", 0, 0, 0,
                                                 KEY_ALL_ACCESS, 0, &key, &disposition));
        createdKey = disposition == REG_CREATED_NEW_KEY;
        DWORD one = 1;
        RegSetValueExA(key, "MultiUser", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), 4);
        RegCloseKey(key);
    }
    void TearDown() override
    {
        HKEY key = 0;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SoftWare\\QUELT_", 0, KEY_ALL_ACCESS, &key) ==
            ERROR_SUCCESS) {
            RegDeleteValueA(key, "MultiUser");
            RegCloseKey(key);
        }
        if (createdKey)
            RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SoftWare\\QUELT_");
        RemoveScratchFolder(userFolder);
        SettingsTest::TearDown();
    }
};

TEST_F(PerUserTest, FirstStartCopiesTheDefaultsIntoTheUserFolder)
{
    ASSERT_TRUE(WriteTextFile(folder + "cmd_org.txt", "[org]\r\nPATH=org.exe\r\n"));
    ASSERT_TRUE(WriteTextFile(folder + "quelt_.ini", "[Alias]\r\nQUELT_HOME=C:\\q\\\r\n"));
    {
        CCommandList list(folder);
        EXPECT_EQ(1, list.multiUser);
        EXPECT_STREQ((userFolder + "quelt_cmd.txt").data, list.commandFile.data);
        EXPECT_STREQ((userFolder + "quelt_.ini").data, list.profileFile.data);
        EXPECT_STREQ("[org]\r\nPATH=org.exe\r\n", ReadWholeFile(list.commandFile).data);
        EXPECT_STREQ("[Alias]\r\nQUELT_HOME=C:\\q\\\r\n", ReadWholeFile(list.profileFile).data);
        ASSERT_EQ(1, list.Load());
        EXPECT_EQ(1, list.names.count);
    }
    // The user's own files are never overwritten.
    ASSERT_TRUE(WriteTextFile(userFolder + "quelt_cmd.txt", "[mine]\r\nPATH=mine.exe\r\n"));
    ASSERT_TRUE(WriteTextFile(userFolder + "quelt_.ini", "[QUELT]\r\nHistory=3\r\n"));
    CCommandList again(folder);
    EXPECT_STREQ("[mine]\r\nPATH=mine.exe\r\n", ReadWholeFile(again.commandFile).data);
    LauncherSettings s = Read(again);
    EXPECT_EQ(3, s.history);
}

TEST_F(PerUserTest, WithoutADefaultCommandFileTheLoadFails)
{
    CCommandList list(folder);
    EXPECT_TRUE(list.commandFile.IsEmpty());
    EXPECT_EQ(0, list.Load());
    EXPECT_TRUE(Zint_Std::FolderExists(userFolder));
}
