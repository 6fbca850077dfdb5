#include "editor/dialog_layout.h"

CDialogLayout::CDialogLayout() : window(0), itemCount(0)
{
    client.cx = client.cy = 0;
    smallest.cx = smallest.cy = 0;
}

void CDialogLayout::Capture(HWND dialog)
{
    window = dialog;
    RECT area;
    GetClientRect(dialog, &area);
    client.cx = area.right;
    client.cy = area.bottom;
    RECT outer;
    GetWindowRect(dialog, &outer);
    smallest.cx = outer.right - outer.left;
    smallest.cy = outer.bottom - outer.top;
}

void CDialogLayout::Anchor(const int& id, const int& anchors)
{
    HWND item = GetDlgItem(window, id);
    if (!item || itemCount >= kMaxItems)
        return;
    Placed& placed = items[itemCount++];
    placed.id = id;
    placed.anchors = anchors;
    GetWindowRect(item, &placed.rect);
    MapWindowPoints(0, window, reinterpret_cast<POINT*>(&placed.rect), 2);
}

void CDialogLayout::Apply()
{
    if (!window || itemCount == 0)
        return;
    RECT area;
    GetClientRect(window, &area);
    // Minimised: keep the layout as it is.
    if (area.right == 0 && area.bottom == 0)
        return;
    const int dx = area.right - client.cx;
    const int dy = area.bottom - client.cy;
    HDWP moves = BeginDeferWindowPos(itemCount);
    for (int i = 0; i < itemCount && moves; i++) {
        const Placed& placed = items[i];
        RECT r = placed.rect;
        if (placed.anchors & kFollowRight) {
            r.left += dx;
            r.right += dx;
        } else if (placed.anchors & kGrowWide) {
            r.right += dx;
        }
        if (placed.anchors & kFollowBottom) {
            r.top += dy;
            r.bottom += dy;
        } else if (placed.anchors & kGrowTall) {
            r.bottom += dy;
        }
        HWND item = GetDlgItem(window, placed.id);
        if (item)
            moves = DeferWindowPos(moves, item, 0, r.left, r.top, r.right - r.left,
                                   r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (moves)
        EndDeferWindowPos(moves);
    // Items that moved are painted at once, the dialog's background with them.
    RedrawWindow(window, 0, 0, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void CDialogLayout::LimitSize(MINMAXINFO* limits) const
{
    if (!limits || smallest.cx == 0)
        return;
    limits->ptMinTrackSize.x = smallest.cx;
    limits->ptMinTrackSize.y = smallest.cy;
}

bool CDialogLayout::HandleSizing(const UINT& message, const LPARAM& lParam, INT_PTR& result)
{
    if (message == WM_SIZE)
        Apply();
    else if (message == WM_GETMINMAXINFO)
        LimitSize(reinterpret_cast<MINMAXINFO*>(lParam));
    else
        return false;
    result = 0;
    return true;
}
