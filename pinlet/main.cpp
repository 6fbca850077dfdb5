// Pinlet: registers a path with the launcher, or manages its SendTo shortcut.
#include <windows.h>

#include "command_line.h"
#include "pinlet_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // The whole text after the program name is one argument, blanks and
    // quotes included.
    const char* arguments = ArgumentsAfterProgramName(GetCommandLineA());
    CPinletApp app;
    g_pinletApp = &app;
    app.Run(arguments);
    g_pinletApp = 0;
    return 0;
}
