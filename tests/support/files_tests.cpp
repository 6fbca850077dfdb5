#include "support/files.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "test_paths.h"

using Zint_Std::CArray;
using Zint_Std::CString;

namespace {

std::vector<std::string> Sorted(const CArray<CString>& list)
{
    std::vector<std::string> texts;
    for (int i = 0; i < list.count; i++)
        texts.push_back(list.items[i].data);
    std::sort(texts.begin(), texts.end());
    return texts;
}

std::string Path(const CString& folder, const char* rest)
{
    return std::string(folder.data) + rest;
}

class FilesTest : public testing::Test {
protected:
    void SetUp() override
    {
        root = MakeScratchFolder("files");
        ASSERT_TRUE(Zint_Std::FolderExists(root));
    }
    void TearDown() override { RemoveScratchFolder(root); }

    CString At(const char* rest) const { return root + CString(rest); }

    CString root;
};

}  // namespace

TEST_F(FilesTest, ExistenceTestsAndTrailingBackslash)
{
    CString folder = At("x");
    ASSERT_TRUE(CreateDirectoryA(folder.data, 0));
    ASSERT_TRUE(WriteTextFile(At("x\\f.txt"), "f"));

    EXPECT_TRUE(Zint_Std::PathExists(folder.data));
    EXPECT_FALSE(Zint_Std::PathExists(At("x\\").data));
    EXPECT_TRUE(Zint_Std::FolderExists(folder));
    EXPECT_TRUE(Zint_Std::FolderExists(At("x\\")));
    EXPECT_TRUE(Zint_Std::PathExists(At("x\\f.txt").data));
    EXPECT_FALSE(Zint_Std::PathExists(At("missing").data));
    EXPECT_FALSE(Zint_Std::PathExists(nullptr));
    EXPECT_FALSE(Zint_Std::PathExists(""));

    EXPECT_TRUE(Zint_Std::IsFolder(folder.data));
    EXPECT_FALSE(Zint_Std::IsFolder(At("x\\f.txt").data));
    EXPECT_FALSE(Zint_Std::FolderExists(At("x\\f.txt")));
    EXPECT_FALSE(Zint_Std::FolderExists(At("missing")));
}

TEST_F(FilesTest, EmptyPathsNameNoFolder)
{
    CString empty;
    EXPECT_FALSE(Zint_Std::FolderExists(empty));
    EXPECT_FALSE(Zint_Std::FolderExists(CString("")));
    Zint_Std::AppendBackslash(empty);
    EXPECT_TRUE(empty.IsEmpty());
    CArray<CString> list;
    Zint_Std::ListFolder(CString(""), list, "*", true, true);
    EXPECT_EQ(0, list.count);
}

TEST_F(FilesTest, JapaneseFolderEndingInTrailByte5C)
{
    // "表" is 0x95 0x5C: the folder name ends in a byte that looks like a
    // backslash, yet is none.
    CString folder = At("表");
    ASSERT_TRUE(CreateDirectoryA(folder.data, 0));
    ASSERT_TRUE(WriteTextFile(At("表\\中.txt"), "x"));
    ASSERT_TRUE(WriteTextFile(At("表外.txt"), "x"));  // would match a bad "表*"

    EXPECT_FALSE(Zint_Std::EndsWithBackslash(folder.data));
    EXPECT_TRUE(Zint_Std::EndsWithBackslash(At("表\\").data));
    EXPECT_TRUE(Zint_Std::FolderExists(folder));

    CString withSlash(folder);
    Zint_Std::AppendBackslash(withSlash);
    EXPECT_EQ(Path(root, "表\\"), withSlash.data);

    CArray<CString> list;
    Zint_Std::ListFolder(folder, list, "*", false, false);
    EXPECT_EQ(std::vector<std::string>{Path(root, "表\\中.txt")}, Sorted(list));
}

TEST(PathTrimming, CutAfterLastBackslash)
{
    char a[] = "C:\\a\\b.exe";
    Zint_Std::CutAfterLastBackslash(a);
    EXPECT_STREQ("C:\\a\\", a);
    EXPECT_EQ(0, a[6]);
    EXPECT_EQ(0, a[9]);

    char b[] = "b.exe";
    Zint_Std::CutAfterLastBackslash(b);
    EXPECT_STREQ("b.exe", b);

    char c[] = "C:\\ソフト\\ソ";  // the name ends in a trail byte 0x5C
    Zint_Std::CutAfterLastBackslash(c);
    EXPECT_STREQ("C:\\ソフト\\", c);

    char d[] = "C:\\dir\\";
    Zint_Std::CutAfterLastBackslash(d);
    EXPECT_STREQ("C:\\dir\\", d);

    char e[] = "C:\\x\\ab\x83";  // ends inside a double-byte character
    Zint_Std::CutAfterLastBackslash(e);
    EXPECT_STREQ("C:\\x\\", e);

    Zint_Std::CutAfterLastBackslash(nullptr);
}

TEST(PathTrimming, AppendBackslash)
{
    CString a("C:\\a");
    Zint_Std::AppendBackslash(a);
    EXPECT_STREQ("C:\\a\\", a.data);
    Zint_Std::AppendBackslash(a);
    EXPECT_STREQ("C:\\a\\", a.data);
    CString b("C:\\ソ");
    Zint_Std::AppendBackslash(b);
    EXPECT_STREQ("C:\\ソ\\", b.data);
}

TEST_F(FilesTest, ListFolderLevelsAndOptions)
{
    // root\f1, root\f2, root\d1\g1, root\d1\d2\h1, root\empty\ .
    ASSERT_TRUE(WriteTextFile(At("f1"), "1"));
    ASSERT_TRUE(WriteTextFile(At("f2.txt"), "2"));
    ASSERT_TRUE(CreateDirectoryA(At("d1").data, 0));
    ASSERT_TRUE(WriteTextFile(At("d1\\g1"), "3"));
    ASSERT_TRUE(CreateDirectoryA(At("d1\\d2").data, 0));
    ASSERT_TRUE(WriteTextFile(At("d1\\d2\\h1"), "4"));
    ASSERT_TRUE(CreateDirectoryA(At("empty").data, 0));

    CArray<CString> flat;
    Zint_Std::ListFolder(root, flat, "*", false, true);
    EXPECT_EQ((std::vector<std::string>{Path(root, "f1"), Path(root, "f2.txt")}), Sorted(flat));

    CArray<CString> files;
    Zint_Std::ListFolder(root, files, "*", true, false);
    EXPECT_EQ((std::vector<std::string>{Path(root, "d1\\d2\\h1"), Path(root, "d1\\g1"),
                                        Path(root, "f1"), Path(root, "f2.txt")}),
              Sorted(files));

    CArray<CString> all;
    Zint_Std::ListFolder(root, all, "*", true, true);
    EXPECT_EQ((std::vector<std::string>{Path(root, "d1"), Path(root, "d1\\d2"),
                                        Path(root, "d1\\d2\\h1"), Path(root, "d1\\g1"),
                                        Path(root, "empty"), Path(root, "f1"),
                                        Path(root, "f2.txt")}),
              Sorted(all));

    // A folder is listed before the entries found inside it.
    auto position = [&all](const std::string& text) {
        for (int i = 0; i < all.count; i++)
            if (text == all.items[i].data)
                return i;
        return -1;
    };
    EXPECT_LT(position(Path(root, "d1")), position(Path(root, "d1\\g1")));
    EXPECT_LT(position(Path(root, "d1\\d2")), position(Path(root, "d1\\d2\\h1")));

    // The output is appended to, never cleared.
    Zint_Std::ListFolder(At("d1\\d2"), all, "*", false, false);
    EXPECT_EQ(8, all.count);

    CArray<CString> none;
    Zint_Std::ListFolder(At("empty"), none, "*", true, true);
    EXPECT_EQ(0, none.count);
    Zint_Std::ListFolder(At("missing"), none, "*", true, true);
    EXPECT_EQ(0, none.count);
}

TEST_F(FilesTest, ListFolderPatternAppliesInEveryFolder)
{
    ASSERT_TRUE(WriteTextFile(At("a.txt"), "1"));
    ASSERT_TRUE(WriteTextFile(At("b.log"), "2"));
    ASSERT_TRUE(CreateDirectoryA(At("sub").data, 0));
    ASSERT_TRUE(WriteTextFile(At("sub\\c.txt"), "3"));
    CArray<CString> list;
    Zint_Std::ListFolder(root, list, "*.txt", true, false);
    // "sub" does not match "*.txt", so it is not entered.
    EXPECT_EQ(std::vector<std::string>{Path(root, "a.txt")}, Sorted(list));
}

TEST_F(FilesTest, ListFolderWalksTheLastFoundFolderFirst)
{
    // The pending folders are a stack: the folder listed last is entered
    // first, so its files come before those of the folder listed before it.
    ASSERT_TRUE(CreateDirectoryA(At("p").data, 0));
    ASSERT_TRUE(CreateDirectoryA(At("q").data, 0));
    ASSERT_TRUE(WriteTextFile(At("p\\in-p"), "1"));
    ASSERT_TRUE(WriteTextFile(At("q\\in-q"), "2"));
    CArray<CString> all;
    Zint_Std::ListFolder(root, all, "*", true, true);
    ASSERT_EQ(4, all.count);
    std::string firstFolder = all.items[0].data;
    std::string secondFolder = all.items[1].data;
    EXPECT_EQ(secondFolder + "\\in-" + secondFolder.substr(secondFolder.size() - 1),
              all.items[2].data);
    EXPECT_EQ(firstFolder + "\\in-" + firstFolder.substr(firstFolder.size() - 1),
              all.items[3].data);
}
