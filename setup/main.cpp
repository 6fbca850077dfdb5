#include <windows.h>
#include <stdlib.h>

#include "setup_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    CSetupApp app(instance);
    return app.Run(commandLine, __argc, __argv);
}
