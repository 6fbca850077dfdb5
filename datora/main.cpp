// Datora: sets the time stamps and attributes of everything under a folder.
#include <windows.h>
#include <commctrl.h>

#include "datora/change_dialog.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    CChangeDialog dialog(instance, GetDesktopWindow());
    INITCOMMONCONTROLSEX controls;
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_DATE_CLASSES;
    InitCommonControlsEx(&controls);
    dialog.Run();
    return 0;
}
