// How far several names agree after the text they were found for: what
// Tab adds to the box when more than one name remains.
#ifndef QUELT_LAUNCHER_SHARED_PREFIX_H
#define QUELT_LAUNCHER_SHARED_PREFIX_H

// How many bytes after the first typedLength bytes every candidate shares
// with the first one, at most limit; -1 when every candidate ends there. A
// double-byte character counts whole or not at all: it is shared only when
// both of its bytes are, and one that the limit would cut is left out. Case
// is folded for single-byte A to Z only.
int SharedLength(const char* const* candidates, const int& count, const int& typedLength,
                 const int& limit);

#endif
