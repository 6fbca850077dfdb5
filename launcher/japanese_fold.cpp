#include "launcher/japanese_fold.h"

#include <stdlib.h>
#include <string.h>

#include "support/mbcs.h"

namespace {

// What one character becomes; length 0 in a double-byte row: itself.
struct FoldedChar {
    unsigned char length;
    unsigned char bytes[4];
};

// Only a few lead bytes begin characters that fold: ＂ and ＇ have codes of
// their own under 0xEE and 0xFA besides the rows 0x81 to 0x83.
enum { kMostFoldRows = 5,
       kJoinsVoiced = 1,
       kJoinsSemiVoiced = 2 };

struct FoldTables {
    const unsigned char* leadBytes;
    FoldedChar singles[256];
    unsigned char rowOfLead[256];  // 1-based row of doubles; 0: nothing folds
    FoldedChar doubles[kMostFoldRows][256];
    int rowCount;
    unsigned char joins[256];  // the marks a half-width kana takes
};

// On the heap, built at the first fold: as a zeroed global the tables would
// take their 8 KB in the program file.
FoldTables* foldTables = 0;

// The exec charset makes these literals CP932: two bytes a character.
const char kFullWidthAscii[] =
    "！＂＃＄％＆＇（）＊＋，－．／０１２３４５６７８９：；＜＝＞？＠"
    "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ［＼］＾＿｀"
    "ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ｛｜｝～";
// Half-width 0xA6 to 0xDF in order.
const char kHalfWidthKana[] =
    "をぁぃぅぇぉゃゅょっーあいうえおかきくけこさしすせそたちつてとなにぬねの"
    "はひふへほまみむめもやゆよらりるれろわん゛゜";
const char kVuKana[] = "う゛";
const unsigned char kFirstHiragana = 0x9F;       // ぁ is 0x82 0x9F
const unsigned char kLastKatakanaToFold = 0x93;  // ン is 0x83 0x93
const unsigned char kVu = 0x94;                  // ヴ is 0x83 0x94

unsigned char LowerAscii(const unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 'a' - 'A') : c;
}

void SetChar(FoldedChar& folded, const char* bytes, const int& length)
{
    folded.length = static_cast<unsigned char>(length);
    memcpy(folded.bytes, bytes, length);
}

void SetDouble(FoldTables& tables, const unsigned char lead, const unsigned char trail,
               const char* bytes, const int& length)
{
    if (!tables.rowOfLead[lead])
        tables.rowOfLead[lead] = static_cast<unsigned char>(++tables.rowCount);
    SetChar(tables.doubles[tables.rowOfLead[lead] - 1][trail], bytes, length);
}

bool BuildTables()
{
    foldTables = static_cast<FoldTables*>(calloc(1, sizeof(FoldTables)));
    if (!foldTables)
        return false;
    FoldTables& tables = *foldTables;
    tables.leadBytes = Zint_Std::LeadByteTable();
    for (int c = 0; c < 256; c++) {
        const char folded = static_cast<char>(LowerAscii(static_cast<unsigned char>(c)));
        SetChar(tables.singles[c], &folded, 1);
    }
    for (int k = 0; k < 0xE0 - 0xA6; k++) {
        SetChar(tables.singles[0xA6 + k], kHalfWidthKana + 2 * k, 2);
        const int c = 0xA6 + k;
        // ｶ to ﾄ and ﾊ to ﾎ take ﾞ; ﾊ to ﾎ take ﾟ too. Their hiragana with
        // the mark follow them in the code page.
        if ((c >= 0xB6 && c <= 0xC4) || (c >= 0xCA && c <= 0xCE))
            tables.joins[c] = kJoinsVoiced;
        if (c >= 0xCA && c <= 0xCE)
            tables.joins[c] |= kJoinsSemiVoiced;
    }
    for (int i = 0; i < '~' - '!' + 1; i++) {
        const char ascii = static_cast<char>(LowerAscii(static_cast<unsigned char>('!' + i)));
        SetDouble(tables, static_cast<unsigned char>(kFullWidthAscii[2 * i]),
                  static_cast<unsigned char>(kFullWidthAscii[2 * i + 1]), &ascii, 1);
    }
    // The other codes of ＂ and ＇, and the ideographic space.
    SetDouble(tables, 0xEE, 0xFB, "'", 1);
    SetDouble(tables, 0xEE, 0xFC, "\"", 1);
    SetDouble(tables, 0x81, 0x40, " ", 1);
    // Katakana ァ to ン: 0x83 0x40 on, skipping the trail 0x7F; the hiragana
    // are one run from 0x82 0x9F.
    for (int trail = 0x40; trail <= kLastKatakanaToFold; trail++) {
        if (trail == 0x7F)
            continue;
        const char hiragana[2] = {'\x82',
                                  static_cast<char>(kFirstHiragana + trail - 0x40 - (trail > 0x7F))};
        SetDouble(tables, 0x83, static_cast<unsigned char>(trail), hiragana, 2);
    }
    SetDouble(tables, 0x83, kVu, kVuKana, 4);
    return true;
}

}  // namespace

int FoldForMatch(const char* text, char* out, const int& room)
{
    if (!out || room <= 0)
        return 0;
    out[0] = 0;
    if (!foldTables && !BuildTables())
        return 0;
    const FoldTables& tables = *foldTables;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text ? text : "");
    unsigned char* written = reinterpret_cast<unsigned char*>(out);
    const unsigned char* const end = written + room - 1;
    while (*p) {
        const unsigned char c = *p;
        FoldedChar folded;
        int read = 1;
        if (tables.leadBytes[c] && p[1]) {
            read = 2;
            const int row = tables.rowOfLead[c];
            if (row && tables.doubles[row - 1][p[1]].length) {
                folded = tables.doubles[row - 1][p[1]];
            } else {
                folded.length = 2;
                folded.bytes[0] = c;
                folded.bytes[1] = p[1];
            }
        } else {
            folded = tables.singles[c];
            const unsigned char joins = tables.joins[c];
            if (joins && ((p[1] == 0xDE && (joins & kJoinsVoiced)) ||
                          (p[1] == 0xDF && (joins & kJoinsSemiVoiced)))) {
                folded.bytes[1] = static_cast<unsigned char>(folded.bytes[1] + (p[1] == 0xDE ? 1 : 2));
                read = 2;
            }
        }
        if (end - written < folded.length)
            break;
        for (int b = 0; b < folded.length; b++)
            *written++ = folded.bytes[b];
        p += read;
    }
    *written = 0;
    return static_cast<int>(written - reinterpret_cast<unsigned char*>(out));
}

namespace {

// Romaji and the kana they spell, in pairs, separated by blanks (no blank is
// ever a byte of a CP932 character).
const char kSyllables[] =
    "a あ i い u う e え o お "
    "ka か ki き ku く ke け ko こ ga が gi ぎ gu ぐ ge げ go ご "
    "sa さ shi し si し su す se せ so そ za ざ ji じ zi じ zu ず ze ぜ zo ぞ "
    "ta た chi ち ti ち tsu つ tu つ te て to と da だ di ぢ du づ de で do ど "
    "na な ni に nu ぬ ne ね no の "
    "ha は hi ひ fu ふ hu ふ he へ ho ほ ba ば bi び bu ぶ be べ bo ぼ "
    "pa ぱ pi ぴ pu ぷ pe ぺ po ぽ ma ま mi み mu む me め mo も "
    "ya や yu ゆ yo よ ra ら ri り ru る re れ ro ろ wa わ wo を "
    "kya きゃ kyu きゅ kyo きょ gya ぎゃ gyu ぎゅ gyo ぎょ "
    "sha しゃ sya しゃ shu しゅ syu しゅ sho しょ syo しょ she しぇ "
    "ja じゃ zya じゃ jya じゃ ju じゅ zyu じゅ jyu じゅ jo じょ zyo じょ jyo じょ je じぇ "
    "cha ちゃ tya ちゃ cya ちゃ chu ちゅ tyu ちゅ cyu ちゅ cho ちょ tyo ちょ cyo ちょ che ちぇ "
    "dya ぢゃ dyu ぢゅ dyo ぢょ nya にゃ nyu にゅ nyo にょ hya ひゃ hyu ひゅ hyo ひょ "
    "bya びゃ byu びゅ byo びょ pya ぴゃ pyu ぴゅ pyo ぴょ mya みゃ myu みゅ myo みょ "
    "rya りゃ ryu りゅ ryo りょ "
    "fa ふぁ fi ふぃ fe ふぇ fo ふぉ wi うぃ we うぇ thi てぃ dhi でぃ "
    "va う゛ぁ vi う゛ぃ vu う゛ ve う゛ぇ vo う゛ぉ "
    "xa ぁ xi ぃ xu ぅ xe ぇ xo ぉ la ぁ li ぃ lu ぅ le ぇ lo ぉ "
    "xya ゃ xyu ゅ xyo ょ lya ゃ lyu ゅ lyo ょ xtu っ xtsu っ ltu っ ltsu っ xwa ゎ lwa ゎ "
    "- ー ";

// The typed text, from text, starts with the romaji of length bytes.
bool StartsWith(const char* text, const char* romaji, const int& length)
{
    for (int i = 0; i < length; i++) {
        if (static_cast<char>(LowerAscii(static_cast<unsigned char>(text[i]))) != romaji[i])
            return false;
    }
    return true;
}

// The longest syllable text starts with: its romaji length and its kana;
// 0 when none. unfinished: whether text is the start of a longer one.
int LongestSyllable(const char* text, const char*& kana, int& kanaLength, bool& unfinished)
{
    int best = 0;
    const int rest = static_cast<int>(strlen(text));
    unfinished = false;
    for (const char* pair = kSyllables; *pair;) {
        const char* blank = strchr(pair, ' ');
        const int length = static_cast<int>(blank - pair);
        const char* spelled = blank + 1;
        const char* after = strchr(spelled, ' ');
        if (length <= rest && length > best && StartsWith(text, pair, length)) {
            best = length;
            kana = spelled;
            kanaLength = static_cast<int>(after - spelled);
        }
        if (length > rest && StartsWith(text, pair, rest))
            unfinished = true;
        pair = after + 1;
    }
    return best;
}

bool IsVowel(const char c)
{
    return c == 'a' || c == 'i' || c == 'u' || c == 'e' || c == 'o';
}

bool IsConsonant(const char c)
{
    return c >= 'a' && c <= 'z' && !IsVowel(c);
}

char LowerAt(const char* p, const int& at)
{
    return static_cast<char>(LowerAscii(static_cast<unsigned char>(p[at])));
}

// The kana that the romaji at p begins with: the bytes of romaji read, or 0
// at an unfinished syllable that ends the text, or -1 when p is no romaji.
int NextKana(const char* p, const char*& kana, int& kanaLength)
{
    const char c = LowerAt(p, 0);
    const char next = c ? LowerAt(p, 1) : 0;
    if (c == 'n' && (next == 'n' || next == '\'')) {
        kana = "ん";
        kanaLength = 2;
        return 2;
    }
    bool unfinished = false;
    const int read = LongestSyllable(p, kana, kanaLength, unfinished);
    if (read)
        return read;
    if (c == 'n' && !IsVowel(next) && next != 'y') {
        kana = "ん";
        kanaLength = 2;
        return 1;
    }
    const bool tch = c == 't' && next == 'c';
    if (IsConsonant(c) && c != 'n' && (next == c || (tch && LowerAt(p, 2) == 'h'))) {
        kana = "っ";
        kanaLength = 2;
        return 1;
    }
    return unfinished || (tch && !p[2]) ? 0 : -1;
}

}  // namespace

bool RomajiToKana(const char* text, char* out, const int& room)
{
    if (!text || !out || room <= 0)
        return false;
    for (const char* p = text; *p; p++) {
        if (static_cast<unsigned char>(*p) >= 0x80)
            return false;
    }
    int written = 0;
    out[0] = 0;
    const char* p = text;
    while (*p) {
        const char* kana = 0;
        int kanaLength = 0;
        const int read = NextKana(p, kana, kanaLength);
        if (read < 0)
            return false;
        if (read == 0)
            break;
        if (written + kanaLength >= room)
            return false;
        memcpy(out + written, kana, kanaLength);
        written += kanaLength;
        out[written] = 0;
        p += read;
    }
    return written > 0;
}
