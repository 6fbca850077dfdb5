// Figures of the launcher: loading command files, parsing typed lines,
// start-up time and idle memory, each beside a yardstick measured in the
// same run. Prints figures; asserts nothing.
#include <windows.h>
#include <psapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "bench_clock.h"
#include "commands/line_parser.h"
#include "completion_bench.h"
#include "launcher/calculator.h"
#include "launcher/command_list.h"
#include "support/files.h"
#include "test_paths.h"

using Zint_Std::CString;

// start_menu_bench.cpp: writes its shortcuts below folder.
void BenchStartMenu(const CString& folder);
void BenchPathCompletion(const CString& folder);  // path_completion_bench.cpp

namespace {

bool WriteCommandFile(const CString& path, const int& sections)
{
    char* text = static_cast<char*>(malloc(static_cast<size_t>(sections) * 120 + 1));
    if (!text)
        return false;
    int at = 0;
    for (int i = 0; i < sections; i++)
        at += sprintf(text + at, "[cmd%06d]\r\nPATH=C:\\tools\\app%d.exe $1\r\nFOLDER=C:\\tools\\\r\n"
                                 "COMMENT=command %d\r\n",
                      (i * 7919) % sections, i, i);
    bool ok = WriteBytes(path, text, at);
    free(text);
    return ok;
}

// Sets the file's write time to now moved by offset (in 100 ns).
void SetWriteTimeFromNow(const CString& path, const LONGLONG& offset)
{
    HANDLE file = CreateFileA(path.data, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, 0, OPEN_EXISTING, 0, 0);
    if (file == INVALID_HANDLE_VALUE)
        return;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER value;
    value.LowPart = now.dwLowDateTime;
    value.HighPart = now.dwHighDateTime;
    value.QuadPart += offset;
    now.dwLowDateTime = value.LowPart;
    now.dwHighDateTime = value.HighPart;
    SetFileTime(file, 0, 0, &now);
    CloseHandle(file);
}

// Makes the profile reader see a changed file, so the next call reads it.
void Touch(const CString& path)
{
    static int step = 0;
    SetWriteTimeFromNow(path, static_cast<LONGLONG>(++step) * 20000000LL);
}

// Dates the file back a day, so that it counts as settled.
void MakeSettled(const CString& path)
{
    SetWriteTimeFromNow(path, -864000000000LL);
}

// The look-up of a typed name on Enter: PATH and FOLDER of one command.
void BenchLookup(CCommandList& list, const CString& file, const int& sections)
{
    MakeSettled(file);
    list.Load();
    const int runs = 201;
    double engine[runs], reader[runs];
    CString name, path, folder;
    char value[500];
    for (int r = 0; r < runs; r++) {
        name.Format("cmd%06d", (r * 104729) % sections);
        double t = Now();
        list.GetCommand(name, &path, &folder, 0);
        engine[r] = Now() - t;
        t = Now();
        GetPrivateProfileStringA(name.data, "PATH", "", value, sizeof(value), file.data);
        GetPrivateProfileStringA(name.data, "FOLDER", "", value, sizeof(value), file.data);
        reader[r] = Now() - t;
    }
    printf("  (Enter: GetCommand with PATH and FOLDER %.3f ms, the profile reader's two reads %.3f ms; "
           "target under 0.1 ms)\n",
           Median(engine, runs) * 1e3, Median(reader, runs) * 1e3);
}

void BenchLoad(const CString& folder)
{
    const int sizes[] = {1000, 10000, 50000};
    printf("CCommandList::Load against one bare GetPrivateProfileSectionNamesA call on the same file "
           "(target: ratio at most 0.5);\n"
           "read+parse is the engine's own reading and parsing of the file again, as Load reads it, "
           "the limit Load approaches (its ratio: against bare cold)\n");
    printf("  %8s %12s %12s %7s   %12s %12s %7s   %12s %7s\n", "sections", "bare warm", "Load warm",
           "ratio", "bare cold", "Load cold", "ratio", "read+parse", "ratio");
    for (int size : sizes) {
        CString file = folder + "quelt_cmd.txt";
        WriteCommandFile(file, size);
        CCommandList list(folder);
        const int runs = 7;
        double bareWarm[runs], loadWarm[runs], bareCold[runs], loadCold[runs];
        int length = 0;
        char* probe = ReadSectionNames(file.data, length);
        const int bufferSize = length + 2 + 1024;
        free(probe);
        char* buffer = static_cast<char*>(malloc(bufferSize));
        for (int r = 0; r < runs; r++) {
            double t = Now();
            GetPrivateProfileSectionNamesA(buffer, bufferSize, file.data);
            bareWarm[r] = Now() - t;
            t = Now();
            list.Load();
            loadWarm[r] = Now() - t;
            Touch(file);
            t = Now();
            GetPrivateProfileSectionNamesA(buffer, bufferSize, file.data);
            bareCold[r] = Now() - t;
            Touch(file);
            t = Now();
            list.Load();
            loadCold[r] = Now() - t;
        }
        free(buffer);
        double fetch[runs];
        for (int r = 0; r < runs; r++) {
            double t = Now();
            char* names = ReadSectionNames(file.data, length);
            fetch[r] = Now() - t;
            free(names);
        }
        // The engine reads again into the blocks of its last read, as Load
        // does; the first read into a new engine beside it.
        double parse[runs], firstParse[runs];
        for (int r = 0; r < runs; r++) {
            CCommandFile engine;
            double t = Now();
            engine.Read(file.data);
            firstParse[r] = Now() - t;
            t = Now();
            engine.Read(file.data);
            parse[r] = Now() - t;
        }
        double bw = Median(bareWarm, runs), lw = Median(loadWarm, runs);
        double bc = Median(bareCold, runs), lc = Median(loadCold, runs);
        double rp = Median(parse, runs);
        printf("  %8d %10.2fms %10.2fms %7.2f   %10.2fms %10.2fms %7.2f   %10.2fms %7.2f\n", size,
               bw * 1e3, lw * 1e3, lw / bw, bc * 1e3, lc * 1e3, lc / bc, rp * 1e3, rp / bc);
        printf("  (the engine's first read and parse into a new engine: %.2f ms; the profile "
               "reader's whole list through ReadSectionNames: %.2f ms)\n",
               Median(firstParse, runs) * 1e3, Median(fetch, runs) * 1e3);
        BenchLookup(list, file, size);
    }
}

void BenchParse()
{
    const char* lines[] = {"notepad C:\\work\\readme.txt", "web 検索 する 言葉", "p21 a b c d e f",
                           "  x   ", "cmd ->of"};
    const char* paths[] = {"notepad.exe", "https://www.example.com/search?q=$$",
                           "C:\\tools\\app.exe $2 $1 $!", "\"C:\\Program Files\\x\\y.exe\" -a",
                           "cmd.exe"};
    const int count = 5;
    for (int query = 0; query < 2; query++) {
        const int rounds = query ? 2000 : 200000;
        double t = Now();
        for (int r = 0; r < rounds; r++) {
            CString line(lines[r % count]);
            TypedLine typed;
            if (!SplitTypedLine(line, typed))
                continue;
            CString work = SubstituteArguments(CString(paths[r % count]), typed);
            LaunchPlan plan;
            SeparateFileAndParameters(work, query ? ShellFindsProgram : 0, plan);
        }
        double perLine = (Now() - t) / rounds;
        printf("Typed-line parsing per line, %s: %.2f us\n",
               query ? "with the shell's association query" : "without the shell's query",
               perLine * 1e6);
    }
}

void BenchCalculator()
{
    const char expression[] = "-(12.5+0x1F)*3-7/2^2+(4.25-1.5)*(100%7)-0.125*8+3.75/1.5*2e1";
    char tooLong[CCalculator::kMaxLength + 1];
    memset(tooLong, '1', sizeof(tooLong) - 1);
    tooLong[sizeof(tooLong) - 1] = 0;
    const int rounds = 100000;
    CCalculator calculator;
    CString result;
    bool refused = true;
    double t = Now();
    for (int r = 0; r < rounds; r++)
        calculator.Calculate(expression, result);
    const double each = (Now() - t) / rounds;
    t = Now();
    for (int r = 0; r < rounds; r++)
        refused = !calculator.Calculate(tooLong, result) && refused;
    const double refusal = (Now() - t) / rounds;
    printf("Calculator per evaluation (target: under 0.1 ms): %d-byte expression %.2f us, "
           "a %d-byte one refused %s in %.2f us\n",
           static_cast<int>(sizeof(expression) - 1), each * 1e6, CCalculator::kMaxLength,
           refused ? "every time" : "NOT ALWAYS", refusal * 1e6);
}

struct Started {
    PROCESS_INFORMATION process;
    double seconds;
};

bool HotKeyHeld()
{
    if (RegisterHotKey(0, 0x5152, MOD_ALT, '1')) {
        UnregisterHotKey(0, 0x5152);
        return false;
    }
    return true;
}

bool StartAndWait(const CString& program, const CString& folder, const char* windowClass,
                  const bool& needsHotKey, Started& started)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    CString line = CString("\"") + program + "\"";
    double t = Now();
    if (!CreateProcessA(program.data, line.data, 0, 0, FALSE, 0, 0, folder.data, &startup,
                        &started.process))
        return false;
    // The hotkey probe holds the combination for a moment: only once the
    // program has waited for input, so it never takes it from the launcher.
    if (needsHotKey && WaitForInputIdle(started.process.hProcess, 60000) != 0)
        return false;
    for (int i = 0; i < 200000; i++) {
        HWND window = FindWindowA(windowClass, 0);
        if (window && (!needsHotKey || HotKeyHeld())) {
            started.seconds = Now() - t;
            return true;
        }
        Sleep(1);
    }
    return false;
}

void Stop(Started& started, const char* windowClass)
{
    HWND window = FindWindowA(windowClass, 0);
    if (window)
        SendMessageA(window, WM_DESTROY, 0, 0);
    if (WaitForSingleObject(started.process.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(started.process.hProcess, 1);
    CloseHandle(started.process.hProcess);
    CloseHandle(started.process.hThread);
}

// Committed private memory, summed over the address space: the process
// counters of Wine leave the private-bytes figure at 0.
SIZE_T CommittedPrivate(HANDLE process)
{
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region;
    const char* at = 0;
    while (VirtualQueryEx(process, at, &region, sizeof(region)) == sizeof(region)) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += region.RegionSize;
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= at)
            break;
        at = next;
    }
    return total;
}

void Memory(HANDLE process, SIZE_T& privateBytes, SIZE_T& workingSet)
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof(counters));
    privateBytes = counters.PrivateUsage ? counters.PrivateUsage : CommittedPrivate(process);
    workingSet = counters.WorkingSetSize;
}

void BenchProcesses(const CString& folder)
{
    CString bin = Zint_Std::ModuleFolder(0);
    CString launcher = folder + "quelt_.exe";
    CString minimal = folder + "bench_minimal_window.exe";
    CopyFileA((bin + "quelt_.exe").data, launcher.data, FALSE);
    CopyFileA((bin + "bench_minimal_window.exe").data, minimal.data, FALSE);
    CString commands = folder + "quelt_cmd.txt";
    CopyFileA((bin + "cmd_org.txt").data, commands.data, FALSE);

    const int runs = 7;
    double launcherTimes[runs], minimalTimes[runs];
    for (int r = 0; r < runs; r++) {
        Started a = {}, b = {};
        if (!StartAndWait(minimal, folder, "QUELT_BENCH_MINIMAL", false, b) ||
            !StartAndWait(launcher, folder, "QUELT_APP_WND_CLASS", true, a)) {
            printf("start-up: a program did not start\n");
            if (a.process.hProcess)
                Stop(a, "QUELT_APP_WND_CLASS");
            if (b.process.hProcess)
                Stop(b, "QUELT_BENCH_MINIMAL");
            return;
        }
        launcherTimes[r] = a.seconds;
        minimalTimes[r] = b.seconds;
        Stop(a, "QUELT_APP_WND_CLASS");
        Stop(b, "QUELT_BENCH_MINIMAL");
    }
    double l = Median(launcherTimes, runs), m = Median(minimalTimes, runs);
    printf("Start-up until the hidden window exists (launcher: and holds its hotkey):\n");
    printf("  launcher %.1f ms, minimal program %.1f ms, ratio %.2f\n", l * 1e3, m * 1e3, l / m);

    WriteCommandFile(commands, 10000);
    CCommandList list(folder);
    list.Load();
    // The block and the table, each with the heap's own header.
    SIZE_T nameBytes = list.names.ByteSize() + 2 * 8;
    Started a = {}, b = {};
    if (!StartAndWait(minimal, folder, "QUELT_BENCH_MINIMAL", false, b) ||
        !StartAndWait(launcher, folder, "QUELT_APP_WND_CLASS", true, a)) {
        printf("memory: a program did not start\n");
        return;
    }
    Sleep(500);  // let both settle into their idle loops
    SIZE_T lp, lw, mp, mw;
    Memory(a.process.hProcess, lp, lw);
    Memory(b.process.hProcess, mp, mw);
    printf("Idle memory with 10,000 commands (names take about %lu KB; target: private bytes at "
           "most 1.5 times the minimal program's):\n",
           static_cast<unsigned long>(nameBytes / 1024));
    printf("  private bytes: launcher %lu KB, minimal %lu KB, ratio %.2f; "
           "against minimal + names %.2f\n",
           static_cast<unsigned long>(lp / 1024), static_cast<unsigned long>(mp / 1024),
           static_cast<double>(lp) / mp, static_cast<double>(lp) / (mp + nameBytes));
    printf("  working set:   launcher %lu KB, minimal %lu KB, ratio %.2f; "
           "against minimal + names %.2f\n",
           static_cast<unsigned long>(lw / 1024), static_cast<unsigned long>(mw / 1024),
           static_cast<double>(lw) / mw, static_cast<double>(lw) / (mw + nameBytes));
    Stop(a, "QUELT_APP_WND_CLASS");
    Stop(b, "QUELT_BENCH_MINIMAL");
}

// Spins until ready() holds or timeoutSeconds pass; the seconds it took,
// or -1.
template <class Condition>
double SecondsUntil(Condition ready, const double& timeoutSeconds)
{
    const double start = Now();
    for (;;) {
        if (ready())
            return Now() - start;
        if (Now() - start > timeoutSeconds)
            return -1;
        Sleep(0);
    }
}

// Whether the launcher's thread has its input box focused.
bool EditHasFocus(const DWORD& thread, HWND edit)
{
    GUITHREADINFO info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(thread, &info) && info.hwndFocus == edit;
}

// The hotkey as the system delivers it, posted from here, until the box is
// visible and focused; Esc, as typed into the box, hides it between runs.
void BenchShowLatency(const CString& folder)
{
    CString bin = Zint_Std::ModuleFolder(0);
    CString launcher = folder + "quelt_.exe";
    CopyFileA((bin + "quelt_.exe").data, launcher.data, FALSE);
    CopyFileA((bin + "cmd_org.txt").data, (folder + "quelt_cmd.txt").data, FALSE);
    DeleteFileA((folder + "quelt_.ini").data);
    Started started = {};
    if (!StartAndWait(launcher, folder, "QUELT_APP_WND_CLASS", true, started)) {
        printf("show latency: the launcher did not start\n");
        return;
    }
    HWND window = FindWindowA("QUELT_APP_WND_CLASS", 0);
    HWND edit = FindWindowExA(window, 0, "EDIT", 0);
    const DWORD thread = GetWindowThreadProcessId(window, 0);
    const ATOM hotKey = GlobalFindAtomA("QUELT_APP_WND_CLASS");
    if (!window || !edit || !hotKey) {
        printf("show latency: no window, input box or hotkey atom\n");
        Stop(started, "QUELT_APP_WND_CLASS");
        return;
    }
    const int runs = 21;
    double visible[runs], focused[runs];
    int done = 0;
    for (int r = 0; r < runs; r++) {
        const double start = Now();
        PostMessageA(window, WM_HOTKEY, hotKey, 0);
        const double shown = SecondsUntil([&] { return IsWindowVisible(window) != 0; }, 5);
        const double ready = SecondsUntil(
            [&] { return IsWindowVisible(window) && EditHasFocus(thread, edit); }, 5);
        if (shown < 0 || ready < 0) {
            printf("show latency: run %d did not show a focused box within 5 s\n", r + 1);
            break;
        }
        visible[done] = shown;
        focused[done] = Now() - start;
        done++;
        PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0);
        if (SecondsUntil([&] { return !IsWindowVisible(window); }, 5) < 0) {
            printf("show latency: run %d: Esc did not hide the box within 5 s\n", r + 1);
            break;
        }
    }
    if (done > 0) {
        const double visibleMedian = Median(visible, done);
        const double focusedMedian = Median(focused, done);
        printf("Show latency, WM_HOTKEY posted until the box is visible / visible with the focus "
               "in its edit control (%d runs; target: visible within 50 ms):\n",
               done);
        printf("  visible: median %.2f ms, max %.2f ms; focused: median %.2f ms, max %.2f ms\n",
               visibleMedian * 1e3, visible[done - 1] * 1e3, focusedMedian * 1e3,
               focused[done - 1] * 1e3);
    }
    Stop(started, "QUELT_APP_WND_CLASS");
}

}  // namespace

int main()
{
    if (FindWindowA("QUELT_APP_WND_CLASS", 0)) {
        printf("A launcher is running; stop it first.\n");
        return 1;
    }
    CString folder = MakeScratchFolder("bench");
    BenchLoad(folder);
    BenchParse();
    BenchCalculator();
    BenchProcesses(folder);
    BenchCompletion(folder);
    BenchStartMenu(folder);
    BenchPathCompletion(folder);
    BenchShowLatency(folder);
    RemoveScratchFolder(folder);
    return 0;
}
