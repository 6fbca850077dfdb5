// A hidden window with a one-line edit box that the hotkey Alt+1 brings to the
// front, as the launcher's does. It proves that the test desktop delivers a
// global hotkey and typed keys to a Wine program. Files it writes, into the
// folder named on its command line: "ready" once the hotkey is registered,
// "shown" when the hotkey arrived, "typed.txt" with the text when Enter is
// pressed in the box; then it exits.
#include <windows.h>
#include <stdio.h>

namespace {

char g_folder[MAX_PATH];
HWND g_window;
HWND g_edit;

void WriteMarker(const char* name, const char* text)
{
    char path[MAX_PATH * 2];
    wsprintfA(path, "%s\\%s", g_folder, name);
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, 0);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, text, lstrlenA(text), &written, 0);
    CloseHandle(file);
}

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_HOTKEY:
        ShowWindow(window, SW_SHOW);
        SetForegroundWindow(window);
        SetFocus(g_edit);
        WriteMarker("shown", "hotkey");
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    lstrcpynA(g_folder, argv[1], sizeof(g_folder));

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ProbeProc;
    windowClass.hInstance = GetModuleHandleA(0);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "QUELT_KEYBOARD_PROBE";
    RegisterClassA(&windowClass);
    g_window = CreateWindowExA(WS_EX_TOPMOST, "QUELT_KEYBOARD_PROBE", "keyboard probe",
                               WS_POPUP | WS_BORDER, 100, 100, 300, 40, 0, 0,
                               GetModuleHandleA(0), 0);
    g_edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 4, 4, 288,
                             28, g_window, 0, GetModuleHandleA(0), 0);
    if (!g_window || !g_edit)
        return 3;
    if (!RegisterHotKey(g_window, 1, MOD_ALT, '1')) {
        WriteMarker("ready", "hotkey taken");
        return 4;
    }
    WriteMarker("ready", "ok");

    MSG message;
    while (GetMessageA(&message, 0, 0, 0) > 0) {
        if (message.hwnd == g_edit && message.message == WM_KEYDOWN &&
            message.wParam == VK_RETURN) {
            char text[500] = {0};
            SendMessageA(g_edit, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
            WriteMarker("typed.txt", text);
            DestroyWindow(g_window);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    UnregisterHotKey(0, 1);
    return 0;
}
