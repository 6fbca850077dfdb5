#include "support/mbcs.h"

#include <gtest/gtest.h>

using Zint_Std::EndsInLoneLeadByte;
using Zint_Std::FindLastBackslash;
using Zint_Std::NextChar;

TEST(DoubleByteSteps, NextCharNeverPassesTheTerminator)
{
    const unsigned char lone[] = {'a', 0x83, 0, 'X', 0};
    const unsigned char* p = lone;
    p = NextChar(p);
    EXPECT_EQ(lone + 1, p);
    p = NextChar(p);
    EXPECT_EQ(lone + 2, p);
    EXPECT_EQ(0, *p);

    const unsigned char pair[] = {0x83, 0x5C, 'b', 0};
    EXPECT_EQ(pair + 2, NextChar(pair));
}

TEST(DoubleByteSteps, LoneLeadByteAtTheEnd)
{
    EXPECT_TRUE(EndsInLoneLeadByte(reinterpret_cast<const unsigned char*>("ab\x83")));
    EXPECT_FALSE(EndsInLoneLeadByte(reinterpret_cast<const unsigned char*>("abソ")));
    EXPECT_FALSE(EndsInLoneLeadByte(reinterpret_cast<const unsigned char*>("")));
    // Half-width katakana are single bytes above 0x80.
    EXPECT_FALSE(EndsInLoneLeadByte(reinterpret_cast<const unsigned char*>("ｱｲ")));
}

TEST(DoubleByteSteps, LastBackslashSkipsTrailBytes)
{
    const char* path = "C:\\ソフト\\表";
    const char* last = FindLastBackslash(path);
    ASSERT_NE(nullptr, last);
    EXPECT_STREQ("\\表", last);
    EXPECT_EQ(nullptr, FindLastBackslash("表"));
    EXPECT_EQ(nullptr, FindLastBackslash(""));
    EXPECT_EQ(nullptr, FindLastBackslash(static_cast<const char*>(nullptr)));
}
