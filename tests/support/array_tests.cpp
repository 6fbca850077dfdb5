#include "support/array.h"

#include <windows.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

using Zint_Std::CArray;
using Zint_Std::CString;
using Zint_Std::CStringPair;

namespace {

// The launcher's command-list order: ascending, letter case aside.
bool NotLessIgnoringCase(const CString& left, const CString& right)
{
    return lstrcmpiA(left.data, right.data) >= 0;
}

void Fill(CArray<CString>& list, const std::vector<const char*>& texts)
{
    for (const char* t : texts)
        list.Add(CString(t));
}

std::vector<std::string> TextsOf(const CArray<CString>& list)
{
    std::vector<std::string> texts;
    for (int i = 0; i < list.count; i++)
        texts.push_back(list.items[i].Text());
    return texts;
}

bool UnusedSlotsEmpty(const CArray<CString>& list)
{
    for (int i = list.count; i < list.slotCount; i++)
        if (list.items[i].data != nullptr || list.items[i].capacity != 0)
            return false;
    return true;
}

}  // namespace

static_assert(sizeof(void*) != 4 || sizeof(CString) == 8, "a string is 8 bytes in the 32-bit programs");
static_assert(sizeof(void*) != 4 || sizeof(CStringPair) == 16, "a pair is 16 bytes in the 32-bit programs");

TEST(ArrayStorage, NewArrayIsEmptyWithoutStorage)
{
    CArray<CString> list;
    EXPECT_EQ(0, list.count);
    EXPECT_EQ(0, list.slotCount);
    EXPECT_EQ(0u, list.byteSize);
    EXPECT_EQ(nullptr, list.items);
}

TEST(ArrayStorage, LayoutMatchesTheSharedRecord)
{
    // Table pointer first, then count, slotCount, byteSize, items.
    CArray<CString> list;
    list.Add(CString("x"));
    // 4, 8, 12 and 16 in the 32-bit programs; the pointers widen in a
    // 64-bit build.
    const char* base = reinterpret_cast<const char*>(&list);
    const size_t pointer = sizeof(void*);
    const size_t itemsAt = (pointer + 12 + pointer - 1) & ~(pointer - 1);
    EXPECT_EQ(&list.count, reinterpret_cast<const int*>(base + pointer));
    EXPECT_EQ(&list.slotCount, reinterpret_cast<const int*>(base + pointer + 4));
    EXPECT_EQ(&list.byteSize, reinterpret_cast<const unsigned int*>(base + pointer + 8));
    EXPECT_EQ(&list.items, reinterpret_cast<CString* const*>(base + itemsAt));
}

TEST(ArrayStorage, AddGrowsWhenTheBlockWouldFill)
{
    CArray<CString> list;
    ASSERT_TRUE(list.Add(CString("a")));
    EXPECT_EQ(1, list.count);
    EXPECT_EQ(2, list.slotCount);
    EXPECT_EQ(2 * sizeof(CString), list.byteSize);
    ASSERT_TRUE(list.Add(CString("b")));
    EXPECT_EQ(4, list.slotCount);
    EXPECT_EQ(4 * sizeof(CString), list.byteSize);
    list.Add(CString("c"));
    EXPECT_EQ(4, list.slotCount);
    list.Add(CString("d"));
    EXPECT_EQ(8, list.slotCount);
    EXPECT_EQ((std::vector<std::string>{"a", "b", "c", "d"}), TextsOf(list));
    EXPECT_TRUE(UnusedSlotsEmpty(list));
}

TEST(ArrayStorage, AddOfOwnElementSurvivesGrowth)
{
    CArray<CString> list;
    list.Add(CString("self"));
    list.Add(list.items[0]);  // grows the block the argument lives in
    list.Add(list.items[1]);
    EXPECT_EQ((std::vector<std::string>{"self", "self", "self"}), TextsOf(list));
}

TEST(ArrayStorage, AllocateAndEmptyAll)
{
    CArray<CString> list;
    ASSERT_TRUE(list.Allocate(5));
    EXPECT_EQ(5, list.count);
    EXPECT_EQ(8, list.slotCount);
    EXPECT_EQ(8 * sizeof(CString), list.byteSize);
    list.items[0] = "zero";
    list.items[4] = "four";
    ASSERT_TRUE(list.Allocate(3));  // fits: content discarded, block kept
    EXPECT_EQ(3, list.count);
    EXPECT_EQ(8, list.slotCount);
    EXPECT_TRUE(list.items[0].IsEmpty());
    EXPECT_EQ(nullptr, list.items[4].data);
    list.items[1] = "one";
    list.EmptyAll();
    EXPECT_EQ(3, list.count);
    EXPECT_EQ(nullptr, list.items[1].data);
    list.FreeAll();
    EXPECT_EQ(0, list.count);
    EXPECT_EQ(nullptr, list.items);
}

TEST(ArrayStorage, AllocateRefusesImpossibleSizes)
{
    CArray<CString> list;
    list.Add(CString("a"));
    EXPECT_FALSE(list.Allocate(0x7FFFFFFF));
    EXPECT_EQ(0, list.count);
    EXPECT_EQ(0, list.slotCount);
    EXPECT_EQ(nullptr, list.items);
    EXPECT_FALSE(list.SetSize(-1));
}

TEST(ArrayList, SetSizeShrinksAndGrows)
{
    CArray<CString> list;
    Fill(list, {"a", "b", "c"});
    CString* block = list.items;
    ASSERT_TRUE(list.SetSize(1));
    EXPECT_EQ(block, list.items);
    EXPECT_EQ(1, list.count);
    EXPECT_STREQ("a", list.items[0].data);
    EXPECT_EQ(nullptr, list.items[1].data);
    EXPECT_EQ(nullptr, list.items[2].data);

    CArray<CString> grow;
    Fill(grow, {"a", "b", "c"});
    ASSERT_EQ(4, grow.slotCount);
    ASSERT_TRUE(grow.SetSize(10));
    EXPECT_EQ(10, grow.count);
    EXPECT_EQ(16, grow.slotCount);
    EXPECT_EQ(16 * sizeof(CString), grow.byteSize);
    EXPECT_EQ((std::vector<std::string>{"a", "b", "c", "", "", "", "", "", "", ""}),
              TextsOf(grow));
    EXPECT_TRUE(UnusedSlotsEmpty(grow));
}

TEST(ArrayList, InsertAtAndRemoveLast)
{
    CArray<CString> list;
    Fill(list, {"b", "c"});
    ASSERT_TRUE(list.InsertAt(0, CString("s")));
    EXPECT_EQ((std::vector<std::string>{"s", "b", "c"}), TextsOf(list));
    ASSERT_TRUE(list.InsertAt(3, CString("end")));
    ASSERT_TRUE(list.InsertAt(2, CString("mid")));
    EXPECT_EQ((std::vector<std::string>{"s", "b", "mid", "c", "end"}), TextsOf(list));
    EXPECT_FALSE(list.InsertAt(9, CString("x")));
    EXPECT_FALSE(list.InsertAt(-1, CString("x")));
    EXPECT_EQ(5, list.count);

    CString last = list.RemoveLast();
    EXPECT_STREQ("end", last.data);
    EXPECT_EQ(4, list.count);
    EXPECT_TRUE(UnusedSlotsEmpty(list));
}

TEST(ArraySort, CaseInsensitiveAscendingAsTheLauncherSorts)
{
    CArray<CString> list;
    Fill(list, {"b", "a", "C"});
    list.Sort(NotLessIgnoringCase, true);
    EXPECT_EQ((std::vector<std::string>{"a", "b", "C"}), TextsOf(list));
}

TEST(ArraySort, EqualElementsComeFromTheRightHalfFirst)
{
    // "A" and "a" are equal to the launcher's comparison; the merge takes the
    // right one when they meet, so a two-element list swaps them.
    CArray<CString> pair;
    Fill(pair, {"A", "a"});
    pair.Sort(NotLessIgnoringCase, true);
    EXPECT_EQ((std::vector<std::string>{"a", "A"}), TextsOf(pair));

    // The fixed helper takes the left one only when it is strictly smaller.
    CArray<CString> same;
    Fill(same, {"x", "x"});
    same.items[0].Reserve(40);  // tell the two equal texts apart by capacity
    lstrcpyA(same.items[0].data, "x");
    same.Sort(true);
    EXPECT_EQ(16, same.items[0].capacity);
    EXPECT_EQ(64, same.items[1].capacity);
}

TEST(ArraySort, DescendingPutsLongerPathsFirstAndEmptiesLast)
{
    CArray<CString> list;
    Fill(list, {"x\\y", "", "x\\y\\z", "a", ""});
    list.Sort(false);
    EXPECT_EQ((std::vector<std::string>{"x\\y\\z", "x\\y", "a", "", ""}), TextsOf(list));
    list.Sort(true);
    EXPECT_EQ((std::vector<std::string>{"", "", "a", "x\\y", "x\\y\\z"}), TextsOf(list));
}

TEST(ArraySort, QuickSortAscendingAndDescending)
{
    CArray<CString> list;
    Fill(list, {"x\\y\\z", "x", "x\\y"});
    list.QuickSort(0, list.count - 1, true);
    EXPECT_EQ((std::vector<std::string>{"x", "x\\y", "x\\y\\z"}), TextsOf(list));
    list.QuickSort(0, list.count - 1, false);
    EXPECT_EQ((std::vector<std::string>{"x\\y\\z", "x\\y", "x"}), TextsOf(list));

    CArray<CString> empty;
    empty.QuickSort(0, -1, true);
    EXPECT_EQ(0, empty.count);
}

TEST(ArraySort, LargeRandomListsMatchAReferenceOrder)
{
    // Both sorts over many lists with duplicates, empties and mixed case,
    // checked against the platform comparison they are defined by.
    srand(7);
    for (int round = 0; round < 40; round++) {
        int n = rand() % 300;
        CArray<CString> merge, quick;
        for (int i = 0; i < n; i++) {
            char text[8];
            int len = rand() % 4;
            for (int k = 0; k < len; k++)
                text[k] = "aAbB\\z"[rand() % 6];
            text[len] = 0;
            merge.Add(CString(text));
            quick.Add(CString(text));
        }
        bool ascending = round % 2 == 0;
        merge.Sort(ascending);
        quick.QuickSort(0, quick.count - 1, ascending);
        ASSERT_EQ(n, merge.count);
        ASSERT_EQ(n, quick.count);
        for (int i = 1; i < n; i++) {
            if (ascending) {
                ASSERT_FALSE(Zint_Std::StringLess(merge.items[i], merge.items[i - 1])) << i;
                ASSERT_FALSE(Zint_Std::StringLess(quick.items[i], quick.items[i - 1])) << i;
            } else {
                ASSERT_FALSE(Zint_Std::StringGreater(merge.items[i], merge.items[i - 1])) << i;
                ASSERT_FALSE(Zint_Std::StringGreater(quick.items[i], quick.items[i - 1])) << i;
            }
        }
        for (int i = 0; i < n; i++)
            ASSERT_TRUE(Zint_Std::StringEqual(merge.items[i], quick.items[i])) << i;
        EXPECT_TRUE(UnusedSlotsEmpty(merge));
    }
}

TEST(ArrayPairs, StorageOperationsOnPairs)
{
    CArray<CStringPair> pairs;
    ASSERT_TRUE(pairs.Allocate(3));
    EXPECT_EQ(3, pairs.count);
    EXPECT_EQ(4, pairs.slotCount);  // 3 * 16 = 48 bytes -> 64
    EXPECT_EQ(4 * sizeof(CStringPair), pairs.byteSize);
    pairs.items[0].first = "notepad";
    pairs.items[0].second = "メモ帳";
    pairs.items[2].first = "calc";
    pairs.EmptyAll();
    EXPECT_EQ(nullptr, pairs.items[0].first.data);
    EXPECT_EQ(nullptr, pairs.items[0].second.data);
    pairs.FreeAll();
    EXPECT_EQ(nullptr, pairs.items);
}

TEST(ArrayList, ElementsAreDeepCopiesNotMoves)
{
    CArray<CString> list;
    CString big;
    big.Reserve(100);  // 128 bytes holding one character
    lstrcpyA(big.data, "x");
    list.Add(big);
    EXPECT_NE(big.data, list.items[0].data);
    EXPECT_EQ(16, list.items[0].capacity);  // Assign reserves for the length

    list.items[0].Reserve(100);
    lstrcpyA(list.items[0].data, "y");
    char* before = list.items[0].data;
    list.Add(CString("z"));  // grows: every element is copied into the new block
    EXPECT_NE(before, list.items[0].data);
    EXPECT_EQ(16, list.items[0].capacity);
    EXPECT_STREQ("y", list.items[0].data);

    CString last = list.RemoveLast();
    EXPECT_STREQ("z", last.data);
    EXPECT_EQ(nullptr, list.items[1].data);
}

TEST(ArrayList, SizeArgumentsThatAreTheArraysOwnFields)
{
    CArray<CString> list;
    Fill(list, {"a", "b", "c"});
    ASSERT_EQ(4, list.slotCount);
    ASSERT_TRUE(list.SetSize(list.slotCount));  // 4: grows to 8 slots
    EXPECT_EQ(4, list.count);
    EXPECT_EQ(8, list.slotCount);
    EXPECT_EQ((std::vector<std::string>{"a", "b", "c", ""}), TextsOf(list));

    ASSERT_TRUE(list.InsertAt(list.count, CString("end")));
    EXPECT_EQ((std::vector<std::string>{"a", "b", "c", "", "end"}), TextsOf(list));

    ASSERT_TRUE(list.Allocate(list.slotCount));
    EXPECT_EQ(8, list.count);
    EXPECT_EQ(16, list.slotCount);
}
