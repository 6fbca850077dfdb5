// The candidate list below the input box: a popup that never takes the
// focus, one row per command with its comment, and the highlighted row that
// Tab moves. There is at most one in the program.
#ifndef QUELT_LAUNCHER_TOOLTIP_WINDOW_H
#define QUELT_LAUNCHER_TOOLTIP_WINDOW_H

#include <windows.h>

#include "support/array.h"
#include "support/string.h"

const char kToolTipWindowClass[] = "__QUELT_TOOLTIP_WND__";

class CToolTipWindow {
public:
    HINSTANCE instance;
    HWND window;  // null when it could not be created
    HWND owner;
    Zint_Std::CString currentText;  // what the list was shown or cycled for
    // first: the command name; second: blanks, " : " and the comment.
    Zint_Std::CArray<Zint_Std::CStringPair> entries;
    int selected;  // highlighted row; -1 when none
    LOGFONTA font;

    CToolTipWindow(HINSTANCE instanceHandle, HWND ownerWindow);
    ~CToolTipWindow();

    // Shows the rows with their top-left corner at the screen point x, y.
    bool Show(const Zint_Std::CString& text, const int& x, const int& y);
    bool Hide();
    // Moves the highlight when text is the list's current text (letter case
    // aside); returns the name of the highlighted row, or null.
    const char* Cycle(const Zint_Std::CString& text, const bool& backwards);
    void Paint(HDC target);

private:
    void CreateListWindow();
};

// The single object, created on the first call.
CToolTipWindow* CreateToolTipWindow(HINSTANCE instance, HWND owner);
void DestroyToolTipWindow();
LRESULT CALLBACK ToolTipWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
