// The Start-menu import: the shortcuts found, each as a proposed command
// with a check box and a name that can be changed in place. The ticked ones
// go into the store as new commands, written when the list dialog saves.
#ifndef QUELT_EDITOR_IMPORT_DIALOG_H
#define QUELT_EDITOR_IMPORT_DIALOG_H

#include <windows.h>
#include <commctrl.h>

#include "editor/command_store.h"
#include "editor/dialog.h"
#include "editor/dialog_layout.h"
#include "editor/list_view.h"
#include "editor/start_menu.h"

class CImportShortcutsDialog : public CEditorDialog {
public:
    Zint_Std::CString firstAdded;  // name of the first command added

    // RunModal gives the number of commands added.
    CImportShortcutsDialog(HWND ownerWindow, CCommandStore& commands);

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(const int& id, const int& code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT& result) override;
    bool OnMessage(const UINT& message, const WPARAM& wParam, const LPARAM& lParam,
                   INT_PTR& result) override;

private:
    CCommandStore& store;
    CStartMenuScan scan;
    CListView list;
    CDialogLayout layout;
    // A name refused in place, shown once the label edit has ended.
    Zint_Std::CString refusedName;
    Zint_Std::CString refusal;
    bool initialised;  // check boxes set up; their changes count

    void CheckAll(const bool& checked);
    int CheckedCount() const;
    void UpdateStatus();
    // The problem with a name typed for proposal index; empty when fine.
    Zint_Std::CString NameProblemText(const char* name, const int& index) const;
    bool EndLabelEdit(NMLVDISPINFOA* info);
    void ShowRefusal(const int& row);
    void AddChecked();
};

#endif
