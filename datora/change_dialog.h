// The program's one dialog: a folder, a time stamp and a set of attributes,
// applied to everything under the folder at once.
#ifndef QUELT_DATORA_CHANGE_DIALOG_H
#define QUELT_DATORA_CHANGE_DIALOG_H

#include <windows.h>

class CChangeDialog {
public:
    HINSTANCE hInstance;
    HWND hDlg;    // null until the dialog is initialised
    HWND hOwner;  // the desktop window

    CChangeDialog(HINSTANCE instance, HWND owner);
    ~CChangeDialog();

    // Shows the modal dialog until it is closed.
    INT_PTR Run();
    INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void OnInitDialog(HWND dialog);
    INT_PTR OnCommand(const int& id);
    void OnTimeSwitch();
    void OnAttributeSwitch();
    void OnSetNow();
    void OnBrowse();
    void OnDropFiles(HDROP drop);
    void OnRun();

    bool IsChecked(const int& id) const;
    void EnableItems(const int* ids, const int& count, const bool& enable);
};

// The one dialog object of the process; set while it exists.
extern CChangeDialog* g_changeDialog;

#endif
