// Datora's change over a tree that tries to lead it elsewhere: links keep
// their targets' times and attributes, names the code page cannot give and
// folders past the path limit are reported as not handled.
#include "datora/tree_change.h"

#include <gtest/gtest.h>

#include "support/files.h"
#include "test_paths.h"

using Zint_Std::CString;

namespace {

FILETIME WriteTimeOf(const CString& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    ZeroMemory(&data, sizeof(data));
    GetFileAttributesExA(path.data, GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

}  // namespace

TEST(HostileTreeChange, OnlyTheTreesOwnEntriesChangeAndTheRestIsReported)
{
    CHostileTree hostile;
    ASSERT_TRUE(hostile.Build("datora-hostile")) << hostile.failure;
    const FILETIME keepTime = WriteTimeOf(hostile.outside + "keep.txt");
    const FILETIME deepTime = WriteTimeOf(hostile.outside + "sub\\deep.txt");
    ChangeRequest request;
    request.setTime = true;
    SYSTEMTIME chosen = {2001, 2, 0, 3, 4, 5, 6, 0};
    ASSERT_TRUE(SystemTimeToFileTime(&chosen, &request.time));
    request.setAttributes = true;
    request.attributes = FILE_ATTRIBUTE_HIDDEN;
    request.includeFolders = true;

    ChangeTally tally;
    ChangeTree(hostile.tree, request, tally);
    EXPECT_EQ(hostile.unusableNames + hostile.tooDeep, tally.refused);
    EXPECT_EQ(0, tally.failed);
    // The four links are listed, and left alone.
    EXPECT_EQ(4, tally.links);
    const char* const changed[] = {"a.txt", "sub\\b.txt", "表\\c.txt"};
    for (size_t i = 0; i < sizeof(changed) / sizeof(changed[0]); i++) {
        const CString path = hostile.tree + changed[i];
        FILETIME time = WriteTimeOf(path);
        EXPECT_EQ(0, CompareFileTime(&request.time, &time)) << changed[i];
        EXPECT_TRUE(GetFileAttributesA(path.data) & FILE_ATTRIBUTE_HIDDEN) << changed[i];
    }
    std::string why;
    EXPECT_TRUE(hostile.OutsideIsIntact(why)) << why;
    FILETIME now = WriteTimeOf(hostile.outside + "keep.txt");
    EXPECT_EQ(0, CompareFileTime(&keepTime, &now)) << "the link to a file changed its target";
    now = WriteTimeOf(hostile.outside + "sub\\deep.txt");
    EXPECT_EQ(0, CompareFileTime(&deepTime, &now)) << "the folder link was entered";
    EXPECT_EQ(0u, GetFileAttributesA(hostile.outside.data) & FILE_ATTRIBUTE_HIDDEN);

    CString report;
    EXPECT_FALSE(FormatReport(tally, report));
    CString expected;
    expected.Format("変更できなかったものがあります.\n変更した数：%d\n変更できなかった数：%d\n"
                    "（うち名前が使えないかパスが長すぎるため扱えなかった数：%d）\n"
                    "リンクのため変更しなかった数：4",
                    tally.changed, tally.refused, tally.refused);
    EXPECT_STREQ(expected.data, report.data);
    hostile.Remove();
}
