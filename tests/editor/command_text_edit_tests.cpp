// Saves of the editors as text edits: a save that fails at any step leaves
// the old file, and nothing written can open a section of its own.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "editor/command_store.h"
#include "test_paths.h"

using Zint_Std::CString;

TEST(CommandTextEditTest, ASaveThatFailsAtAnyStepLeavesTheOldFileAndNoTemporaryFile)
{
    const CString folder = MakeScratchFolder("text_edit_failures");
    const CString file = folder + "quelt_cmd.txt";
    const char original[] = "; keep\r\n[a]\r\nPATH=a.exe\r\n\r\n[b]\n;mine\nPATH=b.exe\n";
    const SaveStep steps[] = {kStepTemporary, kStepWrite, kStepFlush, kStepBackup, kStepReplace};
    for (const SaveStep step : steps) {
        ASSERT_TRUE(WriteTextFile(file, original));
        DeleteFileA((folder + "quelt_cmd.txt.bak").data);
        CCommandStore store(file.data);
        ASSERT_TRUE(store.Load());
        store.entries.items[0].path = "changed.exe";
        store.Delete(1);
        store.AddNew("c", "c.exe", "", "");
        store.failingStep = step;
        EXPECT_EQ(kSaveFailed, store.Save()) << step;
        EXPECT_STREQ(original, ReadWholeFile(file).data) << step;
        EXPECT_FALSE(store.wroteFile);
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "qlt*").data, &found);
        EXPECT_EQ(INVALID_HANDLE_VALUE, search) << "left behind: " << found.cFileName;
        if (search != INVALID_HANDLE_VALUE)
            FindClose(search);
        // The same save goes through once the step works again.
        store.failingStep = kNoStep;
        ASSERT_EQ(kSaved, store.Save()) << step;
        EXPECT_TRUE(store.wroteFile);
        EXPECT_STREQ("; keep\r\n[a]\r\nPATH=changed.exe\r\n\r\n\r\n[c]\r\nPATH=c.exe\r\n",
                     ReadWholeFile(file).data);
        EXPECT_STREQ(original, ReadWholeFile(folder + "quelt_cmd.txt.bak").data);
    }
    RemoveScratchFolder(folder);
}

TEST(CommandTextEditTest, TwinsShowOnceAndNothingWrittenCanOpenASection)
{
    const CString folder = MakeScratchFolder("text_edit_twins");
    const CString file = folder + "quelt_cmd.txt";
    const char original[] = "[a]\r\nPATH=first\r\n[A]\r\nPATH=second\r\n";
    ASSERT_TRUE(WriteTextFile(file, original));
    CCommandStore store(file.data);
    ASSERT_TRUE(store.Load());
    ASSERT_EQ(1, store.entries.count);
    EXPECT_EQ(1, store.twinCount);
    EXPECT_STREQ("first", store.entries.items[0].path.data);
    // A line break or a bracket would become a section of its own.
    store.entries.items[0].comment = "x\r\n[notepad2]\r\nPATH=evil.exe";
    EXPECT_EQ(kSaveFailed, store.Save());
    store.entries.items[0].comment = "";
    store.AddNew("ev]il", "e.exe", "", "");
    EXPECT_EQ(kSaveFailed, store.Save());
    EXPECT_STREQ(original, ReadWholeFile(file).data);
    // Deleting the shown one takes its hidden twin along: the launcher
    // would run it under the name.
    store.Delete(store.FindName("ev]il", -1));
    store.Delete(0);
    ASSERT_EQ(kSaved, store.Save());
    EXPECT_STREQ("", ReadWholeFile(file).data);
    RemoveScratchFolder(folder);
}
