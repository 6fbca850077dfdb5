#include "launcher/tooltip_window.h"

#include <string.h>

#include "support/handles.h"

using Zint_Std::CString;
using Zint_Std::CStringPair;

namespace {

CToolTipWindow* theToolTipWindow = 0;
bool classRegistered = false;

// A fixed-pitch font, so that the colons of the rows line up.
void DescribeListFont(LOGFONTA& font)
{
    memset(&font, 0, sizeof(font));
    font.lfHeight = -13;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = SHIFTJIS_CHARSET;
    font.lfOutPrecision = OUT_STROKE_PRECIS;
    font.lfClipPrecision = CLIP_STROKE_PRECIS;
    font.lfQuality = DRAFT_QUALITY;
    font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    lstrcpynA(font.lfFaceName, "ＭＳ ゴシック", LF_FACESIZE);
}

// A row's text: the name followed by its detail.
CString RowText(const CStringPair& entry)
{
    CString row(entry.first);
    row.Append(entry.second);
    return row;
}

}  // namespace

CToolTipWindow::CToolTipWindow(HINSTANCE instanceHandle, HWND ownerWindow)
    : instance(instanceHandle), window(0), owner(ownerWindow), selected(-1)
{
    DescribeListFont(font);
    CreateListWindow();
}

CToolTipWindow::~CToolTipWindow()
{
    if (window)
        DestroyWindow(window);
    window = 0;
}

void CToolTipWindow::CreateListWindow()
{
    if (!classRegistered) {
        WNDCLASSA windowClass;
        memset(&windowClass, 0, sizeof(windowClass));
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = ToolTipWndProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorA(0, IDC_ARROW);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        windowClass.lpszClassName = kToolTipWindowClass;
        if (!RegisterClassA(&windowClass))
            return;
        classRegistered = true;
    }
    window = CreateWindowExA(WS_EX_TOOLWINDOW, kToolTipWindowClass, "", WS_POPUP, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, 0, instance, 0);
    if (window)
        ShowWindow(window, SW_HIDE);
}

bool CToolTipWindow::Show(const CString& text, const int& x, const int& y)
{
    if (!window || text.IsEmpty() || entries.count <= 0)
        return false;
    currentText = text;
    selected = -1;
    HDC dc = GetDC(window);
    int width = 0;
    int height = 0;
    {
        Zint_Std::CGdiSelection listFont(dc, CreateFontIndirectA(&font));
        for (int i = 0; i < entries.count; i++) {
            CString row = RowText(entries.items[i]);
            SIZE size = {0, 0};
            GetTextExtentPoint32A(dc, row.Text(), row.GetLength(), &size);
            if (size.cx > width)
                width = size.cx;
            if (size.cy > height)
                height = size.cy;
        }
    }
    ReleaseDC(window, dc);
    SetWindowPos(window, HWND_TOP, x, y, width + 4, height * entries.count + 2,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    // The rows may be the same size as before: paint the new ones anyway.
    InvalidateRect(window, 0, FALSE);
    return true;
}

bool CToolTipWindow::Hide()
{
    if (!window)
        return false;
    ShowWindow(window, SW_HIDE);
    if (currentText.data)
        memset(currentText.data, 0, currentText.capacity);
    selected = -1;
    return true;
}

const char* CToolTipWindow::Cycle(const CString& text, const bool& backwards)
{
    if (!window || text.IsEmpty() || entries.count <= 0)
        return 0;
    if (!text.EqualsNoCase(currentText))
        return 0;
    if (backwards) {
        selected--;
        if (selected < 0)
            selected = entries.count - 1;
    } else {
        selected++;
        if (selected >= entries.count)
            selected = 0;
    }
    currentText = entries.items[selected].first;
    InvalidateRect(window, 0, FALSE);
    return entries.items[selected].first.Text();
}

void CToolTipWindow::Paint(HDC target)
{
    RECT client;
    GetClientRect(window, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    // Drawn off screen and copied in one step, so the rows never flicker.
    Zint_Std::CMemoryPaint paint(target, client);
    HDC memory = paint.dc;
    Zint_Std::CGdiSelection background(memory, CreateSolidBrush(GetSysColor(COLOR_INFOBK)));
    Zint_Std::CGdiSelection frame(memory, CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    Zint_Std::CGdiSelection listFont(memory, CreateFontIndirectA(&font));
    Rectangle(memory, 0, 0, width, height);
    SetBkMode(memory, TRANSPARENT);
    if (entries.count > 0) {
        const int rowHeight = (height - 2) / entries.count;
        for (int i = 0; i < entries.count; i++) {
            const int y = client.top + 1 + i * rowHeight;
            if (i == selected) {
                RECT row = {client.left + 1, y, client.right - 1, y + rowHeight};
                HBRUSH highlight = CreateSolidBrush(GetSysColor(COLOR_HIGHLIGHT));
                FillRect(memory, &row, highlight);
                DeleteObject(highlight);
                SetTextColor(memory, GetSysColor(COLOR_HIGHLIGHTTEXT));
            } else {
                SetTextColor(memory, GetSysColor(COLOR_INFOTEXT));
            }
            CString text = RowText(entries.items[i]);
            TextOutA(memory, client.left + 2, y, text.Text(), text.GetLength());
        }
    }
}

CToolTipWindow* CreateToolTipWindow(HINSTANCE instance, HWND owner)
{
    if (!theToolTipWindow)
        theToolTipWindow = new CToolTipWindow(instance, owner);
    return theToolTipWindow;
}

void DestroyToolTipWindow()
{
    CToolTipWindow* object = theToolTipWindow;
    if (!object)
        return;
    // The window's last messages find no object and take the default path.
    theToolTipWindow = 0;
    delete object;
}

LRESULT CALLBACK ToolTipWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CToolTipWindow* object = theToolTipWindow;
    if (!object)
        return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE)
            ShowWindow(window, SW_HIDE);
        break;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        object->Paint(dc);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 0;
    case WM_NCCALCSIZE:
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
