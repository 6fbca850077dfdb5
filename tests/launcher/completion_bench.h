// Figures of one Tab press: the completion over large command lists beside
// the work it cannot do without.
#ifndef QUELT_TESTS_LAUNCHER_COMPLETION_BENCH_H
#define QUELT_TESTS_LAUNCHER_COMPLETION_BENCH_H

#include "support/string.h"

// Writes its command files into folder (trailing backslash).
void BenchCompletion(const Zint_Std::CString& folder);

#endif
