// The small editor of one [Alias] entry, opened from the settings editor.
#ifndef QUELT_EDITOR_ALIAS_DIALOG_H
#define QUELT_EDITOR_ALIAS_DIALOG_H

#include <windows.h>

#include "editor/dialog.h"
#include "support/array.h"
#include "support/string.h"

class CAliasDialog : public CEditorDialog {
public:
    // aliases are the others in the list; skip is the entry being edited
    // (-1 for a new one), so that its own name is no duplicate.
    CAliasDialog(HWND owner, const Zint_Std::CArray<Zint_Std::CStringPair>& aliases,
                 const int& skip, Zint_Std::CStringPair& alias);

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(const int& id, const int& code, HWND control) override;

private:
    const Zint_Std::CArray<Zint_Std::CStringPair>& others;
    int skipIndex;
    Zint_Std::CStringPair& result;

    // Says what is wrong with the typed entry; true when it can be taken.
    bool CheckInput(const Zint_Std::CString& name, const Zint_Std::CString& value);
};

// Edits alias in place; true when the user confirmed a valid entry.
bool EditAlias(HWND owner, const Zint_Std::CArray<Zint_Std::CStringPair>& aliases,
               const int& skip, Zint_Std::CStringPair& alias);

#endif
