// How often and how recently each command was run, kept in quelt_use.txt
// beside the command file: a first line "; quelt_use 1", then one line per
// command of its count in millionths, its last run as a file time and its
// name, separated by tabs, each line ended by CR LF. A count halves every 30
// days without a run, so that what one uses now comes before what one used a
// lot long ago.
#ifndef QUELT_COMMANDS_USE_COUNTS_H
#define QUELT_COMMANDS_USE_COUNTS_H

#include <windows.h>

#include "support/string.h"

// What Load found at the path.
enum UseCountsLoad {
    // The file was read; lines that did not parse were skipped.
    kUseCountsLoaded,
    // There is no file: a new one may be written.
    kUseCountsMissing,
    // The file is there but could not be read (another program holds it, no
    // rights), or it is not of this format (another version's header): it
    // gives no counts and must not be replaced.
    kUseCountsUnusable,
};

struct UseCount {
    Zint_Std::CString name;
    double count;       // as of lastRun
    ULONGLONG lastRun;  // file time of the last run, or of the last change
};

class CUseCounts {
public:
    CUseCounts();
    ~CUseCounts();

    // The file beside the command file (full path).
    static Zint_Std::CString PathBeside(const Zint_Std::CString& commandFile);
    // Reads the file: CR LF or LF line ends, blank lines, a missing last line
    // end and a UTF-8 byte order mark are all taken; a line that does not
    // parse, and a name given a second time, are skipped. Only a loaded or a
    // missing file may be saved over.
    UseCountsLoad Load(const Zint_Std::CString& path);
    // Writes every count with one replace of the whole file.
    bool Save(const Zint_Std::CString& path) const;

    // The decayed count of a name; 0 for none. Names compare as the command
    // file compares them: A to Z folded in single-byte characters only.
    double Score(const char* name, const ULONGLONG& now) const;
    // One more run of name now.
    bool AddRun(const char* name, const ULONGLONG& now);
    // Moves the counts of from[i] to to[i], all at once, so that swapped
    // names swap their counts; a null to[i] drops the count.
    bool Carry(const char* const* from, const char* const* to, const int& pairs);

    int Count() const { return used; }

private:
    UseCount* items;  // sorted by name, in the order of that comparison
    int used;
    int room;

    int Find(const char* name, bool& found) const;
    bool Parse(char* text, const int& length);
    bool AddLine(char* line, const bool& utf8);
    bool InsertAt(const int& at, const char* name, const double& count, const ULONGLONG& when);
    void RemoveAt(const int& at);
    void Clear();
};

// The current time as a file time.
ULONGLONG CurrentFileTime();

#endif
