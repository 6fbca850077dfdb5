#include "support/files.h"

#include <gtest/gtest.h>

#include "test_paths.h"

using Zint_Std::CString;

namespace {

class FolderTreeTest : public testing::Test {
protected:
    void SetUp() override
    {
        root = MakeScratchFolder("trees");
        GetCurrentDirectoryA(sizeof(startDirectory), startDirectory);
    }
    void TearDown() override
    {
        char now[MAX_PATH];
        GetCurrentDirectoryA(sizeof(now), now);
        EXPECT_STREQ(startDirectory, now) << "the current directory was not restored";
        SetCurrentDirectoryA(startDirectory);
        RemoveScratchFolder(root);
    }

    CString At(const char* rest) const { return root + CString(rest); }

    // root\src\ with files on three levels, one of them read-only.
    void BuildSourceTree()
    {
        ASSERT_TRUE(CreateDirectoryA(At("src").data, 0));
        ASSERT_TRUE(WriteTextFile(At("src\\top.txt"), "top"));
        ASSERT_TRUE(CreateDirectoryA(At("src\\omake").data, 0));
        ASSERT_TRUE(WriteTextFile(At("src\\omake\\Purgel.ini"), "[x]"));
        ASSERT_TRUE(CreateDirectoryA(At("src\\omake\\深い").data, 0));
        ASSERT_TRUE(WriteTextFile(At("src\\omake\\深い\\表.txt"), "deep"));
        ASSERT_TRUE(CreateDirectoryA(At("src\\empty").data, 0));
    }

    static std::string Read(const CString& path)
    {
        HANDLE file = CreateFileA(path.data, GENERIC_READ, FILE_SHARE_READ, 0, OPEN_EXISTING, 0, 0);
        if (file == INVALID_HANDLE_VALUE)
            return "<missing>";
        char buffer[64] = {0};
        DWORD read = 0;
        ReadFile(file, buffer, sizeof(buffer) - 1, &read, 0);
        CloseHandle(file);
        return std::string(buffer, read);
    }

    CString root;
    char startDirectory[MAX_PATH];
};

}  // namespace

TEST_F(FolderTreeTest, MakeFolderPathCreatesEveryMissingLevel)
{
    ASSERT_TRUE(CreateDirectoryA(At("a").data, 0));
    EXPECT_TRUE(Zint_Std::MakeFolderPath(At("a\\b\\c\\")));
    EXPECT_TRUE(Zint_Std::IsFolder(At("a\\b").data));
    EXPECT_TRUE(Zint_Std::IsFolder(At("a\\b\\c").data));
    // An existing folder is fine too, with or without trailing backslash.
    EXPECT_TRUE(Zint_Std::MakeFolderPath(At("a\\b\\c")));
    EXPECT_TRUE(Zint_Std::MakeFolderPath(At("n1\\n2\\n3\\n4\\n5\\")));
    EXPECT_TRUE(Zint_Std::IsFolder(At("n1\\n2\\n3\\n4\\n5").data));
}

TEST_F(FolderTreeTest, MakeFolderPathWithJapaneseNamesEndingIn5C)
{
    // Each level ends in a trail byte 0x5C ("ソ", "表", "能").
    EXPECT_TRUE(Zint_Std::MakeFolderPath(At("ソ\\表\\能\\")));
    EXPECT_TRUE(Zint_Std::IsFolder(At("ソ").data));
    EXPECT_TRUE(Zint_Std::IsFolder(At("ソ\\表").data));
    EXPECT_TRUE(Zint_Std::IsFolder(At("ソ\\表\\能").data));
}

TEST_F(FolderTreeTest, MakeFolderPathFailures)
{
    EXPECT_FALSE(Zint_Std::MakeFolderPath(CString()));
    EXPECT_FALSE(Zint_Std::MakeFolderPath(CString("nobackslash-\x01")));
    // A file stands where a folder level should be.
    ASSERT_TRUE(WriteTextFile(At("file"), "x"));
    EXPECT_FALSE(Zint_Std::MakeFolderPath(At("file\\sub\\")));
    EXPECT_FALSE(Zint_Std::MakeFolderPath(CString("Q:\\no\\such\\drive\\")));
}

TEST_F(FolderTreeTest, DeleteFolderTreeRemovesEverything)
{
    BuildSourceTree();
    EXPECT_TRUE(Zint_Std::DeleteFolderTree(At("src\\")));
    EXPECT_FALSE(Zint_Std::PathExists(At("src").data));
    EXPECT_FALSE(Zint_Std::DeleteFolderTree(At("src\\")));
    EXPECT_FALSE(Zint_Std::DeleteFolderTree(CString()));
}

TEST_F(FolderTreeTest, DeleteFolderTreeLeavesReadOnlyFileAndItsFolders)
{
    BuildSourceTree();
    CString locked = At("src\\omake\\深い\\表.txt");
    ASSERT_TRUE(SetFileAttributesA(locked.data, FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(Zint_Std::DeleteFolderTree(At("src\\")));
    EXPECT_TRUE(Zint_Std::PathExists(locked.data));
    EXPECT_TRUE(Zint_Std::IsFolder(At("src\\omake\\深い").data));
    EXPECT_TRUE(Zint_Std::IsFolder(At("src").data));
    // Everything else is gone.
    EXPECT_FALSE(Zint_Std::PathExists(At("src\\top.txt").data));
    EXPECT_FALSE(Zint_Std::PathExists(At("src\\omake\\Purgel.ini").data));
    EXPECT_FALSE(Zint_Std::PathExists(At("src\\empty").data));
}

TEST_F(FolderTreeTest, CopyFolderTreeCopiesFilesAndEmptyFolders)
{
    BuildSourceTree();
    EXPECT_TRUE(Zint_Std::CopyFolderTree(At("src\\"), At("dst\\new\\")));
    EXPECT_EQ("top", Read(At("dst\\new\\top.txt")));
    EXPECT_EQ("[x]", Read(At("dst\\new\\omake\\Purgel.ini")));
    EXPECT_EQ("deep", Read(At("dst\\new\\omake\\深い\\表.txt")));
    EXPECT_TRUE(Zint_Std::IsFolder(At("dst\\new\\empty").data));
    // The source is untouched.
    EXPECT_EQ("deep", Read(At("src\\omake\\深い\\表.txt")));
}

TEST_F(FolderTreeTest, CopyFolderTreeOverwritesExistingFiles)
{
    BuildSourceTree();
    ASSERT_TRUE(Zint_Std::MakeFolderPath(At("dst\\")));
    ASSERT_TRUE(WriteTextFile(At("dst\\top.txt"), "old content"));
    EXPECT_TRUE(Zint_Std::CopyFolderTree(At("src\\"), At("dst\\")));
    EXPECT_EQ("top", Read(At("dst\\top.txt")));
}

TEST_F(FolderTreeTest, CopyFolderTreeReportsAFileThatCannotBeCopied)
{
    BuildSourceTree();
    // Another program holds the file open without sharing.
    CString busy = At("src\\omake\\Purgel.ini");
    HANDLE held = CreateFileA(busy.data, GENERIC_READ, 0, 0, OPEN_EXISTING, 0, 0);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    bool copied = Zint_Std::CopyFolderTree(At("src\\"), At("dst\\"));
    CloseHandle(held);
    EXPECT_FALSE(copied);
    // No folder is made in the place of the file.
    EXPECT_FALSE(Zint_Std::IsFolder(At("dst\\omake\\Purgel.ini").data));
    EXPECT_EQ("top", Read(At("dst\\top.txt")));
}

TEST_F(FolderTreeTest, CopyFolderTreeFailsWhenTargetCannotBeMade)
{
    BuildSourceTree();
    ASSERT_TRUE(WriteTextFile(At("blocker"), "x"));
    EXPECT_FALSE(Zint_Std::CopyFolderTree(At("src\\"), At("blocker\\dst\\")));
}

TEST_F(FolderTreeTest, MakeFolderPathWithARelativePath)
{
    // A relative path is made below the caller's current directory, which
    // stays where it was.
    ASSERT_TRUE(CreateDirectoryA(At("rel").data, 0));
    ASSERT_TRUE(SetCurrentDirectoryA(root.data));
    GetCurrentDirectoryA(sizeof(startDirectory), startDirectory);
    EXPECT_TRUE(Zint_Std::MakeFolderPath(CString("rel\\one\\two\\")));
    EXPECT_TRUE(Zint_Std::IsFolder(At("rel\\one\\two").data));
    EXPECT_FALSE(Zint_Std::PathExists(At("rel\\rel").data));
}
