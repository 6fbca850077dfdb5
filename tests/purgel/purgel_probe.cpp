// Helper of the end-to-end check of Purgel, run under Wine beside it:
//   folders OUT                 writes the Windows, recent and temporary folders
//   attrib PATH HEX [PATH HEX]  sets file attributes
//   getattr PATH                prints the attributes in hex
//   hold PATH READY STOP [delete]
//                               keeps PATH open until STOP exists, sharing
//                               nothing or, with "delete", only its deletion
//   run EXE TEMP REPORT SHOWN   starts EXE with TEMP and TMP set to TEMP and
//                               watches its balloon from outside: SHOWN gets
//                               the text once the balloon is visible, REPORT
//                               the text, geometry, times and exit code.
#include <windows.h>
#include <shlobj.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

const char kBalloonClass[] = "ZINT_TOOLTIP_WND";

bool WriteBytes(const char* path, const char* bytes, int length)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, 0);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes, length, &written, 0);
    CloseHandle(file);
    return ok && written == static_cast<DWORD>(length);
}

bool Exists(const char* path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

int Folders(const char* out)
{
    char windows[MAX_PATH] = {0};
    char recent[MAX_PATH] = {0};
    char temp[MAX_PATH] = {0};
    GetWindowsDirectoryA(windows, sizeof(windows));
    if (!SHGetSpecialFolderPathA(0, recent, CSIDL_RECENT, TRUE))
        return 3;
    GetTempPathA(sizeof(temp), temp);
    char text[4 * MAX_PATH];
    int length = wsprintfA(text, "windows=%s\nrecent=%s\ntemp=%s\n", windows, recent, temp);
    return WriteBytes(out, text, length) ? 0 : 4;
}

int Attrib(int count, char** pairs)
{
    for (int i = 0; i + 1 < count; i += 2) {
        DWORD attributes = strtoul(pairs[i + 1], 0, 16);
        if (!SetFileAttributesA(pairs[i], attributes)) {
            fprintf(stderr, "cannot set attributes of %s\n", pairs[i]);
            return 3;
        }
    }
    return 0;
}

int GetAttrib(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return 3;
    printf("%lx\n", attributes);
    return 0;
}

int Hold(const char* path, const char* ready, const char* stop, const DWORD& sharing)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, sharing, 0, OPEN_EXISTING, 0, 0);
    if (file == INVALID_HANDLE_VALUE)
        return 3;
    WriteBytes(ready, "held", 4);
    // Never longer than two minutes, should the check die before it stops us.
    DWORD start = GetTickCount();
    while (!Exists(stop) && GetTickCount() - start < 120000)
        Sleep(20);
    CloseHandle(file);
    return 0;
}

struct BalloonSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindBalloon(HWND window, LPARAM data)
{
    BalloonSearch* search = reinterpret_cast<BalloonSearch*>(data);
    char className[64] = {0};
    GetClassNameA(window, className, sizeof(className));
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && !strcmp(className, kBalloonClass)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND BalloonOf(DWORD processId)
{
    BalloonSearch search = {processId, 0};
    EnumWindows(FindBalloon, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int Run(const char* program, const char* temp, const char* report, const char* shownMarker)
{
    SetEnvironmentVariableA("TEMP", temp);
    SetEnvironmentVariableA("TMP", temp);
    char commandLine[MAX_PATH + 4];
    wsprintfA(commandLine, "\"%s\"", program);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    DWORD launched = GetTickCount();
    if (!CreateProcessA(program, commandLine, 0, 0, FALSE, 0, 0, 0, &startup, &process))
        return 3;

    char text[1024] = {0};
    RECT window = {0, 0, 0, 0};
    RECT desktop = {0, 0, 0, 0};
    LONG exStyle = 0;
    DWORD shownAt = 0;
    DWORD goneAt = 0;
    bool seen = false;
    // Time limits: 60 s to appear, 30 s to go.
    while (GetTickCount() - launched < 90000) {
        HWND balloon = BalloonOf(process.dwProcessId);
        bool visible = balloon && IsWindowVisible(balloon);
        DWORD now = GetTickCount();
        if (!seen && visible) {
            seen = true;
            shownAt = now;
            DWORD_PTR copied = 0;
            SendMessageTimeoutA(balloon, WM_GETTEXT, sizeof(text),
                                reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &copied);
            GetWindowRect(balloon, &window);
            GetClientRect(GetDesktopWindow(), &desktop);
            exStyle = GetWindowLongA(balloon, GWL_EXSTYLE);
            WriteBytes(shownMarker, text, lstrlenA(text));
        } else if (seen && !visible) {
            goneAt = now;
            break;
        } else if (!seen && (now - launched > 60000 ||
                             WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0)) {
            break;
        }
        Sleep(2);
    }
    DWORD exitCode = 999;
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &exitCode);
    DWORD exitedAt = GetTickCount();
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    char textPath[MAX_PATH + 8];
    wsprintfA(textPath, "%s.text", report);
    WriteBytes(textPath, text, lstrlenA(text));
    char lines[1024];
    int length = wsprintfA(
        lines,
        "seen=%d\nshown_after=%lu\nvisible_for=%ld\ngone_after=%ld\nexited_after=%lu\n"
        "exit=%lu\nleft=%ld\ntop=%ld\nwidth=%ld\nheight=%ld\ndesktop_width=%ld\n"
        "desktop_height=%ld\ntopmost=%d\ntoolwindow=%d\n",
        seen ? 1 : 0, shownAt - launched, seen && goneAt ? static_cast<long>(goneAt - shownAt) : -1L,
        goneAt ? static_cast<long>(goneAt - launched) : -1L, exitedAt - launched, exitCode,
        window.left, window.top, window.right - window.left, window.bottom - window.top,
        desktop.right, desktop.bottom, (exStyle & WS_EX_TOPMOST) ? 1 : 0,
        (exStyle & WS_EX_TOOLWINDOW) ? 1 : 0);
    return WriteBytes(report, lines, length) ? 0 : 4;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && !strcmp(argv[1], "folders"))
        return Folders(argv[2]);
    if (argc >= 4 && !strcmp(argv[1], "attrib"))
        return Attrib(argc - 2, argv + 2);
    if (argc >= 3 && !strcmp(argv[1], "getattr"))
        return GetAttrib(argv[2]);
    if (argc >= 5 && !strcmp(argv[1], "hold"))
        return Hold(argv[2], argv[3], argv[4],
                    argc >= 6 && !strcmp(argv[5], "delete") ? FILE_SHARE_DELETE : 0);
    if (argc >= 6 && !strcmp(argv[1], "run"))
        return Run(argv[2], argv[3], argv[4], argv[5]);
    fprintf(stderr, "usage: purgel_probe folders|attrib|getattr|hold|run ...\n");
    return 2;
}
