#include "launcher/name_matcher.h"

#include <windows.h>
#include <stdlib.h>
#include <string.h>

#include "support/mbcs.h"
#include "support/string.h"

using Zint_Std::FoldAsciiCase;

namespace {

bool IsAsciiLetterOrDigit(const unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The code page's lead bytes, asked once: the search looks at every byte of
// tens of thousands of names per key press.
const unsigned char* const leadBytes = Zint_Std::LeadByteTable();

int CharacterWidth(const unsigned char* text)
{
    return Zint_Std::CharacterWidth(leadBytes, text);
}

// A word starts the name, follows a blank or sign, follows a double-byte
// character, or is a capital after a small letter ("MyApp").
bool StartsWord(const unsigned char* name, const int& at, const int& previous)
{
    if (at == 0)
        return true;
    const unsigned char before = name[previous];
    if (at - previous == 2)
        return true;
    if (!IsAsciiLetterOrDigit(before))
        return true;
    return before >= 'a' && before <= 'z' && name[at] >= 'A' && name[at] <= 'Z';
}

// The typed character at typed[t] equals the name's character at n.
bool SameCharacter(const unsigned char* name, const int& n, const unsigned char* typed,
                   const int& t, const int& width)
{
    if (width == 2)
        return CharacterWidth(name + n) == 2 && name[n] == typed[t] && name[n + 1] == typed[t + 1];
    return CharacterWidth(name + n) == 1 && FoldAsciiCase(name[n]) == typed[t];
}

// The whole typed text at name[at], character by character.
bool ContainsAt(const unsigned char* name, const int& at, const unsigned char* typed,
                const int& typedLength)
{
    int n = at;
    int t = 0;
    while (t < typedLength) {
        if (!name[n])
            return false;
        const int width = CharacterWidth(typed + t);
        if (!SameCharacter(name, n, typed, t, width))
            return false;
        n += width;
        t += width;
    }
    return true;
}

int CompareMatches(const void* left, const void* right)
{
    const NameMatch& a = *static_cast<const NameMatch*>(left);
    const NameMatch& b = *static_cast<const NameMatch*>(right);
    if (a.kind != b.kind)
        return a.kind - b.kind;
    if (a.inWord != b.inWord)
        return a.inWord - b.inWord;
    if (a.position != b.position)
        return a.position - b.position;
    if (a.length != b.length)
        return a.length - b.length;
    return a.index - b.index;
}

}  // namespace

bool MatchNameBeyondPrefix(const char* nameText, const char* typedText, const int& typedLength,
                           NameMatch& match)
{
    const unsigned char* name = reinterpret_cast<const unsigned char*>(nameText);
    const unsigned char* typed = reinterpret_cast<const unsigned char*>(typedText);
    if (!name || !typed || typedLength <= 0)
        return false;
    // Its characters in order, each taken at its first place: the weaker
    // condition, which most names already fail.
    int t = 0;
    int start = -1;
    int beforeStart = 0;
    int startInWord = 1;
    int previous = 0;
    int n = 0;
    for (; name[n] && t < typedLength; previous = n, n += CharacterWidth(name + n)) {
        const int width = CharacterWidth(typed + t);
        if (!SameCharacter(name, n, typed, t, width))
            continue;
        if (start < 0) {
            start = n;
            beforeStart = previous;
            startInWord = StartsWord(name, n, previous) ? 0 : 1;
        }
        t += width;
    }
    if (t < typedLength)
        return false;
    while (name[n])
        n++;
    match.length = n;
    match.kind = 1;
    match.inWord = startInWord;
    match.position = start;
    // The text itself, from where its first character was found: a start
    // of a word is better than the first place.
    int firstAt = -1;
    int firstInWord = 1;
    previous = beforeStart;
    for (int at = start; name[at]; previous = at, at += CharacterWidth(name + at)) {
        if (!ContainsAt(name, at, typed, typedLength))
            continue;
        const bool wordStart = StartsWord(name, at, previous);
        if (firstAt < 0 || wordStart) {
            firstAt = at;
            firstInWord = wordStart ? 0 : 1;
            if (wordStart)
                break;
        }
    }
    if (firstAt >= 0) {
        match.kind = 0;
        match.inWord = firstInWord;
        match.position = firstAt;
    }
    return true;
}

void CBestMatches::Offer(const NameMatch& match)
{
    if (count == kMostMatches && CompareMatches(&match, &items[count - 1]) >= 0)
        return;
    // The place after every match that is as good or better.
    int low = 0;
    int high = count;
    while (low < high) {
        const int middle = (low + high) / 2;
        if (CompareMatches(&items[middle], &match) <= 0)
            low = middle + 1;
        else
            high = middle;
    }
    const int kept = count < kMostMatches ? count : kMostMatches - 1;
    memmove(items + low + 1, items + low, sizeof(NameMatch) * (kept - low));
    items[low] = match;
    if (count < kMostMatches)
        count++;
}

void OrderNameMatches(NameMatch* matches, const int& count)
{
    if (matches && count > 1)
        qsort(matches, count, sizeof(NameMatch), CompareMatches);
}
