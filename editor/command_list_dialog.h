// The list of every command of the command file: filter, new, edit,
// duplicate, delete and the Start-menu import. Changes stay in the store
// until OK writes them.
#ifndef QUELT_EDITOR_COMMAND_LIST_DIALOG_H
#define QUELT_EDITOR_COMMAND_LIST_DIALOG_H

#include <windows.h>

#include "editor/command_store.h"
#include "editor/dialog.h"
#include "editor/dialog_layout.h"
#include "editor/list_view.h"

class CCommandListDialog : public CEditorDialog {
public:
    CCommandStore store;

    CCommandListDialog(HWND ownerWindow, const char* commandFile);

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(const int& id, const int& code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT& result) override;
    bool OnMessage(const UINT& message, const WPARAM& wParam, const LPARAM& lParam,
                   INT_PTR& result) override;
    // Cancel asks about unsaved changes; this ends without the question.
    void EndUnasked() override;

private:
    CListView list;
    CDialogLayout layout;
    Zint_Std::CString filter;
    bool filling;  // the filter text is being set by the dialog itself

    bool Matches(const CommandEntry& entry) const;
    // Shows the live entries that match the filter in the store's order and
    // selects the one at store index select; when that one is not shown,
    // the row at fallbackRow (clamped), or none with -1.
    void Fill(const int& select, const int& fallbackRow);
    // After a new or changed entry: the filter is cleared when it would
    // hide the entry named name, which is then selected.
    void ShowEntry(const Zint_Std::CString& name);
    // The store index of the selected row; -1.
    int SelectedIndex() const;
    void UpdateButtons();
    void UpdateStatus();

    void NewCommand();
    void EditSelected();
    void DuplicateSelected();
    void DeleteSelected();
    void ImportShortcuts();
    void SaveAndClose();
    void CancelAndClose();
};

#endif
