// The lines submitted in the input box, newest first, walked with Up and
// Down.
#ifndef QUELT_LAUNCHER_INPUT_HISTORY_H
#define QUELT_LAUNCHER_INPUT_HISTORY_H

#include "support/array.h"
#include "support/string.h"

class CInputHistory {
public:
    int cursor;                                   // entry shown in the box; -1 when none is
    int capacity;                                 // most entries kept
    Zint_Std::CArray<Zint_Std::CString> entries;  // newest at 0

    explicit CInputHistory(const int& maxEntries);

    // Every line counts, an empty one or a repeat as well.
    void Add(const Zint_Std::CString& line);
    // The text to show for one step back or forward; never null.
    const char* Older();
    const char* Newer();
    // Drops the oldest entries beyond maxEntries and takes it as capacity.
    void Limit(const int& maxEntries);
};

#endif
