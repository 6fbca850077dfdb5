// Keeps a resizable dialog's items where they belong: each item remembers
// its place at the first size and follows the right or bottom edge as told.
#ifndef QUELT_EDITOR_DIALOG_LAYOUT_H
#define QUELT_EDITOR_DIALOG_LAYOUT_H

#include <windows.h>

// What an item does when the dialog grows.
enum LayoutAnchor {
    kStay = 0,
    kFollowRight = 1,   // moves with the right edge
    kFollowBottom = 2,  // moves with the bottom edge
    kGrowWide = 4,      // its right side follows the right edge
    kGrowTall = 8,      // its bottom follows the bottom edge
};

class CDialogLayout {
public:
    CDialogLayout();

    // Remembers the items' places and the dialog's size as the smallest.
    // Call once from WM_INITDIALOG, after the items are in place.
    void Capture(HWND dialog);
    void Anchor(const int& id, const int& anchors);
    // WM_SIZE.
    void Apply();
    // WM_GETMINMAXINFO: never smaller than the size captured.
    void LimitSize(MINMAXINFO* limits) const;
    // Both of the above for a dialog's message: true (result set) when it
    // was WM_SIZE or WM_GETMINMAXINFO.
    bool HandleSizing(const UINT& message, const LPARAM& lParam, INT_PTR& result);

private:
    struct Placed {
        int id;
        int anchors;
        RECT rect;  // in the client area at the captured size
    };
    static const int kMaxItems = 24;
    HWND window;
    SIZE client;
    SIZE smallest;
    Placed items[kMaxItems];
    int itemCount;
};

#endif
