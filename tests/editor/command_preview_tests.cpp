// The preview of the single-command editor: the launcher's own steps from a
// command and a typed sample to the file, parameters and folder it starts,
// and the note on arrow options, built-in codes and an empty PATH.
#include <gtest/gtest.h>

#include <windows.h>
#include <string.h>

#include "editor/command_preview.h"

using Zint_Std::CString;

namespace {

bool EveryProgram(const char*) { return true; }

CommandPreview Preview(const char* path, const char* sample, const char* folder = "",
                       ProgramQuery query = 0, const char* name = "run")
{
    CommandPreview preview;
    ComputeCommandPreview(name, path, folder, sample, query, preview);
    return preview;
}

const char* Text(const CString& text)
{
    return text.data ? text.data : "";
}

}  // namespace

TEST(CommandPreviewArguments, NumberedPlaceholdersTakeTheirWords)
{
    CommandPreview preview = Preview("notepad.exe $2 $1", "a b");
    EXPECT_STREQ("notepad.exe", Text(preview.file));
    // The words after the last placeholder's number follow at the end.
    EXPECT_STREQ("b a b", Text(preview.parameters));
    EXPECT_STREQ("a b", Text(Preview("notepad.exe $1 $2", "a b").parameters));
    EXPECT_STREQ("-o b", Text(Preview("notepad.exe -o $2", "a b").parameters));
    EXPECT_STREQ("", Text(preview.note));
}

TEST(CommandPreviewArguments, WholeTextAndRemainingWords)
{
    EXPECT_STREQ("-q one  two", Text(Preview("x.exe -q $$", "one  two").parameters));
    // $! puts the words not placed yet, each followed by a blank.
    EXPECT_STREQ("a b c ", Text(Preview("x.exe $1 $!", "a b c").parameters));
    // Without placeholders the words go after PATH.
    EXPECT_STREQ("a b", Text(Preview("x.exe", "a b").parameters));
    // Only the first word of the sample when PATH asks for $1 alone: the
    // rest follow at the end.
    EXPECT_STREQ("-f a b", Text(Preview("x.exe -f $1", "a b").parameters));
}

TEST(CommandPreviewArguments, EmptySampleLeavesPlaceholdersAndSaysSo)
{
    CommandPreview preview = Preview("x.exe $1", "");
    EXPECT_STREQ("x.exe", Text(preview.file));
    EXPECT_STREQ("$1", Text(preview.parameters));
    EXPECT_TRUE(strstr(Text(preview.note), "$1")) << Text(preview.note);
    // With a sample the note has nothing to say.
    EXPECT_STREQ("", Text(Preview("x.exe $1", "z").note));
}

TEST(CommandPreviewArguments, NameThatCannotBeTypedStillSplitsTheSample)
{
    CommandPreview preview = Preview("x.exe $1", "q", "", 0, "a b");
    EXPECT_STREQ("q", Text(preview.parameters));
    CommandPreview unnamed = Preview("x.exe $1 $2", "q r", "", 0, "");
    EXPECT_STREQ("q r", Text(unnamed.parameters));
}

TEST(CommandPreviewFile, QuotedFileKeepsItsBlanks)
{
    CommandPreview preview = Preview("\"C:\\Program Files\\x.exe\" -a", "");
    EXPECT_STREQ("C:\\Program Files\\x.exe", Text(preview.file));
    EXPECT_STREQ("-a", Text(preview.parameters));
}

TEST(CommandPreviewFile, DotRuleSplitsAtTheFirstBlankAfterTheLastDot)
{
    CommandPreview unquoted = Preview("C:\\Program Files\\x.exe -a", "");
    EXPECT_STREQ("C:\\Program Files\\x.exe", Text(unquoted.file));
    EXPECT_STREQ("-a", Text(unquoted.parameters));
    // A dot in a folder name does not count.
    CommandPreview folderDot = Preview("C:\\my.dir\\app -x", "");
    EXPECT_STREQ("C:\\my.dir\\app -x", Text(folderDot.file));
    EXPECT_STREQ("", Text(folderDot.parameters));
    // When the shell knows the whole text as one file, it stays whole.
    CommandPreview known = Preview("readme.txt file", "", "", EveryProgram);
    EXPECT_STREQ("readme.txt file", Text(known.file));
    EXPECT_STREQ("", Text(known.parameters));
}

TEST(CommandPreviewFile, EnvironmentExpandedInFileAndFolderOnly)
{
    ASSERT_TRUE(SetEnvironmentVariableA("QUELT_PREVIEW_TOOLS", "C:\\tools"));
    CommandPreview preview = Preview("%QUELT_PREVIEW_TOOLS%\\run.exe %QUELT_PREVIEW_TOOLS%", "",
                                     "%QUELT_PREVIEW_TOOLS%\\work");
    EXPECT_STREQ("C:\\tools\\run.exe", Text(preview.file));
    // The shell gets the parameters as written.
    EXPECT_STREQ("%QUELT_PREVIEW_TOOLS%", Text(preview.parameters));
    EXPECT_STREQ("C:\\tools\\work", Text(preview.folder));
    // An unknown variable stays as written.
    EXPECT_STREQ("%QUELT_NO_SUCH_VARIABLE%\\a.exe",
                 Text(Preview("%QUELT_NO_SUCH_VARIABLE%\\a.exe", "").file));
    SetEnvironmentVariableA("QUELT_PREVIEW_TOOLS", 0);
}

TEST(CommandPreviewNote, ArrowOptions)
{
    CommandPreview openFolder = Preview("x.exe ->of", "", "C:\\work");
    EXPECT_STREQ("->of", Text(openFolder.parameters));
    EXPECT_TRUE(strstr(Text(openFolder.note), "作業フォルダ「C:\\work」を開きます"))
        << Text(openFolder.note);
    // Without a folder the option is passed on to the file.
    CommandPreview noFolder = Preview("x.exe ->of", "");
    EXPECT_TRUE(strstr(Text(noFolder.note), "パラメータとして渡して")) << Text(noFolder.note);

    ASSERT_TRUE(SetEnvironmentVariableA("QUELT_PREVIEW_APPS", "D:\\apps"));
    CommandPreview fileFolder = Preview("%QUELT_PREVIEW_APPS%\\x.exe ->oaf", "");
    EXPECT_TRUE(strstr(Text(fileFolder.note), "ファイルのあるフォルダ「D:\\apps\\」を開きます"))
        << Text(fileFolder.note);
    SetEnvironmentVariableA("QUELT_PREVIEW_APPS", 0);
    EXPECT_TRUE(strstr(Text(Preview("x.exe ->oaf", "").note), "開くフォルダがありません"));

    EXPECT_STREQ("->edit: このコマンドを編集画面で開きます",
                 Text(Preview("x.exe ->edit", "").note));
    EXPECT_TRUE(strstr(Text(Preview("x.exe ->zz", "").note), "「->zz」は知らないオプション"));
    // "->" alone is no option; typed words after it make it none either.
    EXPECT_STREQ("", Text(Preview("x.exe ->", "").note));
    EXPECT_STREQ("->edit a", Text(Preview("x.exe ->edit", "a").parameters));
    EXPECT_TRUE(strstr(Text(Preview("x.exe ->edit", "a").note), "知らないオプション"));
}

TEST(CommandPreviewNote, BuiltinCodes)
{
    CommandPreview newCommand = Preview("@2500", "");
    EXPECT_STREQ("@2500", Text(newCommand.file));
    EXPECT_STREQ("組み込みコマンド 2500: 新しいコマンドを作ります", Text(newCommand.note));
    EXPECT_TRUE(strstr(Text(Preview("@9999", "").note), "組み込みコマンド 9999: "));
    EXPECT_TRUE(strstr(Text(Preview("@9999", "").note), "何も起きません"));
    // Without a dot the whole text is the file: the code is its first word.
    CommandPreview withWords = Preview("@600 ->edit", "");
    EXPECT_STREQ("@600 ->edit", Text(withWords.file));
    EXPECT_TRUE(strstr(Text(withWords.note), "組み込みコマンド 600")) << Text(withWords.note);
    // An arrow option comes before the code, as in the launcher.
    EXPECT_TRUE(strstr(Text(Preview("@1.x ->edit", "").note), "->edit"));
}

TEST(CommandPreviewNote, EmptyPathRunsNothing)
{
    CommandPreview preview = Preview("", "a b", "C:\\work");
    EXPECT_STREQ("PATHが空のコマンドは実行されません", Text(preview.note));
    EXPECT_STREQ("", Text(preview.file));
    EXPECT_STREQ("", Text(preview.parameters));
    EXPECT_STREQ("", Text(preview.folder));
}
