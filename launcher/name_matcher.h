// Finding command names by any part of them: names that contain the typed
// text, then names that hold its characters in order, best first.
#ifndef QUELT_LAUNCHER_NAME_MATCHER_H
#define QUELT_LAUNCHER_NAME_MATCHER_H

// How one name matched; the fields are the order of the ranking.
struct NameMatch {
    int kind;      // 0: contains the text, 1: holds its characters in order
    int inWord;    // 0: the match starts a word, 1: it starts inside one
    int position;  // byte offset where the match starts
    int length;    // bytes of the name
    int index;     // the name's place in the list: ties keep the list's order
};

// Whether name holds typed (A to Z lower-cased, as the completion does)
// anywhere or in order; letter case counts for A to Z only, and a
// double-byte character matches only itself, whole. Fills match but index.
bool MatchNameBeyondPrefix(const char* name, const char* typed, const int& typedLength,
                           NameMatch& match);
// Sorts best first.
void OrderNameMatches(NameMatch* matches, const int& count);

// The best matches offered, best first, at most kMostMatches of them: the
// list of a key press without sorting every name that matched.
class CBestMatches {
public:
    enum { kMostMatches = 200 };
    NameMatch items[kMostMatches];
    int count;

    CBestMatches() : count(0) {}
    void Offer(const NameMatch& match);
};

#endif
