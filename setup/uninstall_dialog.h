// The uninstall dialog: confirms the uninstallation and asks whether the
// settings files go too.
#ifndef QUELT_SETUP_UNINSTALL_DIALOG_H
#define QUELT_SETUP_UNINSTALL_DIALOG_H

#include <windows.h>

class CUninstallDlg {
public:
    HINSTANCE instance;
    HWND owner;
    HWND window;         // set while the dialog is shown
    int deleteSettings;  // 1 when the settings files are to be deleted

    CUninstallDlg(HINSTANCE instance, HWND owner);
    ~CUninstallDlg();

    // True when the dialog ended with OK; deleteSettings then holds the choice.
    bool Show();

    INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

private:
    CUninstallDlg(const CUninstallDlg&);
    CUninstallDlg& operator=(const CUninstallDlg&);
};

// The one live uninstall dialog; set by its constructor.
extern CUninstallDlg* g_uninstallDialog;

#endif
