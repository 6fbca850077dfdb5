#include "launcher/folded_texts.h"

#include <windows.h>
#include <stdlib.h>
#include <string.h>

#include "launcher/japanese_fold.h"

CFoldedTexts::CFoldedTexts()
    : source(0), block(0), used(0), room(0), starts(0), marks(0), count(0), startsRoom(0)
{
}

CFoldedTexts::~CFoldedTexts()
{
    free(block);
    free(starts);
    free(marks);
}

unsigned long long CFoldedTexts::MarkOf(const char* text)
{
    unsigned long long mark = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; p++)
        mark |= 1ULL << (*p & 63);
    return mark;
}

void CFoldedTexts::Clear()
{
    used = 0;
    count = 0;
    source = 0;
}

namespace {

// Grows a block to hold at least needed bytes, by half again at least, so
// that tens of thousands of appends move it a few dozen times.
bool Grow(void*& memory, int& room, const int& needed)
{
    if (needed <= room)
        return true;
    int wanted = room + room / 2;
    if (wanted < needed)
        wanted = needed;
    if (wanted < 4096)
        wanted = 4096;
    void* grown = realloc(memory, wanted);
    if (!grown)
        return false;
    memory = grown;
    room = wanted;
    return true;
}

}  // namespace

bool CFoldedTexts::Add(const char* text)
{
    if (!text)
        text = "";
    // Folding never makes a text more than twice as long.
    const int length = lstrlenA(text);
    void* memory = block;
    bool grown = Grow(memory, room, used + length * 2 + 1);
    block = static_cast<char*>(memory);
    if (grown && count == startsRoom) {
        const int wanted = startsRoom ? startsRoom * 2 : 1024;
        memory = realloc(starts, sizeof(int) * wanted);
        if (memory)
            starts = static_cast<int*>(memory);
        memory = memory ? realloc(marks, sizeof(unsigned long long) * wanted) : 0;
        if (memory) {
            marks = static_cast<unsigned long long*>(memory);
            startsRoom = wanted;
        }
        grown = memory != 0;
    }
    if (!grown) {
        Clear();
        return false;
    }
    starts[count] = used;
    used += FoldForMatch(text, block + used, room - used) + 1;
    marks[count] = MarkOf(block + starts[count]);
    count++;
    return true;
}

bool MatchFolded(const char* text, const char* pattern, const int& patternLength,
                 const bool& wholeOnly, NameMatch& match)
{
    if (!MatchNameBeyondPrefix(text, pattern, patternLength, match))
        return false;
    return !wholeOnly || match.kind == 0;
}

bool FoldTyped(const char* typed, const bool& romaji, char* out, const int& room)
{
    if (!romaji)
        return FoldForMatch(typed, out, room) > 0;
    // ASCII text only; the kana it spells are already hiragana, as the
    // folded lists hold them.
    return RomajiToKana(typed, out, room) && *out;
}
