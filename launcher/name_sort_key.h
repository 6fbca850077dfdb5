// The locale's sort key of a command name: a byte string that compares, with
// strcmp, the way lstrcmpiA compares the names themselves, so that a list
// is sorted with each key made once instead of one locale comparison per
// step.
#ifndef QUELT_LAUNCHER_NAME_SORT_KEY_H
#define QUELT_LAUNCHER_NAME_SORT_KEY_H

#include <windows.h>

// The key of name (nameLength bytes and a zero) into key, which has room for
// size bytes: its length with the terminating zero. 0 when the locale made
// none; -n when it needs n bytes of room. A key with a zero byte inside
// cannot be compared this way and counts as none.
int MakeNameSortKey(const LCID& locale, const char* name, const int& nameLength, char* key,
                    const int& size);

#endif
