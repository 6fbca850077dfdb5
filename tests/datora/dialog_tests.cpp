// Datora driven through its dialog by a second program, as a user would:
// clicks, typed fields, drops, the warnings and the report, and the files
// of a real tree checked afterwards. Runs with TZ=America/New_York.
#include <windows.h>
#include <stdio.h>
#include <string.h>

#include <gtest/gtest.h>

#include "dialog_driver.h"
#include "support/string.h"
#include "test_paths.h"

using Zint_Std::CString;

namespace {

const int kLimit = 15000;

enum {
    kFolder = 1000,
    kBrowse = 1001,
    kSetAttributes = 1003,
    kSetTime = 1004,
    kRun = 1005,
    kReadOnly = 1006,
    kHidden = 1007,
    kArchive = 1008,
    kSystem = 1009,
    kTimePicker = 1010,
    kDatePicker = 1011,
    kSetNow = 1012,
    kIncludeFolders = 1017,
    kExit = 2
};

FILETIME Utc(const int& year, const int& month, const int& day, const int& hour)
{
    SYSTEMTIME time;
    ZeroMemory(&time, sizeof(time));
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(hour);
    FILETIME result;
    SystemTimeToFileTime(&time, &result);
    return result;
}

WIN32_FILE_ATTRIBUTE_DATA Info(const CString& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    ZeroMemory(&data, sizeof(data));
    GetFileAttributesExA(path.data, GetFileExInfoStandard, &data);
    return data;
}

bool SameTime(const FILETIME& left, const FILETIME& right)
{
    return CompareFileTime(&left, &right) == 0;
}

// The attribute bits that can be told apart: Wine reports every file as
// archived.
DWORD Bits(const CString& path)
{
    return GetFileAttributesA(path.data) &
           (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
}

CString Printed(const char* format, const int& a, const int& b, const int& c)
{
    char text[64];
    wsprintfA(text, format, a, b, c);
    return CString(text);
}

class DatoraDialog : public ::testing::Test {
protected:
    CDatoraDriver datora;
    CString root, sub, a, b, c;
    FILETIME old;

    void SetUp() override
    {
        root = MakeScratchFolder("datora-dialog");
        sub = root + CString("sub");
        ASSERT_TRUE(CreateDirectoryA(sub.data, 0));
        a = root + CString("a.txt");
        b = root + CString("b.txt");
        c = sub + CString("\\c.txt");
        ASSERT_TRUE(WriteTextFile(a, "a"));
        ASSERT_TRUE(WriteTextFile(b, "b"));
        ASSERT_TRUE(WriteTextFile(c, "c"));
        old = Utc(2012, 3, 4, 5);
        SetTimes(a, old);
        SetTimes(b, old);
        SetTimes(c, old);
        SetTimes(sub, old);
        SetTimes(root, old);
        ASSERT_TRUE(datora.Start());
    }

    void TearDown() override
    {
        // Every test ends the way a user does: with the exit button.
        DWORD exitCode = 99;
        if (datora.process.hProcess &&
            WaitForSingleObject(datora.process.hProcess, 0) == WAIT_TIMEOUT) {
            EXPECT_TRUE(datora.CloseWith(kExit, exitCode));
            EXPECT_EQ(0u, exitCode);
        }
        RemoveScratchFolder(root);
    }

    static void SetTimes(const CString& path, const FILETIME& time)
    {
        HANDLE handle = CreateFileA(path.data, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, 0,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, 0);
        ASSERT_NE(INVALID_HANDLE_VALUE, handle);
        ASSERT_TRUE(SetFileTime(handle, &time, &time, &time));
        CloseHandle(handle);
    }

    void ChooseDate(const int& year, const int& month, const int& day)
    {
        ASSERT_TRUE(datora.TypeIntoPicker(kDatePicker,
                                          Printed(">%04d>%02d>%02d", year, month, day).data));
        ASSERT_TRUE(datora.WaitForTextStart(kDatePicker,
                                            Printed("%d年%d月%d日", year, month, day).data, kLimit))
            << datora.Text(kDatePicker).data;
    }

    void ChooseTime(const int& hour, const int& minute, const int& second)
    {
        ASSERT_TRUE(datora.TypeIntoPicker(kTimePicker,
                                          Printed(">%02d>%02d>%02d", hour, minute, second).data));
        ASSERT_TRUE(datora.WaitForTextStart(kTimePicker,
                                            Printed("%d:%02d:%02d", hour, minute, second).data,
                                            kLimit))
            << datora.Text(kTimePicker).data;
    }

    // Presses the change button and reads the box that follows.
    SeenMessageBox RunAndRead(const char* caption)
    {
        SeenMessageBox seen;
        seen.window = 0;
        seen.icon = 0;
        EXPECT_TRUE(datora.PostClick(kRun));
        EXPECT_TRUE(datora.WaitForMessageBox(caption, seen, kLimit)) << caption;
        if (seen.window) {
            EXPECT_TRUE(datora.CloseMessageBox(seen));
        }
        return seen;
    }

    void ExpectTimes(const CString& path, const FILETIME& time)
    {
        WIN32_FILE_ATTRIBUTE_DATA data = Info(path);
        EXPECT_TRUE(SameTime(time, data.ftLastWriteTime)) << path.data;
        EXPECT_TRUE(SameTime(time, data.ftLastAccessTime)) << path.data;
    }

    void ExpectUntouched()
    {
        ExpectTimes(a, old);
        ExpectTimes(b, old);
        ExpectTimes(c, old);
    }
};

bool InDaylightSavingNow()
{
    TIME_ZONE_INFORMATION zone;
    return GetTimeZoneInformation(&zone) == TIME_ZONE_ID_DAYLIGHT;
}

}  // namespace

TEST(TimeZone, TheDriverRunsInEasternTime)
{
    TIME_ZONE_INFORMATION zone;
    ASSERT_NE(TIME_ZONE_ID_INVALID, GetTimeZoneInformation(&zone));
    EXPECT_EQ(300, zone.Bias);
    EXPECT_EQ(-60, zone.DaylightBias);
}

TEST_F(DatoraDialog, OpensWithNothingCheckedAndTheDetailsDisabled)
{
    EXPECT_STREQ("", datora.Text(kFolder).data);
    EXPECT_FALSE(datora.IsChecked(kSetTime));
    EXPECT_FALSE(datora.IsChecked(kSetAttributes));
    EXPECT_FALSE(datora.IsChecked(kIncludeFolders));
    const int disabled[] = {kReadOnly, kHidden, kArchive, kSystem, kDatePicker, kTimePicker, kSetNow};
    for (int id : disabled)
        EXPECT_FALSE(datora.IsEnabled(id)) << id;
    const int enabled[] = {kFolder, kBrowse, kSetTime, kSetAttributes, kIncludeFolders, kRun, kExit};
    for (int id : enabled)
        EXPECT_TRUE(datora.IsEnabled(id)) << id;
    EXPECT_STREQ("ファイル情報一括変更", WindowText(datora.dialog).data);
    EXPECT_STREQ("変更(&T)", datora.Text(kSetTime).data);
    EXPECT_STREQ("フォルダの属性も変更する(&F)", datora.Text(kIncludeFolders).data);
    EXPECT_STREQ("終了(&X)", datora.Text(kExit).data);
    // The pickers start at the current date.
    SYSTEMTIME now;
    GetLocalTime(&now);
    CString today = Printed("%d年%d月%d日", now.wYear, now.wMonth, now.wDay);
    EXPECT_EQ(0, strncmp(today.data, datora.Text(kDatePicker).data, today.GetLength()))
        << datora.Text(kDatePicker).data;
}

TEST_F(DatoraDialog, TheTimeSwitchEnablesThePickersAndSetNow)
{
    ASSERT_TRUE(datora.Click(kSetTime));
    EXPECT_TRUE(datora.IsChecked(kSetTime));
    EXPECT_TRUE(datora.IsEnabled(kDatePicker));
    EXPECT_TRUE(datora.IsEnabled(kTimePicker));
    EXPECT_TRUE(datora.IsEnabled(kSetNow));
    EXPECT_FALSE(datora.IsEnabled(kReadOnly));
    ASSERT_TRUE(datora.Click(kSetTime));
    EXPECT_FALSE(datora.IsEnabled(kDatePicker));
    EXPECT_FALSE(datora.IsEnabled(kTimePicker));
    EXPECT_FALSE(datora.IsEnabled(kSetNow));
}

TEST_F(DatoraDialog, TheAttributeSwitchEnablesTheFourBoxes)
{
    const int boxes[] = {kReadOnly, kHidden, kArchive, kSystem};
    ASSERT_TRUE(datora.Click(kSetAttributes));
    for (int id : boxes)
        EXPECT_TRUE(datora.IsEnabled(id)) << id;
    EXPECT_FALSE(datora.IsEnabled(kDatePicker));
    ASSERT_TRUE(datora.Click(kSetAttributes));
    for (int id : boxes)
        EXPECT_FALSE(datora.IsEnabled(id)) << id;
    EXPECT_TRUE(datora.IsEnabled(kIncludeFolders));
}

TEST_F(DatoraDialog, ABlankFolderIsRefusedBeforeAnythingElse)
{
    ASSERT_TRUE(datora.SetText(kFolder, "   "));
    SeenMessageBox seen = RunAndRead("警告");
    EXPECT_STREQ("フォルダが指定されていません!", seen.text.data);
    EXPECT_TRUE(seen.icon != 0);
    ASSERT_TRUE(datora.Click(kSetTime));
    seen = RunAndRead("警告");
    EXPECT_STREQ("フォルダが指定されていません!", seen.text.data);
    ExpectUntouched();
}

TEST_F(DatoraDialog, AFolderLongerThanTheFieldsBufferIsRefused)
{
    CString folder = root;
    for (int i = 0; i < 250; i++)
        folder += "表";
    ASSERT_TRUE(datora.SetText(kFolder, folder.data));
    ASSERT_TRUE(datora.Click(kSetTime));
    EXPECT_STREQ("フォルダのパスが長すぎます!", RunAndRead("警告").text.data);
    ExpectUntouched();
}

TEST_F(DatoraDialog, NoSwitchMeansNothingToDo)
{
    ASSERT_TRUE(datora.SetText(kFolder, root.data));
    ASSERT_TRUE(datora.Click(kIncludeFolders));
    SeenMessageBox seen = RunAndRead("警告");
    EXPECT_STREQ("意味がありません!", seen.text.data);
    EXPECT_TRUE(seen.icon != 0);
    EXPECT_TRUE(datora.NoMessageBoxWithin("報告", 500));
    ExpectUntouched();
}

TEST_F(DatoraDialog, TheSystemMenuItemShowsTheVersion)
{
    ASSERT_TRUE(PostMessageA(datora.dialog, WM_SYSCOMMAND, 16, 0));
    SeenMessageBox seen;
    ASSERT_TRUE(datora.WaitForMessageBox("バージョン情報", seen, kLimit));
    EXPECT_STREQ("Datora Version 1.20", seen.text.data);
    EXPECT_TRUE(seen.icon == 0);
    EXPECT_TRUE(datora.CloseMessageBox(seen));
}

TEST_F(DatoraDialog, ADroppedFileGivesItsFolder)
{
    const char* items[] = {c.data, 0};
    ASSERT_TRUE(datora.Drop(items));
    CString expected = sub + CString("\\");
    EXPECT_TRUE(datora.WaitForTextStart(kFolder, expected.data, kLimit));
    EXPECT_STREQ(expected.data, datora.Text(kFolder).data);
}

TEST_F(DatoraDialog, ADroppedFolderGetsABackslash)
{
    const char* items[] = {sub.data, 0};
    ASSERT_TRUE(datora.Drop(items));
    CString expected = sub + CString("\\");
    EXPECT_TRUE(datora.WaitForTextStart(kFolder, expected.data, kLimit));
    EXPECT_STREQ(expected.data, datora.Text(kFolder).data);
}

TEST_F(DatoraDialog, OfSeveralDroppedItemsTheFirstCounts)
{
    ASSERT_TRUE(datora.SetText(kFolder, "x"));
    const char* items[] = {a.data, c.data, sub.data, 0};
    ASSERT_TRUE(datora.Drop(items));
    EXPECT_TRUE(datora.WaitForTextStart(kFolder, root.data, kLimit));
    EXPECT_STREQ(root.data, datora.Text(kFolder).data);
}

TEST_F(DatoraDialog, TheWholeTreeGetsTheChosenTimeAndAttributes)
{
    // A date of the other season than today's: the files must show 12:00
    // of that date, which today's offset from UTC would miss by an hour.
    const bool summerNow = InDaylightSavingNow();
    const int month = summerNow ? 1 : 7;
    const FILETIME expected = summerNow ? Utc(2026, 1, 15, 17) : Utc(2026, 7, 15, 16);
    ASSERT_TRUE(datora.SetText(kFolder, root.data));
    ASSERT_TRUE(datora.Click(kSetTime));
    ChooseDate(2026, month, 15);
    ChooseTime(12, 0, 0);
    ASSERT_TRUE(datora.Click(kSetAttributes));
    ASSERT_TRUE(datora.Click(kHidden));
    ASSERT_TRUE(datora.Click(kIncludeFolders));

    SeenMessageBox seen = RunAndRead("報告");
    EXPECT_STREQ("変更は正常に終了しました.\n変更した数：5", seen.text.data);
    EXPECT_TRUE(seen.icon == 0);
    ExpectTimes(a, expected);
    ExpectTimes(b, expected);
    ExpectTimes(c, expected);
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN), Bits(a));
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN), Bits(c));
    // Folders get the attributes and keep their times.
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN), Bits(sub));
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN), Bits(root));
    EXPECT_TRUE(SameTime(old, Info(sub).ftLastWriteTime));
    EXPECT_TRUE(SameTime(old, Info(root).ftLastWriteTime));
}

TEST_F(DatoraDialog, NoAttributeBoxMeansNormal)
{
    ASSERT_TRUE(SetFileAttributesA(a.data, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(SetFileAttributesA(c.data, FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(datora.SetText(kFolder, root.data));
    ASSERT_TRUE(datora.Click(kSetAttributes));
    SeenMessageBox seen = RunAndRead("報告");
    EXPECT_STREQ("変更は正常に終了しました.\n変更した数：3", seen.text.data);
    EXPECT_EQ(0u, Bits(a));
    EXPECT_EQ(0u, Bits(c));
    ExpectUntouched();
}

TEST_F(DatoraDialog, AReadOnlyFileGetsTheTimesAndStaysReadOnly)
{
    ASSERT_TRUE(SetFileAttributesA(b.data, FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(datora.SetText(kFolder, root.data));
    ASSERT_TRUE(datora.Click(kSetTime));
    ChooseDate(2024, 2, 29);
    ChooseTime(8, 30, 0);
    SeenMessageBox seen = RunAndRead("報告");
    EXPECT_STREQ("変更は正常に終了しました.\n変更した数：3", seen.text.data);
    const FILETIME expected = Utc(2024, 2, 29, 13);  // 08:30 EST
    FILETIME withMinutes = expected;
    ULARGE_INTEGER value;
    value.LowPart = withMinutes.dwLowDateTime;
    value.HighPart = withMinutes.dwHighDateTime;
    value.QuadPart += 30ULL * 60 * 10000000;
    withMinutes.dwLowDateTime = value.LowPart;
    withMinutes.dwHighDateTime = value.HighPart;
    ExpectTimes(b, withMinutes);
    ExpectTimes(a, withMinutes);
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_READONLY), Bits(b));
}

TEST_F(DatoraDialog, EntriesThatFailAreCountedAndWarnedOf)
{
    // The icon of the program's warnings, to compare with the report's.
    ASSERT_TRUE(datora.SetText(kFolder, root.data));
    SeenMessageBox warning = RunAndRead("警告");
    ASSERT_TRUE(warning.icon != 0);

    HANDLE busy = CreateFileA(a.data, GENERIC_READ, 0, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, 0);
    ASSERT_NE(INVALID_HANDLE_VALUE, busy);
    ASSERT_TRUE(datora.Click(kSetTime));
    ChooseDate(2021, 11, 1);
    SeenMessageBox seen = RunAndRead("報告");
    CloseHandle(busy);
    EXPECT_STREQ("変更できなかったものがあります.\n変更した数：2\n変更できなかった数：1",
                 seen.text.data);
    EXPECT_TRUE(seen.icon == warning.icon);
    ExpectTimes(a, old);
    EXPECT_FALSE(SameTime(old, Info(b).ftLastWriteTime));
}

TEST_F(DatoraDialog, SetNowPutsTheCurrentTimeIntoBothPickers)
{
    ASSERT_TRUE(datora.SetText(kFolder, root.data));
    ASSERT_TRUE(datora.Click(kSetTime));
    ChooseDate(2019, 6, 1);
    ChooseTime(3, 4, 5);
    FILETIME before;
    GetSystemTimeAsFileTime(&before);
    ASSERT_TRUE(datora.Click(kSetNow));
    SYSTEMTIME now;
    GetLocalTime(&now);
    CString today = Printed("%d年%d月%d日", now.wYear, now.wMonth, now.wDay);
    EXPECT_TRUE(datora.WaitForTextStart(kDatePicker, today.data, kLimit))
        << datora.Text(kDatePicker).data;
    SeenMessageBox seen = RunAndRead("報告");
    EXPECT_STREQ("変更は正常に終了しました.\n変更した数：3", seen.text.data);
    FILETIME after;
    GetSystemTimeAsFileTime(&after);
    // Seconds only: the chosen time has no milliseconds.
    ULARGE_INTEGER low, high, got;
    low.LowPart = before.dwLowDateTime;
    low.HighPart = before.dwHighDateTime;
    low.QuadPart -= 10000000;
    high.LowPart = after.dwLowDateTime;
    high.HighPart = after.dwHighDateTime;
    FILETIME written = Info(c).ftLastWriteTime;
    got.LowPart = written.dwLowDateTime;
    got.HighPart = written.dwHighDateTime;
    EXPECT_LE(low.QuadPart, got.QuadPart);
    EXPECT_GE(high.QuadPart, got.QuadPart);
}

TEST_F(DatoraDialog, TheCloseBoxEndsTheProgram)
{
    ASSERT_TRUE(PostMessageA(datora.dialog, WM_SYSCOMMAND, SC_CLOSE, 0));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(datora.process.hProcess, kLimit));
    DWORD exitCode = 99;
    ASSERT_TRUE(GetExitCodeProcess(datora.process.hProcess, &exitCode));
    EXPECT_EQ(0u, exitCode);
}

TEST_F(DatoraDialog, ATreeWithLinksAndOddNamesChangesOnlyItsOwnEntries)
{
    CHostileTree hostile;
    ASSERT_TRUE(hostile.Build("datora-dialog-hostile")) << hostile.failure;
    const FILETIME keepTime = Info(hostile.outside + "keep.txt").ftLastWriteTime;
    const FILETIME aTime = Info(hostile.tree + "a.txt").ftLastWriteTime;
    ASSERT_TRUE(datora.SetText(kFolder, hostile.tree.data));
    ASSERT_TRUE(datora.Click(kSetTime));
    ChooseDate(2019, 5, 6);
    ASSERT_TRUE(datora.Click(kSetAttributes));
    ASSERT_TRUE(datora.Click(kHidden));

    SeenMessageBox seen = RunAndRead("報告");
    const int refused = hostile.unusableNames + hostile.tooDeep;
    // a.txt, sub\b.txt and 表\c.txt changed; the rest is reported. Without
    // the folders only the link to a file is listed.
    CString expected;
    expected.Format("変更できなかったものがあります.\n変更した数：%d\n変更できなかった数：%d\n"
                    "（うち名前が使えないかパスが長すぎるため扱えなかった数：%d）\n"
                    "リンクのため変更しなかった数：1",
                    3, refused, refused);
    EXPECT_STREQ(expected.data, seen.text.data);
    EXPECT_FALSE(SameTime(aTime, Info(hostile.tree + "a.txt").ftLastWriteTime));
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN), Bits(hostile.tree + "表\\c.txt"));
    std::string why;
    EXPECT_TRUE(hostile.OutsideIsIntact(why)) << why;
    EXPECT_TRUE(hostile.UnusableNamesStay(why)) << why;
    EXPECT_TRUE(SameTime(keepTime, Info(hostile.outside + "keep.txt").ftLastWriteTime));
    hostile.Remove();
}
