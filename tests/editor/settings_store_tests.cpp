// The settings editor's profile on real files: the launcher's defaults, every
// key read, saves that touch only the changed lines, aliases that come back
// exactly through the profile reader, the Win rule, and the alias checks.
#include <gtest/gtest.h>

#include <windows.h>
#include <string.h>

#include "editor/hotkey_keys.h"
#include "editor/settings_store.h"
#include "support/files.h"
#include "test_paths.h"

using Zint_Std::CString;
using Zint_Std::CStringPair;

namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    CString folder;
    CString profile;

    void SetUp() override
    {
        folder = MakeScratchFolder("settings-store");
        profile = folder + "quelt_.ini";
    }
    void TearDown() override { RemoveScratchFolder(folder); }

    void Load(EditorSettings& settings)
    {
        // Every field is filled by the load.
        int* fields[] = {&settings.alt, &settings.ctrl, &settings.shift,
                         &settings.win, &settings.key, &settings.history,
                         &settings.toolTip, &settings.taskTray, &settings.imeCtrl,
                         &settings.width, &settings.height, &settings.savePosition};
        for (int* field : fields)
            *field = 0x5A5A;
        ASSERT_TRUE(LoadEditorSettings(profile.data, settings));
    }
    CString Read(const char* section, const char* key, const int& size = 512)
    {
        CString value;
        value.Reserve(size);
        GetPrivateProfileStringA(section, key, "<none>", value.data, size, profile.data);
        return value;
    }
    int Number(const char* section, const char* key)
    {
        return static_cast<int>(GetPrivateProfileIntA(section, key, -999, profile.data));
    }
    CString File() { return ReadWholeFile(profile); }
};

void AddAlias(EditorSettings& settings, const char* name, const char* value)
{
    CStringPair alias;
    alias.first = name;
    alias.second = value;
    settings.aliases.Add(alias);
}

void ExpectDefaults(const EditorSettings& s)
{
    EXPECT_EQ(1, s.alt);
    EXPECT_EQ(0, s.ctrl);
    EXPECT_EQ(0, s.shift);
    EXPECT_EQ(0, s.win);
    EXPECT_EQ(49, s.key);
    EXPECT_EQ(10, s.history);
    EXPECT_EQ(1, s.toolTip);
    EXPECT_EQ(1, s.taskTray);
    EXPECT_EQ(2, s.imeCtrl);
    EXPECT_EQ(265, s.width);
    EXPECT_EQ(43, s.height);
    EXPECT_EQ(0, s.savePosition);
    EXPECT_EQ(0, s.aliases.count);
}

}  // namespace

TEST_F(SettingsStoreTest, AMissingOrEmptyProfileGivesTheLauncherDefaults)
{
    EditorSettings missing;
    ASSERT_NO_FATAL_FAILURE(Load(missing));
    ExpectDefaults(missing);
    EXPECT_FALSE(Zint_Std::PathExists(profile.data)) << "loading must not create the file";

    ASSERT_TRUE(WriteTextFile(profile, ""));
    EditorSettings empty;
    ASSERT_NO_FATAL_FAILURE(Load(empty));
    ExpectDefaults(empty);
    // Sections without the keys count as missing keys too.
    ASSERT_TRUE(WriteTextFile(profile, "[HotKey]\r\n[QUELT]\r\n[Alias]\r\n"));
    EditorSettings sections;
    ASSERT_NO_FATAL_FAILURE(Load(sections));
    ExpectDefaults(sections);
}

TEST_F(SettingsStoreTest, EveryKeyIsRead)
{
    ASSERT_TRUE(WriteTextFile(
        profile,
        "[HotKey]\r\nALT=0\r\nCtrl=1\r\nShift=2\r\nWin=1\r\nKey=112\r\n"
        "[QUELT]\r\nHistory=-3\r\nToolTip=0\r\nTaskTray=0\r\nImeCtrl=7\r\nWndWidth=640\r\n"
        "WndHeight=55\r\nSavePosition=1\r\nPositionX=10\r\nPositionY=20\r\n"
        "[Alias]\r\n; a comment is no alias\r\nTOOLS=C:\\Tools\r\nQuoted=\" two \"\r\n"
        "Empty=\r\ntools=second line of the same name\r\nツール=ドキュメント\r\n"));
    EditorSettings s;
    ASSERT_NO_FATAL_FAILURE(Load(s));
    EXPECT_EQ(0, s.alt);
    EXPECT_EQ(1, s.ctrl);
    EXPECT_EQ(2, s.shift);
    EXPECT_EQ(1, s.win);
    EXPECT_EQ(112, s.key);
    EXPECT_EQ(-3, s.history);
    EXPECT_EQ(0, s.toolTip);
    EXPECT_EQ(0, s.taskTray);
    EXPECT_EQ(7, s.imeCtrl);
    EXPECT_EQ(640, s.width);
    EXPECT_EQ(55, s.height);
    EXPECT_EQ(1, s.savePosition);
    // In file order; a repeated name once, with the value the reader gives.
    ASSERT_EQ(4, s.aliases.count);
    EXPECT_STREQ("TOOLS", s.aliases.items[0].first.data);
    EXPECT_STREQ("C:\\Tools", s.aliases.items[0].second.data);
    EXPECT_STREQ("Quoted", s.aliases.items[1].first.data);
    EXPECT_STREQ(" two ", s.aliases.items[1].second.data);
    EXPECT_STREQ("Empty", s.aliases.items[2].first.data);
    EXPECT_STREQ("", s.aliases.items[2].second.Text());
    EXPECT_STREQ("ツール", s.aliases.items[3].first.data);
    EXPECT_STREQ("ドキュメント", s.aliases.items[3].second.data);
    // The launcher's rule: Win only alone, so here Ctrl and Shift.
    EXPECT_EQ(static_cast<UINT>(MOD_CONTROL | MOD_SHIFT), HotKeyModifiers(s));
}

TEST_F(SettingsStoreTest, SavingWritesOnlyTheChangedLines)
{
    const char before[] =
        "; Quelt settings\r\n"
        "[HotKey]\r\nALT=1\r\nCtrl=0\r\nShift=0\r\nWin=0\r\nKey=49\r\n"
        "[Mine]\r\n; kept as it is\r\nWhatever=1\r\n"
        "[QUELT]\r\n; history\r\nHistory=10\r\nToolTip=1\r\nTaskTray=1\r\nImeCtrl=2\r\n"
        "WndWidth=265\r\nWndHeight=43\r\nSavePosition=0\r\nPositionX=5\r\nPositionY=6\r\n"
        "Unknown=value\r\n"
        "[Alias]\r\nTOOLS=C:\\Tools\r\nOLD=x\r\n";
    ASSERT_TRUE(WriteTextFile(profile, before));
    EditorSettings loaded, edited;
    ASSERT_NO_FATAL_FAILURE(Load(loaded));
    CopyEditorSettings(edited, loaded);
    EXPECT_FALSE(SettingsDiffer(loaded, edited));
    EXPECT_EQ(kSavedNothing, SaveEditorSettings(profile.data, loaded, edited));
    EXPECT_STREQ(before, File().data);

    edited.ctrl = 1;
    edited.key = 'Q';
    edited.width = 400;
    edited.toolTip = 0;
    RemoveAlias(edited.aliases, 1);
    AddAlias(edited, "NEW", "D:\\");
    edited.aliases.items[0].second = "E:\\Tools";
    EXPECT_TRUE(SettingsDiffer(loaded, edited));
    EXPECT_EQ(kSaved, SaveEditorSettings(profile.data, loaded, edited));
    const char after[] =
        "; Quelt settings\r\n"
        "[HotKey]\r\nALT=1\r\nCtrl=1\r\nShift=0\r\nWin=0\r\nKey=81\r\n"
        "[Mine]\r\n; kept as it is\r\nWhatever=1\r\n"
        "[QUELT]\r\n; history\r\nHistory=10\r\nToolTip=0\r\nTaskTray=1\r\nImeCtrl=2\r\n"
        "WndWidth=400\r\nWndHeight=43\r\nSavePosition=0\r\nPositionX=5\r\nPositionY=6\r\n"
        "Unknown=value\r\n"
        "[Alias]\r\nTOOLS=E:\\Tools\r\nNEW=D:\\\r\n";
    EXPECT_STREQ(after, File().data);
    // loaded now tells what the file holds: nothing is pending.
    EXPECT_FALSE(SettingsDiffer(loaded, edited));
    EXPECT_EQ(kSavedNothing, SaveEditorSettings(profile.data, loaded, edited));
    EXPECT_STREQ(after, File().data);
}

TEST_F(SettingsStoreTest, FlagsCountAsOnOrOffAndAreWrittenAsZeroOrOne)
{
    ASSERT_TRUE(WriteTextFile(profile, "[HotKey]\r\nALT=5\r\nShift=-1\r\n[QUELT]\r\nToolTip=9\r\n"));
    EditorSettings loaded, edited;
    ASSERT_NO_FATAL_FAILURE(Load(loaded));
    CopyEditorSettings(edited, loaded);
    // As the dialog hands them back: still on, as 1.
    edited.alt = 1;
    edited.shift = 1;
    edited.toolTip = 1;
    EXPECT_FALSE(SettingsDiffer(loaded, edited));
    EXPECT_EQ(kSavedNothing, SaveEditorSettings(profile.data, loaded, edited));
    edited.shift = 0;
    edited.ctrl = 3;
    EXPECT_EQ(kSaved, SaveEditorSettings(profile.data, loaded, edited));
    EXPECT_EQ(5, Number("HotKey", "ALT"));
    EXPECT_EQ(0, Number("HotKey", "Shift"));
    EXPECT_EQ(1, Number("HotKey", "Ctrl"));
    EXPECT_EQ(9, Number("QUELT", "ToolTip"));
}

TEST_F(SettingsStoreTest, AChangeMadeElsewhereAfterLoadingSurvivesTheSave)
{
    ASSERT_TRUE(WriteTextFile(profile, "[QUELT]\r\nHistory=10\r\nPositionX=1\r\n[Alias]\r\nA=1\r\n"));
    EditorSettings loaded, edited;
    ASSERT_NO_FATAL_FAILURE(Load(loaded));
    CopyEditorSettings(edited, loaded);
    // The launcher stores its position at exit, another program adds an
    // alias, while the dialog is open.
    ASSERT_TRUE(WriteTextFile(
        profile, "[QUELT]\r\nHistory=10\r\nPositionX=222\r\n[Alias]\r\nA=1\r\nB=2\r\n"));
    edited.history = 20;
    EXPECT_EQ(kSaved, SaveEditorSettings(profile.data, loaded, edited));
    EXPECT_STREQ("[QUELT]\r\nHistory=20\r\nPositionX=222\r\n[Alias]\r\nA=1\r\nB=2\r\n",
                 File().data);
}

TEST_F(SettingsStoreTest, AMissingProfileIsCreatedOnlyWhenSomethingChanged)
{
    EditorSettings loaded, edited;
    ASSERT_NO_FATAL_FAILURE(Load(loaded));
    CopyEditorSettings(edited, loaded);
    EXPECT_EQ(kSavedNothing, SaveEditorSettings(profile.data, loaded, edited));
    EXPECT_FALSE(Zint_Std::PathExists(profile.data));

    edited.alt = 0;
    edited.win = 1;
    edited.height = 60;
    AddAlias(edited, "HOME2", "C:\\Users");
    EXPECT_EQ(kSaved, SaveEditorSettings(profile.data, loaded, edited));
    ASSERT_TRUE(Zint_Std::PathExists(profile.data));
    EditorSettings back;
    ASSERT_NO_FATAL_FAILURE(Load(back));
    EXPECT_EQ(static_cast<UINT>(MOD_WIN), HotKeyModifiers(back));
    EXPECT_EQ(60, back.height);
    ASSERT_EQ(1, back.aliases.count);
    EXPECT_STREQ("C:\\Users", back.aliases.items[0].second.data);
    // Untouched keys keep their defaults by staying out of the file.
    EXPECT_STREQ("<none>", Read("QUELT", "History").data);
    EXPECT_STREQ("<none>", Read("HotKey", "Key").data);
}

TEST_F(SettingsStoreTest, AFileThatCannotBeWrittenFailsAndLoadedTellsWhatItHolds)
{
    ASSERT_TRUE(WriteTextFile(profile, "[QUELT]\r\nHistory=10\r\n"));
    EditorSettings loaded, edited;
    ASSERT_NO_FATAL_FAILURE(Load(loaded));
    CopyEditorSettings(edited, loaded);
    edited.history = 4;
    HANDLE lock = CreateFileA(profile.data, GENERIC_READ, 0, 0, OPEN_EXISTING, 0, 0);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    EXPECT_EQ(kSaveFailed, SaveEditorSettings(profile.data, loaded, edited));
    CloseHandle(lock);
    EXPECT_EQ(10, loaded.history);
    EXPECT_STREQ("[QUELT]\r\nHistory=10\r\n", File().data);
    // Once the file is free, the same save goes through.
    EXPECT_EQ(kSaved, SaveEditorSettings(profile.data, loaded, edited));
    EXPECT_EQ(4, Number("QUELT", "History"));

    EditorSettings nowhere, changed;
    CString missingFolder = folder + "no such folder\\quelt_.ini";
    ASSERT_TRUE(LoadEditorSettings(missingFolder.data, nowhere));
    CopyEditorSettings(changed, nowhere);
    changed.key = 'Z';
    EXPECT_EQ(kSaveFailed, SaveEditorSettings(missingFolder.data, nowhere, changed));
    EXPECT_EQ(kSaveFailed, SaveEditorSettings("", nowhere, changed));
}

TEST_F(SettingsStoreTest, WinCountsOnlyAloneAndIsWrittenOnlyWhereItCounts)
{
    struct Case {
        const char* file;           // [HotKey] lines before
        int alt, ctrl, shift, win;  // as the dialog hands them back
        const char* expected;       // [HotKey] lines after
        UINT modifiers;             // what the launcher then registers
    } cases[] = {
        // Win beside Alt was ignored and shown off: left as it is.
        {"ALT=1\r\nWin=1\r\n", 1, 0, 0, 0, "ALT=1\r\nWin=1\r\n", MOD_ALT},
        // From Alt to Win alone: Alt's default is on, so it is written off.
        {"Key=49\r\n", 0, 0, 0, 1, "Key=49\r\nALT=0\r\nWin=1\r\n", MOD_WIN},
        // From Win alone to Ctrl: Win goes off.
        {"ALT=0\r\nWin=1\r\n", 0, 1, 0, 0, "ALT=0\r\nWin=0\r\nCtrl=1\r\n", MOD_CONTROL},
        // The ignored Win turned on with the others off.
        {"ALT=1\r\nWin=1\r\n", 0, 0, 0, 1, "ALT=0\r\nWin=1\r\n", MOD_WIN},
        // Everything off: a dormant Win must not wake up.
        {"ALT=1\r\nWin=1\r\n", 0, 0, 0, 0, "ALT=0\r\nWin=0\r\n", 0},
    };
    for (const Case& c : cases) {
        CString text("[HotKey]\r\n");
        text.Append(c.file);
        ASSERT_TRUE(WriteTextFile(profile, text.data));
        EditorSettings loaded, edited;
        ASSERT_NO_FATAL_FAILURE(Load(loaded));
        CopyEditorSettings(edited, loaded);
        edited.alt = c.alt;
        edited.ctrl = c.ctrl;
        edited.shift = c.shift;
        edited.win = c.win;
        SaveEditorSettings(profile.data, loaded, edited);
        CString expected("[HotKey]\r\n");
        expected.Append(c.expected);
        EXPECT_STREQ(expected.data, File().data) << c.file;
        EditorSettings back;
        ASSERT_NO_FATAL_FAILURE(Load(back));
        EXPECT_EQ(c.modifiers, HotKeyModifiers(back)) << c.file;
        EXPECT_EQ(c.modifiers, HotKeyModifiers(edited)) << c.file;
    }
}

TEST_F(SettingsStoreTest, AliasesAreAddedChangedRenamedAndRemoved)
{
    ASSERT_TRUE(WriteTextFile(profile, "[Alias]\r\nA=1\r\nB=2\r\nC=3\r\nPath2=p\r\n"));
    EditorSettings loaded, edited;
    ASSERT_NO_FATAL_FAILURE(Load(loaded));
    CopyEditorSettings(edited, loaded);
    RemoveAlias(edited.aliases, 0);           // A goes
    edited.aliases.items[0].second = "two";   // B changes
    edited.aliases.items[1].first = "D";      // C is renamed
    edited.aliases.items[2].first = "PATH2";  // only the letter case
    AddAlias(edited, "E", "5");
    ASSERT_EQ(kSaved, SaveEditorSettings(profile.data, loaded, edited));
    EXPECT_STREQ("[Alias]\r\nB=two\r\nD=3\r\nPATH2=p\r\nE=5\r\n", File().data);
    EditorSettings back;
    ASSERT_NO_FATAL_FAILURE(Load(back));
    ASSERT_EQ(4, back.aliases.count);
    EXPECT_STREQ("PATH2", back.aliases.items[2].first.data);

    // Two names that trade values.
    CopyEditorSettings(edited, back);
    edited.aliases.items[0].second = "3";
    edited.aliases.items[1].second = "two";
    ASSERT_EQ(kSaved, SaveEditorSettings(profile.data, back, edited));
    EXPECT_STREQ("3", Read("Alias", "B").data);
    EXPECT_STREQ("two", Read("Alias", "D").data);

    // A name the file holds twice goes with every line of it.
    ASSERT_TRUE(WriteTextFile(profile, "[Alias]\r\nA=1\r\nB=2\r\na=3\r\n"));
    ASSERT_NO_FATAL_FAILURE(Load(loaded));
    CopyEditorSettings(edited, loaded);
    RemoveAlias(edited.aliases, 0);
    ASSERT_EQ(kSaved, SaveEditorSettings(profile.data, loaded, edited));
    EXPECT_STREQ("[Alias]\r\nB=2\r\n", File().data);
}

TEST_F(SettingsStoreTest, AliasValuesComeBackExactlyThroughTheProfileReader)
{
    // Blank-edged values are stored in quotes: one byte less fits.
    CString longest(" ");
    while (longest.GetLength() < kMaxAliasValueBytes - 2)
        longest.Append("x");
    longest.Append(" ");
    EXPECT_EQ(kAliasValueFine, CheckAliasValue(longest.data));

    const char* values[] = {
        " leading",
        "trailing ",
        "  both  ",
        "\"quoted\"",
        "'single'",
        "\"",
        "\"half",
        "　全角の空白　",
        "tab\tinside",
        "a\"b\"c",
        "\"\"",
        longest.data,
    };
    EditorSettings loaded, edited;
    ASSERT_NO_FATAL_FAILURE(Load(loaded));
    CopyEditorSettings(edited, loaded);
    for (int i = 0; i < static_cast<int>(sizeof(values) / sizeof(values[0])); i++) {
        CString name;
        name.Format("V%d", i);
        AddAlias(edited, name.data, values[i]);
    }
    ASSERT_EQ(kSaved, SaveEditorSettings(profile.data, loaded, edited));
    for (int i = 0; i < static_cast<int>(sizeof(values) / sizeof(values[0])); i++) {
        CString name;
        name.Format("V%d", i);
        // The launcher's own buffer: 512 bytes.
        EXPECT_STREQ(values[i], Read("Alias", name.data, 512).data) << values[i];
    }
    EditorSettings back;
    ASSERT_NO_FATAL_FAILURE(Load(back));
    EXPECT_FALSE(SettingsDiffer(back, edited));
}

TEST(AliasRules, NamesAndValuesTheLauncherCanUse)
{
    EXPECT_EQ(kAliasNameFine, CheckAliasName("TOOLS"));
    EXPECT_EQ(kAliasNameFine, CheckAliasName("ツール_2"));
    EXPECT_EQ(kAliasNameFine, CheckAliasName("a;b"));
    EXPECT_EQ(kAliasNameEmpty, CheckAliasName(""));
    EXPECT_EQ(kAliasNameEmpty, CheckAliasName(0));
    EXPECT_EQ(kAliasNameHasEquals, CheckAliasName("A=B"));
    EXPECT_EQ(kAliasNameHasEquals, CheckAliasName("=C:"));
    EXPECT_EQ(kAliasNameHasBlank, CheckAliasName("MY DIR"));
    EXPECT_EQ(kAliasNameHasBlank, CheckAliasName(" A"));
    EXPECT_EQ(kAliasNameHasBlank, CheckAliasName("A\t"));
    EXPECT_EQ(kAliasNameHasBlank, CheckAliasName("全角　空白"));
    EXPECT_EQ(kAliasNameHasBlank, CheckAliasName("A\x01"));
    EXPECT_EQ(kAliasNameHasBlank, CheckAliasName("A\x82"));  // a lead byte alone
    EXPECT_EQ(kAliasNameBreaksProfile, CheckAliasName(";A"));
    EXPECT_EQ(kAliasNameBreaksProfile, CheckAliasName("[A"));

    CString longest, tooLong;
    while (longest.GetLength() < kMaxAliasValueBytes)
        longest.Append("x");
    for (int i = 0; i < 256; i++)
        tooLong.Append("あ");  // 512 bytes in 256 characters
    EXPECT_EQ(kAliasValueFine, CheckAliasValue("C:\\Tools"));
    EXPECT_EQ(kAliasValueFine, CheckAliasValue(longest.data));
    EXPECT_EQ(kAliasValueFine, CheckAliasValue("tab\tinside"));
    EXPECT_EQ(kAliasValueTooLong, CheckAliasValue(tooLong.data));
    EXPECT_EQ(kAliasValueEmpty, CheckAliasValue(""));
    EXPECT_EQ(kAliasValueHasLineBreak, CheckAliasValue("one\r\ntwo"));
    EXPECT_EQ(kAliasValueHasLineBreak, CheckAliasValue("one\ntwo"));
}

TEST(AliasRules, NamesAreFoundLetterCaseAsideAndRemovalKeepsTheOrder)
{
    EditorSettings s;
    AddAlias(s, "One", "1");
    AddAlias(s, "Two", "2");
    AddAlias(s, "Three", "3");
    EXPECT_EQ(1, FindAlias(s.aliases, "TWO", -1));
    EXPECT_EQ(-1, FindAlias(s.aliases, "two", 1));
    EXPECT_EQ(-1, FindAlias(s.aliases, "Four", -1));
    RemoveAlias(s.aliases, 0);
    ASSERT_EQ(2, s.aliases.count);
    EXPECT_STREQ("Two", s.aliases.items[0].first.data);
    EXPECT_STREQ("3", s.aliases.items[1].second.data);
    RemoveAlias(s.aliases, 5);
    EXPECT_EQ(2, s.aliases.count);
}

TEST(HotKeyKeys, TheListOffersReadableKeysAndNamesAnyOtherCode)
{
    EXPECT_EQ(10 + 26 + 24 + 11 + 10, HotKeyChoiceCount());
    for (int i = 0; i < HotKeyChoiceCount(); i++) {
        const int code = HotKeyChoiceCode(i);
        EXPECT_EQ(i, FindHotKeyChoice(code)) << code;
        EXPECT_NE(0, code);
    }
    EXPECT_EQ('0', HotKeyChoiceCode(0));
    EXPECT_EQ(0, HotKeyChoiceCode(HotKeyChoiceCount()));
    EXPECT_EQ(-1, FindHotKeyChoice(VK_RETURN));
    EXPECT_EQ(-1, FindHotKeyChoice(VK_TAB));
    struct Named {
        int code;
        const char* name;
    } names[] = {
        {'1', "1"},
        {'Q', "Q"},
        {VK_F1, "F1"},
        {VK_F24, "F24"},
        {VK_SPACE, "スペース"},
        {VK_PRIOR, "Page Up"},
        {VK_NUMPAD7, "テンキー 7"},
        {VK_LEFT, "← (左矢印)"},
        {VK_RETURN, "キーコード 13"},
        {0, "キーコード 0"},
    };
    for (const Named& n : names)
        EXPECT_STREQ(n.name, HotKeyName(n.code).data) << n.code;
}

TEST_F(SettingsStoreTest, TheSearchTheOrderAndTheArithmeticSwitches)
{
    EditorSettings defaults;
    ASSERT_NO_FATAL_FAILURE(Load(defaults));
    EXPECT_EQ(1, defaults.match);
    EXPECT_EQ(0, defaults.rank);
    EXPECT_EQ(1, defaults.calc);
    EXPECT_EQ(1, defaults.catalog);
    EXPECT_EQ(1, defaults.open);
    EXPECT_EQ(1, defaults.romaji);
    ASSERT_TRUE(WriteTextFile(profile, "[QUELT]\r\nMatch=0\r\nCalc=7\r\nCatalog=0\r\n"));
    EditorSettings loaded, edited;
    ASSERT_NO_FATAL_FAILURE(Load(loaded));
    EXPECT_EQ(0, loaded.match);
    EXPECT_NE(0, loaded.calc);
    EXPECT_EQ(0, loaded.catalog);
    CopyEditorSettings(edited, loaded);
    edited.rank = 1;
    edited.calc = 0;
    edited.open = 0;
    edited.romaji = 0;
    EXPECT_EQ(kSaved, SaveEditorSettings(profile.data, loaded, edited));
    EXPECT_EQ(0u, GetPrivateProfileIntA("QUELT", "Match", 9, profile.data));
    EXPECT_EQ(1u, GetPrivateProfileIntA("QUELT", "Rank", 9, profile.data));
    EXPECT_EQ(0u, GetPrivateProfileIntA("QUELT", "Calc", 9, profile.data));
    EXPECT_EQ(0u, GetPrivateProfileIntA("QUELT", "Catalog", 9, profile.data));
    EXPECT_EQ(0u, GetPrivateProfileIntA("QUELT", "Open", 9, profile.data));
    EXPECT_EQ(0u, GetPrivateProfileIntA("QUELT", "Romaji", 9, profile.data));
}
