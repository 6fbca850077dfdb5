// The yardstick of the launcher benchmark: a program that registers one
// window class, creates one hidden window and runs a message loop.
#include <windows.h>

static LRESULT CALLBACK MinimalProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = MinimalProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "QUELT_BENCH_MINIMAL";
    if (!RegisterClassA(&windowClass))
        return 1;
    if (!CreateWindowExA(0, "QUELT_BENCH_MINIMAL", "minimal", WS_CAPTION, 0, 0, 100, 40, 0, 0,
                         instance, 0))
        return 1;
    MSG message;
    while (GetMessageA(&message, 0, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
