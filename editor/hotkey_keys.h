// The keys the settings editor offers for the hotkey, with the names the
// list shows for them.
#ifndef QUELT_EDITOR_HOTKEY_KEYS_H
#define QUELT_EDITOR_HOTKEY_KEYS_H

#include "support/string.h"

// Entries of the list: 0-9, A-Z, F1-F24, the space bar, the editing and
// arrow keys, the numeric keypad's digits.
int HotKeyChoiceCount();
// The virtual-key code of an entry; 0 outside the list.
int HotKeyChoiceCode(const int& index);
// The entry of a code; -1 when the list has none.
int FindHotKeyChoice(const int& code);
// The readable name of a key: its entry's name, or "キーコード N".
Zint_Std::CString HotKeyName(const int& code);

#endif
