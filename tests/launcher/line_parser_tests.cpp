// The text rules of a typed line: argument slots, placeholders, the split of
// file and parameters.
#include <gtest/gtest.h>

#include <windows.h>
#include <stdlib.h>
#include <string.h>

#include "commands/line_parser.h"

using Zint_Std::CString;

namespace {

bool NoProgram(const char*) { return false; }
bool EveryProgram(const char*) { return true; }

TypedLine Split(const char* text)
{
    CString line(text);
    TypedLine typed;
    SplitTypedLine(line, typed);
    return typed;
}

CString Substitute(const char* path, const char* line)
{
    return SubstituteArguments(CString(path), Split(line));
}

LaunchPlan Separate(const char* text, ProgramQuery query = NoProgram)
{
    LaunchPlan plan;
    SeparateFileAndParameters(CString(text), query, plan);
    return plan;
}

}  // namespace

TEST(TypedLineSplit, NameArgumentTextAndWords)
{
    TypedLine typed = Split("  open   x   y z  ");
    EXPECT_STREQ("open", typed.name.data);
    EXPECT_STREQ("x   y z", typed.slots[0].data);
    EXPECT_STREQ("x", typed.slots[1].data);
    EXPECT_STREQ("y", typed.slots[2].data);
    EXPECT_STREQ("z", typed.slots[3].data);
    EXPECT_TRUE(typed.slots[4].IsEmpty());
    EXPECT_TRUE(typed.slots[10].IsEmpty());
}

TEST(TypedLineSplit, BlankLinesAndTabs)
{
    CString blank("   \t  ");
    TypedLine typed;
    EXPECT_FALSE(SplitTypedLine(blank, typed));
    CString empty;
    EXPECT_FALSE(SplitTypedLine(empty, typed));
    TypedLine tabbed = Split("go\tone\ttwo");
    EXPECT_STREQ("go", tabbed.name.data);
    EXPECT_STREQ("one\ttwo", tabbed.slots[0].data);
    EXPECT_STREQ("two", tabbed.slots[2].data);
}

TEST(TypedLineSplit, WordsBeyondTheNinthStayInTheArgumentText)
{
    TypedLine typed = Split("n 1 2 3 4 5 6 7 8 9 10 11");
    EXPECT_STREQ("9", typed.slots[9].data);
    EXPECT_TRUE(typed.slots[10].IsEmpty());
    EXPECT_STREQ("1 2 3 4 5 6 7 8 9 10 11", typed.slots[0].data);
    // The words not placed are appended to a PATH without placeholders,
    // up to the ninth.
    EXPECT_STREQ("p 1 2 3 4 5 6 7 8 9", Substitute("p", "n 1 2 3 4 5 6 7 8 9 10 11").data);
}

TEST(TypedLineSplit, JapaneseWordsKeepTheirBytes)
{
    // 表 ends in the byte 0x5C; ソ too.
    TypedLine typed = Split("検索 表示 ソフト");
    EXPECT_STREQ("検索", typed.name.data);
    EXPECT_STREQ("表示", typed.slots[1].data);
    EXPECT_STREQ("ソフト", typed.slots[2].data);
}

TEST(Placeholders, StayAsWrittenWithNothingTyped)
{
    EXPECT_STREQ("prog.exe $1 $$ $!", Substitute("prog.exe $1 $$ $!", "cmd").data);
    EXPECT_STREQ("prog.exe $1", Substitute("prog.exe $1", "cmd   ").data);
}

TEST(Placeholders, NextWordFollowsTheLastNumberedOneUsed)
{
    EXPECT_STREQ("prog.exe b a b c", Substitute("prog.exe $2 $1", "cmd a b c").data);
    EXPECT_STREQ("prog.exe c", Substitute("prog.exe $3", "cmd a b c").data);
    EXPECT_STREQ("prog.exe a b c", Substitute("prog.exe", "cmd a b c").data);
}

TEST(Placeholders, RemainingWordsEachWithATrailingBlank)
{
    EXPECT_STREQ("prog.exe a b ", Substitute("prog.exe $!", "cmd a b").data);
    EXPECT_STREQ("prog.exe a -- b c ", Substitute("prog.exe $1 -- $!", "cmd a b c").data);
    // After $! nothing is appended at the end.
    EXPECT_STREQ("prog.exe a b  end", Substitute("prog.exe $! end", "cmd a b").data);
}

TEST(Placeholders, WholeArgumentTextKeepsItsBlanks)
{
    EXPECT_STREQ("prog.exe x   y", Substitute("prog.exe $$", "cmd x   y").data);
    EXPECT_STREQ("prog.exe x y", Substitute("prog.exe", "cmd x   y").data);
    EXPECT_STREQ("https://s/?q=a b&q2=a b", Substitute("https://s/?q=$$&q2=$$", "w a b").data);
}

TEST(Placeholders, OtherDollarsAreOrdinaryBytes)
{
    EXPECT_STREQ("p $0 x$", Substitute("p $0 x$", "c").data);
    EXPECT_STREQ("p $0 x$ w", Substitute("p $0 x$", "c w").data);
    EXPECT_STREQ("p $a w", Substitute("p $a", "c w").data);
    EXPECT_STREQ("p w w", Substitute("p $1 $1", "c w").data);
}

TEST(FileAndParameters, QuotedFile)
{
    LaunchPlan plan = Separate("\"C:\\Program Files\\App\\app.exe\"   -x y");
    EXPECT_STREQ("C:\\Program Files\\App\\app.exe", plan.file.data);
    EXPECT_STREQ("-x y", plan.parameters.data);
    plan = Separate("'C:\\a b\\c.exe'");
    EXPECT_STREQ("C:\\a b\\c.exe", plan.file.data);
    EXPECT_TRUE(plan.parameters.IsEmpty());
    plan = Separate("\"\"");
    EXPECT_TRUE(plan.file.IsEmpty());
}

TEST(FileAndParameters, UnbalancedQuoteIsDroppedThenTheDotRuleApplies)
{
    LaunchPlan plan = Separate("\"C:\\x\\app.exe -v");
    EXPECT_STREQ("C:\\x\\app.exe", plan.file.data);
    EXPECT_STREQ("-v", plan.parameters.data);
    plan = Separate("'");
    EXPECT_TRUE(plan.file.IsEmpty());
}

TEST(FileAndParameters, SplitsAtTheFirstBlankAfterADot)
{
    LaunchPlan plan = Separate("C:\\Program Files\\app.exe  one two");
    EXPECT_STREQ("C:\\Program Files\\app.exe", plan.file.data);
    EXPECT_STREQ("one two", plan.parameters.data);
}

TEST(FileAndParameters, NoDotNoSplit)
{
    LaunchPlan plan = Separate("C:\\tools\\run one two");
    EXPECT_STREQ("C:\\tools\\run one two", plan.file.data);
    EXPECT_TRUE(plan.parameters.IsEmpty());
    // A dot in an earlier part of the path is forgotten at the backslash.
    plan = Separate("C:\\v1.2\\run one");
    EXPECT_STREQ("C:\\v1.2\\run one", plan.file.data);
    // A dot at position 0 never splits; a blank right after the dot neither.
    EXPECT_STREQ(".x a", Separate(".x a").file.data);
    EXPECT_STREQ("end. a", Separate("end. a").file.data);
}

TEST(FileAndParameters, TheShellKnowingTheWholeTextKeepsTheBlank)
{
    LaunchPlan plan = Separate("C:\\d\\my.file name.txt", EveryProgram);
    EXPECT_STREQ("C:\\d\\my.file name.txt", plan.file.data);
    EXPECT_TRUE(plan.parameters.IsEmpty());
    plan = Separate("C:\\d\\my.file name.txt", NoProgram);
    EXPECT_STREQ("C:\\d\\my.file", plan.file.data);
    EXPECT_STREQ("name.txt", plan.parameters.data);
}

TEST(FileAndParameters, TrailBytesOfJapaneseCharactersAreNotSeparators)
{
    // ソ is 0x83 0x5C: its trail byte must not forget the dot.
    LaunchPlan plan = Separate("C:\\d\\a.ソ x");
    EXPECT_STREQ("C:\\d\\a.ソ", plan.file.data);
    EXPECT_STREQ("x", plan.parameters.data);
    plan = Separate("C:\\ソフト\\表.exe 引数");
    EXPECT_STREQ("C:\\ソフト\\表.exe", plan.file.data);
    EXPECT_STREQ("引数", plan.parameters.data);
}

TEST(FileAndParameters, UrlsStayWhole)
{
    LaunchPlan plan = Separate("https://www.example.com/search?q=a b");
    EXPECT_STREQ("https://www.example.com/search?q=a b", plan.file.data);
    EXPECT_TRUE(plan.parameters.IsEmpty());
}

TEST(FileAndParameters, TheRealShellQueryAnswersBothWays)
{
    char system[MAX_PATH];
    GetSystemDirectoryA(system, sizeof(system));
    CString existing(system);
    existing += "\\notepad.exe";
    EXPECT_TRUE(ShellFindsProgram(existing.data));
    EXPECT_FALSE(ShellFindsProgram((existing + " one two").data));
    EXPECT_FALSE(ShellFindsProgram(""));
    CString huge;
    for (int i = 0; i < 300; i++)
        huge.Append("a.b ");
    EXPECT_FALSE(ShellFindsProgram(huge.data));
    LaunchPlan plan = Separate((existing + " one two").data, ShellFindsProgram);
    EXPECT_STREQ(existing.data, plan.file.data);
    EXPECT_STREQ("one two", plan.parameters.data);
}

// Thousands of generated lines: every result is a terminated text that lies
// within what the input could produce.
TEST(GeneratedLines, EveryResultStaysWithinItsBounds)
{
    const char pieces[][8] = {"$", "$$", "$!", "$1", "$9", "$0", " ", "  ", "\t", "\"", "'",
                              ".", "\\", "/", "?", "*", "a", "表", "ソ", "\x81", "->", "of",
                              "@", "x.y", "%", "%PATH%"};
    const int pieceCount = sizeof(pieces) / sizeof(pieces[0]);
    srand(12345);
    for (int round = 0; round < 6000; round++) {
        CString line;
        CString path;
        const int lineLength = rand() % 700;
        while (line.GetLength() < lineLength)
            line.Append(pieces[rand() % pieceCount]);
        const int pathLength = rand() % 520;
        while (path.GetLength() < pathLength)
            path.Append(pieces[rand() % pieceCount]);
        const int typedBytes = line.GetLength();

        TypedLine typed;
        bool split = SplitTypedLine(line, typed);
        ASSERT_LE(line.GetLength(), typedBytes);
        if (!split) {
            ASSERT_TRUE(typed.name.IsEmpty());
            continue;
        }
        ASSERT_GT(typed.name.GetLength(), 0);
        ASSERT_LE(typed.name.GetLength() + typed.slots[0].GetLength(), line.GetLength());
        ASSERT_TRUE(typed.slots[10].IsEmpty());
        for (int slot = 1; slot < kArgumentSlots; slot++) {
            ASSERT_LE(typed.slots[slot].GetLength(), typed.slots[0].GetLength());
            if (typed.slots[slot].IsEmpty()) {
                for (int later = slot + 1; later < kArgumentSlots; later++)
                    ASSERT_TRUE(typed.slots[later].IsEmpty());
            }
        }
        CString work = SubstituteArguments(path, typed);
        // Each byte of PATH yields itself or at most one argument text.
        const long bound = static_cast<long>(path.GetLength()) * (typed.slots[0].GetLength() + 2) +
                           typed.slots[0].GetLength() + 16;
        ASSERT_LE(work.GetLength(), bound);
        if (work.data) {
            ASSERT_LT(work.GetLength(), work.capacity);
        }
        LaunchPlan plan;
        SeparateFileAndParameters(work, round % 2 ? NoProgram : EveryProgram, plan);
        ASSERT_LE(plan.file.GetLength() + plan.parameters.GetLength(), work.GetLength());
        if (plan.file.data) {
            ASSERT_LT(plan.file.GetLength(), plan.file.capacity);
        }
        if (plan.parameters.data) {
            ASSERT_LT(plan.parameters.GetLength(), plan.parameters.capacity);
        }
    }
}
