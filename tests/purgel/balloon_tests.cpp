#include "balloon_wnd.h"

#include <windows.h>
#include <string.h>

#include <algorithm>

#include <gtest/gtest.h>

using Zint_Std::CString;

namespace {

const char kThreeLines[] = "[クリーン終了]\n 削除したファイル数 :   5 \n 削除したフォルダ数 :  12 ";

HINSTANCE Instance()
{
    return GetModuleHandleA(0);
}

RECT WindowRect(HWND window)
{
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(window, &rect);
    return rect;
}

// Width of the widest line and the number of lines, measured independently
// of the balloon with the default font on the screen.
void MeasureLines(const char* text, int& widest, int& lines, int& lineHeight)
{
    LOGFONTA font;
    CBalloonWnd::SetDefaultFont(font);
    HDC screen = GetDC(0);
    HFONT created = CreateFontIndirectA(&font);
    HGDIOBJ previous = SelectObject(screen, created);
    TEXTMETRICA metrics;
    GetTextMetricsA(screen, &metrics);
    lineHeight = metrics.tmHeight;
    widest = 0;
    lines = 0;
    const char* start = text;
    for (;;) {
        const char* end = strchr(start, '\n');
        int length = end ? static_cast<int>(end - start) : lstrlenA(start);
        SIZE size = {0, 0};
        GetTextExtentPoint32A(screen, start, length, &size);
        widest = std::max(widest, static_cast<int>(size.cx));
        lines++;
        if (!end)
            break;
        start = end + 1;
    }
    SelectObject(screen, previous);
    DeleteObject(created);
    ReleaseDC(0, screen);
}

// Delivers posted and timer messages until done() holds or time runs out.
template <class Condition>
bool PumpUntil(Condition done, const DWORD& limitMs)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > limitMs)
            return false;
        MsgWaitForMultipleObjects(0, 0, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, 0, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return true;
}

// An ordinary window of the test, to take the activation away.
HWND MakeOtherWindow()
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = Instance();
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = "PURGEL_TEST_OTHER";
        registered = RegisterClassA(&windowClass) != 0;
    }
    HWND window = CreateWindowExA(0, "PURGEL_TEST_OTHER", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  50, 50, 200, 100, 0, 0, Instance(), 0);
    return window;
}

void Activate(HWND window)
{
    SetForegroundWindow(window);
    SetActiveWindow(window);
}

}  // namespace

TEST(BalloonWnd, IsCreatedHiddenAndKnownToTheProcess)
{
    CBalloonWnd balloon(Instance(), GetDesktopWindow());
    ASSERT_NE(nullptr, balloon.hWnd);
    EXPECT_EQ(&balloon, g_balloonWnd);
    EXPECT_FALSE(IsWindowVisible(balloon.hWnd));
    char className[64] = {0};
    GetClassNameA(balloon.hWnd, className, sizeof(className));
    EXPECT_STREQ("ZINT_TOOLTIP_WND", className);
    LONG style = GetWindowLongA(balloon.hWnd, GWL_STYLE);
    LONG exStyle = GetWindowLongA(balloon.hWnd, GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME));
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_EQ(0, balloon.flags);
    EXPECT_TRUE(balloon.text.IsEmpty());
}

TEST(BalloonWnd, DestructionDestroysTheWindowAndForgetsTheObject)
{
    HWND window = 0;
    {
        CBalloonWnd balloon(Instance(), GetDesktopWindow());
        window = balloon.hWnd;
        ASSERT_TRUE(IsWindow(window));
    }
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, g_balloonWnd);
}

TEST(BalloonWnd, EveryBalloonOfTheProcessGetsAWindow)
{
    for (int i = 0; i < 3; i++) {
        CBalloonWnd balloon(Instance(), GetDesktopWindow());
        ASSERT_NE(nullptr, balloon.hWnd) << "balloon " << i;
        EXPECT_TRUE(balloon.Show(CString("again"), 0, 0, 0, 0, 0));
    }
}

TEST(BalloonWnd, MessagesWithoutTheObjectGetDefaultProcessing)
{
    CBalloonWnd balloon(Instance(), GetDesktopWindow());
    HDC dc = GetDC(balloon.hWnd);
    // The balloon paints every pixel itself and never lets the background be
    // erased; without the object the class brush does it.
    EXPECT_EQ(0, BalloonWndProc(balloon.hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0));
    g_balloonWnd = 0;
    LRESULT erased = BalloonWndProc(balloon.hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    g_balloonWnd = &balloon;
    ReleaseDC(balloon.hWnd, dc);
    EXPECT_NE(0, erased);
}

TEST(BalloonWnd, ShowWithoutAWindowFails)
{
    CBalloonWnd balloon(Instance(), GetDesktopWindow());
    DestroyWindow(balloon.hWnd);
    balloon.hWnd = 0;
    EXPECT_FALSE(balloon.Show(CString("x"), 0, 0, 0, 0, 0));
    CBalloonWnd orphan(0, GetDesktopWindow());
    EXPECT_FALSE(orphan.Show(CString("x"), 0, 0, 0, 0, 0));
}

TEST(BalloonWnd, WindowIsSizedToTheTextAtTheGivenPlace)
{
    CBalloonWnd balloon(Instance(), GetDesktopWindow());
    ASSERT_TRUE(balloon.Show(CString(kThreeLines), kBalloonNoActivate, 30, 40, 0, 0));
    int widest = 0;
    int lines = 0;
    int lineHeight = 0;
    MeasureLines(kThreeLines, widest, lines, lineHeight);
    ASSERT_EQ(3, lines);
    RECT rect = WindowRect(balloon.hWnd);
    EXPECT_TRUE(IsWindowVisible(balloon.hWnd));
    EXPECT_EQ(30, rect.left);
    EXPECT_EQ(40, rect.top);
    EXPECT_EQ(widest + 4, rect.right - rect.left);
    EXPECT_EQ(3 * lineHeight + 2, rect.bottom - rect.top);
    // The whole window is client area.
    RECT client;
    GetClientRect(balloon.hWnd, &client);
    EXPECT_EQ(rect.right - rect.left, client.right);
    EXPECT_EQ(rect.bottom - rect.top, client.bottom);
    EXPECT_EQ(30, balloon.x);
    EXPECT_EQ(40, balloon.y);
}

TEST(BalloonWnd, OtherProcessesReadTheTextAsTheWindowText)
{
    CBalloonWnd balloon(Instance(), GetDesktopWindow());
    ASSERT_TRUE(balloon.Show(CString(kThreeLines), kBalloonNoActivate, 0, 0, 0, 0));
    char text[256] = {0};
    SendMessageA(balloon.hWnd, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(kThreeLines, text);
    EXPECT_STREQ(kThreeLines, balloon.text.data);
}

TEST(BalloonWnd, CentredOnTheDesktopClientArea)
{
    CBalloonWnd balloon(Instance(), GetDesktopWindow());
    ASSERT_TRUE(balloon.Show(CString(kThreeLines), kBalloonCentred | kBalloonNoActivate, 5, 5, 0,
                             0));
    RECT desktop;
    GetClientRect(GetDesktopWindow(), &desktop);
    RECT rect = WindowRect(balloon.hWnd);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    EXPECT_EQ(desktop.right / 2 - width / 2, rect.left);
    EXPECT_EQ(desktop.bottom / 2 - height / 2, rect.top);
    EXPECT_EQ(rect.left, balloon.x);
    EXPECT_EQ(rect.top, balloon.y);
}

TEST(BalloonWnd, TopmostOnlyWithItsBit)
{
    CBalloonWnd balloon(Instance(), GetDesktopWindow());
    ASSERT_TRUE(balloon.Show(CString("plain"), kBalloonNoActivate, 0, 0, 0, 0));
    EXPECT_FALSE(GetWindowLongA(balloon.hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    ASSERT_TRUE(balloon.Show(CString("top"), kBalloonTopmost | kBalloonNoActivate, 0, 0, 0, 0));
    EXPECT_TRUE(GetWindowLongA(balloon.hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST(BalloonWnd, ActivatedUnlessTheNoActivateBitIsSet)
{
    HWND other = MakeOtherWindow();
    ASSERT_NE(nullptr, other);
    Activate(other);
    ASSERT_EQ(other, GetActiveWindow());
    {
        CBalloonWnd balloon(Instance(), GetDesktopWindow());
        ASSERT_TRUE(balloon.Show(CString("quiet"), kBalloonNoActivate, 0, 0, 0, 0));
        EXPECT_TRUE(IsWindowVisible(balloon.hWnd));
        EXPECT_EQ(other, GetActiveWindow());
        ASSERT_TRUE(balloon.Show(CString("loud"), 0, 0, 0, 0, 0));
        EXPECT_EQ(balloon.hWnd, GetActiveWindow());
    }
    DestroyWindow(other);
}

TEST(BalloonWnd, HidesItselfAfterTheDisplayTimeWithTheTimerBit)
{
    CBalloonWnd balloon(Instance(), GetDesktopWindow());
    DWORD shown = GetTickCount();
    ASSERT_TRUE(balloon.Show(CString("timed"), kBalloonAutoHide | kBalloonNoActivate, 0, 0, 1000,
                             0));
    ASSERT_TRUE(IsWindowVisible(balloon.hWnd));
    HWND window = balloon.hWnd;
    ASSERT_TRUE(PumpUntil([window] { return !IsWindowVisible(window); }, 10000))
        << "the balloon did not hide itself";
    DWORD elapsed = GetTickCount() - shown;
    EXPECT_GE(elapsed, 950u);
    EXPECT_LT(elapsed, 5000u);
    EXPECT_EQ(0, balloon.flags & kBalloonAutoHide);
    EXPECT_TRUE(IsWindow(window));
}

TEST(BalloonWnd, StaysWithoutTheTimerBit)
{
    CBalloonWnd balloon(Instance(), GetDesktopWindow());
    ASSERT_TRUE(balloon.Show(CString("stays"), kBalloonNoActivate, 0, 0, 300, 0));
    DWORD start = GetTickCount();
    // Give a timer, had one been set, more than twice its time.
    PumpUntil([start] { return GetTickCount() - start > 700; }, 5000);
    EXPECT_TRUE(IsWindowVisible(balloon.hWnd));
}

TEST(BalloonWnd, DestroyingTheWindowClearsTheTimerBit)
{
    CBalloonWnd balloon(Instance(), GetDesktopWindow());
    ASSERT_TRUE(balloon.Show(CString("timed"), kBalloonAutoHide | kBalloonNoActivate, 0, 0, 60000,
                             0));
    EXPECT_TRUE(balloon.flags & kBalloonAutoHide);
    DestroyWindow(balloon.hWnd);
    EXPECT_EQ(0, balloon.flags & kBalloonAutoHide);
    balloon.hWnd = 0;
}

TEST(BalloonWnd, HidesWhenDeactivatedWithItsBit)
{
    HWND other = MakeOtherWindow();
    ASSERT_NE(nullptr, other);
    {
        CBalloonWnd balloon(Instance(), GetDesktopWindow());
        ASSERT_TRUE(balloon.Show(CString("deactivate me"), kBalloonHideOnDeactivate, 0, 0, 0, 0));
        ASSERT_EQ(balloon.hWnd, GetActiveWindow());
        Activate(other);
        HWND window = balloon.hWnd;
        EXPECT_TRUE(PumpUntil([window] { return !IsWindowVisible(window); }, 5000));
    }
    DestroyWindow(other);
}

TEST(BalloonWnd, StaysWhenDeactivatedWithoutItsBit)
{
    HWND other = MakeOtherWindow();
    ASSERT_NE(nullptr, other);
    {
        CBalloonWnd balloon(Instance(), GetDesktopWindow());
        ASSERT_TRUE(balloon.Show(CString("keep me"), 0, 0, 0, 0, 0));
        ASSERT_EQ(balloon.hWnd, GetActiveWindow());
        Activate(other);
        HWND window = balloon.hWnd;
        ASSERT_TRUE(PumpUntil([other] { return GetActiveWindow() == other; }, 5000));
        EXPECT_TRUE(IsWindowVisible(window));
    }
    DestroyWindow(other);
}

TEST(BalloonWnd, AGivenFontIsUsedForTheSize)
{
    CBalloonWnd balloon(Instance(), GetDesktopWindow());
    ASSERT_TRUE(balloon.Show(CString("size"), kBalloonNoActivate, 0, 0, 0, 0));
    RECT small = WindowRect(balloon.hWnd);
    LOGFONTA big;
    CBalloonWnd::SetDefaultFont(big);
    big.lfHeight = -39;
    ASSERT_TRUE(balloon.Show(CString("size"), kBalloonNoActivate, 0, 0, 0, &big));
    RECT large = WindowRect(balloon.hWnd);
    EXPECT_EQ(-39, balloon.font.lfHeight);
    EXPECT_GT(large.bottom - large.top, 2 * (small.bottom - small.top));
    // Show without a font goes back to the default one.
    ASSERT_TRUE(balloon.Show(CString("size"), kBalloonNoActivate, 0, 0, 0, 0));
    EXPECT_EQ(-13, balloon.font.lfHeight);
    EXPECT_STREQ("ＭＳ ゴシック", balloon.font.lfFaceName);
    EXPECT_EQ(128, balloon.font.lfCharSet);
    EXPECT_EQ(0x31, balloon.font.lfPitchAndFamily);
}

namespace {

// The balloon painted into a 32-bit bitmap of its client size.
class PaintedBalloon {
public:
    PaintedBalloon(CBalloonWnd& balloon)
    {
        GetClientRect(balloon.hWnd, &client);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = client.right;
        info.bmiHeader.biHeight = -client.bottom;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc = CreateCompatibleDC(0);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, 0, 0, 0);
        previous = SelectObject(dc, bitmap);
        balloon.Paint(dc, client);
    }
    ~PaintedBalloon()
    {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
    // Leftmost column holding a black text pixel in rows top to bottom.
    int FirstInkColumn(int top, int bottom) const
    {
        for (int x = 2; x < client.right - 2; x++)
            for (int y = top; y < bottom; y++)
                if (At(x, y) != 0x00AAFAFA)
                    return x;
        return -1;
    }

    RECT client;

private:
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
};

}  // namespace

TEST(BalloonWnd, PaintsAPaleYellowBlackFramedRectangleWithTheText)
{
    CBalloonWnd balloon(Instance(), GetDesktopWindow());
    ASSERT_TRUE(balloon.Show(CString(kThreeLines), kBalloonNoActivate, 0, 0, 0, 0));
    PaintedBalloon painted(balloon);
    int right = painted.client.right - 1;
    int bottom = painted.client.bottom - 1;
    EXPECT_EQ(0u, painted.At(0, 0));
    EXPECT_EQ(0u, painted.At(right, bottom));
    EXPECT_EQ(0u, painted.At(right / 2, 0));
    EXPECT_EQ(0u, painted.At(0, bottom / 2));
    EXPECT_EQ(0x00AAFAFAu, painted.At(1, 1));
    EXPECT_EQ(0x00AAFAFAu, painted.At(right - 1, bottom - 1));
    int ink = 0;
    for (int x = 2; x < right - 1; x++)
        for (int y = 1; y < bottom; y++)
            if (painted.At(x, y) == 0)
                ink++;
    EXPECT_GT(ink, 100) << "no text was drawn";
}

TEST(BalloonWnd, CentresEveryLineWithItsBit)
{
    const char text[] = "a long first line of text\nshort";
    int firstLeft = 0;
    int shortLeft = 0;
    int shortCentred = 0;
    int lineHeight = 0;
    {
        CBalloonWnd balloon(Instance(), GetDesktopWindow());
        ASSERT_TRUE(balloon.Show(CString(text), kBalloonNoActivate, 0, 0, 0, 0));
        PaintedBalloon painted(balloon);
        lineHeight = (painted.client.bottom - 2) / 2;
        firstLeft = painted.FirstInkColumn(1, 1 + lineHeight);
        shortLeft = painted.FirstInkColumn(1 + lineHeight, painted.client.bottom - 1);
    }
    {
        CBalloonWnd balloon(Instance(), GetDesktopWindow());
        ASSERT_TRUE(balloon.Show(CString(text), kBalloonCentreLines | kBalloonNoActivate, 0, 0, 0,
                                 0));
        PaintedBalloon painted(balloon);
        shortCentred = painted.FirstInkColumn(1 + lineHeight, painted.client.bottom - 1);
        EXPECT_EQ(firstLeft, painted.FirstInkColumn(1, 1 + lineHeight));
    }
    EXPECT_LT(shortLeft - firstLeft, 3);
    EXPECT_GT(shortCentred, shortLeft + 20);
}
