// The chosen local date and time become the UTC file time applied to the
// files. These tests run with TZ=Europe/Berlin (Wine takes the zone from the
// Unix side): one hour ahead of UTC in winter, two in summer.
#include <windows.h>

#include <gtest/gtest.h>

#include "datora/tree_change.h"

namespace {

SYSTEMTIME Date(const int& year, const int& month, const int& day)
{
    SYSTEMTIME date;
    ZeroMemory(&date, sizeof(date));
    date.wYear = static_cast<WORD>(year);
    date.wMonth = static_cast<WORD>(month);
    date.wDay = static_cast<WORD>(day);
    // What a picker leaves in the time fields of a date.
    date.wHour = 23;
    date.wMinute = 59;
    date.wSecond = 58;
    date.wMilliseconds = 777;
    return date;
}

SYSTEMTIME TimeOfDay(const int& hour, const int& minute, const int& second)
{
    SYSTEMTIME time;
    ZeroMemory(&time, sizeof(time));
    // The picker of the time keeps some date; it must not matter.
    time.wYear = 2001;
    time.wMonth = 2;
    time.wDay = 3;
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    time.wSecond = static_cast<WORD>(second);
    time.wMilliseconds = 456;
    return time;
}

SYSTEMTIME ToSystemTime(const FILETIME& time)
{
    SYSTEMTIME result;
    ZeroMemory(&result, sizeof(result));
    FileTimeToSystemTime(&time, &result);
    return result;
}

void ExpectUtc(const FILETIME& time, const int& year, const int& month, const int& day,
               const int& hour, const int& minute, const int& second)
{
    SYSTEMTIME utc = ToSystemTime(time);
    EXPECT_EQ(year, utc.wYear);
    EXPECT_EQ(month, utc.wMonth);
    EXPECT_EQ(day, utc.wDay);
    EXPECT_EQ(hour, utc.wHour);
    EXPECT_EQ(minute, utc.wMinute);
    EXPECT_EQ(second, utc.wSecond);
    EXPECT_EQ(0, utc.wMilliseconds);
}

bool InDaylightSavingNow()
{
    TIME_ZONE_INFORMATION zone;
    return GetTimeZoneInformation(&zone) == TIME_ZONE_ID_DAYLIGHT;
}

}  // namespace

TEST(TimeZone, TheTestProcessRunsInCentralEuropeanTime)
{
    TIME_ZONE_INFORMATION zone;
    DWORD state = GetTimeZoneInformation(&zone);
    ASSERT_NE(TIME_ZONE_ID_INVALID, state);
    EXPECT_EQ(-60, zone.Bias);
    EXPECT_EQ(-60, zone.DaylightBias);
    EXPECT_EQ(3, zone.DaylightDate.wMonth);
    EXPECT_EQ(10, zone.StandardDate.wMonth);
}

TEST(ChosenTime, WinterDateUsesTheWinterOffset)
{
    FILETIME utc;
    ASSERT_TRUE(ChosenTimeToFileTime(Date(2026, 1, 15), TimeOfDay(12, 0, 0), utc));
    ExpectUtc(utc, 2026, 1, 15, 11, 0, 0);
}

TEST(ChosenTime, SummerDateUsesTheSummerOffset)
{
    FILETIME utc;
    ASSERT_TRUE(ChosenTimeToFileTime(Date(2026, 7, 15), TimeOfDay(12, 0, 0), utc));
    ExpectUtc(utc, 2026, 7, 15, 10, 0, 0);
}

TEST(ChosenTime, TakesTheDateOfOnePickerAndTheTimeOfTheOther)
{
    FILETIME utc;
    ASSERT_TRUE(ChosenTimeToFileTime(Date(2025, 11, 30), TimeOfDay(0, 30, 15), utc));
    ExpectUtc(utc, 2025, 11, 29, 23, 30, 15);
}

TEST(ChosenTime, ShowsTheChosenHourInTheOtherSeasonThanToday)
{
    // A date in the season that is not today's: today's offset from UTC
    // would put the files an hour off, the zone's rules for that date do not.
    SYSTEMTIME date = InDaylightSavingNow() ? Date(2026, 1, 20) : Date(2026, 7, 20);
    FILETIME utc;
    ASSERT_TRUE(ChosenTimeToFileTime(date, TimeOfDay(12, 0, 0), utc));

    SYSTEMTIME universal = ToSystemTime(utc);
    SYSTEMTIME shown;
    ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(0, &universal, &shown));
    EXPECT_EQ(20, shown.wDay);
    EXPECT_EQ(12, shown.wHour);
    EXPECT_EQ(0, shown.wMinute);

    // Today's offset gives a different instant, an hour apart.
    SYSTEMTIME local = date;
    local.wHour = 12;
    local.wMinute = 0;
    local.wSecond = 0;
    local.wMilliseconds = 0;
    FILETIME localFile;
    FILETIME withTodaysOffset;
    ASSERT_TRUE(SystemTimeToFileTime(&local, &localFile));
    ASSERT_TRUE(LocalFileTimeToFileTime(&localFile, &withTodaysOffset));
    ULARGE_INTEGER chosen, today;
    chosen.LowPart = utc.dwLowDateTime;
    chosen.HighPart = utc.dwHighDateTime;
    today.LowPart = withTodaysOffset.dwLowDateTime;
    today.HighPart = withTodaysOffset.dwHighDateTime;
    const ULONGLONG hour = 36000000000ULL;
    EXPECT_EQ(hour, chosen.QuadPart > today.QuadPart ? chosen.QuadPart - today.QuadPart
                                                     : today.QuadPart - chosen.QuadPart);
}

TEST(ChosenTime, FatAndExFatHoldOnlyTheYears1980To2107)
{
    static const struct {
        const char* fileSystem;
        int year;
        bool takes;
    } kCases[] = {
        {"FAT", 1979, false}, {"FAT32", 1980, true}, {"fat16", 2107, true}, {"exFAT", 2108, false}, {"NTFS", 1970, true}, {"NTFS", 2200, true}};
    for (size_t i = 0; i < sizeof(kCases) / sizeof(kCases[0]); i++)
        EXPECT_EQ(kCases[i].takes, FileSystemTakesYear(kCases[i].fileSystem, kCases[i].year)) << i;
}

TEST(ChosenTime, ATimeThatCannotBeConvertedStopsWithAReason)
{
    FILETIME utc;
    Zint_Std::CString problem;
    EXPECT_FALSE(PrepareChosenTime("C:\\", Date(2026, 13, 1), TimeOfDay(12, 0, 0), utc, problem));
    EXPECT_STREQ("選んだ日時を変換できませんでした.\n日付と時刻を選び直してください.", problem.data);
    // Wine's drive is no FAT volume: any year it can convert is taken.
    EXPECT_TRUE(PrepareChosenTime("C:\\", Date(1970, 1, 2), TimeOfDay(12, 0, 0), utc, problem));
}
