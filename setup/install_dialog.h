// The install options dialog: the install folder and the four options,
// filled by the install flow, shown once and read back after OK.
#ifndef QUELT_SETUP_INSTALL_DIALOG_H
#define QUELT_SETUP_INSTALL_DIALOG_H

#include <windows.h>

#include "os_version.h"
#include "support/string.h"

class CInstallDlg {
public:
    HINSTANCE instance;
    HWND owner;
    HWND window;  // set while the dialog is shown
    Zint_Std::CString installFolder;
    int allUsers;
    int startup;
    int multiUser;
    int sendTo;
    COsVersion& osVersion;

    CInstallDlg(HINSTANCE instance, HWND owner, COsVersion& osVersion);
    ~CInstallDlg();

    // True when the dialog ended with OK; the fields then hold the choice.
    bool Show();

    INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

private:
    INT_PTR OnInitDialog(HWND dialog);
    INT_PTR OnCommand(WPARAM wParam);
    void OnAllUsersClicked();
    void OnBrowse();
    void OnOk();
    bool IsChecked(const int& id) const;
    void Check(const int& id, const bool& checked);
    void Enable(const int& id, const bool& enabled);
    Zint_Std::CString FolderText() const;

    CInstallDlg(const CInstallDlg&);
    CInstallDlg& operator=(const CInstallDlg&);
};

// The one live install dialog; set by its constructor.
extern CInstallDlg* g_installDialog;

#endif
