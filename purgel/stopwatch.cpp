#include "stopwatch.h"

CStopwatch::CStopwatch() : startMs(0)
{
    ZeroMemory(&reading, sizeof(reading));
    ZeroMemory(&caps, sizeof(caps));
    timeGetDevCaps(&caps, sizeof(caps));
    timeBeginPeriod(caps.wPeriodMin);
    startMs = ReadMs();
}

DWORD CStopwatch::Elapsed()
{
    // Unsigned subtraction stays right across the 49-day wrap.
    return ReadMs() - startMs;
}

DWORD CStopwatch::ReadMs()
{
    reading.wType = TIME_MS;
    timeGetSystemTime(&reading, sizeof(reading));
    return reading.u.ms;
}
