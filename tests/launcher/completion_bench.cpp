// One Tab press over 10,000 and 50,000 command names, 200 of them matching,
// with the list window given so that every candidate's comment is read.
// Beside it, in the same run, the costs no completion can avoid: one scan
// of the names lowered as the runtime lowers them, and the comment reads of
// the candidates.
#include "completion_bench.h"

#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "bench_clock.h"
#include "launcher/command_list.h"
#include "launcher/tooltip_window.h"
#include "test_paths.h"

using Zint_Std::CString;

namespace {

const int kMatches = 200;
const char kTyped[] = "qz";
// No name begins with a digit: found by a part, by thousands of names
// holding an "e" and later a "9".
const char kTypedPart[] = "e9";
const char kOwnerClass[] = "QUELT_BENCH_LIST_OWNER";

unsigned int randomState = 12345;

// Dates the file a minute back. The profile reader parses a file written
// in the last seconds again on every call; the launcher's command file is
// older than that whenever Tab is pressed.
bool Settle(const CString& path)
{
    HANDLE file =
        CreateFileA(path.data, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, 0, OPEN_EXISTING, 0, 0);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER value;
    value.LowPart = now.dwLowDateTime;
    value.HighPart = now.dwHighDateTime;
    value.QuadPart -= 60ULL * 10000000ULL;
    now.dwLowDateTime = value.LowPart;
    now.dwHighDateTime = value.HighPart;
    const bool set = SetFileTime(file, 0, 0, &now) != 0;
    CloseHandle(file);
    return set;
}

unsigned int NextRandom()
{
    randomState = randomState * 1103515245u + 12345u;
    return (randomState >> 16) & 0x7FFF;
}

// Names of mixed letter case, some Japanese, every one unique by its
// number; kMatches of them, spread through the file, begin with the typed
// letters in some letter case.
bool WriteCommands(const CString& path, const int& names)
{
    const int perSection = 160;
    char* text = static_cast<char*>(malloc(static_cast<size_t>(names) * perSection + 1));
    if (!text)
        return false;
    const char* japanese[] = {"ノート", "表示", "ソフト", "メモ"};
    const int spacing = names / kMatches;
    int at = 0;
    for (int i = 0; i < names; i++) {
        char name[64];
        int length = 0;
        if (i % spacing == spacing / 2) {
            name[length++] = (i % 3) ? 'q' : 'Q';
            name[length++] = (i % 5) ? 'z' : 'Z';
        } else if (i % 20 == 1) {
            length = sprintf(name, "%s", japanese[(i / 20) % 4]);
        } else {
            name[length++] = static_cast<char>('a' + NextRandom() % 26);
            name[length++] = static_cast<char>('a' + NextRandom() % 26);
            if (name[0] == 'q' && name[1] == 'z')
                name[1] = 'y';
        }
        const int extra = 2 + NextRandom() % 8;
        for (int k = 0; k < extra; k++) {
            const char letter = static_cast<char>('a' + NextRandom() % 26);
            name[length++] = (NextRandom() % 4) ? letter : static_cast<char>(letter - 'a' + 'A');
        }
        sprintf(name + length, "%d", i);
        at += sprintf(text + at,
                      "[%s]\r\nPATH=C:\\tools\\app%d.exe $1\r\nFOLDER=C:\\tools\\\r\n"
                      "COMMENT=コマンド %d の説明\r\n",
                      name, i, i);
    }
    bool written = WriteBytes(path, text, at);
    free(text);
    return written && Settle(path);
}

// The runtime's multibyte lower-casing: A to Z in single-byte characters.
void LowerLikeTheRuntime(char* text)
{
    unsigned char* p = reinterpret_cast<unsigned char*>(text);
    while (*p) {
        if (IsDBCSLeadByte(*p) && p[1]) {
            p += 2;
            continue;
        }
        if (*p >= 'A' && *p <= 'Z')
            *p = static_cast<unsigned char>(*p + ('a' - 'A'));
        p++;
    }
}

// Every name lowered into a copy and compared with the lowered typed text.
int ScanNames(const CCommandList& list, const char* low, const char** found)
{
    const int lowLength = lstrlenA(low);
    char copy[512];
    int count = 0;
    for (int i = 0; i < list.names.count; i++) {
        lstrcpynA(copy, list.names.Name(i), sizeof(copy));
        LowerLikeTheRuntime(copy);
        if (!strncmp(copy, low, lowLength))
            found[count++] = list.names.Name(i);
    }
    return count;
}

int ReadComments(const CString& file, const char* const* found, const int& count)
{
    char comment[100];
    int total = 0;
    for (int i = 0; i < count; i++)
        total += GetPrivateProfileStringA(found[i], "COMMENT", "", comment, sizeof(comment),
                                          file.data);
    return total;
}

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateOwner()
{
    WNDCLASSA windowClass;
    memset(&windowClass, 0, sizeof(windowClass));
    windowClass.lpfnWndProc = OwnerProc;
    windowClass.hInstance = GetModuleHandleA(0);
    windowClass.lpszClassName = kOwnerClass;
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, kOwnerClass, "", WS_POPUP, 0, 0, 10, 10, 0, 0,
                           GetModuleHandleA(0), 0);
}

void BenchOneList(const CString& folder, const int& names, CToolTipWindow* list)
{
    CString file = folder + "quelt_cmd.txt";
    if (!WriteCommands(file, names)) {
        printf("  %d names: the command file could not be written\n", names);
        return;
    }
    CCommandList commands(folder);
    commands.Load();
    const char** found =
        static_cast<const char**>(malloc(sizeof(const char*) * (commands.names.count + 1)));
    if (!found)
        return;
    const CString typed(kTyped);
    CString result;
    // The first call brings the file into the profile reader's cache, as
    // the loading of the names does in the program.
    commands.Complete(result, typed, list);
    const int runs = 15;
    double complete[runs], scan[runs], reads[runs], sums[runs];
    int candidates = 0;
    for (int r = 0; r < runs; r++) {
        double t = Now();
        commands.Complete(result, typed, list);
        complete[r] = Now() - t;
        t = Now();
        candidates = ScanNames(commands, kTyped, found);
        scan[r] = Now() - t;
        t = Now();
        ReadComments(file, found, candidates);
        reads[r] = Now() - t;
        sums[r] = scan[r] + reads[r];
    }
    const double c = Median(complete, runs);
    double slowest = complete[runs - 1];
    const double s = Median(scan, runs);
    const double d = Median(reads, runs);
    const double u = Median(sums, runs);
    printf("  %6d names, %d candidates (listed %d), result \"%s\"\n", commands.names.count,
           candidates, list->entries.count, result.Text());
    printf("      Complete %.2f ms (slowest %.2f); scan %.2f ms + comment reads %.2f ms "
           "(%.0f us each) = %.2f ms; ratio %.2f\n",
           c * 1e3, slowest * 1e3, s * 1e3, d * 1e3, candidates ? d * 1e6 / candidates : 0.0,
           u * 1e3, c / u);
    free(found);

    // The same press for text no name begins with.
    const CString part(kTypedPart);
    double byPart[runs];
    for (int r = 0; r < runs; r++) {
        const double t = Now();
        commands.Complete(result, part, list);
        byPart[r] = Now() - t;
    }
    const double p = Median(byPart, runs);
    printf("      by a part \"%s\": Complete %.2f ms (slowest %.2f), listed %d\n", kTypedPart,
           p * 1e3, byPart[runs - 1] * 1e3, list->entries.count);

    // Found only folded: kana of the other script in the names, and romaji
    // that every comment's kana spell. The first press folds the list.
    const char* const folded[] = {"めも", "komando"};
    for (const char* text : folded) {
        const CString typedFolded(text);
        double t = Now();
        commands.Complete(result, typedFolded, list);
        const double first = Now() - t;
        double times[runs];
        for (int r = 0; r < runs; r++) {
            t = Now();
            commands.Complete(result, typedFolded, list);
            times[r] = Now() - t;
        }
        const double median = Median(times, runs);
        printf("      folded \"%s\": Complete %.2f ms (slowest %.2f; the first, folding the "
               "list, %.2f), listed %d\n",
               text, median * 1e3, times[runs - 1] * 1e3, first * 1e3, list->entries.count);
    }
}

}  // namespace

void BenchCompletion(const CString& folder)
{
    printf("One Tab press: CCommandList::Complete with \"%s\" and the list window, against one "
           "scan of the lowered names plus the candidates' comment reads\n",
           kTyped);
    printf("  (targets: ratio at most 1.5; at most 5 ms for %d candidates among 10,000 names, 15 ms among 50,000;\n"
           "   by a part of the name, the best 200 listed with comments, at most 10 ms among 50,000;\n"
           "   folded or as romaji, the best 200 listed, at most 15 ms among 50,000)\n",
           kMatches);
    HWND owner = CreateOwner();
    CToolTipWindow* list = CreateToolTipWindow(GetModuleHandleA(0), owner);
    const int sizes[] = {10000, 50000};
    for (int size : sizes)
        BenchOneList(folder, size, list);
    DestroyToolTipWindow();
    DestroyWindow(owner);
}
