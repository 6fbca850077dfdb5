#include "balloon_wnd.h"

#include "support/handles.h"

using Zint_Std::CString;

const char kBalloonClassName[] = "ZINT_TOOLTIP_WND";
CBalloonWnd* g_balloonWnd = 0;

namespace {

// DT_NOPREFIX | DT_NOCLIP | DT_VCENTER | DT_CALCRECT
const UINT kMeasureFormat = 0xD04;
// DT_NOPREFIX | DT_VCENTER
const UINT kPaintFormat = 0x804;
const COLORREF kBalloonColour = 0x00AAFAFA;

}  // namespace

LRESULT CALLBACK BalloonWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Messages of the creation arrive before the object is known.
    if (!g_balloonWnd)
        return DefWindowProcA(window, message, wParam, lParam);
    return g_balloonWnd->HandleMessage(window, message, wParam, lParam);
}

CBalloonWnd::CBalloonWnd(HINSTANCE instance, HWND owner)
    : hInstance(instance), hOwner(owner), hWnd(0), flags(0), showTime(0), x(0), y(0)
{
    ZeroMemory(&font, sizeof(font));
    CreateBalloonWindow();
    g_balloonWnd = this;
}

CBalloonWnd::~CBalloonWnd()
{
    if (hWnd)
        DestroyWindow(hWnd);
    hWnd = 0;
    hOwner = 0;
    hInstance = 0;
    if (g_balloonWnd == this)
        g_balloonWnd = 0;
    text.Empty();
}

bool CBalloonWnd::RegisterWindowClass()
{
    WNDCLASSA windowClass;
    ZeroMemory(&windowClass, sizeof(windowClass));
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = BalloonWndProc;
    windowClass.hInstance = hInstance;
    windowClass.hCursor = LoadCursorA(0, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszClassName = kBalloonClassName;
    if (RegisterClassA(&windowClass))
        return true;
    // The class stays registered after an earlier balloon of this process;
    // it serves again as long as it is ours.
    WNDCLASSA existing;
    return GetLastError() == ERROR_CLASS_ALREADY_EXISTS &&
           GetClassInfoA(hInstance, kBalloonClassName, &existing) &&
           existing.lpfnWndProc == BalloonWndProc;
}

void CBalloonWnd::CreateBalloonWindow()
{
    if (!RegisterWindowClass())
        return;
    hWnd = CreateWindowExA(WS_EX_TOOLWINDOW, kBalloonClassName, 0, WS_POPUP, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hOwner, 0, hInstance, 0);
    if (hWnd)
        ShowWindow(hWnd, SW_HIDE);
}

void CBalloonWnd::SetDefaultFont(LOGFONTA& font)
{
    ZeroMemory(&font, sizeof(font));
    font.lfHeight = -13;
    font.lfWeight = 400;
    font.lfCharSet = 128;
    font.lfOutPrecision = 3;
    font.lfClipPrecision = 2;
    font.lfQuality = 1;
    font.lfPitchAndFamily = 0x31;
    lstrcpynA(font.lfFaceName, "ＭＳ ゴシック", sizeof(font.lfFaceName));
}

UINT CBalloonWnd::TextFormat(const UINT& base) const
{
    return (flags & kBalloonCentreLines) ? base | DT_CENTER : base;
}

bool CBalloonWnd::Show(const CString& newText, const int& newFlags, const int& newX,
                       const int& newY, const int& newShowTime, const LOGFONTA* newFont)
{
    if (!hInstance || !hWnd)
        return false;
    text.Assign(newText);
    x = newX;
    y = newY;
    showTime = newShowTime;
    flags = newFlags;
    if (newFont)
        font = *newFont;
    else
        SetDefaultFont(font);
    const char* shown = text.Text();
    // Other programs (and accessibility tools) read the text with WM_GETTEXT;
    // without a caption the window text is never drawn.
    SetWindowTextA(hWnd, shown);

    RECT measured = {0, 0, 0, 0};
    HDC dc = GetDC(hWnd);
    {
        Zint_Std::CGdiSelection textFont(dc, CreateFontIndirectA(&font));
        DrawTextA(dc, shown, -1, &measured, TextFormat(kMeasureFormat));
    }
    ReleaseDC(hWnd, dc);
    int width = measured.right + 4;
    int height = measured.bottom + 2;

    if (flags & kBalloonCentred) {
        RECT desktop;
        GetClientRect(GetDesktopWindow(), &desktop);
        x = desktop.right / 2 - width / 2;
        y = desktop.bottom / 2 - height / 2;
    }
    UINT placement = (flags & kBalloonNoActivate) ? SWP_SHOWWINDOW | SWP_NOACTIVATE
                                                  : SWP_SHOWWINDOW;
    SetWindowPos(hWnd, (flags & kBalloonTopmost) ? HWND_TOPMOST : HWND_TOP, x, y, width, height,
                 placement);
    if (flags & kBalloonAutoHide)
        SetTimer(hWnd, kBalloonTimerId, showTime, 0);
    return true;
}

void CBalloonWnd::Hide()
{
    ShowWindow(hWnd, SW_HIDE);
}

LRESULT CBalloonWnd::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        if (flags & kBalloonAutoHide) {
            flags &= ~kBalloonAutoHide;
            KillTimer(window, kBalloonTimerId);
        }
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE && (flags & kBalloonHideOnDeactivate))
            Hide();
        break;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        Paint(dc, client);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 0;  // the paint covers every pixel
    case WM_NCCALCSIZE:
        return 0;  // no frame: the whole window is client area
    case WM_TIMER:
        if (wParam == kBalloonTimerId && (flags & kBalloonAutoHide)) {
            Hide();
            flags &= ~kBalloonAutoHide;
            KillTimer(window, kBalloonTimerId);
        }
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void CBalloonWnd::Paint(HDC target, const RECT& client)
{
    Zint_Std::CMemoryPaint paint(target, client);
    HDC memory = paint.dc;
    Zint_Std::CGdiSelection brush(memory, CreateSolidBrush(kBalloonColour));
    Zint_Std::CGdiSelection pen(memory, CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    Zint_Std::CGdiSelection textFont(memory, CreateFontIndirectA(&font));

    Rectangle(memory, client.left, client.top, client.right, client.bottom);
    RECT textArea = {client.left + 2, client.top + 1, client.right - 2, client.bottom - 1};
    SetBkMode(memory, TRANSPARENT);
    const char* shown = text.Text();
    DrawTextA(memory, shown, text.GetLength(), &textArea, TextFormat(kPaintFormat));
}
