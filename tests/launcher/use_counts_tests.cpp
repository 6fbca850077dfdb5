// How much each command was run: the counts and their decay, the file and
// what makes it unusable, the order of the candidates, and the editors
// carrying counts over renames and deletions.
#include <gtest/gtest.h>

#include <string.h>

#include "editor/command_store.h"
#include "launcher/command_list.h"
#include "launcher/tooltip_window.h"
#include "launcher/use_counts.h"
#include "test_paths.h"

using Zint_Std::CString;

namespace {

const ULONGLONG kDay = 24ull * 3600 * 10000000;
const ULONGLONG kNow = 134000000000000000ull;  // a time in 2025

class UseCountsTest : public ::testing::Test {
protected:
    CString folder;
    CString usePath;

    void SetUp() override
    {
        folder = MakeScratchFolder("use-counts");
        usePath = folder + "quelt_use.txt";
    }
    void TearDown() override { RemoveScratchFolder(folder); }
};

}  // namespace

TEST_F(UseCountsTest, CountsDecayByHalfEveryThirtyDaysAndSurviveTheFile)
{
    CUseCounts counts;
    EXPECT_FALSE(counts.Load(usePath));  // missing: no counts
    ASSERT_TRUE(counts.AddRun("Notepad", kNow - 60 * kDay));
    ASSERT_TRUE(counts.AddRun("notepad", kNow - 60 * kDay));
    ASSERT_TRUE(counts.AddRun("calc", kNow - 30 * kDay));
    EXPECT_FALSE(counts.AddRun("bad\tname", kNow));
    EXPECT_EQ(2, counts.Count());
    EXPECT_NEAR(0.5, counts.Score("NOTEPAD", kNow), 1e-9);  // 2 runs, 60 days ago
    EXPECT_NEAR(0.5, counts.Score("calc", kNow), 1e-9);
    EXPECT_EQ(0.0, counts.Score("never", kNow));
    // One more run adds to the decayed count.
    ASSERT_TRUE(counts.AddRun("calc", kNow));
    EXPECT_NEAR(1.5, counts.Score("calc", kNow), 1e-9);
    ASSERT_TRUE(counts.Save(usePath));
    CUseCounts again;
    ASSERT_TRUE(again.Load(usePath));
    EXPECT_NEAR(1.5, again.Score("Calc", kNow), 1e-6);
    EXPECT_NEAR(0.25, again.Score("notepad", kNow + 30 * kDay), 1e-6);
}

TEST_F(UseCountsTest, ADamagedFileGivesNoCounts)
{
    const char* damaged[] = {
        "",                                                  // empty
        "1000000\t5\tcalc\r\n",                              // no first line
        "; quelt_use 1\r\n1000000\t5\tcalc",                 // cut short
        "; quelt_use 1\r\nx\t5\tcalc\r\n",                   // no number
        "; quelt_use 1\r\n-1\t5\tcalc\r\n",                  // negative
        "; quelt_use 1\r\n1.5\t5\tcalc\r\n",                 // not in millionths
        "; quelt_use 1\r\n1000000 5 calc\r\n",               // no tabs
        "; quelt_use 1\r\n1000000\t5x\tcalc\r\n",            // bad time
        "; quelt_use 1\r\n1000000\t5\t\r\n",                 // no name
        "; quelt_use 1\r\n1\t5\tcalc\r\n2\t6\tCALC\r\n",     // twice
        "; quelt_use 1\r\n99999999999999999999\t5\tcalc\r\n",  // too big
        "; quelt_use 2\r\n1000000\t5\tcalc\r\n",             // another format
    };
    for (const char* text : damaged) {
        ASSERT_TRUE(WriteTextFile(usePath, text));
        CUseCounts counts;
        EXPECT_FALSE(counts.Load(usePath)) << text;
        EXPECT_EQ(0, counts.Count()) << text;
    }
    const char withNul[] = "; quelt_use 1\r\n1000000\t5\tca\0lc\r\n";
    ASSERT_TRUE(WriteBytes(usePath, withNul, sizeof(withNul) - 1));
    CUseCounts counts;
    EXPECT_FALSE(counts.Load(usePath));
}

TEST_F(UseCountsTest, CarryMovesSwapsAndDropsCounts)
{
    CUseCounts counts;
    counts.AddRun("a", kNow);
    counts.AddRun("b", kNow);
    counts.AddRun("b", kNow);
    counts.AddRun("c", kNow);
    const char* from[] = {"a", "b", "c"};
    const char* to[] = {"b", "a", 0};
    ASSERT_TRUE(counts.Carry(from, to, 3));
    EXPECT_NEAR(2.0, counts.Score("a", kNow), 1e-9);
    EXPECT_NEAR(1.0, counts.Score("b", kNow), 1e-9);
    EXPECT_EQ(0.0, counts.Score("c", kNow));
    EXPECT_EQ(2, counts.Count());
}

TEST_F(UseCountsTest, CandidatesGoByUseWithTiesInListOrderAndTheBoxUnchanged)
{
    ASSERT_TRUE(WriteTextFile(folder + "quelt_cmd.txt",
                              "[note1]\r\nPATH=a\r\n[note2]\r\nPATH=b\r\n[note3]\r\nPATH=c\r\n"
                              "[note4]\r\nPATH=d\r\n"));
    CCommandList commands(folder);
    ASSERT_EQ(1, commands.Load());
    commands.rankByUse = 1;
    CToolTipWindow list(GetModuleHandleA(0), 0);
    CString result;
    const char* expected[][4] = {{"note1", "note2", "note3", "note4"},   // no file
                                 {"note3", "note4", "note1", "note2"}};  // 3 most, then 4
    for (int round = 0; round < 2; round++) {
        if (round == 1) {
            commands.RecordRun(CString("note4"));
            commands.RecordRun(CString("NOTE3"));
            commands.RecordRun(CString("note3"));
        }
        commands.Complete(result, CString("no"), &list);
        EXPECT_STREQ("note", result.data);
        ASSERT_EQ(4, list.entries.count);
        for (int i = 0; i < 4; i++)
            EXPECT_STREQ(expected[round][i], list.entries.items[i].first.data) << round;
    }
    // Off: list order again, and runs are not counted.
    commands.rankByUse = 0;
    commands.RecordRun(CString("note1"));
    commands.Complete(result, CString("no"), &list);
    EXPECT_STREQ("note1", list.entries.items[0].first.data);
    CUseCounts counts;
    ASSERT_TRUE(counts.Load(usePath));
    EXPECT_EQ(0.0, counts.Score("note1", CurrentFileTime()));
}

TEST_F(UseCountsTest, TheEditorsCarryCountsOverRenamesAndDeletions)
{
    const CString file = folder + "quelt_cmd.txt";
    ASSERT_TRUE(WriteTextFile(file, "[old]\r\nPATH=a\r\n[gone]\r\nPATH=b\r\n[kept]\r\nPATH=c\r\n"));
    CUseCounts counts;
    counts.AddRun("old", kNow);
    counts.AddRun("gone", kNow);
    counts.AddRun("kept", kNow);
    counts.AddRun("kept", kNow);
    ASSERT_TRUE(counts.Save(usePath));
    CCommandStore store(file.data);
    ASSERT_TRUE(store.Load());
    const int renamed = store.FindName("old", -1);
    ASSERT_GE(renamed, 0);
    store.entries.items[renamed].name = "new";
    store.Delete(store.FindName("gone", -1));
    ASSERT_EQ(kSaved, store.Save());
    CUseCounts after;
    ASSERT_TRUE(after.Load(usePath));
    EXPECT_NEAR(1.0, after.Score("new", kNow), 1e-6);
    EXPECT_EQ(0.0, after.Score("old", kNow));
    EXPECT_EQ(0.0, after.Score("gone", kNow));
    EXPECT_NEAR(2.0, after.Score("kept", kNow), 1e-6);
}
