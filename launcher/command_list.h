// The launcher's command list and settings holder: where the command file
// and the profile live, the sorted command names, and the profile settings.
#ifndef QUELT_LAUNCHER_COMMAND_LIST_H
#define QUELT_LAUNCHER_COMMAND_LIST_H

#include "commands/command_file.h"
#include "commands/profile_lists.h"
#include "launcher/command_names.h"
#include "launcher/folded_texts.h"
#include "launcher/start_menu_catalog.h"
#include "support/array.h"
#include "support/string.h"

// Filled by CCommandList::ReadSettings into a record the caller zeroed.
struct LauncherSettings {
    int modifiers;  // MOD_ALT, MOD_CONTROL, MOD_SHIFT or MOD_WIN alone
    int key;        // virtual-key code of the hotkey
    int history;    // entries of the input history; 0 or less: none
    int toolTip;    // non-zero: the candidate window exists
    int taskTray;   // non-zero: the tray icon is shown
    int width;
    int height;
    int x;
    int y;
};

class CToolTipWindow;
struct ProfileKey;

class CCommandList {
public:
    CCommandNames names;            // sorted, letter case aside
    Zint_Std::CString commandFile;  // emptied when the first-start copy failed
    Zint_Std::CString profileFile;
    int multiUser;
    int imeMode;
    int savePosition;
    int matchBeyondPrefix;  // Match: names found by any part when none begins so
    int rankByUse;          // Rank: candidates ordered by how much they were run
    int calculator;         // Calc: a line starting with "=" is worked out
    int startMenuPrograms;  // Catalog: the Start menu's programs are found too
    int openUnnamed;        // Open: paths, addresses and programs on the path open
    int romaji;             // Romaji: ASCII that finds nothing is read as kana too

    // Resolves shared or per-user files for the install folder (trailing
    // backslash) and copies the installed defaults on a first start.
    explicit CCommandList(const Zint_Std::CString& installFolder);

    // Rebuilds the name list; 0 only when there is no command file path.
    int Load();
    // Reads the keys of one command. Each output may be null; the result is
    // whether PATH is non-empty (1 when PATH was not asked for).
    int GetCommand(const Zint_Std::CString& name, Zint_Std::CString* path,
                   Zint_Std::CString* folder, Zint_Std::CString* comment);
    // Whether the command file has a command of that name, PATH or not.
    bool HasCommand(const char* name);

    // The completion of typed: the whole name and a blank for one matching
    // command, the prefix all matches share for several (then list, when
    // given, holds them with their comments), empty for none.
    void Complete(Zint_Std::CString& result, const Zint_Std::CString& typed, CToolTipWindow* list);

    // With Rank on, counts one more run of the command name in the use file.
    void RecordRun(const Zint_Std::CString& name);

    int ReadSettings(LauncherSettings& settings);
    int WritePosition(const int& x, const int& y);

    // The command file as last read; read again when it changed.
    CCommandFile commands;
    // The Start menu's programs, read when first asked for.
    CStartMenuCatalog programs;

    // The Start menu's program named line exactly, or -1.
    int FindStartMenuProgram(const char* line);

private:
    int namesGeneration;  // the parse the name list was made from; 0: none
    // The names and their comments folded, in the list's order, made again
    // when the list or the file's parse changed.
    CFoldedTexts foldedNames;
    CFoldedTexts foldedComments;

    // Reads the command file again when it changed.
    void RefreshCommands();
    // The names that hold the typed text (lower-cased) elsewhere or its
    // characters in order, best first and at most a list's worth; their
    // count, and the longest one's length in longest.
    int FindByPart(const char** candidates, const char* low, const int& lowLength, int& longest);
    // Most used first, by the counts beside the command file; ties and
    // names never run keep their order.
    void OrderByUse(const char** candidates, const int& count);
    // The Start menu's programs found for low, best first, at most most of
    // them: their names into candidates, their places into indexes.
    int FindPrograms(const char** candidates, int* indexes, const int& most, const char* low,
                     const int& lowLength, int& longest);
    // When nothing was found otherwise: the commands whose folded name holds
    // the typed text or whose comment contains it, then the programs whose
    // folded name holds it; with Romaji the same again for the kana that
    // ASCII text spells. Fills as Complete's finds do; the count found.
    int FindFolded(const char* typed, const char** candidates, int* indexes, int& commandsFound,
                   int& longest);
    int FindFoldedCommands(const char* pattern, const int& patternLength,
                           const char** candidates, int& longest);
    bool FoldCommands();
    void FillList(Zint_Std::CArray<Zint_Std::CStringPair>& entries, const char* const* candidates,
                  const int& count, const int& longest);
    void FillProgramRows(Zint_Std::CArray<Zint_Std::CStringPair>& entries, const int& first,
                         const int* indexes, const int& count, const int& longest);
    void ReadHotKey(LauncherSettings& settings);
    void ApplyAliases();
    int ReadInt(const ProfileKey& key);
};

#endif
