#include "editor/text_match.h"

#include <gtest/gtest.h>

namespace {

TEST(TextMatch, AsciiLettersMatchInEitherCaseAnywhereInTheText)
{
    EXPECT_TRUE(ContainsText("Notepad", "pad"));
    EXPECT_TRUE(ContainsText("Notepad", "NOTE"));
    EXPECT_TRUE(ContainsText("notepad", "tEpA"));
    EXPECT_TRUE(ContainsText("C:\\Windows\\notepad.exe", "WINDOWS\\NOTE"));
    EXPECT_FALSE(ContainsText("Notepad", "pads"));
    EXPECT_FALSE(ContainsText("Notepad", "xyz"));
    // Only A-Z fold: brackets and braces lie 0x20 apart as letters do.
    EXPECT_FALSE(ContainsText("a[b", "A{B"));
    EXPECT_FALSE(ContainsText("a@b", "A`B"));
}

TEST(TextMatch, EmptyTextAndEmptyPart)
{
    EXPECT_TRUE(ContainsText("anything", ""));
    EXPECT_TRUE(ContainsText("", ""));
    EXPECT_TRUE(ContainsText("anything", 0));
    EXPECT_FALSE(ContainsText("", "a"));
    EXPECT_FALSE(ContainsText(0, "a"));
}

TEST(TextMatch, DoubleByteCharactersMatchWhole)
{
    EXPECT_TRUE(ContainsText("メモ帳", "モ"));
    EXPECT_TRUE(ContainsText("メモ帳", "帳"));
    EXPECT_TRUE(ContainsText("メモ帳で開く", "帳で"));
    EXPECT_TRUE(ContainsText("Webで検索", "web"));
    EXPECT_TRUE(ContainsText("Aア", "ア"));
    EXPECT_FALSE(ContainsText("メモ帳", "モメ"));
    // Full-width letters are characters of their own, not folded.
    EXPECT_FALSE(ContainsText("Ａ", "ａ"));
}

TEST(TextMatch, ATrailByteNeverPassesForAnAsciiCharacter)
{
    // ア is 0x83 0x41: its trail byte is the letter A; ソ ends in 0x5C.
    ASSERT_EQ(static_cast<unsigned char>("ア"[1]), 'A');
    ASSERT_EQ(static_cast<unsigned char>("ソ"[1]), '\\');
    EXPECT_FALSE(ContainsText("ア", "A"));
    EXPECT_FALSE(ContainsText("ア", "a"));
    EXPECT_FALSE(ContainsText("アB", "AB"));
    EXPECT_FALSE(ContainsText("xアb", "ab"));
    EXPECT_FALSE(ContainsText("ソ", "\\"));
    EXPECT_TRUE(ContainsText("ソ\\", "\\"));
    // ヂ is 0x83 0x61: the trail bytes of ア and ヂ differ in ASCII case
    // only, and the two characters stay different.
    ASSERT_EQ(static_cast<unsigned char>("ヂ"[1]), 'a');
    EXPECT_FALSE(ContainsText("ア", "ヂ"));
    EXPECT_FALSE(ContainsText("ヂ", "ア"));
    // A part ending in a lead byte finds no character.
    EXPECT_FALSE(ContainsText("ア", "\x83"));
}

}  // namespace
