#include "datora/change_dialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include "datora/drop_target.h"
#include "datora/resource.h"
#include "datora/tree_change.h"
#include "support/dialog_forwarder.h"
#include "support/files.h"
#include "support/string.h"

using Zint_Std::CString;

CChangeDialog* g_changeDialog = 0;

namespace {

const int kTimeItems[] = {IDC_DATE_PICKER, IDC_TIME_PICKER, IDC_SET_NOW};
const int kAttributeItems[] = {IDC_READ_ONLY, IDC_HIDDEN, IDC_ARCHIVE, IDC_SYSTEM};
const int kPathLength = 500;

}  // namespace

CChangeDialog::CChangeDialog(HINSTANCE instance, HWND owner)
    : hInstance(instance), hDlg(0), hOwner(owner)
{
    g_changeDialog = this;
}

CChangeDialog::~CChangeDialog()
{
    g_changeDialog = 0;
}

INT_PTR CChangeDialog::Run()
{
    return DialogBoxParamA(hInstance, MAKEINTRESOURCEA(IDD_CHANGE), hOwner,
                           Zint_Std::ForwardToDialogObject<CChangeDialog, &g_changeDialog>, 0);
}

INT_PTR CChangeDialog::HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam));
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == IDM_VERSION) {
            MessageBoxA(hDlg, "Datora Version 1.20", "バージョン情報", MB_OK);
            return TRUE;
        }
        return FALSE;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return TRUE;
    }
    return FALSE;
}

INT_PTR CChangeDialog::OnCommand(const int& id)
{
    switch (id) {
    case IDOK:
    case IDCANCEL:
        EndDialog(hDlg, id);
        return TRUE;
    case IDC_BROWSE:
        OnBrowse();
        return TRUE;
    case IDC_SET_ATTRIBUTES:
        OnAttributeSwitch();
        return TRUE;
    case IDC_SET_TIME:
        OnTimeSwitch();
        return TRUE;
    case IDC_RUN:
        OnRun();
        return TRUE;
    case IDC_SET_NOW:
        OnSetNow();
        return TRUE;
    }
    return FALSE;
}

void CChangeDialog::OnInitDialog(HWND dialog)
{
    hDlg = dialog;
    SendDlgItemMessageA(hDlg, IDC_SET_TIME, BM_SETCHECK, 0, 0);
    SendDlgItemMessageA(hDlg, IDC_SET_ATTRIBUTES, BM_SETCHECK, 0, 0);
    SendDlgItemMessageA(hDlg, IDC_INCLUDE_FOLDERS, BM_SETCHECK, 0, 0);
    EnableItems(kAttributeItems, 4, false);
    EnableItems(kTimeItems, 3, false);
    // Maximize and Size mean nothing for a fixed dialog; the version item
    // goes first.
    HMENU menu = GetSystemMenu(hDlg, FALSE);
    DeleteMenu(menu, 4, MF_BYPOSITION);
    DeleteMenu(menu, 2, MF_BYPOSITION);
    InsertMenuA(menu, 0, MF_BYPOSITION | MF_STRING, IDM_VERSION, "バージョン(&A)...");
    DrawMenuBar(hDlg);
}

bool CChangeDialog::IsChecked(const int& id) const
{
    return SendDlgItemMessageA(hDlg, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CChangeDialog::EnableItems(const int* ids, const int& count, const bool& enable)
{
    for (int i = 0; i < count; i++)
        EnableWindow(GetDlgItem(hDlg, ids[i]), enable);
}

void CChangeDialog::OnTimeSwitch()
{
    EnableItems(kTimeItems, 3, IsChecked(IDC_SET_TIME));
}

void CChangeDialog::OnAttributeSwitch()
{
    EnableItems(kAttributeItems, 4, IsChecked(IDC_SET_ATTRIBUTES));
}

void CChangeDialog::OnSetNow()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    SendDlgItemMessageA(hDlg, IDC_DATE_PICKER, DTM_SETSYSTEMTIME, GDT_VALID,
                        reinterpret_cast<LPARAM>(&now));
    SendDlgItemMessageA(hDlg, IDC_TIME_PICKER, DTM_SETSYSTEMTIME, GDT_VALID,
                        reinterpret_cast<LPARAM>(&now));
}

void CChangeDialog::OnBrowse()
{
    CString current;
    if (!current.Reserve(kPathLength))
        return;
    GetDlgItemTextA(hDlg, IDC_FOLDER, current.data, kPathLength);
    Zint_Std::CFolderPicker picker(hDlg, CString("フォルダを選択してください．"), current);
    if (picker.Browse())
        SetDlgItemTextA(hDlg, IDC_FOLDER, picker.result.data);
}

void CChangeDialog::OnDropFiles(HDROP drop)
{
    // Sized from the item itself: a cut path would name another folder.
    const UINT length = DragQueryFileA(drop, 0, 0, 0);
    CString item;
    if (length == 0 || !item.Reserve(static_cast<int>(length) + 1)) {
        DragFinish(drop);
        return;
    }
    DragQueryFileA(drop, 0, item.data, length + 1);
    DragFinish(drop);
    CString folder = FolderOfDroppedItem(item);
    SetDlgItemTextA(hDlg, IDC_FOLDER, folder.Text());
}

void CChangeDialog::OnRun()
{
    // Cut to the buffer, a long Japanese path would name another folder.
    if (GetWindowTextLengthA(GetDlgItem(hDlg, IDC_FOLDER)) >= kPathLength) {
        MessageBoxA(hDlg, "フォルダのパスが長すぎます!", "警告", MB_ICONWARNING);
        return;
    }
    CString folder;
    if (!folder.Reserve(kPathLength))
        return;
    GetDlgItemTextA(hDlg, IDC_FOLDER, folder.data, kPathLength);
    folder.Trim();
    if (folder.IsEmpty()) {
        MessageBoxA(hDlg, "フォルダが指定されていません!", "警告", MB_ICONWARNING);
        return;
    }
    ChangeRequest request;
    ZeroMemory(&request, sizeof(request));
    request.setTime = IsChecked(IDC_SET_TIME);
    request.setAttributes = IsChecked(IDC_SET_ATTRIBUTES);
    if (!request.setTime && !request.setAttributes) {
        MessageBoxA(hDlg, "意味がありません!", "警告", MB_ICONWARNING);
        return;
    }
    request.includeFolders = IsChecked(IDC_INCLUDE_FOLDERS);

    SYSTEMTIME date;
    SYSTEMTIME timeOfDay;
    ZeroMemory(&date, sizeof(date));
    ZeroMemory(&timeOfDay, sizeof(timeOfDay));
    SendDlgItemMessageA(hDlg, IDC_DATE_PICKER, DTM_GETSYSTEMTIME, 0,
                        reinterpret_cast<LPARAM>(&date));
    SendDlgItemMessageA(hDlg, IDC_TIME_PICKER, DTM_GETSYSTEMTIME, 0,
                        reinterpret_cast<LPARAM>(&timeOfDay));
    CString problem;
    if (request.setTime && !PrepareChosenTime(folder, date, timeOfDay, request.time, problem)) {
        MessageBoxA(hDlg, problem.data, "警告", MB_ICONWARNING);
        return;
    }
    request.attributes = ChosenAttributes(IsChecked(IDC_READ_ONLY), IsChecked(IDC_HIDDEN),
                                          IsChecked(IDC_ARCHIVE), IsChecked(IDC_SYSTEM));

    HCURSOR wait = LoadCursorA(0, IDC_WAIT);
    HCURSOR previous = 0;
    if (wait)
        previous = SetCursor(wait);
    ChangeTally tally;
    ChangeTree(folder, request, tally);
    if (wait)
        SetCursor(previous);

    CString report;
    const bool clean = FormatReport(tally, report);
    MessageBoxA(hDlg, report.data, "報告", clean ? MB_OK : MB_OK | MB_ICONWARNING);
}
