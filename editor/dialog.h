// The base of the editor library's modal dialogs: the dialog procedure only
// forwards to the object, which keeps its window and its owner.
#ifndef QUELT_EDITOR_DIALOG_H
#define QUELT_EDITOR_DIALOG_H

#include <windows.h>

#include "support/string.h"

// The library's module: dialogs and strings come from its resources.
HINSTANCE EditorModule();
void SetEditorModule(HINSTANCE module);

// Caption of the library's message boxes.
extern const char* const kEditorTitle;

class CEditorDialog {
public:
    HWND window;  // null while the dialog is not shown
    HWND owner;
    int templateId;

    CEditorDialog(HWND ownerWindow, const int& dialogTemplate);
    virtual ~CEditorDialog();

    // Shows the dialog modal to the owner; the value given to EndDialog, or
    // -1 when the dialog could not be created.
    INT_PTR RunModal();

    // Items of the dialog.
    HWND Item(const int& id) const;
    Zint_Std::CString ItemText(const int& id) const;
    void SetItemText(const int& id, const char* text);
    bool IsChecked(const int& id) const;
    void SetChecked(const int& id, const bool& checked);
    // A problem with the input: says what is wrong and puts the focus on
    // the item, its text selected.
    void ShowInputProblem(const int& id, const char* text);
    // A yes/no question to the user; true for yes.
    bool Ask(const char* text);
    void ShowError(const char* text);

    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // WM_INITDIALOG; the result as the dialog procedure returns it.
    virtual BOOL OnInitDialog();
    // WM_COMMAND; true when handled. IDOK and IDCANCEL end the dialog
    // unless a derived class takes them.
    virtual bool OnCommand(const int& id, const int& code, HWND control);
    // WM_NOTIFY; true when handled, with result as the answer.
    virtual bool OnNotify(NMHDR* header, LRESULT& result);
    // Any other message; true when handled.
    virtual bool OnMessage(const UINT& message, const WPARAM& wParam, const LPARAM& lParam,
                           INT_PTR& result);
    // The launcher has to end now (an uninstall, the end of the session):
    // the dialog ends as Cancel ends it, without any question, unsaved
    // changes discarded. A dialog whose Cancel asks first overrides this.
    virtual void EndUnasked();
};

#endif
