#include "support/string.h"

#include <windows.h>
#include <string.h>

#include <gtest/gtest.h>

using Zint_Std::CString;

namespace {

// Every byte from the terminator to the end of the buffer must be zero.
bool TailIsZero(const CString& s)
{
    if (!s.data)
        return true;
    for (int i = s.GetLength(); i < s.capacity; i++)
        if (s.data[i] != 0)
            return false;
    return true;
}

}  // namespace

TEST(StringBuffer, NewStringHasNoBuffer)
{
    CString s;
    EXPECT_EQ(nullptr, s.data);
    EXPECT_EQ(0, s.capacity);
    EXPECT_EQ(0, s.GetLength());
    EXPECT_TRUE(s.IsEmpty());
}

TEST(StringBuffer, ReserveRoundsToPowerOfTwoAboveRequest)
{
    const struct {
        int request;
        int capacity;
    } cases[] = {
        {0, 16}, {15, 16}, {16, 32}, {31, 32}, {32, 64}, {500, 512}, {1000, 1024}, {1024, 2048}};
    for (const auto& c : cases) {
        CString s;
        ASSERT_TRUE(s.Reserve(c.request));
        EXPECT_EQ(c.capacity, s.capacity) << "request " << c.request;
        EXPECT_TRUE(TailIsZero(s));
        EXPECT_TRUE(s.IsEmpty());
    }
}

TEST(StringBuffer, ReserveKeepsLargerBufferButClearsText)
{
    CString s("hello world");
    char* before = s.data;
    ASSERT_EQ(16, s.capacity);
    ASSERT_TRUE(s.Reserve(3));
    EXPECT_EQ(before, s.data);
    EXPECT_EQ(16, s.capacity);
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_TRUE(TailIsZero(s));
}

TEST(StringBuffer, ReserveRefusesSizesThatCannotBeAllocated)
{
    CString s("abc");
    EXPECT_FALSE(s.Reserve(0x7FFFFFFF));
    EXPECT_EQ(nullptr, s.data);
    EXPECT_EQ(0, s.capacity);
}

TEST(StringBuffer, EmptyReleasesBuffer)
{
    CString s("abc");
    s.Empty();
    EXPECT_EQ(nullptr, s.data);
    EXPECT_EQ(0, s.capacity);
    s.Empty();
    EXPECT_EQ(0, s.capacity);
}

TEST(StringAssign, CopiesAreDeep)
{
    CString a("alpha");
    CString b(a);
    EXPECT_NE(a.data, b.data);
    EXPECT_STREQ("alpha", b.data);
    b.data[0] = 'A';
    EXPECT_STREQ("alpha", a.data);
    CString c;
    c = b;
    EXPECT_STREQ("Alpha", c.data);
}

TEST(StringAssign, SelfAssignmentKeepsText)
{
    CString a("same");
    EXPECT_TRUE(a.Assign(a));
    EXPECT_STREQ("same", a.data);
    EXPECT_TRUE(a.Assign(a.data));
    EXPECT_STREQ("same", a.data);
}

TEST(StringAssign, TextFromInsideOwnBufferIsCopiedFirst)
{
    CString a("abcdef");
    EXPECT_TRUE(a.Assign(a.data + 2));
    EXPECT_STREQ("cdef", a.data);
    EXPECT_TRUE(TailIsZero(a));
}

TEST(StringAssign, EmptySourceKeepsBufferButClearsIt)
{
    CString a("some text");
    char* before = a.data;
    CString none;
    EXPECT_TRUE(a.Assign(none));
    EXPECT_EQ(before, a.data);
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_TRUE(TailIsZero(a));
    CString b("more");
    EXPECT_TRUE(b.Assign(static_cast<const char*>(nullptr)));
    EXPECT_TRUE(b.IsEmpty());
    EXPECT_EQ(16, b.capacity);
}

TEST(StringAppend, GrowsByRequestPlusTwo)
{
    CString a("a");
    a.Append("b");
    EXPECT_STREQ("ab", a.data);
    EXPECT_EQ(16, a.capacity);

    CString b("x");
    b.Append("12345678901234");  // 14 + 1 + 2 = 17 requested
    EXPECT_STREQ("x12345678901234", b.data);
    EXPECT_EQ(32, b.capacity);
    EXPECT_TRUE(TailIsZero(b));
}

TEST(StringAppend, EmptyCasesAndNull)
{
    CString a("keep");
    char* before = a.data;
    CString none;
    a.Append(none);
    EXPECT_EQ(before, a.data);
    EXPECT_STREQ("keep", a.data);

    CString empty;
    empty.Append(CString("first"));
    EXPECT_STREQ("first", empty.data);
    EXPECT_EQ(16, empty.capacity);

    CString n("n");
    n.Append(static_cast<const char*>(nullptr));
    EXPECT_STREQ("n", n.data);
}

TEST(StringAppend, AppendingItselfDoublesText)
{
    CString a("ab");
    a.Append(a);
    EXPECT_STREQ("abab", a.data);
    a += a.data + 1;
    EXPECT_STREQ("abab"
                 "bab",
                 a.data);
}

TEST(StringAppend, PlusOperatorLeavesOperandsAlone)
{
    CString left("C:\\a\\");
    CString right("b.exe");
    CString joined = left + right;
    EXPECT_STREQ("C:\\a\\b.exe", joined.data);
    EXPECT_STREQ("C:\\a\\", left.data);
    EXPECT_STREQ("b.exe", right.data);
}

TEST(StringAppendChar, CapacityRules)
{
    CString none;
    none.AppendChar('z');
    EXPECT_STREQ("z", none.data);
    EXPECT_EQ(16, none.capacity);

    CString fits("12345678901234");  // 14 characters in 16 bytes
    ASSERT_EQ(16, fits.capacity);
    char* before = fits.data;
    fits.AppendChar('5');
    EXPECT_EQ(before, fits.data);
    EXPECT_EQ(16, fits.capacity);
    EXPECT_STREQ("123456789012345", fits.data);

    fits.AppendChar('6');  // 15 characters: 16 < 17, grows
    EXPECT_EQ(32, fits.capacity);
    EXPECT_STREQ("1234567890123456", fits.data);
    EXPECT_TRUE(TailIsZero(fits));
}

TEST(StringAppendChar, ManyCharactersBuildLongText)
{
    CString s;
    for (int i = 0; i < 2000; i++)
        s.AppendChar(static_cast<char>('a' + i % 26));
    EXPECT_EQ(2000, s.GetLength());
    EXPECT_EQ(2048, s.capacity);
    EXPECT_EQ('a', s.data[0]);
    EXPECT_EQ('a' + 1999 % 26, s.data[1999]);
}

TEST(StringCompare, EqualsNoCase)
{
    CString none1, none2;
    EXPECT_TRUE(none1.EqualsNoCase(none2));
    EXPECT_TRUE(CString("ABC").EqualsNoCase(CString("abc")));
    EXPECT_FALSE(CString("abc").EqualsNoCase(CString("abcd")));
    EXPECT_FALSE(CString("abc").EqualsNoCase(CString("abd")));
    CString withBuffer("x");
    withBuffer.Reserve(4);
    EXPECT_TRUE(withBuffer.EqualsNoCase(none1));
}

TEST(StringCompare, OrderingHelpersTreatEmptyAsSmallest)
{
    CString none, blank(""), a("a"), b("b");
    EXPECT_FALSE(Zint_Std::StringLess(none, blank));
    EXPECT_TRUE(Zint_Std::StringLess(none, a));
    EXPECT_FALSE(Zint_Std::StringLess(a, none));
    EXPECT_TRUE(Zint_Std::StringLess(a, b));
    EXPECT_FALSE(Zint_Std::StringLess(b, a));
    EXPECT_FALSE(Zint_Std::StringLess(a, a));

    EXPECT_FALSE(Zint_Std::StringGreater(none, a));
    EXPECT_FALSE(Zint_Std::StringGreater(none, none));
    EXPECT_TRUE(Zint_Std::StringGreater(a, none));
    EXPECT_TRUE(Zint_Std::StringGreater(b, a));
    EXPECT_FALSE(Zint_Std::StringGreater(a, b));

    EXPECT_TRUE(Zint_Std::StringEqual(none, blank));
    EXPECT_FALSE(Zint_Std::StringEqual(none, a));
    EXPECT_TRUE(Zint_Std::StringEqual(CString("x"), CString("x")));
    EXPECT_FALSE(Zint_Std::StringEqual(CString("x"), CString("X")));
}

TEST(StringFind, OffsetsAndCapacityLimit)
{
    CString s("abcdef");
    EXPECT_EQ(3, s.Find("def", 0));
    EXPECT_EQ(3, s.Find("d", 3));
    EXPECT_EQ(-1, s.Find("d", 4));
    EXPECT_EQ(-1, s.Find("xyz", 0));
    EXPECT_EQ(0, s.Find("", 0));
    // 14 + 3 exceeds the 16-byte capacity although "def" is not searched there.
    EXPECT_EQ(-1, s.Find("def", 14));
    EXPECT_EQ(-1, s.Find("a", -1));
    CString none;
    EXPECT_EQ(-1, none.Find("", 0));
    EXPECT_EQ(-1, none.Find(nullptr, 0));
}

TEST(StringFind, DoubleByteTextIsNotSplit)
{
    // "ソ" is 0x83 0x5C: its trail byte must not match a backslash.
    CString s("ソ\\x");
    ASSERT_EQ('\x5c', s.data[1]);
    EXPECT_EQ(2, s.Find("\\", 0));
}

TEST(StringDelete, MovesAndZeroFills)
{
    CString s;
    s.Reserve(100);
    lstrcpyA(s.data, "abcdef");
    EXPECT_EQ(6, s.Delete(2, 100));
    EXPECT_STREQ("ab", s.data);
    EXPECT_TRUE(TailIsZero(s));

    CString t("abcdef");
    EXPECT_EQ(6, t.Delete(1, 2));
    EXPECT_STREQ("adef", t.data);
    EXPECT_TRUE(TailIsZero(t));

    CString u("abc");
    EXPECT_EQ(3, u.Delete(3, 1));
    EXPECT_EQ(3, u.Delete(10, 1));
    EXPECT_STREQ("abc", u.data);
    EXPECT_EQ(3, u.Delete(-1, 1));
    EXPECT_EQ(3, u.Delete(0, -5));
    EXPECT_STREQ("abc", u.data);
}

TEST(StringDelete, KeepRange)
{
    CString s("abcdef");
    s.KeepRange(1, 3);
    EXPECT_STREQ("bcd", s.data);
    EXPECT_TRUE(TailIsZero(s));
    CString t("abcdef");
    t.KeepRange(0, 5);
    EXPECT_STREQ("abcdef", t.data);
}

TEST(StringTokenize, SkipsRunsAndRestoresText)
{
    CString s("a,,b");
    CString first = s.Tokenize(",", true);
    EXPECT_STREQ("a", first.data);
    EXPECT_STREQ("a,,b", s.data);
    CString second = s.Tokenize(",", false);
    EXPECT_STREQ("b", second.data);
    CString third = s.Tokenize(",", false);
    EXPECT_TRUE(third.IsEmpty());
    EXPECT_STREQ("a,,b", s.data);
}

TEST(StringTokenize, DoubleByteCharactersStayWhole)
{
    // The trail byte of "表" (0x95 0x5C) is no delimiter.
    CString s("表\\示 ソフト");
    CString first = s.Tokenize("\\ ", true);
    EXPECT_STREQ("表", first.data);
    CString second = s.Tokenize("\\ ", false);
    EXPECT_STREQ("示", second.data);
    CString third = s.Tokenize("\\ ", false);
    EXPECT_STREQ("ソフト", third.data);
    EXPECT_TRUE(s.Tokenize("\\ ", false).IsEmpty());
}

TEST(StringTokenize, NoBufferOrDelimitersGiveEmpty)
{
    CString none;
    EXPECT_TRUE(none.Tokenize(",", true).IsEmpty());
    CString s("a b");
    EXPECT_TRUE(s.Tokenize(nullptr, true).IsEmpty());
    EXPECT_STREQ("a b", s.data);
}

TEST(StringFormat, FormatsAndCutsAt1023)
{
    CString s;
    s.Format("%s=%d (%s)", "count", 42, "ソフト");
    EXPECT_STREQ("count=42 (ソフト)", s.data);
    EXPECT_GE(s.capacity, 1024);

    char big[2001];
    memset(big, 'x', 2000);
    big[2000] = 0;
    CString cut;
    cut.Format("%s", big);
    EXPECT_EQ(1023, cut.GetLength());
    EXPECT_GE(cut.capacity, 1024);
}

TEST(StringTrim, SingleByteWhiteSpaceOnly)
{
    CString a("  abc");
    a.TrimLeft();
    EXPECT_STREQ("abc", a.data);

    CString full("　abc");  // starts with the full-width space 0x81 0x40
    ASSERT_EQ('\x81', full.data[0]);
    full.TrimLeft();
    EXPECT_STREQ("　abc", full.data);

    CString both(" \tab \r\n");
    both.Trim();
    EXPECT_STREQ("ab", both.data);
    EXPECT_TRUE(TailIsZero(both));

    CString none;
    none.Trim();
    EXPECT_EQ(nullptr, none.data);

    CString blanks(" \t \r\n");
    blanks.Trim();
    EXPECT_TRUE(blanks.IsEmpty());
}

TEST(StringTrim, RightTrimKeepsDoubleByteCharacters)
{
    // _mbsrev keeps each double-byte character's bytes in order.
    CString s("ソフト表  ");
    s.TrimRight();
    EXPECT_STREQ("ソフト表", s.data);
    CString t("  表 示\t");
    t.Trim();
    EXPECT_STREQ("表 示", t.data);
    CString fullWidth("abc　");
    fullWidth.TrimRight();
    EXPECT_STREQ("abc　", fullWidth.data);
}

TEST(StringTrim, TextEndingInsideDoubleByteCharacterIsLeftAlone)
{
    CString s(" ab\x83");  // a lead byte without its trail byte
    s.TrimRight();
    EXPECT_STREQ(" ab\x83", s.data);
    s.TrimLeft();
    EXPECT_STREQ("ab\x83", s.data);
}

TEST(StringRandom, InvariantHoldsThroughMixedOperations)
{
    // A fixed pseudo-random walk over the editing operations; after every
    // step the buffer must stay a power of two above the text, zero past it.
    unsigned int seed = 12345;
    auto next = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    const char* pieces[] = {"", "a", "表示", " \t", "ソ\\", "0123456789abcdef"};
    CString s;
    for (int step = 0; step < 5000; step++) {
        switch (next() % 7) {
        case 0: s.Append(pieces[next() % 6]); break;
        case 1: s.AppendChar(static_cast<char>('A' + next() % 26)); break;
        case 2: s.Delete(static_cast<int>(next() % 40), static_cast<int>(next() % 10)); break;
        case 3: s.Trim(); break;
        case 4: s.Assign(pieces[next() % 6]); break;
        case 5:
            if (s.GetLength() < 1000)
                s.Append(CString(s));
            break;
        case 6:
            if (s.GetLength() > 3000)
                s.Empty();
            break;
        }
        if (s.data) {
            ASSERT_GE(s.capacity, 16);
            ASSERT_EQ(0, s.capacity & (s.capacity - 1));
            ASSERT_LT(s.GetLength(), s.capacity);
            ASSERT_TRUE(TailIsZero(s)) << "step " << step;
        } else {
            ASSERT_EQ(0, s.capacity);
        }
    }
}

TEST(StringAliasing, ArgumentsThatLiveInTheStringItself)
{
    // The character to add lies in the buffer that has to grow.
    CString s("abcdefghijklmno");  // 15 characters in 16 bytes
    s.AppendChar(s.data[0]);
    EXPECT_STREQ("abcdefghijklmnoa", s.data);
    EXPECT_EQ(32, s.capacity);

    // The size asked for is the string's own capacity.
    CString t("x");
    ASSERT_EQ(16, t.capacity);
    ASSERT_TRUE(t.Reserve(t.capacity));
    EXPECT_EQ(32, t.capacity);

    // An empty text searched at the very end of the buffer.
    CString u("ab");
    EXPECT_EQ(-1, u.Find("", u.capacity));
    EXPECT_EQ(15, u.Find("", 15));
}

TEST(CStringCompact, ClearsTheTailAndShrinksToTheSmallestCapacity)
{
    Zint_Std::CString text;
    ASSERT_TRUE(text.Reserve(200));
    memcpy(text.data, "short", 6);
    memset(text.data + 6, 'x', 100);
    text.Compact();
    EXPECT_STREQ("short", text.data);
    EXPECT_EQ(16, text.capacity);
    for (int i = 5; i < 16; i++)
        EXPECT_EQ(0, text.data[i]);
    // Already as small as it gets: nothing moves.
    char* before = text.data;
    text.Compact();
    EXPECT_EQ(before, text.data);
    Zint_Std::CString longer;
    longer.Reserve(100);
    memset(longer.data, 'y', 40);
    longer.Compact();
    EXPECT_EQ(64, longer.capacity);
    EXPECT_EQ(40, longer.GetLength());
    Zint_Std::CString none;
    none.Compact();
    EXPECT_TRUE(none.data == 0);
}
