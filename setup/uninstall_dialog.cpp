#include "uninstall_dialog.h"

#include "setup_ids.h"
#include "support/dialog_forwarder.h"

CUninstallDlg* g_uninstallDialog = 0;

CUninstallDlg::CUninstallDlg(HINSTANCE instance, HWND owner)
    : instance(instance), owner(owner), window(0), deleteSettings(0)
{
    g_uninstallDialog = this;
}

CUninstallDlg::~CUninstallDlg()
{
    if (g_uninstallDialog == this)
        g_uninstallDialog = 0;
}

bool CUninstallDlg::Show()
{
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_UNINSTALL), owner,
                           Zint_Std::ForwardToDialogObject<CUninstallDlg, &g_uninstallDialog>, 0) ==
           IDOK;
}

INT_PTR CUninstallDlg::HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        window = dialog;
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        deleteSettings =
            SendDlgItemMessageA(window, IDC_DELETE_SETTINGS, BM_GETCHECK, 0, 0) == BST_CHECKED
                ? 1
                : 0;
        EndDialog(window, IDOK);
        window = 0;
        return TRUE;
    case IDCANCEL:
        EndDialog(window, IDCANCEL);
        window = 0;
        return TRUE;
    default:
        return FALSE;
    }
}
