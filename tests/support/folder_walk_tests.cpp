// The walker and the tree helpers on a tree that tries to lead them out of
// their folder: links, loops, names the code page can only approximate and
// a chain of folders past the path limit.
#include "support/files.h"

#include <gtest/gtest.h>

#include "test_paths.h"

using Zint_Std::CArray;
using Zint_Std::CString;

namespace {

class FolderWalkTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(hostile.Build("walk")) << hostile.failure; }
    void TearDown() override { hostile.Remove(); }

    bool Listed(const CArray<CString>& list, const char* relative) const
    {
        const CString path = hostile.tree + relative;
        for (int i = 0; i < list.count; i++) {
            if (list.items[i].EqualsNoCase(path))
                return true;
        }
        return false;
    }
    bool Exists(const char* relative) const
    {
        return GetFileAttributesA((hostile.tree + relative).data) != INVALID_FILE_ATTRIBUTES;
    }
    void ExpectOutsideIntact() const
    {
        std::string why;
        EXPECT_TRUE(hostile.OutsideIsIntact(why)) << "changed or gone: " << why;
        EXPECT_TRUE(hostile.UnusableNamesStay(why)) << "gone: " << why;
    }

    CHostileTree hostile;
};

}  // namespace

TEST(FolderWalkNames, OnlyNamesThatNameThemselvesAreUsable)
{
    static const struct {
        const wchar_t* name;
        bool usable;
    } kNames[] = {
        {L"a.txt", true},
        {L"\u8868", true},  // 表: trail byte 0x5C
        {L"\u30BD\u80FD", true},
        {L"\uFF0E\uFF0E", true},  // ソ能, full-width dots
        {L".hidden", true},
        {L"\u00A5..", false},  // best fit: "\.."
        {L"..\u00A5x", false},
        {L"a\u00A5b", false},
        {L"x\u20ACy", false},
        {L".", false},
        {L"..", false},
        {L"dot.", false},
        {L"blank ", false},
        {L"a:b", false},
        {L"a/b", false},
        {L"a*b", false},
        {L"tab\tname", false},
        {L"", false},
        {L"NUL", false},
        {L"con.txt", false},
        {L"Com1.log", false},
        {L"lpt9 .a", false},
        {L"connect", true},
        {L"com10.txt", true},
    };
    for (size_t i = 0; i < sizeof(kNames) / sizeof(kNames[0]); i++) {
        char name[MAX_PATH * 2];
        EXPECT_EQ(kNames[i].usable, Zint_Std::NameFromWide(kNames[i].name, name, sizeof(name)))
            << "name " << i;
        if (!kNames[i].usable) {
            EXPECT_STREQ("", name) << "name " << i;
        }
    }
    // A lone lead byte is no character either.
    EXPECT_FALSE(Zint_Std::IsUsableName("a\x81"));
}

TEST_F(FolderWalkTest, TheWalkStaysInsideAndCountsWhatItRefuses)
{
    CArray<CString> all;
    int refused = 0;
    Zint_Std::ListFolder(hostile.tree, all, "*", true, true, refused);
    EXPECT_EQ(hostile.unusableNames + hostile.tooDeep, refused);

    static const struct {
        const char* relative;
        bool listed;
    } kEntries[] = {
        {"a.txt", true},
        {"sub", true},
        {"sub\\b.txt", true},
        {"表", true},
        {"表\\c.txt", true},
        {"deep", true},
        {"link", true},
        {"loop", true},
        {"sub\\loop", true},
        {"filelink", true},
        {"link\\keep.txt", false},
        {"link\\sub", false},
        {"loop\\a.txt", false},
        {"loop\\sub", false},
        {"sub\\loop\\b.txt", false},
    };
    for (size_t i = 0; i < sizeof(kEntries) / sizeof(kEntries[0]); i++)
        EXPECT_EQ(kEntries[i].listed, Listed(all, kEntries[i].relative)) << kEntries[i].relative;
    // Everything else listed is the chain of deep folders, each below the
    // limit and each naming an entry that is there.
    for (int i = 0; i < all.count; i++) {
        const CString& path = all.items[i];
        EXPECT_EQ(0, strncmp(path.data, hostile.tree.data, hostile.tree.GetLength())) << path.data;
        EXPECT_LT(path.GetLength(), MAX_PATH) << path.data;
        EXPECT_EQ(static_cast<const char*>(0), strstr(path.data, "\\..")) << path.data;
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.data)) << path.data;
    }

    // Without recurse: the files of the folder itself, and only the names
    // of files are refused.
    CArray<CString> top;
    refused = 0;
    Zint_Std::ListFolder(hostile.tree, top, "*", false, false, refused);
    EXPECT_EQ(2, top.count);
    EXPECT_TRUE(Listed(top, "a.txt"));
    EXPECT_TRUE(Listed(top, "filelink"));
    EXPECT_EQ(hostile.unusableNames - 1, refused);

    EXPECT_EQ(Zint_Std::kMarkedLink, Zint_Std::LinkKindOf((hostile.tree + "link").data));
    EXPECT_EQ(Zint_Std::kMarkedLink, Zint_Std::LinkKindOf((hostile.tree + "loop\\").data));
    // Wine shows a link to a file as a plain file; its real path gives it away.
    EXPECT_NE(Zint_Std::kNoLink, Zint_Std::LinkKindOf((hostile.tree + "filelink").data));
    EXPECT_EQ(Zint_Std::kNoLink, Zint_Std::LinkKindOf((hostile.tree + "a.txt").data));
    EXPECT_EQ(Zint_Std::kNoLink, Zint_Std::LinkKindOf((hostile.tree + "表").data));
    ExpectOutsideIntact();
}

TEST_F(FolderWalkTest, DeletionRemovesTheOrdinaryEntriesAndNothingOutside)
{
    EXPECT_FALSE(Zint_Std::DeleteFolderTree(hostile.tree)) << "refused entries had to stay";
    ExpectOutsideIntact();
    EXPECT_FALSE(Exists("a.txt"));
    EXPECT_FALSE(Exists("sub\\b.txt"));
    EXPECT_FALSE(Exists("表"));
    EXPECT_TRUE(Exists("deep"));

    // A folder that is itself a link loses only the link.
    const CString link = hostile.root + "outside-link\\";
    ASSERT_TRUE(MakeUnixLink(link, hostile.outside));
    Zint_Std::DeleteFolderTree(link);
    ExpectOutsideIntact();
}

TEST_F(FolderWalkTest, CopyLeavesLinksOutAndSaysSo)
{
    const CString copy = hostile.root + "copy\\";
    EXPECT_FALSE(Zint_Std::CopyFolderTree(hostile.tree, copy));
    EXPECT_TRUE(Zint_Std::PathExists((copy + "a.txt").data));
    EXPECT_TRUE(Zint_Std::PathExists((copy + "sub\\b.txt").data));
    EXPECT_TRUE(Zint_Std::PathExists((copy + "表\\c.txt").data));
    EXPECT_FALSE(Zint_Std::PathExists((copy + "link").data));
    EXPECT_FALSE(Zint_Std::PathExists((copy + "filelink").data));
    EXPECT_FALSE(Zint_Std::PathExists((copy + "loop").data));
    ExpectOutsideIntact();
}

TEST(FolderWalkLength, AJapanesePathCountsItsCharactersNotItsBytes)
{
    // About 155 characters, but over 260 bytes in the ANSI code page.
    const CString root = MakeScratchFolder("walk-long");
    CString folder = root;
    CString file;
    for (int i = 0; i < 60; i++) {
        folder += "表";
        file += "あ";
    }
    folder += "\\";
    file = folder + file + ".txt";
    ASSERT_GE(file.GetLength(), MAX_PATH);
    ASSERT_LT(Wide(file.data).size(), static_cast<size_t>(MAX_PATH));
    ASSERT_TRUE(CreateDirectoryA(folder.data, 0) && WriteTextFile(file, "x"));
    CArray<CString> all;
    int refused = 0;
    Zint_Std::ListFolder(root, all, "*", true, false, refused);
    EXPECT_EQ(0, refused);
    EXPECT_TRUE(all.count == 1 && all.items[0].EqualsNoCase(file));
    RemoveScratchFolder(root);
}
