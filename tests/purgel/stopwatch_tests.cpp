#include "stopwatch.h"

#include <gtest/gtest.h>

TEST(Stopwatch, CountsMillisecondsFromConstruction)
{
    CStopwatch stopwatch;
    EXPECT_GT(stopwatch.caps.wPeriodMin, 0u);
    EXPECT_LT(stopwatch.Elapsed(), 100u);
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 300) {
    }
    DWORD elapsed = stopwatch.Elapsed();
    EXPECT_GE(elapsed, 280u);
    EXPECT_LT(elapsed, 2000u);
    EXPECT_EQ(static_cast<UINT>(TIMERR_NOERROR), timeEndPeriod(stopwatch.caps.wPeriodMin));
}
