#include "support/handles.h"

namespace Zint_Std {

bool CStartedProcess::Start(const char* program, char* commandLine, const bool& inheritHandles,
                            const char* folder, const bool& hidden)
{
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    if (hidden) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
    }
    PROCESS_INFORMATION started;
    ZeroMemory(&started, sizeof(started));
    if (!CreateProcessA(program, commandLine, 0, 0, inheritHandles ? TRUE : FALSE,
                        hidden ? CREATE_NO_WINDOW : 0, 0, folder, &startup, &started))
        return false;
    process.handle = started.hProcess;
    thread.handle = started.hThread;
    return true;
}

}  // namespace Zint_Std
