// Finding names by a part of them: the order of the matches, the rules for
// double-byte names, and the completion that uses them.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "launcher/command_list.h"
#include "launcher/name_matcher.h"
#include "launcher/tooltip_window.h"
#include "test_paths.h"

using Zint_Std::CString;

namespace {

// The names that match typed, best first, joined by commas.
std::string Matches(const std::vector<const char*>& names, const char* typed)
{
    std::vector<NameMatch> found;
    for (size_t i = 0; i < names.size(); i++) {
        NameMatch match;
        if (MatchNameBeyondPrefix(names[i], typed, static_cast<int>(strlen(typed)), match)) {
            match.index = static_cast<int>(i);
            found.push_back(match);
        }
    }
    OrderNameMatches(found.data(), static_cast<int>(found.size()));
    std::string joined;
    for (const NameMatch& match : found)
        joined += (joined.empty() ? "" : ",") + std::string(names[match.index]);
    return joined;
}

}  // namespace

TEST(NameMatcherTest, OrderOfMatches)
{
    const struct {
        std::vector<const char*> names;
        const char* typed;  // lower-cased as the completion hands it over
        const char* expected;
    } cases[] = {
        // Containing the text before holding its letters in order.
        {{"notepad", "xnote", "nxoxtxe"}, "note", "notepad,xnote,nxoxtxe"},
        {{"notepad", "nt"}, "ntpd", "notepad"},
        // A word start (after a sign, a blank or as a capital after a small
        // letter) before the inside of a word, whatever the position.
        {{"xpadx", "my-pad", "MyPad", "x pad"}, "pad", "MyPad,x pad,my-pad,xpadx"},
        {{"a_pad", "apad"}, "pad", "a_pad,apad"},
        // Earlier before later, then shorter before longer, then list order.
        {{"xxcal", "xcal", "xcalc", "ycal"}, "cal", "xcal,ycal,xcalc,xxcal"},
        {{"bxyz", "axyz"}, "xyz", "bxyz,axyz"},
        // The best place of a name counts: a later word start beats its
        // earlier inside.
        {{"ypad", "xpad-pad", "zz-pad"}, "pad", "zz-pad,xpad-pad,ypad"},
        // Letter case only in single-byte letters.
        {{"WordPad", "ZPAD"}, "pad", "WordPad,ZPAD"},
        // Nothing in order: no match.
        {{"notepad"}, "dap", ""},
        // Second bytes are no letters or backslashes: ア is 83 41, ヂ 83 61,
        // 表 95 5C, ソ 83 5C.
        {{"xアy", "xヂy", "za"}, "a", "za"},
        {{"表示", "ソフト", "a\\b"}, "\\", "a\\b"},
        // A double-byte character matches itself whole, not its look-alike.
        {{"xアy", "xヂy"}, "ア", "xアy"},
        {{"メモ帳", "帳簿", "表メ"}, "メ", "メモ帳,表メ"},
        {{"表ソ", "ソ表"}, "表ソ", "表ソ"},
        {{"メモ帳"}, "メ帳", "メモ帳"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, Matches(c.names, c.typed)) << c.typed;
}

TEST(NameMatcherTest, CompletionFindsByAPartOnlyWhenNoNameBeginsSo)
{
    CString folder = MakeScratchFolder("name-matcher");
    ASSERT_TRUE(WriteTextFile(folder + "quelt_cmd.txt",
                              "[notepad]\r\nPATH=n\r\nCOMMENT=メモ帳\r\n[notebook]\r\nPATH=b\r\n"
                              "[xnote]\r\nPATH=x\r\n[calc]\r\nPATH=c\r\n"));
    CCommandList commands(folder);
    ASSERT_EQ(1, commands.Load());
    CToolTipWindow list(GetModuleHandleA(0), 0);
    CString result;
    // A prefix match exists: the completion is the prefix completion.
    commands.Complete(result, CString("no"), &list);
    EXPECT_STREQ("note", result.data);
    ASSERT_EQ(2, list.entries.count);
    EXPECT_STREQ("notebook", list.entries.items[0].first.data);
    // None: the box keeps the typed text, the list holds the best first.
    commands.Complete(result, CString("OTE"), &list);
    EXPECT_STREQ("OTE", result.data);
    ASSERT_EQ(3, list.entries.count);
    EXPECT_STREQ("notepad", list.entries.items[0].first.data);
    EXPECT_STREQ("  : メモ帳", list.entries.items[0].second.data);
    EXPECT_STREQ("notebook", list.entries.items[1].first.data);
    EXPECT_STREQ("xnote", list.entries.items[2].first.data);
    // One found by its letters in order is completed whole.
    commands.Complete(result, CString("clc"), &list);
    EXPECT_STREQ("calc ", result.data);
    // Off: nothing beyond the prefix.
    commands.matchBeyondPrefix = 0;
    commands.Complete(result, CString("ote"), &list);
    EXPECT_TRUE(result.IsEmpty());
    EXPECT_EQ(0, list.entries.count);
    RemoveScratchFolder(folder);
}

// When nothing is found otherwise: folded names, then comments, then the
// Start menu's programs; with Romaji the kana that ASCII spells.
TEST(NameMatcherTest, FoldedNamesCommentsAndRomajiOnlyWhenNothingElseIsFound)
{
    CString folder = MakeScratchFolder("folded-match");
    ASSERT_TRUE(WriteTextFile(folder + "quelt_cmd.txt",
                              "[notepad]\r\nPATH=n\r\nCOMMENT=メモ帳\r\n[notebook]\r\nPATH=b\r\n"
                              "[メモリ]\r\nPATH=m\r\n[デスク]\r\nPATH=d\r\n[表示]\r\nPATH=h\r\n"
                              "[today]\r\nPATH=t\r\nCOMMENT=きょうの予定\r\n"));
    ASSERT_TRUE(CreateDirectoryA((folder + "menu").data, 0));
    ASSERT_TRUE(WriteTextFile(folder + "menu\\ﾒﾓ帳ﾂｰﾙ.lnk", ""));
    CCommandList commands(folder);
    ASSERT_EQ(1, commands.Load());
    commands.programs.SetFolders(folder + "menu\\", folder + "none\\");
    CToolTipWindow list(GetModuleHandleA(0), 0);
    const struct {
        const char* typed;
        int romaji;
        const char* found;
    } cases[] = {
        {"めも", 1, "メモリ,notepad,ﾒﾓ帳ﾂｰﾙ"},  // a name before a comment and a program
        {"ﾒﾓ帳", 1, "ﾒﾓ帳ﾂｰﾙ"},                 // found as today: no comment searched
        {"ｎｏｔｅ", 1, "notepad,notebook"},
        {"ﾃﾞｽｸ", 1, "デスク"},
        {"予定", 1, "today"},
        {"memo", 1, "メモリ,notepad,ﾒﾓ帳ﾂｰﾙ"},
        {"kyou", 1, "today"},
        {"desuku", 1, "デスク"},
        {"memo", 0, ""},
        {"\\", 1, ""},  // never the trail byte of 表
        {"nte", 1, "notepad,notebook"},
    };
    for (const auto& c : cases) {
        commands.romaji = c.romaji;
        CString result;
        commands.Complete(result, CString(c.typed), &list);
        std::string found;
        for (int i = 0; i < list.entries.count; i++)
            found += (i ? "," : "") + std::string(list.entries.items[i].first.data);
        if (!list.entries.count && !result.IsEmpty())
            found.assign(result.data, result.GetLength() - 1);
        EXPECT_EQ(c.found, found) << c.typed;
    }
    RemoveScratchFolder(folder);
}
