// Purgel: deletes temporary files as Purgel.ini says and shows the counts.
#include <windows.h>

#include "purgel_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    CPurgelApp app(instance);
    g_purgelApp = &app;
    int exitCode = app.Run();
    g_purgelApp = 0;
    return exitCode;
}
