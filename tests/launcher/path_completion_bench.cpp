// One Tab press on a typed path in a folder of 5,000 entries, a fifth of
// them folders: with nothing typed after the folder, and with one letter.
#include <windows.h>
#include <stdio.h>

#include "bench_clock.h"
#include "launcher/path_completion.h"
#include "test_paths.h"

using Zint_Std::CString;

namespace {

const int kEntries = 5000;

bool MakeEntries(const CString& big)
{
    unsigned int state = 4242;
    char name[64];
    for (int i = 0; i < kEntries; i++) {
        const char letter = static_cast<char>('a' + NextTestRandom(state) % 26);
        if (i % 10 == 3)
            sprintf(name, "表示%c%04d", letter, i);
        else
            sprintf(name, "%c%cData_%04d%s", letter, 'a' + NextTestRandom(state) % 26, i,
                    i % 5 ? ".txt" : "");
        const CString path = big + name;
        if (i % 5 == 0 ? !CreateDirectoryA(path.data, 0) : !WriteTextFile(path, "x"))
            return false;
    }
    return true;
}

// The yardstick: the folder listed through to its end, nothing done with
// the entries.
int ListOnly(const wchar_t* pattern)
{
    WIN32_FIND_DATAW entry;
    HANDLE handle = FindFirstFileExW(pattern, static_cast<FINDEX_INFO_LEVELS>(1), &entry,
                                     FindExSearchNameMatch, 0, 2);
    if (handle == INVALID_HANDLE_VALUE)
        return 0;
    int count = 0;
    do
        count++;
    while (FindNextFileW(handle, &entry));
    FindClose(handle);
    return count;
}

void BenchOneWord(const CString& typed, const char* label)
{
    const int runs = 15;
    double times[runs], listings[runs];
    const std::wstring pattern = Wide(typed.data) + L"*";
    PathCompletion completion;
    CompletePath(typed, completion);  // the folder in the system's cache, as after the first Tab
    for (int r = 0; r < runs; r++) {
        double t = Now();
        CompletePath(typed, completion);
        times[r] = Now() - t;
        t = Now();
        ListOnly(pattern.c_str());
        listings[r] = Now() - t;
    }
    const double median = Median(times, runs);
    const double listing = Median(listings, runs);
    printf("  %s: CompletePath %.2f ms (slowest %.2f), the bare listing %.2f ms; listed %d, "
           "result ends \"%s\"\n",
           label, median * 1e3, times[runs - 1] * 1e3, listing * 1e3, completion.entries.count,
           completion.result.Text() + completion.folder.GetLength());
}

}  // namespace

void BenchPathCompletion(const CString& folder)
{
    printf("One Tab press on a typed path: CompletePath in a folder of %d entries (target: at "
           "most 20 ms)\n",
           kEntries);
    const CString big = folder + "paths\\";
    if (!CreateDirectoryA(big.data, 0) || !MakeEntries(big)) {
        printf("  the folder could not be made\n");
        return;
    }
    BenchOneWord(big, "nothing after the folder");
    BenchOneWord(big + "k", "one letter \"k\"");
}
