// Folding and romaji for the search by a part of a name: chosen cases, then
// every double-byte character and generated names against a slow fold of
// the same rules through UTF-16.
#include <gtest/gtest.h>

#include <windows.h>
#include <string.h>
#include <wchar.h>

#include <random>
#include <string>

#include "launcher/japanese_fold.h"

namespace {

std::string Fold(const std::string& text, const int& room = 1024)
{
    char out[1024];
    const int length = FoldForMatch(text.c_str(), out, room);
    EXPECT_EQ(static_cast<int>(strlen(out)), length) << text;
    return out;
}

std::string ToAnsi(const std::wstring& wide)
{
    char out[256];
    return std::string(out, WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(wide.size()),
                                                out, sizeof(out), 0, 0));
}

// The code point by the plain rules; itself when none changes it.
std::wstring FoldCodePoint(const wchar_t c)
{
    const wchar_t* const voiced = L"\x30F4\x30F7\x30F8\x30F9\x30FA";  // ヴ ヷ ヸ ヹ ヺ: no hiragana
    if (c >= L'A' && c <= L'Z')
        return std::wstring(1, c + 0x20);
    if (c == 0x3000 || c == 0x3099 || c == 0x309A)  // Wine widens a lone ﾞ or ﾟ to a combining mark
        return std::wstring(1, c == 0x3000 ? L' ' : c + 2);
    if (c >= 0xFF01 && c <= 0xFF5E)
        return std::wstring(1, c >= 0xFF21 && c <= 0xFF3A ? c - 0xFEC0 : c - 0xFEE0);
    if (c >= 0x30A1 && c <= 0x30F3)
        return std::wstring(1, c - 0x60);
    if (c && wcschr(voiced, c))
        return std::wstring(1, L"\x3046\x308F\x3090\x3091\x3092"[wcschr(voiced, c) - voiced]) + L"\x309B";
    return std::wstring(1, c);
}

// What no rule changes keeps its own bytes; a run of half-width katakana is
// widened by the system at once, which joins the marks.
std::string SlowFold(const std::string& text)
{
    std::string folded;
    std::wstring halfWidth;
    for (size_t i = 0; i <= text.size();) {
        const size_t width = i + 1 < text.size() && IsDBCSLeadByteEx(932, text[i]) ? 2 : 1;
        wchar_t c = 0;
        if (i < text.size())
            MultiByteToWideChar(932, 0, text.data() + i, static_cast<int>(width), &c, 1);
        if (c >= 0xFF66 && c <= 0xFF9F) {
            halfWidth += c;
            i += width;
            continue;
        }
        wchar_t full[256];
        const int length = LCMapStringW(MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), SORT_DEFAULT),
                                        LCMAP_FULLWIDTH, halfWidth.data(), static_cast<int>(halfWidth.size()), full, 256);
        for (int k = 0; k < length; k++)
            folded += ToAnsi(FoldCodePoint(full[k]));
        halfWidth.clear();
        if (i == text.size())
            break;
        const std::wstring one = FoldCodePoint(c);
        folded += one == std::wstring(1, c) ? text.substr(i, width) : ToAnsi(one);
        i += width;
    }
    return folded;
}

}  // namespace

TEST(JapaneseFoldTest, ChosenTextsAndRomaji)
{
    // clang-format off
    const char* const folds[][2] = {
        {"メモ", "めも"}, {"めも", "めも"}, {"ｎｏｔｅ", "note"}, {"ＮｏＴｅ Pad", "note pad"}, {"ﾃﾞｽｸ", "ですく"},
        {"デスク", "ですく"}, {"ﾊﾟｿｺﾝ", "ぱそこん"}, {"ｳﾞ", "う゛"}, {"ヴ", "う゛"}, {"ﾜﾞｱﾟ", "わ゛あ゜"},
        {"ﾒｰﾙ", "めーる"}, {"メール", "めーる"}, {"メモ帳", "めも帳"}, {"ヶ｡", "ヶ｡"}, {"ソ予表", "そ予表"},
        {"ポ|", "ぽ|"}, {"アツ", "あつ"}, {"Ａ＼～", "a\\~"}, {"x　y", "x y"}, {"ア\x83", "あ\x83"},
    };
    // clang-format on
    for (const auto& c : folds)
        EXPECT_EQ(c[1], Fold(c[0])) << c[0];
    EXPECT_EQ("ぱそ", Fold("ﾊﾟｿｺﾝ", 5));  // whole characters only
    EXPECT_EQ("ぱ", Fold("ﾊﾟｿｺﾝ", 4));
    // clang-format off
    const char* const romaji[][2] = {
        {"memo", "めも"}, {"Memo", "めも"}, {"kyou", "きょう"}, {"shi", "し"}, {"si", "し"}, {"tsu", "つ"}, {"tu", "つ"},
        {"chi", "ち"}, {"ti", "ち"}, {"fu", "ふ"}, {"hu", "ふ"}, {"ja", "じゃ"}, {"zya", "じゃ"}, {"jya", "じゃ"},
        {"nn", "ん"}, {"n", "ん"}, {"kantan", "かんたん"}, {"onna", "おんあ"}, {"on'na", "おんな"}, {"kitte", "きって"}, {"matcha", "まっちゃ"},
        {"vu", "う゛"}, {"xtsu", "っ"}, {"ko-hi-", "こーひー"}, {"di", "ぢ"}, {"wo", "を"}, {"fairu", "ふぁいる"}, {"kit", "き"},
        {"matc", "ま"}, {"k", 0}, {"qa", 0}, {"memo1", 0}, {"a b", 0}, {"me\x83\x81", 0}, {"", 0},
        {"o'", 0},
    };
    // clang-format on
    for (const auto& c : romaji) {
        char out[64] = "";
        EXPECT_EQ(c[1] != 0, RomajiToKana(c[0], out, sizeof(out))) << c[0];
        EXPECT_STREQ(c[1] ? c[1] : out, out) << c[0];
    }
}

TEST(JapaneseFoldTest, SameAsTheSlowFoldThroughUtf16)
{
    for (int lead = 0x81; lead <= 0xFC; lead++) {
        for (int trail = 0x40; trail <= 0xFC && IsDBCSLeadByteEx(932, static_cast<BYTE>(lead)); trail++) {
            const std::string name = std::string(1, static_cast<char>(lead)) + static_cast<char>(trail);
            ASSERT_EQ(SlowFold(name), Fold(name)) << std::hex << lead << " " << trail;
        }
    }
    const char* const pool[] = {"め", "メ", "ﾃ", "ﾞ", "ﾟ", "ﾊ", "ｳ", "ﾜ", "ｦ", "ｰ", "ー", "ｎ", "Ｎ", "n", "N",
                                "ヴ", "ヶ", "漢", "予", "ソ", "ポ", "表", "｡", "＼", "～", "　", "\x83", "\\", "|"};
    std::mt19937 random(20261210);
    for (int n = 0; n < 5000; n++) {
        std::string name;
        for (int length = random() % 12 + 1; length > 0; length--) {
            const int kind = random() % 4;
            if (kind == 0)
                name += static_cast<char>(0x20 + random() % 0xC0);
            else if (kind == 1)
                name += std::string(1, static_cast<char>(0x81 + random() % 0x1F)) + static_cast<char>(0x40 + random() % 0xBD);
            else
                name += pool[random() % (sizeof(pool) / sizeof(pool[0]))];
        }
        ASSERT_EQ(SlowFold(name), Fold(name)) << name;
        ASSERT_LE(Fold(name).size(), 2 * name.size());
    }
}
