#include "editor/list_view.h"

#include <commctrl.h>

CListView::CListView() : list(0), columnCount(0) {}

void CListView::Attach(HWND control, const DWORD& extendedStyles)
{
    list = control;
    columnCount = 0;
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, extendedStyles, extendedStyles);
}

void CListView::AddColumn(const char* title, const int& widthPercent)
{
    RECT area;
    GetClientRect(list, &area);
    // Room for a vertical scroll bar, so that a full list needs no
    // horizontal one.
    const int width = area.right - GetSystemMetrics(SM_CXVSCROLL);
    LVCOLUMNA column;
    ZeroMemory(&column, sizeof(column));
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(title);
    column.cx = width * widthPercent / 100;
    column.iSubItem = columnCount;
    SendMessageA(list, LVM_INSERTCOLUMNA, columnCount, reinterpret_cast<LPARAM>(&column));
    columnCount++;
}

int CListView::AddRow(const char* text, const int& data)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = RowCount();
    item.pszText = const_cast<char*>(text ? text : "");
    item.lParam = data;
    return static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void CListView::SetCell(const int& row, const int& column, const char* text)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text ? text : "");
    SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

void CListView::Clear()
{
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
}

int CListView::RowCount() const
{
    return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

int CListView::DataOf(const int& row) const
{
    if (row < 0)
        return -1;
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return -1;
    return static_cast<int>(item.lParam);
}

int CListView::RowOf(const int& data) const
{
    const int rows = RowCount();
    for (int row = 0; row < rows; row++) {
        if (DataOf(row) == data)
            return row;
    }
    return -1;
}

int CListView::SelectedRow() const
{
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
}

void CListView::Select(const int& row)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = 0;
    SendMessageA(list, LVM_SETITEMSTATE, -1, reinterpret_cast<LPARAM>(&item));
    if (row < 0 || row >= RowCount())
        return;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    SendMessageA(list, LVM_ENSUREVISIBLE, row, FALSE);
}

bool CListView::IsChecked(const int& row) const
{
    const UINT state =
        static_cast<UINT>(SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK));
    return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

void CListView::SetChecked(const int& row, const bool& checked)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}
