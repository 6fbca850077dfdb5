#include <windows.h>

#include "launcher/launcher_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    CLauncherApp* app = new CLauncherApp(instance);
    int result = app->Run();
    delete app;
    return result;
}
