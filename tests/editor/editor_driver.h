// Drives a dialog of another process (the launcher's editors) with real
// window messages: texts, check boxes, buttons, combo boxes, list views
// (read through memory in that process) and its message boxes. Every wait
// has a time limit.
#ifndef QUELT_TESTS_EDITOR_DRIVER_H
#define QUELT_TESTS_EDITOR_DRIVER_H

#include <windows.h>

#include "support/string.h"

class CDialogUnderTest {
public:
    HWND dialog;
    DWORD processId;

    CDialogUnderTest();
    ~CDialogUnderTest();

    // Waits for a visible dialog of the process with this caption.
    bool WaitFor(const DWORD& process, const char* caption);
    bool IsOpen() const;
    // Gives the X keyboard focus to the dialog's own X window, so that real
    // keys (xdotool) reach it.
    bool FocusForKeys();
    // Waits until the dialog is gone.
    bool WaitClosed();

    HWND Item(const int& id) const;
    Zint_Std::CString Text(const int& id) const;
    // Sets an edit's text as typing would (the dialog sees EN_CHANGE).
    bool SetText(const int& id, const char* text);
    bool IsChecked(const int& id) const;
    bool IsEnabled(const int& id) const;
    bool SetChecked(const int& id, const bool& checked);
    // A button press, posted so that a modal box it opens does not block
    // the driver.
    bool Click(const int& id);
    // Selects an entry of a combo box (as the user picks it).
    bool SelectComboItem(const int& id, const int& index);
    int ComboSelection(const int& id) const;
    Zint_Std::CString ComboText(const int& id, const int& index) const;

    // List views.
    int RowCount(const int& id) const;
    Zint_Std::CString Cell(const int& id, const int& row, const int& column) const;
    // The row whose first column equals text; -1.
    int FindRow(const int& id, const char* text) const;
    bool SelectRow(const int& id, const int& row);
    int SelectedRow(const int& id) const;
    bool IsRowChecked(const int& id, const int& row) const;
    bool SetRowChecked(const int& id, const int& row, const bool& checked);
    // Waits until the list view has count rows.
    bool WaitRowCount(const int& id, const int& count);
    // Where a row's label lies on the screen, to point at it with the mouse.
    bool RowScreenRect(const int& id, const int& row, RECT& rect) const;

    // A message box of the process with the caption, owned by this dialog
    // or by any of its windows; 0 when none came.
    HWND WaitForMessageBox(const char* caption, const DWORD& timeoutMs = 15000) const;
    // Answers a message box with a button (IDOK, IDYES, IDNO...) and waits
    // until it is gone.
    static bool Answer(HWND box, const int& button);

private:
    HANDLE process;
    bool OpenProcessMemory();
    bool SetItemState(const int& id, const int& row, const UINT& state, const UINT& mask);
};

// Any window text, read with WM_GETTEXT (works across processes).
Zint_Std::CString TextOfWindow(HWND window);
// The static text of a message box.
Zint_Std::CString MessageBoxLabel(HWND box);

#endif
