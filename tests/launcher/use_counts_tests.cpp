// How much each command was run: the counts and their decay, the forms of
// the file that are read and those left alone, the order of the candidates, and the editors
// carrying counts over renames and deletions.
#include <gtest/gtest.h>

#include <string.h>

#include "commands/use_counts.h"
#include "editor/command_store.h"
#include "launcher/command_list.h"
#include "launcher/tooltip_window.h"
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
    EXPECT_EQ(kUseCountsMissing, counts.Load(usePath));  // no counts
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
    ASSERT_EQ(kUseCountsLoaded, again.Load(usePath));
    EXPECT_NEAR(1.5, again.Score("Calc", kNow), 1e-6);
    EXPECT_NEAR(0.25, again.Score("notepad", kNow + 30 * kDay), 1e-6);
}

TEST_F(UseCountsTest, FileFormsGiveWhatParsesAndARunKeepsItOrLeavesTheFileAlone)
{
    ASSERT_TRUE(WriteTextFile(folder + "quelt_cmd.txt", "[calc]\r\nPATH=c\r\n"));
    CCommandList commands(folder);
    commands.rankByUse = 1;
    const UseCountsLoad ok = kUseCountsLoaded, no = kUseCountsUnusable;
    const char* kana = "; quelt_use 1\r\n1000000\t5\tケス\r\n2000000\t5\tパス\r\n"
                       "3000000\t5\tカード\r\n4000000\t5\tニード\r\n";
    const struct {
        const char* bytes;  // null: no file
        bool held;          // open in another handle that shares nothing
        UseCountsLoad load;
        const char *a, *b;  // two names and their counts after Load
        double countA, countB;
    } forms[] = {
        {0, false, kUseCountsMissing, "calc", "note", 0, 0},
        {"", false, ok, "calc", "note", 0, 0},
        {"; quelt_use 1\r\n1000000\t5\tcalc\r\n\r\n2000000\t5\tnote\r\n\r\n", false, ok, "calc",
         "note", 1, 2},
        {"; quelt_use 1\n1000000\t5\tcalc\n2000000\t5\tnote", false, ok, "CALC", "note", 1, 2},
        {"\xEF\xBB\xBF; quelt_use 1\r\n1000000\t5\tcalc\r\n2000000\t5\t\xE3\x82\xB1\xE3\x82\xB9\r\n",
         false, ok, "calc", "ケス", 1, 2},
        // bad number, no tabs, no name, not millionths, bad time, too big, twice
        {"; quelt_use 1\r\nx\t5\tnote\r\n1000000 5 note\r\n1000000\t5\t\r\n1.5\t5\tnote\r\n"
         "1000000\t5x\tnote\r\n99999999999999999999\t5\tnote\r\n1000000\t5\tcalc\r\n"
         "3000000\t5\tCALC\r\n-1\t5\tnote\r\n",
         false, ok, "calc", "note", 1, 0},
        {kana, false, ok, "ケス", "パス", 1, 2},
        {kana, false, ok, "カード", "ニード", 3, 4},
        {"; quelt_use 2\r\n1000000\t5\tcalc\r\n", false, no, "calc", "note", 0, 0},
        {"1000000\t5\tcalc\r\n", false, no, "calc", "note", 0, 0},  // no header
        {"; quelt_use 1\r\n1000000\t5\tcalc\r\n", true, no, "calc", "note", 0, 0},
    };
    for (const auto& form : forms) {
        const int row = static_cast<int>(&form - forms);
        DeleteFileA(usePath.data);
        ASSERT_TRUE(!form.bytes || WriteTextFile(usePath, form.bytes));
        HANDLE holder = form.held ? CreateFileA(usePath.data, GENERIC_READ, 0, 0, OPEN_EXISTING, 0, 0)
                                  : INVALID_HANDLE_VALUE;
        ASSERT_EQ(form.held, holder != INVALID_HANDLE_VALUE);
        CUseCounts counts;
        EXPECT_EQ(form.load, counts.Load(usePath)) << row;
        EXPECT_EQ(form.countA, counts.Score(form.a, 5)) << row;
        EXPECT_EQ(form.countB, counts.Score(form.b, 5)) << row;
        commands.RecordRun(CString("other"));
        if (form.held)
            CloseHandle(holder);
        CUseCounts after;
        if (form.load == no) {
            EXPECT_STREQ(form.bytes, ReadWholeFile(usePath).data) << row;
            continue;
        }
        // A run keeps every entry read.
        ASSERT_EQ(ok, after.Load(usePath)) << row;
        EXPECT_EQ(counts.Count() + 1, after.Count()) << row;
        EXPECT_EQ(form.countA, after.Score(form.a, 5)) << row;
        EXPECT_EQ(form.countB, after.Score(form.b, 5)) << row;
    }
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
    ASSERT_EQ(kUseCountsLoaded, counts.Load(usePath));
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
    ASSERT_EQ(kUseCountsLoaded, after.Load(usePath));
    EXPECT_NEAR(1.0, after.Score("new", kNow), 1e-6);
    EXPECT_EQ(0.0, after.Score("old", kNow));
    EXPECT_EQ(0.0, after.Score("gone", kNow));
    EXPECT_NEAR(2.0, after.Score("kept", kNow), 1e-6);
}
