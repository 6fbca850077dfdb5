// The launcher's profile as the settings editor sees it: every key the
// launcher reads, with the launcher's defaults, and the [Alias] entries.
// Saving writes key by key only what the user changed, so comments, unknown
// keys and keys another program changed meanwhile stay as they are.
#ifndef QUELT_EDITOR_SETTINGS_STORE_H
#define QUELT_EDITOR_SETTINGS_STORE_H

#include <windows.h>

#include "editor/command_store.h"
#include "support/array.h"
#include "support/string.h"

// The launcher reads an alias value into 512 bytes with its terminator.
const int kMaxAliasValueBytes = 511;

struct EditorSettings {
    // [HotKey]: each non-zero modifier counts; win only when the others are
    // all zero, and then alone.
    int alt;
    int ctrl;
    int shift;
    int win;
    int key;  // virtual-key code
    // [QUELT]
    int history;  // 0 or less: no history
    int toolTip;
    int taskTray;
    int imeCtrl;  // 2: no IME in the box, 1: IME off at each show, else left alone
    int width;
    int height;
    int savePosition;
    int match;    // names found by any part when none begins with the text
    int rank;     // candidates ordered by use
    int calc;     // a line starting with "=" is worked out
    int catalog;  // the Start menu's programs are candidates too
    int open;     // a line naming no command is opened as a path or address
    int romaji;   // ASCII that finds nothing else is read as romaji
    // [Alias]: name and value, in file order.
    Zint_Std::CArray<Zint_Std::CStringPair> aliases;
};

// Reads every key, the launcher's default where a key is missing (also when
// the whole file is). False only when memory ran out.
bool LoadEditorSettings(const char* profile, EditorSettings& settings);

// Writes what edited changes against loaded and nothing else; creates the
// file when it does not exist. loaded follows every write that succeeded,
// so after a failure it tells what the file holds.
SaveResult SaveEditorSettings(const char* profile, EditorSettings& loaded,
                              const EditorSettings& edited);

// Whether saving edited over loaded would write anything.
bool SettingsDiffer(const EditorSettings& loaded, const EditorSettings& edited);

void CopyEditorSettings(EditorSettings& to, const EditorSettings& from);

// The hotkey modifiers (MOD_ALT...) the launcher registers for these
// values: MOD_WIN only alone.
UINT HotKeyModifiers(const EditorSettings& settings);

// The alias named name, letter case aside, other than skip; -1.
int FindAlias(const Zint_Std::CArray<Zint_Std::CStringPair>& aliases, const char* name,
              const int& skip);
// Removes one alias, keeping the order of the others.
void RemoveAlias(Zint_Std::CArray<Zint_Std::CStringPair>& aliases, const int& index);

enum AliasNameProblem {
    kAliasNameFine = 0,
    kAliasNameEmpty,
    kAliasNameHasEquals,      // an environment name cannot hold "="
    kAliasNameHasBlank,       // blanks or control characters, a broken character
    kAliasNameBreaksProfile,  // a leading ";" or "[" reads as a comment or a section
};
AliasNameProblem CheckAliasName(const char* name);

enum AliasValueProblem {
    kAliasValueFine = 0,
    kAliasValueEmpty,    // the launcher skips an alias without value
    kAliasValueTooLong,  // more than kMaxAliasValueBytes
    kAliasValueHasLineBreak,
};
AliasValueProblem CheckAliasValue(const char* value);

#endif
