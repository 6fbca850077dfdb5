// The clock and the median of the launcher's benchmark figures.
#ifndef QUELT_TESTS_LAUNCHER_BENCH_CLOCK_H
#define QUELT_TESTS_LAUNCHER_BENCH_CLOCK_H

#include <windows.h>
#include <stdlib.h>

// Seconds on the performance counter.
inline double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline int CompareDoubles(const void* a, const void* b)
{
    double x = *static_cast<const double*>(a), y = *static_cast<const double*>(b);
    return x < y ? -1 : x > y ? 1
                              : 0;
}

// Sorts values and returns the middle one.
inline double Median(double* values, int count)
{
    qsort(values, count, sizeof(double), CompareDoubles);
    return values[count / 2];
}

#endif
