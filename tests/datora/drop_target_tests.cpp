// A dropped file stands for its folder, a dropped folder for itself.
#include <windows.h>

#include <gtest/gtest.h>

#include "datora/drop_target.h"
#include "test_paths.h"

using Zint_Std::CString;

class DropTarget : public ::testing::Test {
protected:
    CString root;
    void SetUp() override { root = MakeScratchFolder("datora-drop"); }
    void TearDown() override { RemoveScratchFolder(root); }
};

TEST_F(DropTarget, AFileGivesTheFolderThatHoldsIt)
{
    CString file = root + CString("note.txt");
    ASSERT_TRUE(WriteTextFile(file, "x"));
    EXPECT_STREQ(root.data, FolderOfDroppedItem(file).data);
}

TEST_F(DropTarget, AFolderGetsATrailingBackslash)
{
    CString folder = root + CString("inner");
    ASSERT_TRUE(CreateDirectoryA(folder.data, 0));
    EXPECT_STREQ((folder + CString("\\")).data, FolderOfDroppedItem(folder).data);
}

TEST_F(DropTarget, AFileWithAJapaneseNameGivesItsFolder)
{
    // "ソ" ends in the byte 0x5C, the same as a backslash.
    CString folder = root + CString("表ソ");
    ASSERT_TRUE(CreateDirectoryA(folder.data, 0));
    CString file = folder + CString("\\ソフト.txt");
    ASSERT_TRUE(WriteTextFile(file, "x"));
    EXPECT_STREQ((folder + CString("\\")).data, FolderOfDroppedItem(file).data);
    EXPECT_STREQ((folder + CString("\\")).data, FolderOfDroppedItem(folder).data);
}

TEST_F(DropTarget, AFolderOfMoreThanTwoHundredFiftySixBytesIsKeptWhole)
{
    CString folder = root;
    for (int i = 0; i < 130; i++)
        folder += "表";
    ASSERT_TRUE(CreateDirectoryA(folder.data, 0) && WriteTextFile(folder + "\\a.txt", "x"));
    EXPECT_STREQ((folder + "\\").data, FolderOfDroppedItem(folder + "\\a.txt").data);
}
