// A borderless, pale yellow, black-framed text window sized to its text: the
// result balloon. Options place it topmost or centred, show it without
// activation, hide it after a time or when it loses activation.
#ifndef QUELT_PURGEL_BALLOON_WND_H
#define QUELT_PURGEL_BALLOON_WND_H

#include <windows.h>

#include "support/string.h"

// Option bits of CBalloonWnd::flags.
const int kBalloonTopmost = 0x01;           // HWND_TOPMOST, else HWND_TOP
const int kBalloonHideOnDeactivate = 0x02;  // hide when deactivated
const int kBalloonAutoHide = 0x04;          // hide after showTime ms (timer 1234)
const int kBalloonCentred = 0x08;           // centre on the desktop
const int kBalloonCentreLines = 0x10;       // DT_CENTER for every line
const int kBalloonNoActivate = 0x20;        // SWP_NOACTIVATE

const UINT_PTR kBalloonTimerId = 1234;
extern const char kBalloonClassName[];

class CBalloonWnd {
public:
    HINSTANCE hInstance;
    HWND hOwner;
    HWND hWnd;  // null before creation and after destruction
    int flags;
    Zint_Std::CString text;
    int showTime;  // ms for kBalloonAutoHide
    int x;
    int y;
    LOGFONTA font;

    CBalloonWnd(HINSTANCE instance, HWND owner);
    ~CBalloonWnd();

    // Shows text with the given options; without a font the default one is
    // used. False when there is no window.
    bool Show(const Zint_Std::CString& text, const int& flags, const int& x, const int& y,
              const int& showTime, const LOGFONTA* font);
    void Hide();

    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Paints the balloon over client into target through a memory context.
    void Paint(HDC target, const RECT& client);

    // The fixed-pitch Shift-JIS font used when Show is given none.
    static void SetDefaultFont(LOGFONTA& font);

private:
    CBalloonWnd(const CBalloonWnd&) = delete;
    CBalloonWnd& operator=(const CBalloonWnd&) = delete;

    bool RegisterWindowClass();
    void CreateBalloonWindow();
    UINT TextFormat(const UINT& base) const;
};

// The live balloon of the process; the window procedure forwards to it.
extern CBalloonWnd* g_balloonWnd;

LRESULT CALLBACK BalloonWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
