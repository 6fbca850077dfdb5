// A millisecond stopwatch on the multimedia timer. Construction raises the
// timer resolution to the device minimum; the owner lowers it again with
// timeEndPeriod(caps.wPeriodMin) when the measuring is over.
#ifndef QUELT_PURGEL_STOPWATCH_H
#define QUELT_PURGEL_STOPWATCH_H

#include <windows.h>
#include <mmsystem.h>

class CStopwatch {
public:
    DWORD startMs;   // multimedia system time at construction
    MMTIME reading;  // the last time reading
    TIMECAPS caps;   // the timer device's periods

    CStopwatch();

    // Milliseconds since construction.
    DWORD Elapsed();

private:
    DWORD ReadMs();
};

#endif
