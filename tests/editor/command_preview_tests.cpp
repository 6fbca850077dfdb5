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

}  // namespace

TEST(CommandPreviewArguments, NumberedPlaceholdersTakeTheirWords)
{
    CommandPreview preview = Preview("notepad.exe $2 $1", "a b");
    EXPECT_STREQ("notepad.exe", preview.file.Text());
    // The words after the last placeholder's number follow at the end.
    EXPECT_STREQ("b a b", preview.parameters.Text());
    EXPECT_STREQ("a b", Preview("notepad.exe $1 $2", "a b").parameters.Text());
    EXPECT_STREQ("-o b", Preview("notepad.exe -o $2", "a b").parameters.Text());
    EXPECT_STREQ("", preview.note.Text());
}

TEST(CommandPreviewArguments, WholeTextAndRemainingWords)
{
    EXPECT_STREQ("-q one  two", Preview("x.exe -q $$", "one  two").parameters.Text());
    // $! puts the words not placed yet, each followed by a blank.
    EXPECT_STREQ("a b c ", Preview("x.exe $1 $!", "a b c").parameters.Text());
    // Without placeholders the words go after PATH.
    EXPECT_STREQ("a b", Preview("x.exe", "a b").parameters.Text());
    // Only the first word of the sample when PATH asks for $1 alone: the
    // rest follow at the end.
    EXPECT_STREQ("-f a b", Preview("x.exe -f $1", "a b").parameters.Text());
}

TEST(CommandPreviewArguments, EmptySampleLeavesPlaceholdersAndSaysSo)
{
    CommandPreview preview = Preview("x.exe $1", "");
    EXPECT_STREQ("x.exe", preview.file.Text());
    EXPECT_STREQ("$1", preview.parameters.Text());
    EXPECT_TRUE(strstr(preview.note.Text(), "$1")) << preview.note.Text();
    // With a sample the note has nothing to say.
    EXPECT_STREQ("", Preview("x.exe $1", "z").note.Text());
}

TEST(CommandPreviewArguments, NameThatCannotBeTypedStillSplitsTheSample)
{
    CommandPreview preview = Preview("x.exe $1", "q", "", 0, "a b");
    EXPECT_STREQ("q", preview.parameters.Text());
    CommandPreview unnamed = Preview("x.exe $1 $2", "q r", "", 0, "");
    EXPECT_STREQ("q r", unnamed.parameters.Text());
}

TEST(CommandPreviewFile, QuotedFileKeepsItsBlanks)
{
    CommandPreview preview = Preview("\"C:\\Program Files\\x.exe\" -a", "");
    EXPECT_STREQ("C:\\Program Files\\x.exe", preview.file.Text());
    EXPECT_STREQ("-a", preview.parameters.Text());
}

TEST(CommandPreviewFile, DotRuleSplitsAtTheFirstBlankAfterTheLastDot)
{
    CommandPreview unquoted = Preview("C:\\Program Files\\x.exe -a", "");
    EXPECT_STREQ("C:\\Program Files\\x.exe", unquoted.file.Text());
    EXPECT_STREQ("-a", unquoted.parameters.Text());
    // A dot in a folder name does not count.
    CommandPreview folderDot = Preview("C:\\my.dir\\app -x", "");
    EXPECT_STREQ("C:\\my.dir\\app -x", folderDot.file.Text());
    EXPECT_STREQ("", folderDot.parameters.Text());
    // When the shell knows the whole text as one file, it stays whole.
    CommandPreview known = Preview("readme.txt file", "", "", EveryProgram);
    EXPECT_STREQ("readme.txt file", known.file.Text());
    EXPECT_STREQ("", known.parameters.Text());
}

TEST(CommandPreviewFile, EnvironmentExpandedInFileAndFolderOnly)
{
    ASSERT_TRUE(SetEnvironmentVariableA("QUELT_PREVIEW_TOOLS", "C:\\tools"));
    CommandPreview preview = Preview("%QUELT_PREVIEW_TOOLS%\\run.exe %QUELT_PREVIEW_TOOLS%", "",
                                     "%QUELT_PREVIEW_TOOLS%\\work");
    EXPECT_STREQ("C:\\tools\\run.exe", preview.file.Text());
    // The shell gets the parameters as written.
    EXPECT_STREQ("%QUELT_PREVIEW_TOOLS%", preview.parameters.Text());
    EXPECT_STREQ("C:\\tools\\work", preview.folder.Text());
    // An unknown variable stays as written.
    EXPECT_STREQ("%QUELT_NO_SUCH_VARIABLE%\\a.exe",
                 Preview("%QUELT_NO_SUCH_VARIABLE%\\a.exe", "").file.Text());
    SetEnvironmentVariableA("QUELT_PREVIEW_TOOLS", 0);
}

TEST(CommandPreviewNote, ArrowOptions)
{
    CommandPreview openFolder = Preview("x.exe ->of", "", "C:\\work");
    EXPECT_STREQ("->of", openFolder.parameters.Text());
    EXPECT_TRUE(strstr(openFolder.note.Text(), "作業フォルダ「C:\\work」を開きます"))
        << openFolder.note.Text();
    // Without a folder the option is passed on to the file.
    CommandPreview noFolder = Preview("x.exe ->of", "");
    EXPECT_TRUE(strstr(noFolder.note.Text(), "パラメータとしてファイルに渡されます")) << noFolder.note.Text();

    ASSERT_TRUE(SetEnvironmentVariableA("QUELT_PREVIEW_APPS", "D:\\apps"));
    CommandPreview fileFolder = Preview("%QUELT_PREVIEW_APPS%\\x.exe ->oaf", "");
    EXPECT_TRUE(strstr(fileFolder.note.Text(), "ファイルのあるフォルダ「D:\\apps\\」を開きます"))
        << fileFolder.note.Text();
    SetEnvironmentVariableA("QUELT_PREVIEW_APPS", 0);
    EXPECT_TRUE(strstr(Preview("x.exe ->oaf", "").note.Text(), "開くフォルダがありません"));

    EXPECT_STREQ("->edit: このコマンドを編集画面で開きます",
                 Preview("x.exe ->edit", "").note.Text());
    EXPECT_TRUE(strstr(Preview("x.exe ->zz", "").note.Text(), "「->zz」はオプションではないため"));
    // "->" alone is no option; typed words after it make it none either.
    EXPECT_STREQ("", Preview("x.exe ->", "").note.Text());
    EXPECT_STREQ("->edit a", Preview("x.exe ->edit", "a").parameters.Text());
    EXPECT_TRUE(strstr(Preview("x.exe ->edit", "a").note.Text(), "オプションではないため"));
}

TEST(CommandPreviewNote, BuiltinCodes)
{
    CommandPreview newCommand = Preview("@2500", "");
    EXPECT_STREQ("@2500", newCommand.file.Text());
    EXPECT_STREQ("組み込みコマンド 2500: 新しいコマンドを作ります", newCommand.note.Text());
    EXPECT_STREQ("組み込みコマンド 9999: この番号の組み込みコマンドはありません（何も実行されません）",
                 Preview("@9999", "").note.Text());
    // Without a dot the whole text is the file: the code is its first word.
    CommandPreview withWords = Preview("@600 ->edit", "");
    EXPECT_STREQ("@600 ->edit", withWords.file.Text());
    EXPECT_TRUE(strstr(withWords.note.Text(), "組み込みコマンド 600")) << withWords.note.Text();
    // An arrow option comes before the code, as in the launcher.
    EXPECT_TRUE(strstr(Preview("@1.x ->edit", "").note.Text(), "->edit"));
}

TEST(CommandPreviewNote, EmptyPathRunsNothing)
{
    CommandPreview preview = Preview("", "a b", "C:\\work");
    EXPECT_STREQ("パスが空のコマンドは実行されません", preview.note.Text());
    EXPECT_STREQ("", preview.file.Text());
    EXPECT_STREQ("", preview.parameters.Text());
    EXPECT_STREQ("", preview.folder.Text());
}
