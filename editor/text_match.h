// Finding typed text inside command names, paths and comments: the letters
// A-Z match in either case, and a match starts and ends on whole
// characters, so a trail byte never passes for an ASCII letter.
#ifndef QUELT_EDITOR_TEXT_MATCH_H
#define QUELT_EDITOR_TEXT_MATCH_H

// True when part occurs in text; an empty part occurs everywhere.
bool ContainsText(const char* text, const char* part);

#endif
