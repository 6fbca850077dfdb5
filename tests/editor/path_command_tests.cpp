// A new command from a path that came through the SendTo registration: the
// name, PATH and FOLDER made from real files, folders and shortcut files.
#include <gtest/gtest.h>

#include <windows.h>
#include <string.h>

#include "commands/profile_text.h"
#include "editor/command_store.h"
#include "editor/path_command.h"
#include "support/mbcs.h"
#include "support/shortcut.h"
#include "test_paths.h"

using Zint_Std::CString;

namespace {

// The folder without its trailing backslash.
CString Plain(const CString& folder)
{
    CString plain(folder);
    plain.data[plain.GetLength() - 1] = 0;
    return plain;
}

CString Quoted(const CString& text)
{
    return CString("\"") + text + "\"";
}

class PathCommandTest : public ::testing::Test {
protected:
    CString scratch;
    CString commandFile;

    void SetUp() override
    {
        scratch = MakeScratchFolder("path-command");
        commandFile = scratch + "quelt_cmd.txt";
        ASSERT_TRUE(WriteTextFile(commandFile, "[Notepad]\r\nPATH=notepad.exe\r\n"
                                               "[tool]\r\nPATH=tool.exe\r\n"
                                               "[tool2]\r\nPATH=tool2.exe\r\n"));
    }
    void TearDown() override { RemoveScratchFolder(scratch); }

    CommandEntry FromPath(const char* path)
    {
        CCommandStore store(commandFile.data);
        EXPECT_TRUE(store.Load());
        CommandEntry entry;
        entry.deleted = 0;
        EXPECT_TRUE(CommandFromPath(path, store, entry));
        return entry;
    }

    CString WriteLink(const char* linkName, const CString& target, const char* arguments,
                      const char* folder)
    {
        Zint_Std::ShortcutRequest request;
        request.linkPath = scratch + linkName;
        request.targetPath = target;
        request.arguments = arguments;
        request.workingFolder = folder;
        Zint_Std::CShortcutWriter writer;
        EXPECT_TRUE(writer.Open());
        EXPECT_TRUE(writer.WriteShortcut(request));
        writer.Close();
        return request.linkPath;
    }
};

}  // namespace

TEST_F(PathCommandTest, FileWithExtensions)
{
    CString file = scratch + "report.final.txt";
    ASSERT_TRUE(WriteTextFile(file, "x"));
    CommandEntry entry = FromPath(file.data);
    EXPECT_STREQ("report.final", entry.name.Text());
    EXPECT_STREQ(file.data, entry.path.Text());
    EXPECT_STREQ(Plain(scratch).data, entry.folder.Text());
    EXPECT_STREQ("", entry.comment.Text());
    EXPECT_TRUE(entry.loadedName.IsEmpty());
}

TEST_F(PathCommandTest, BlankInThePathQuotesItAndLeavesTheName)
{
    ASSERT_TRUE(CreateDirectoryA((scratch + "my tools").data, 0));
    CString file = scratch + "my tools\\big  app.exe";
    ASSERT_TRUE(WriteTextFile(file, "x"));
    CommandEntry entry = FromPath(file.data);
    EXPECT_STREQ("bigapp", entry.name.Text());
    EXPECT_STREQ(Quoted(file).data, entry.path.Text());
    // FOLDER is a value of its own: it needs no quotes.
    EXPECT_STREQ((scratch + "my tools").data, entry.folder.Text());
}

TEST_F(PathCommandTest, FolderKeepsItsWholeNameAndIsItsOwnFolder)
{
    CString folder = scratch + "data.2024 set";
    ASSERT_TRUE(CreateDirectoryA(folder.data, 0));
    CommandEntry entry = FromPath(folder.data);
    EXPECT_STREQ("data.2024set", entry.name.Text());
    EXPECT_STREQ(Quoted(folder).data, entry.path.Text());
    EXPECT_STREQ(folder.data, entry.folder.Text());
    // With a trailing backslash the same.
    CommandEntry slashed = FromPath((folder + "\\").data);
    EXPECT_STREQ("data.2024set", slashed.name.Text());
    EXPECT_STREQ(Quoted(folder).data, slashed.path.Text());
    EXPECT_STREQ(folder.data, slashed.folder.Text());
}

TEST_F(PathCommandTest, DoubleByteNamesWithBackslashTrailBytes)
{
    // 表 is 0x95 0x5C: its trail byte must not end the folder's name.
    CString folder = scratch + "表示";
    ASSERT_TRUE(CreateDirectoryA(folder.data, 0));
    CString file = folder + "\\表.txt";
    ASSERT_TRUE(WriteTextFile(file, "x"));
    CommandEntry entry = FromPath(file.data);
    EXPECT_STREQ("表", entry.name.Text());
    EXPECT_STREQ(folder.data, entry.folder.Text());
    EXPECT_STREQ("表示", FromPath(folder.data).name.Text());
    // The ideographic space is a blank too.
    EXPECT_STREQ("全角空白", NameFromPath("C:\\x\\全角　空白.txt", false).Text());
}

TEST_F(PathCommandTest, DriveRootGivesItsLetter)
{
    CommandEntry root = FromPath("C:\\");
    EXPECT_STREQ("C", root.name.Text());
    EXPECT_STREQ("C:\\", root.path.Text());
    EXPECT_STREQ("C:\\", root.folder.Text());
    CommandEntry bare = FromPath("c:");
    EXPECT_STREQ("c", bare.name.Text());
    EXPECT_STREQ("c:\\", bare.path.Text());
    EXPECT_STREQ("c:\\", bare.folder.Text());
}

TEST_F(PathCommandTest, NameMadeUniqueLetterCaseAside)
{
    CString notepad = scratch + "notepad.exe";
    ASSERT_TRUE(WriteTextFile(notepad, "x"));
    EXPECT_STREQ("notepad2", FromPath(notepad.data).name.Text());
    CString tool = scratch + "TOOL.bat";
    ASSERT_TRUE(WriteTextFile(tool, "x"));
    EXPECT_STREQ("TOOL3", FromPath(tool.data).name.Text());
    // Brackets would break the section line: they go like blanks.
    CString bracketed = scratch + "a[1].txt";
    ASSERT_TRUE(WriteTextFile(bracketed, "x"));
    EXPECT_STREQ("a1", FromPath(bracketed.data).name.Text());
}

TEST_F(PathCommandTest, ShortcutWithArgumentsAndWorkingFolder)
{
    ASSERT_TRUE(CreateDirectoryA((scratch + "Program Area").data, 0));
    CString target = scratch + "Program Area\\editor.exe";
    ASSERT_TRUE(WriteTextFile(target, "x"));
    CString work = scratch + "work";
    ASSERT_TRUE(CreateDirectoryA(work.data, 0));
    CString link = WriteLink("My Editor.LNK", target, "-n \"a b.txt\"", work.data);
    CommandEntry entry = FromPath(link.data);
    EXPECT_STREQ("MyEditor", entry.name.Text());
    EXPECT_STREQ((Quoted(target) + " -n \"a b.txt\"").data, entry.path.Text());
    EXPECT_STREQ(work.data, entry.folder.Text());
}

TEST_F(PathCommandTest, ShortcutWithoutWorkingFolderUsesTheTargetsFolder)
{
    CString target = scratch + "run.cmd";
    ASSERT_TRUE(WriteTextFile(target, "x"));
    CString link = WriteLink("runner.lnk", target, "", "");
    CommandEntry entry = FromPath(link.data);
    EXPECT_STREQ("runner", entry.name.Text());
    EXPECT_STREQ(target.data, entry.path.Text());
    EXPECT_STREQ(Plain(scratch).data, entry.folder.Text());

    Zint_Std::ShortcutContents read;
    ASSERT_TRUE(ReadShortcutTarget(link.data, read));
    EXPECT_STREQ(target.data, read.target.Text());
    EXPECT_STREQ("", read.arguments.Text());
}

TEST_F(PathCommandTest, BrokenShortcutIsTakenAsAPlainFile)
{
    CString notALink = scratch + "fake.lnk";
    ASSERT_TRUE(WriteTextFile(notALink, "not a shortcut"));
    Zint_Std::ShortcutContents read;
    EXPECT_FALSE(ReadShortcutTarget(notALink.data, read));
    CommandEntry entry = FromPath(notALink.data);
    EXPECT_STREQ("fake", entry.name.Text());
    EXPECT_STREQ(notALink.data, entry.path.Text());
}

TEST_F(PathCommandTest, LongDoubleBytePathsCutOnWholeCharacters)
{
    // 4 single bytes, then 300 double-byte characters: the limit of 499
    // falls inside a character, which is left out whole.
    CString longPath("C:\\a");
    CString longFolder("C:\\a");
    for (int i = 0; i < 300; i++)
        longPath.Append("あ");
    longFolder = longPath;
    longPath.Append("\\x.exe");
    CommandEntry entry = FromPath(longPath.data);
    EXPECT_EQ(498, entry.path.GetLength());
    EXPECT_EQ(0, strncmp(longPath.data, entry.path.data, 498));
    EXPECT_FALSE(Zint_Std::EndsInLoneLeadByte(
        reinterpret_cast<const unsigned char*>(entry.path.data)));
    EXPECT_EQ(498, entry.folder.GetLength());
    EXPECT_EQ(0, strncmp(longFolder.data, entry.folder.data, 498));

    // A shortcut with 480 bytes of double-byte arguments after its target.
    CString target = scratch + "t.exe";
    ASSERT_TRUE(WriteTextFile(target, "x"));
    CString arguments;
    for (int i = 0; i < 240; i++)
        arguments.Append("引");
    CString link = WriteLink("long.lnk", target, arguments.data, "");
    CommandEntry linked = FromPath(link.data);
    CString whole = target + " " + arguments;
    ASSERT_GT(whole.GetLength(), kMaxPathBytes);
    EXPECT_LE(linked.path.GetLength(), kMaxPathBytes);
    EXPECT_GE(linked.path.GetLength(), kMaxPathBytes - 1);
    EXPECT_EQ(0, strncmp(whole.data, linked.path.data, linked.path.GetLength()));
    // The cut ends after a whole character: what stays after the target's
    // blank is an even number of bytes.
    EXPECT_EQ(0, (linked.path.GetLength() - target.GetLength() - 1) % 2);
}

TEST_F(PathCommandTest, EmptyPathGivesAnEmptyEntry)
{
    CCommandStore store(commandFile.data);
    ASSERT_TRUE(store.Load());
    CommandEntry entry;
    entry.name = "left over";
    EXPECT_FALSE(CommandFromPath("", store, entry));
    EXPECT_TRUE(entry.name.IsEmpty());
    EXPECT_TRUE(entry.path.IsEmpty());
    EXPECT_TRUE(entry.folder.IsEmpty());
}
