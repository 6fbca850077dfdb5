// Tab completion of typed paths over a scratch tree; "#" in a row stands for
// the tree's folder, with its backslash.
#include <gtest/gtest.h>

#include <stdio.h>

#include "launcher/path_completion.h"
#include "test_paths.h"

using Zint_Std::CString;

namespace {

CString Rooted(const char* text, const CString& root)
{
    CString out;
    for (const char* p = text; *p; p++)  // '#' is never the second byte of a character
        *p == '#' ? out.Append(root) : out.AppendChar(*p);
    return out;
}

// The result ("" for none), the number of entries (0 for one match or none),
// the first and last entry and PathChoiceText of the last one.
struct PathRow {
    const char *typed, *result;
    int listed;
    const char *first, *last, *chosen;
};

const PathRow kRows[] = {
    {"#sp", "\"#sp ace\\\"", 0, 0, 0, 0},
    {"\"#sp ace\\\"Mi", "\"#sp ace\\Mic ", 2, "Mic one.txt", "Mic two.txt", "\"#sp ace\\Mic two.txt\""},
    {"#予", "#予定表.txt ", 0, 0, 0, 0},
    {"notepad #ソ", "notepad #ソフト\\", 0, 0, 0, 0},
    {"notepad #ソフト\\r", "notepad #ソフト\\readme.txt ", 0, 0, 0, 0},
    {"#a", "#abc.txt ", 0, 0, 0, 0},     // a¥b.txt is never offered
    {"#hid", "#hide.txt ", 0, 0, 0, 0},  // hidden.txt is hidden
    {"#big\\I", "#big\\Item", 200, "item_f0\\", "item_194", "#big\\item_194"},
    {"run %QUELT_PC%\\ab", "run %QUELT_PC%\\abc.txt ", 0, 0, 0, 0},
    {".\\ab", ".\\abc.txt ", 0, 0, 0, 0},
    {"#none", "", 0, 0, 0, 0},
    {"notepad ab", "", 0, 0, 0, 0},
};

// Last words that start like a path, and some that do not.
const char* const kPathWords[] = {"C:\\", "run d:\\x", "\"C:\\Program Files\\\"Mic", "\\\\srv\\", "%TEMP%\\a", ".\\", "..\\a", "\"..\\a b"};
const char* const kOtherWords[] = {"\\\\\\", "%%\\", "C:", "notepad", "1:\\", "\"a b\" x", "C:\\a ", "予\\"};

}  // namespace

TEST(PathCompletionTest, CompletesTheLastWordFromItsFolder)
{
    const CString root = MakeScratchFolder("path_completion");
    for (const char* folder : {"sp ace", "ソフト", "big"})
        ASSERT_TRUE(CreateDirectoryA((root + folder).data, 0));
    const char* files[] = {"sp ace\\Mic one.txt", "sp ace\\Mic two.txt", "予定表.txt", "ソフト\\readme.txt",
                           "abc.txt", "hide.txt", "hidden.txt", "big\\itemz.txt"};
    for (const char* file : files)
        ASSERT_TRUE(WriteTextFile(root + file, "x"));
    char name[64];  // five folders and 195 files, and itemz.txt sorted after them
    for (int i = 0; i < 200; i++) {
        sprintf(name, i < 5 ? "big\\item_f%d" : "big\\item_%03d", i < 5 ? i : i - 5);
        ASSERT_TRUE(i < 5 ? CreateDirectoryA((root + name).data, 0) : WriteTextFile(root + name, "x"));
    }
    HANDLE bestFit = CreateFileW((Wide(root.data) + L"a\u00A5b.txt").c_str(), GENERIC_WRITE, 0, 0, CREATE_NEW, 0, 0);
    ASSERT_NE(INVALID_HANDLE_VALUE, bestFit);
    CloseHandle(bestFit);
    ASSERT_TRUE(SetFileAttributesA((root + "hidden.txt").data, FILE_ATTRIBUTE_HIDDEN));
    SetEnvironmentVariableA("QUELT_PC", (root + ".").data);  // "%QUELT_PC%\\" is the tree too
    char saved[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, saved);
    SetCurrentDirectoryA(root.data);

    for (const PathRow& row : kRows) {
        PathCompletion completion;
        const CString typed = Rooted(row.typed, root);
        EXPECT_EQ(row.result[0] != 0, CompletePath(typed, completion)) << row.typed;
        EXPECT_STREQ(Rooted(row.result, root).Text(), completion.result.Text()) << row.typed;
        EXPECT_EQ(row.result[0] && !row.listed, completion.single) << row.typed;
        ASSERT_EQ(row.listed, completion.entries.count) << row.typed;
        if (!row.listed)
            continue;
        const CString& last = completion.entries.items[row.listed - 1].first;
        EXPECT_STREQ(row.first, completion.entries.items[0].first.Text()) << row.typed;
        EXPECT_STREQ(row.last, last.Text()) << row.typed;
        EXPECT_STREQ(Rooted(row.chosen, root).Text(), PathChoiceText(completion, last.data).Text());
    }
    for (const char* word : kPathWords)
        EXPECT_TRUE(LastWordIsPath(word)) << word;
    for (const char* word : kOtherWords)
        EXPECT_FALSE(LastWordIsPath(word)) << word;
    SetCurrentDirectoryA(saved);
    SetEnvironmentVariableA("QUELT_PC", 0);
    RemoveScratchFolder(root);
}
