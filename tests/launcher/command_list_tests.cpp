// Loading the command names and reading a command's keys, from well-formed
// and from hostile command files.
#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "launcher/command_list.h"
#include "test_paths.h"

using Zint_Std::CString;

namespace {

class CommandListTest : public ::testing::Test {
protected:
    CString folder;
    CString commandFile;

    void SetUp() override
    {
        folder = MakeScratchFolder("command-list");
        commandFile = folder + "quelt_cmd.txt";
    }
    void TearDown() override { RemoveScratchFolder(folder); }

    // Loads the command file and checks that nothing wrote to it.
    void LoadUnchanged(CCommandList& list)
    {
        int before = 0;
        CString original = ReadWholeFile(commandFile, &before);
        EXPECT_EQ(1, list.Load());
        int after = 0;
        CString now = ReadWholeFile(commandFile, &after);
        ASSERT_EQ(before, after);
        EXPECT_EQ(0, memcmp(original.data, now.data, before));
    }
};

bool SortedNoCase(const CCommandList& list)
{
    for (int i = 1; i < list.names.count; i++)
        if (lstrcmpiA(list.names.Name(i - 1), list.names.Name(i)) > 0)
            return false;
    return true;
}

}  // namespace

TEST_F(CommandListTest, NamesAreSortedLetterCaseAside)
{
    ASSERT_TRUE(WriteTextFile(commandFile,
                              "[Zeta]\r\nPATH=z.exe\r\n[alpha]\r\nPATH=a.exe\r\n[Beta]\r\nPATH=b\r\n"));
    CCommandList list(folder);
    ASSERT_EQ(1, list.Load());
    ASSERT_EQ(3, list.names.count);
    EXPECT_STREQ("alpha", list.names.Name(0));
    EXPECT_STREQ("Beta", list.names.Name(1));
    EXPECT_STREQ("Zeta", list.names.Name(2));
    // A reload rebuilds the list instead of adding to it.
    ASSERT_EQ(1, list.Load());
    EXPECT_EQ(3, list.names.count);
}

bool ReferenceComesAfterOrTies(const CString& a, const CString& b)
{
    return lstrcmpiA(a.data, b.data) >= 0;
}

// The list is sorted through the locale's sort keys; the order, ties
// included, must be exactly the one the case-insensitive comparison gives.
TEST_F(CommandListTest, OrderIsExactlyThatOfTheCaseInsensitiveComparison)
{
    const char* pieces[] = {"a", "A", "b", "B", "z", "Z", "-", "'", "_", "0", "9", "10", ".",
                            "~", "!", "ａ", "Ａ", "ア", "ｱ", "あ", "ぁ", "表", "ソ", "ー", "＿",
                            "x y", "@", "$", "[", "Ω"};
    const int pieceCount = sizeof(pieces) / sizeof(pieces[0]);
    srand(4242);
    CString text;
    for (int i = 0; i < 4000; i++) {
        CString name;
        const int parts = 1 + rand() % 6;
        for (int p = 0; p < parts; p++)
            name.Append(pieces[rand() % pieceCount]);
        text.Append("[");
        text.Append(name);
        text.Append("]\r\nPATH=x\r\n");
        // The same name in other letter cases: these tie.
        if (i % 10 == 0) {
            CString upper(name);
            CharUpperA(upper.data);
            text.Append("[");
            text.Append(upper);
            text.Append("]\r\nPATH=y\r\n");
        }
    }
    ASSERT_TRUE(WriteTextFile(commandFile, text.data));
    CCommandList list(folder);
    ASSERT_EQ(1, list.Load());

    int length = 0;
    char* names = ReadSectionNames(commandFile.data, length);
    ASSERT_TRUE(names != 0);
    Zint_Std::CArray<CString> reference;
    for (int at = 0; at < length && names[at]; at += lstrlenA(names + at) + 1)
        reference.Add(CString(names + at));
    free(names);
    reference.Sort(ReferenceComesAfterOrTies, true);
    ASSERT_EQ(reference.count, list.names.count);
    unsigned int bytes = 0;
    for (int i = 0; i < reference.count; i++) {
        ASSERT_STREQ(reference.items[i].data, list.names.Name(i)) << i;
        bytes += reference.items[i].GetLength() + 1 + sizeof(int);
    }
    // The names, their zeros and one table entry each: nothing more is kept.
    EXPECT_EQ(bytes, list.names.ByteSize());
}

TEST_F(CommandListTest, MoreThan1024BytesOfNamesAreReadCompletely)
{
    CString text;
    for (int i = 0; i < 600; i++) {
        char section[64];
        sprintf(section, "[command-%04d]\r\nPATH=p%d.exe\r\n", 599 - i, i);
        text.Append(section);
    }
    ASSERT_TRUE(WriteTextFile(commandFile, text.data));
    CCommandList list(folder);
    ASSERT_EQ(1, list.Load());
    ASSERT_EQ(600, list.names.count);
    EXPECT_STREQ("command-0000", list.names.Name(0));
    EXPECT_STREQ("command-0599", list.names.Name(599));
    EXPECT_TRUE(SortedNoCase(list));
}

TEST_F(CommandListTest, AHundredThousandSections)
{
    const int sections = 100000;
    char* text = static_cast<char*>(malloc(sections * 16 + 1));
    ASSERT_TRUE(text != 0);
    int at = 0;
    for (int i = 0; i < sections; i++)
        at += sprintf(text + at, "[s%06d]\r\n", (i * 7919) % sections);
    ASSERT_TRUE(WriteBytes(commandFile, text, at));
    free(text);
    CCommandList list(folder);
    LoadUnchanged(list);
    ASSERT_EQ(sections, list.names.count);
    EXPECT_STREQ("s000000", list.names.Name(0));
    EXPECT_STREQ("s099999", list.names.Name(sections - 1));
    EXPECT_TRUE(SortedNoCase(list));
}

TEST_F(CommandListTest, GetCommandMatchesLetterCaseAsideAndLimitsLengths)
{
    CString longPath(";\r\n[Open]\r\nPATH=");
    for (int i = 0; i < 600; i++)
        longPath.AppendChar(static_cast<char>('a' + i % 26));
    longPath.Append("\r\nFOLDER=C:\\work\\\r\nCOMMENT=");
    for (int i = 0; i < 150; i++)
        longPath.AppendChar('c');
    longPath.Append("\r\n[nopath]\r\nFOLDER=C:\\\r\nCOMMENT=none\r\n[with blank]\r\nPATH=x.exe\r\n");
    ASSERT_TRUE(WriteTextFile(commandFile, longPath.data));
    CCommandList list(folder);
    ASSERT_EQ(1, list.Load());

    CString path, folderValue, comment;
    EXPECT_EQ(1, list.GetCommand(CString("OPEN"), &path, &folderValue, &comment));
    EXPECT_EQ(499, path.GetLength());
    EXPECT_STREQ("C:\\work\\", folderValue.data);
    EXPECT_EQ(99, comment.GetLength());

    EXPECT_EQ(0, list.GetCommand(CString("nopath"), &path, &folderValue, &comment));
    EXPECT_TRUE(path.IsEmpty());
    EXPECT_STREQ("none", comment.data);
    // Without PATH asked for, the answer is 1.
    EXPECT_EQ(1, list.GetCommand(CString("nopath"), 0, 0, &comment));
    EXPECT_EQ(0, list.GetCommand(CString(""), &path, 0, 0));
    EXPECT_EQ(0, list.GetCommand(CString("missing"), &path, 0, 0));
    // Listed for completion even though a typed line can never name it.
    bool listed = false;
    for (int i = 0; i < list.names.count; i++)
        listed = listed || !strcmp(list.names.Name(i), "with blank");
    EXPECT_TRUE(listed);
}

TEST_F(CommandListTest, NamesWithTrailByte5CAreFoundAndListed)
{
    // 表 and ソ end in 0x5C, the byte of a backslash.
    ASSERT_TRUE(WriteTextFile(commandFile,
                              "[表示]\r\nPATH=hyouji.exe\r\n[ソフト]\r\nPATH=soft.exe\r\n"));
    CCommandList list(folder);
    LoadUnchanged(list);
    ASSERT_EQ(2, list.names.count);
    CString path;
    EXPECT_EQ(1, list.GetCommand(CString("表示"), &path, 0, 0));
    EXPECT_STREQ("hyouji.exe", path.data);
    EXPECT_EQ(1, list.GetCommand(CString("ソフト"), &path, 0, 0));
    EXPECT_STREQ("soft.exe", path.data);
}

TEST_F(CommandListTest, MissingFileGivesAnEmptyListAndSuccess)
{
    CCommandList list(folder);
    // No command file and no default to copy: the path is emptied.
    EXPECT_TRUE(list.commandFile.IsEmpty());
    EXPECT_EQ(0, list.Load());
    list.commandFile = commandFile;
    EXPECT_EQ(1, list.Load());
    EXPECT_EQ(0, list.names.count);
}

TEST_F(CommandListTest, AnEmptyPathLeavesTheListAlone)
{
    ASSERT_TRUE(WriteTextFile(commandFile, "[a]\r\nPATH=x\r\n"));
    CCommandList list(folder);
    ASSERT_EQ(1, list.Load());
    list.commandFile.Empty();
    EXPECT_EQ(0, list.Load());
    EXPECT_EQ(1, list.names.count);
}

TEST_F(CommandListTest, HostileFilesNeitherCrashNorChange)
{
    // Binary garbage with NUL bytes.
    const int garbageLength = 64 * 1024;
    unsigned char* garbage = static_cast<unsigned char*>(malloc(garbageLength));
    ASSERT_TRUE(garbage != 0);
    srand(777);
    for (int i = 0; i < garbageLength; i++)
        garbage[i] = static_cast<unsigned char>(rand() % 4 == 0 ? 0 : rand());
    for (int i = 0; i < garbageLength; i += 97)
        garbage[i] = '[';
    ASSERT_TRUE(WriteBytes(commandFile, garbage, garbageLength));
    free(garbage);
    {
        CCommandList list(folder);
        LoadUnchanged(list);
        for (int i = 0; i < list.names.count; i++)
            ASSERT_GT(lstrlenA(list.names.Name(i)), 0);
        CString path;
        for (int i = 0; i < list.names.count && i < 200; i++) {
            list.GetCommand(CString(list.names.Name(i)), &path, 0, 0);
            ASSERT_LT(path.GetLength(), 500);
        }
    }

    // UTF-16 with a byte-order mark.
    const wchar_t unicode[] = L"\xFEFF[wide]\r\nPATH=wide.exe\r\n[\x8868\x793A]\r\nPATH=x\r\n";
    ASSERT_TRUE(WriteBytes(commandFile, unicode, sizeof(unicode) - sizeof(wchar_t)));
    {
        CCommandList list(folder);
        LoadUnchanged(list);
        CString path;
        if (list.names.count) {
            EXPECT_EQ(1, list.GetCommand(CString("wide"), &path, 0, 0));
            EXPECT_STREQ("wide.exe", path.data);
        }
    }

    // One line of a megabyte.
    const int lineLength = 1024 * 1024;
    char* big = static_cast<char*>(malloc(lineLength + 64));
    ASSERT_TRUE(big != 0);
    int at = sprintf(big, "[big]\r\nPATH=");
    memset(big + at, 'x', lineLength);
    at += lineLength;
    at += sprintf(big + at, "\r\n[after]\r\nPATH=after.exe\r\n");
    ASSERT_TRUE(WriteBytes(commandFile, big, at));
    free(big);
    {
        CCommandList list(folder);
        LoadUnchanged(list);
        CString path;
        EXPECT_EQ(1, list.GetCommand(CString("big"), &path, 0, 0));
        EXPECT_EQ(499, path.GetLength());
        EXPECT_EQ(1, list.GetCommand(CString("after"), &path, 0, 0));
        EXPECT_STREQ("after.exe", path.data);
    }
}

TEST_F(CommandListTest, AFileLockedByAnotherProgram)
{
    ASSERT_TRUE(WriteTextFile(commandFile, "[one]\r\nPATH=1.exe\r\n[two]\r\nPATH=2.exe\r\n"));
    CCommandList list(folder);
    HANDLE lock = CreateFileA(commandFile.data, GENERIC_READ | GENERIC_WRITE, 0, 0,
                              OPEN_EXISTING, 0, 0);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    EXPECT_EQ(1, list.Load());
    // Whatever the reader could see is a consistent list.
    EXPECT_LE(list.names.count, 2);
    CString path;
    list.GetCommand(CString("one"), &path, 0, 0);
    CloseHandle(lock);
    EXPECT_EQ(1, list.Load());
    EXPECT_EQ(2, list.names.count);
}
