#include "install_dialog.h"

#include "install_folder_check.h"
#include "setup_ids.h"
#include "support/dialog_forwarder.h"
#include "support/files.h"

using Zint_Std::CString;

CInstallDlg* g_installDialog = 0;

namespace {

const int kFolderChars = 500;

}  // namespace

CInstallDlg::CInstallDlg(HINSTANCE instance, HWND owner, COsVersion& osVersion)
    : instance(instance), owner(owner), window(0), allUsers(0), startup(0), multiUser(0),
      sendTo(0), osVersion(osVersion)
{
    g_installDialog = this;
}

CInstallDlg::~CInstallDlg()
{
    if (g_installDialog == this)
        g_installDialog = 0;
    instance = 0;
    owner = 0;
    window = 0;
    allUsers = startup = multiUser = sendTo = 0;
}

bool CInstallDlg::Show()
{
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_INSTALL), owner,
                           Zint_Std::ForwardToDialogObject<CInstallDlg, &g_installDialog>, 0) ==
           IDOK;
}

INT_PTR CInstallDlg::HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_COMMAND:
        return OnCommand(wParam);
    default:
        return FALSE;
    }
}

INT_PTR CInstallDlg::OnInitDialog(HWND dialog)
{
    window = dialog;
    if (!installFolder.IsEmpty())
        SetDlgItemTextA(window, IDC_INSTALL_FOLDER, installFolder.data);
    if (startup)
        Check(IDC_STARTUP, true);

    const int canWriteCommon = osVersion.CanWriteCommonPrograms();
    if (!canWriteCommon) {
        allUsers = 0;
        Enable(IDC_ALL_USERS, false);
    } else if (allUsers == 1) {
        Check(IDC_ALL_USERS, true);
    }

    // Per-user settings only make sense when several users share the
    // installation.
    if (osVersion.info.dwPlatformId == VER_PLATFORM_WIN32_NT && canWriteCommon == 1 &&
        allUsers == 1) {
        if (multiUser == 1)
            Check(IDC_MULTI_USER, true);
    } else {
        multiUser = 0;
        Enable(IDC_MULTI_USER, false);
    }

    if (sendTo)
        Check(IDC_SEND_TO, true);
    return TRUE;
}

INT_PTR CInstallDlg::OnCommand(WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case IDC_ALL_USERS:
        OnAllUsersClicked();
        return TRUE;
    case IDC_BROWSE:
        OnBrowse();
        return TRUE;
    case IDOK:
        OnOk();
        return TRUE;
    case IDCANCEL:
        EndDialog(window, IDCANCEL);
        window = 0;
        return TRUE;
    default:
        return FALSE;
    }
}

void CInstallDlg::OnAllUsersClicked()
{
    if (IsChecked(IDC_ALL_USERS)) {
        Enable(IDC_MULTI_USER, true);
    } else {
        Check(IDC_MULTI_USER, false);
        Enable(IDC_MULTI_USER, false);
    }
}

void CInstallDlg::OnBrowse()
{
    Zint_Std::CFolderPicker picker(window, "Queltをインストールするフォルダを選択してください.",
                                   FolderText());
    if (picker.Browse() && !picker.result.IsEmpty())
        SetDlgItemTextA(window, IDC_INSTALL_FOLDER, picker.result.data);
}

void CInstallDlg::OnOk()
{
    CString folder;
    // An empty field, a drive's root or a path relative to some working
    // folder would scatter the suite's files where they do not belong.
    const InstallFolderVerdict verdict = CheckInstallFolder(FolderText().data, folder);
    if (verdict != kFolderUsable) {
        // The focus goes to the edit before the box too: the dialog gives
        // back the focus it had when the box took it.
        HWND edit = GetDlgItem(window, IDC_INSTALL_FOLDER);
        SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
        MessageBoxA(window, InstallFolderRefusal(verdict), "Quelt", MB_OK | MB_ICONEXCLAMATION);
        SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
        return;
    }
    installFolder.Assign(folder);
    startup = IsChecked(IDC_STARTUP) ? 1 : 0;
    allUsers = IsChecked(IDC_ALL_USERS) ? 1 : 0;
    multiUser = IsChecked(IDC_MULTI_USER) ? 1 : 0;
    sendTo = IsChecked(IDC_SEND_TO) ? 1 : 0;
    EndDialog(window, IDOK);
    window = 0;
}

bool CInstallDlg::IsChecked(const int& id) const
{
    return SendDlgItemMessageA(window, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CInstallDlg::Check(const int& id, const bool& checked)
{
    SendDlgItemMessageA(window, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CInstallDlg::Enable(const int& id, const bool& enabled)
{
    EnableWindow(GetDlgItem(window, id), enabled ? TRUE : FALSE);
}

CString CInstallDlg::FolderText() const
{
    CString text;
    if (text.Reserve(kFolderChars))
        GetDlgItemTextA(window, IDC_INSTALL_FOLDER, text.data, kFolderChars);
    return text;
}
