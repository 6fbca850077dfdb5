// A report-style list view of a dialog: columns, rows that carry a number
// of the caller (the index of what they show), selection and check boxes.
#ifndef QUELT_EDITOR_LIST_VIEW_H
#define QUELT_EDITOR_LIST_VIEW_H

#include <windows.h>

class CListView {
public:
    HWND list;

    CListView();
    void Attach(HWND control, const DWORD& extendedStyles);

    // widthPercent: a share of the list's client width.
    void AddColumn(const char* title, const int& widthPercent);
    // Appends a row showing text in the first column; its row number.
    int AddRow(const char* text, const int& data);
    void SetCell(const int& row, const int& column, const char* text);
    void Clear();
    int RowCount() const;
    // The caller's number of the row; -1 when there is no such row.
    int DataOf(const int& row) const;
    // The row carrying data; -1.
    int RowOf(const int& data) const;

    // -1 when nothing is selected.
    int SelectedRow() const;
    // Selects, focuses and scrolls to the row; -1 takes the selection away.
    void Select(const int& row);

    bool IsChecked(const int& row) const;
    void SetChecked(const int& row, const bool& checked);

private:
    int columnCount;
};

#endif
