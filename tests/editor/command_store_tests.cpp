// The command editors' file logic on real command files: only what changed
// is written, everything else in the file stays, and every value reads back
// exactly as the user typed it.
#include <gtest/gtest.h>

#include <string.h>

#include "commands/profile_text.h"
#include "editor/command_store.h"
#include "launcher/command_list.h"
#include "support/files.h"
#include "test_paths.h"

using Zint_Std::CString;

namespace {

const char kOriginal[] =
    "; my commands\r\n"
    "\r\n"
    "[zeta]\r\n"
    "PATH=zeta.exe\r\n"
    "\r\n"
    "[Alpha]\r\n"
    "PATH=\"C:\\Program Files\\alpha.exe\" -x\r\n"
    "FOLDER=C:\\work\r\n"
    "COMMENT=first\r\n"
    "HOTKEY=kept\r\n"
    "; about beta\r\n"
    "[beta]\r\n"
    "PATH=beta.txt\r\n";

class CommandStoreTest : public ::testing::Test {
protected:
    CString folder;
    CString file;

    void SetUp() override
    {
        folder = MakeScratchFolder("command-store");
        file = folder + "quelt_cmd.txt";
    }
    void TearDown() override { RemoveScratchFolder(folder); }

    CString Text(const CString& path) { return ReadWholeFile(path); }
    CString Key(const char* section, const char* key)
    {
        CString value;
        value.Reserve(1024);
        GetPrivateProfileStringA(section, key, "<none>", value.data, 1024, file.data);
        return value;
    }
    bool HasSection(const char* name)
    {
        int length = 0;
        char* names = ReadSectionNames(file.data, length);
        bool found = false;
        for (int at = 0; names && at < length && names[at]; at += strlen(names + at) + 1)
            found = found || strcmp(names + at, name) == 0;
        free(names);
        return found;
    }
};

TEST_F(CommandStoreTest, LoadsEveryCommandSortedAsTheLauncherSorts)
{
    ASSERT_TRUE(WriteTextFile(file, kOriginal));
    CCommandStore store(file.data);
    ASSERT_TRUE(store.Load());
    ASSERT_EQ(3, store.entries.count);
    EXPECT_STREQ("Alpha", store.entries.items[0].name.data);
    EXPECT_STREQ("beta", store.entries.items[1].name.data);
    EXPECT_STREQ("zeta", store.entries.items[2].name.data);
    EXPECT_STREQ("\"C:\\Program Files\\alpha.exe\" -x", store.entries.items[0].path.data);
    EXPECT_STREQ("C:\\work", store.entries.items[0].folder.data);
    EXPECT_STREQ("first", store.entries.items[0].comment.data);
    EXPECT_FALSE(store.HasChanges());
    EXPECT_EQ(0, store.FindName("ALPHA", -1));
    EXPECT_EQ(-1, store.FindName("ALPHA", 0));
    EXPECT_STREQ("beta2", store.UniqueName("beta").data);
    EXPECT_STREQ("gamma", store.UniqueName("gamma").data);
}

TEST_F(CommandStoreTest, NothingPendingWritesNothingAndMakesNoBackup)
{
    ASSERT_TRUE(WriteTextFile(file, kOriginal));
    CCommandStore store(file.data);
    ASSERT_TRUE(store.Load());
    EXPECT_EQ(kSavedNothing, store.Save());
    EXPECT_STREQ(kOriginal, Text(file).data);
    EXPECT_FALSE(Zint_Std::PathExists(store.BackupPath().data));
}

TEST_F(CommandStoreTest, AChangedKeyRewritesOnlyItsLineAndTheBackupKeepsTheOldFile)
{
    ASSERT_TRUE(WriteTextFile(file, kOriginal));
    CCommandStore store(file.data);
    ASSERT_TRUE(store.Load());
    EXPECT_STREQ((folder + "quelt_cmd.txt.bak").data, store.BackupPath().data);
    store.entries.items[1].path = "beta.doc";
    EXPECT_TRUE(store.IsChanged(1));
    ASSERT_EQ(kSaved, store.Save());
    CString expected(kOriginal);
    expected.Delete(expected.Find("beta.txt", 0), 8);
    CString now = Text(file);
    EXPECT_NE(-1, now.Find("PATH=beta.doc", 0));
    EXPECT_EQ(-1, now.Find("beta.txt", 0));
    // Comments, the unknown key and the other sections stay (blank lines
    // are the platform's profile writer's business: Wine drops them).
    EXPECT_EQ(0, now.Find("; my commands\r\n", 0));
    EXPECT_NE(-1, now.Find("[zeta]\r\nPATH=zeta.exe\r\n", 0));
    EXPECT_NE(-1, now.Find("HOTKEY=kept\r\n; about beta\r\n[beta]", 0));
    EXPECT_STREQ(kOriginal, Text(store.BackupPath()).data);

    // The backup is made once per editing session: a second save keeps the
    // file as it was before the session.
    store.entries.items[2].comment = "last";
    ASSERT_EQ(kSaved, store.Save());
    EXPECT_STREQ(kOriginal, Text(store.BackupPath()).data);
    EXPECT_STREQ("last", Key("zeta", "COMMENT").data);
    EXPECT_EQ(kSavedNothing, store.Save());
}

TEST_F(CommandStoreTest, ARenameCarriesTheWholeSectionUnknownKeysIncluded)
{
    ASSERT_TRUE(WriteTextFile(file, kOriginal));
    CCommandStore store(file.data);
    ASSERT_TRUE(store.Load());
    store.entries.items[0].name = "first";
    store.entries.items[0].comment = "renamed";
    ASSERT_EQ(kSaved, store.Save());
    EXPECT_FALSE(HasSection("Alpha"));
    ASSERT_TRUE(HasSection("first"));
    EXPECT_STREQ("\"C:\\Program Files\\alpha.exe\" -x", Key("first", "PATH").data);
    EXPECT_STREQ("C:\\work", Key("first", "FOLDER").data);
    EXPECT_STREQ("renamed", Key("first", "COMMENT").data);
    EXPECT_STREQ("kept", Key("first", "HOTKEY").data);
    EXPECT_STREQ("zeta.exe", Key("zeta", "PATH").data);
    EXPECT_STREQ("beta.txt", Key("beta", "PATH").data);
}

TEST_F(CommandStoreTest, RenamesThatOnlyChangeLetterCaseOrTradeNamesLoseNothing)
{
    ASSERT_TRUE(WriteTextFile(file, kOriginal));
    CCommandStore store(file.data);
    ASSERT_TRUE(store.Load());
    store.entries.items[0].name = "ALPHA";
    store.entries.items[1].name = "zeta";  // beta takes zeta's name...
    store.entries.items[2].name = "beta";  // ...and zeta takes beta's
    ASSERT_EQ(kSaved, store.Save());
    EXPECT_TRUE(HasSection("ALPHA"));
    EXPECT_FALSE(HasSection("Alpha"));
    EXPECT_STREQ("kept", Key("ALPHA", "HOTKEY").data);
    EXPECT_STREQ("beta.txt", Key("zeta", "PATH").data);
    EXPECT_STREQ("zeta.exe", Key("beta", "PATH").data);
}

TEST_F(CommandStoreTest, DeletingRemovesTheSectionAndANewEntryDroppedNeverReachesTheFile)
{
    ASSERT_TRUE(WriteTextFile(file, kOriginal));
    CCommandStore store(file.data);
    ASSERT_TRUE(store.Load());
    int added = store.AddNew("gamma", "g.exe", "", "");
    store.Delete(added);
    EXPECT_EQ(3, store.entries.count);
    EXPECT_FALSE(store.HasChanges());
    store.Delete(1);
    EXPECT_EQ(-1, store.FindName("beta", -1));
    // The freed name can be taken by a new command in the same session.
    store.AddNew("Beta", "new-beta.exe", "", "");
    ASSERT_EQ(kSaved, store.Save());
    EXPECT_STREQ("new-beta.exe", Key("beta", "PATH").data);
    EXPECT_EQ(-1, Text(file).Find("beta.txt", 0));
    EXPECT_STREQ("zeta.exe", Key("zeta", "PATH").data);
}

TEST_F(CommandStoreTest, ChangesAnotherProgramMadeMeanwhileToOtherSectionsAreKept)
{
    ASSERT_TRUE(WriteTextFile(file, kOriginal));
    CCommandStore store(file.data);
    ASSERT_TRUE(store.Load());
    ASSERT_TRUE(WritePrivateProfileStringA("zeta", "COMMENT", "by hand", file.data));
    ASSERT_TRUE(WritePrivateProfileStringA("other", "PATH", "other.exe", file.data));
    store.entries.items[0].folder = "D:\\";
    store.AddNew("gamma", "g.exe", "", "");
    ASSERT_EQ(kSaved, store.Save());
    EXPECT_STREQ("by hand", Key("zeta", "COMMENT").data);
    EXPECT_STREQ("other.exe", Key("other", "PATH").data);
    EXPECT_STREQ("D:\\", Key("Alpha", "FOLDER").data);
    EXPECT_STREQ("g.exe", Key("gamma", "PATH").data);
    // A new command gets no empty keys.
    EXPECT_STREQ("<none>", Key("gamma", "FOLDER").data);
}

TEST_F(CommandStoreTest, AFileWithAByteOrderMarkIsNeverWrittenAndTheMessageSaysWhy)
{
    // UTF-8 and UTF-16 (little endian) for "[a]\r\nPATH=a.exe\r\n".
    const char utf8[] = "\xEF\xBB\xBF[a]\r\nPATH=a.exe\r\n";
    const char utf16[] = "\xFF\xFE[\0a\0]\0\r\0\n\0P\0A\0T\0H\0=\0a\0.\0e\0x\0e\0\r\0\n\0";
    const struct {
        const char* bytes;
        int length;
    } cases[] = {
        {utf8, sizeof utf8 - 1}, {utf16, sizeof utf16 - 1}};
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteBytes(file, c.bytes, c.length));
        CCommandStore store(file.data);
        ASSERT_TRUE(store.Load());
        ASSERT_EQ(1, store.entries.count);
        store.entries.items[0].comment = "new";
        EXPECT_EQ(kSaveFailed, store.Save());
        EXPECT_EQ(0, memcmp(c.bytes, Text(file).data, c.length));
        EXPECT_TRUE(strstr(store.SaveFailureText(), "バイト順マーク(BOM)"));
        EXPECT_TRUE(strstr(store.SaveFailureText(), "「ANSI」"));
    }
    // Without a mark a failed save says only that it failed.
    ASSERT_TRUE(WriteTextFile(file, kOriginal));
    CCommandStore store(file.data);
    ASSERT_TRUE(store.Load());
    store.entries.items[0].comment = "new";
    store.failingStep = kStepWrite;
    EXPECT_EQ(kSaveFailed, store.Save());
    EXPECT_STREQ("コマンドファイルに書き込めませんでした。", store.SaveFailureText());
}

TEST_F(CommandStoreTest, EveryValueReadsBackAsTypedThroughTheLaunchersOwnReader)
{
    const char* values[] = {
        "\"C:\\Program Files\\x.exe\"",  // enclosing quotes the reader would strip
        "  two leading blanks",
        "two trailing blanks  ",
        "'single quoted'",
        "\"",
        "a \"b\" c",
        "\t\"tab and quote\"",
        "全角　末尾　",  // ends in an ideographic space
        "ソ表\\能",      // trail bytes 0x5C
    };
    CCommandStore store(file.data);  // the file does not exist yet
    ASSERT_TRUE(store.Load());
    EXPECT_EQ(0, store.entries.count);
    for (int i = 0; i < static_cast<int>(sizeof(values) / sizeof(values[0])); i++) {
        CString name;
        name.Format("c%d", i);
        store.AddNew(name.data, values[i], values[i], values[i]);
    }
    ASSERT_EQ(kSaved, store.Save());
    ASSERT_TRUE(Zint_Std::PathExists(file.data));
    CCommandList launcherList(folder);
    for (int i = 0; i < static_cast<int>(sizeof(values) / sizeof(values[0])); i++) {
        CString name;
        name.Format("c%d", i);
        CString path, workFolder, comment;
        EXPECT_EQ(1, launcherList.GetCommand(name, &path, &workFolder, &comment)) << values[i];
        EXPECT_STREQ(values[i], path.data);
        EXPECT_STREQ(values[i], workFolder.data);
        EXPECT_STREQ(values[i], comment.data);
    }
    // Read back by the editor too, so an unchanged value is not rewritten.
    CCommandStore again(file.data);
    ASSERT_TRUE(again.Load());
    EXPECT_FALSE(again.HasChanges());
    EXPECT_EQ(kSavedNothing, again.Save());
}

TEST(ProfileTextTest, CommandNamesThatTheLauncherCannotTypeOrTheFileCannotHold)
{
    EXPECT_EQ(kNameFine, CheckCommandName("notepad"));
    EXPECT_EQ(kNameFine, CheckCommandName("メモ帳"));
    EXPECT_EQ(kNameFine, CheckCommandName("ソフト"));  // trail byte 0x5C
    EXPECT_EQ(kNameFine, CheckCommandName("a.b-c_d"));
    EXPECT_EQ(kNameEmpty, CheckCommandName(""));
    EXPECT_EQ(kNameHasBlank, CheckCommandName("two words"));
    EXPECT_EQ(kNameHasBlank, CheckCommandName("tab\there"));
    EXPECT_EQ(kNameHasBlank, CheckCommandName("全角　空白"));
    EXPECT_EQ(kNameBreaksProfile, CheckCommandName("a]b"));
    EXPECT_EQ(kNameBreaksProfile, CheckCommandName("[a"));
    EXPECT_EQ(kNameBreaksProfile, CheckCommandName("line\r\nbreak"));
    EXPECT_EQ(kNameBreaksProfile, CheckCommandName("lone\x83"));
}

TEST(ProfileTextTest, CutsOnlyAtCharacterBoundaries)
{
    EXPECT_STREQ("abc", CutToBytes("abcdef", 3).data);
    // "あい" is four bytes: three bytes hold only the first character.
    EXPECT_STREQ("あ", CutToBytes("あい", 3).data);
    EXPECT_STREQ("aあ", CutToBytes("aあい", 4).data);
    EXPECT_STREQ("", CutToBytes("あ", 1).Text());
    CString longText;
    for (int i = 0; i < 300; i++)
        longText.Append("漢");
    CString cut = CutToBytes(longText.data, kMaxPathBytes);
    EXPECT_EQ(498, cut.GetLength());
    EXPECT_TRUE(HasLineBreak("a\nb"));
    EXPECT_TRUE(HasLineBreak("a\rb"));
    EXPECT_FALSE(HasLineBreak("a\tb 表"));
}

TEST(ProfileTextTest, OnlyValuesTheReaderWouldChangeAreWrapped)
{
    EXPECT_EQ(499, ReadableLength("plain", 499));
    EXPECT_EQ(498, ReadableLength(" blank", 499));
    EXPECT_EQ(498, ReadableLength("\"quoted\"", 499));
    EXPECT_STREQ("plain value", EncodeProfileValue("plain value").data);
    EXPECT_STREQ("\"x\" -a", EncodeProfileValue("\"x\" -a").data);
    EXPECT_STREQ("\"\"x\"\"", EncodeProfileValue("\"x\"").data);
    EXPECT_STREQ("\" a\"", EncodeProfileValue(" a").data);
    EXPECT_STREQ("\"'a'\"", EncodeProfileValue("'a'").data);
    EXPECT_STREQ("", EncodeProfileValue("").Text());
}

}  // namespace
