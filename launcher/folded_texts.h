// A list of texts folded for matching (kana of either script, widths and
// letter case made one, as FoldForMatch does), held in one block like the
// command names. The search beyond the prefix folds the names, comments and
// programs once, when they change, and not at every key press.
#ifndef QUELT_LAUNCHER_FOLDED_TEXTS_H
#define QUELT_LAUNCHER_FOLDED_TEXTS_H

#include "launcher/name_matcher.h"

class CFoldedTexts {
public:
    CFoldedTexts();
    ~CFoldedTexts();

    int Count() const { return count; }
    // The folded text at index, 0 <= index < Count().
    const char* Text(const int& index) const { return block + starts[index]; }
    // Whether the text at index may hold every byte of a text of that mark:
    // false rules a match out without looking at the text.
    bool MayHold(const int& index, const unsigned long long& mark) const
    {
        return (marks[index] & mark) == mark;
    }
    // One bit for each byte value a text holds, 64 of them.
    static unsigned long long MarkOf(const char* text);

    // Empties the list and marks it as made for no source; the blocks stay.
    void Clear();
    // Appends text folded; a null text is taken as empty. False when memory
    // ran out: the list is then cleared.
    bool Add(const char* text);
    // Which state of its source the list was made from, as the owner counts
    // them; 0 after Clear.
    int source;

private:
    char* block;
    int used;
    int room;
    int* starts;
    unsigned long long* marks;
    int count;
    int startsRoom;

    CFoldedTexts(const CFoldedTexts&);
    CFoldedTexts& operator=(const CFoldedTexts&);
};

// Whether folded text holds pattern (folded too): by a part or in order as
// MatchNameBeyondPrefix finds a name, or with wholeOnly only as a whole.
// Fills match but index.
bool MatchFolded(const char* text, const char* pattern, const int& patternLength,
                 const bool& wholeOnly, NameMatch& match);

// The text typed in the box as the folded lists are searched for it: folded,
// or with romaji the kana its ASCII letters spell. False when it gives
// nothing to search for.
bool FoldTyped(const char* typed, const bool& romaji, char* out, const int& room);

#endif
