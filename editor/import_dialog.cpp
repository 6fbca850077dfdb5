#include "editor/import_dialog.h"

#include <commctrl.h>

#include "commands/profile_text.h"
#include "editor/editor_ids.h"

using Zint_Std::CArray;
using Zint_Std::CString;

namespace {

// Posted after a refused name: the message box comes when the list has
// finished with its label edit.
const UINT kShowRefusal = WM_APP + 1;

enum ImportColumn {
    kNameColumn = 0,
    kPathColumn,
    kLinkColumn
};

}  // namespace

CImportShortcutsDialog::CImportShortcutsDialog(HWND ownerWindow, CCommandStore& commands)
    : CEditorDialog(ownerWindow, IDD_IMPORT_SHORTCUTS), store(commands), initialised(false)
{
}

BOOL CImportShortcutsDialog::OnInitDialog()
{
    list.Attach(Item(IDC_IMPORT_LIST), LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    list.AddColumn("コマンド名", 22);
    list.AddColumn("パス", 43);
    list.AddColumn("リンク", 35);

    layout.Capture(window);
    layout.Anchor(IDC_IMPORT_NOTE, kGrowWide);
    layout.Anchor(IDC_IMPORT_LIST, kGrowWide | kGrowTall);
    layout.Anchor(IDC_IMPORT_ALL, kFollowBottom);
    layout.Anchor(IDC_IMPORT_NONE, kFollowBottom);
    layout.Anchor(IDC_IMPORT_STATUS, kFollowBottom);
    layout.Anchor(IDOK, kFollowBottom | kFollowRight);
    layout.Anchor(IDCANCEL, kFollowBottom | kFollowRight);

    HCURSOR previous = SetCursor(LoadCursor(0, IDC_WAIT));
    CArray<CString> folders;
    CStartMenuScan::ProgramFolders(folders);
    const bool scanned = scan.Scan(folders, store);
    SetCursor(previous);

    for (int i = 0; i < scan.proposals.count; i++) {
        const ShortcutProposal& proposal = scan.proposals.items[i];
        const int row = list.AddRow(proposal.name.Text(), i);
        list.SetCell(row, kPathColumn, proposal.path.Text());
        list.SetCell(row, kLinkColumn, proposal.linkFile.Text());
        list.SetChecked(row, false);
    }
    initialised = true;
    if (scan.proposals.count == 0) {
        SetItemText(IDC_IMPORT_NOTE, scanned ? "取り込めるショートカットが見つかりませんでした。"
                                             : "ショートカットを読み取れませんでした。");
        EnableWindow(Item(IDC_IMPORT_ALL), FALSE);
        EnableWindow(Item(IDC_IMPORT_NONE), FALSE);
        EnableWindow(Item(IDOK), FALSE);
        SendMessageA(window, DM_SETDEFID, IDCANCEL, 0);
    }
    list.Select(0);
    UpdateStatus();
    SetFocus(list.list);
    return FALSE;
}

void CImportShortcutsDialog::CheckAll(const bool& checked)
{
    const int rows = list.RowCount();
    for (int row = 0; row < rows; row++)
        list.SetChecked(row, checked);
    UpdateStatus();
}

int CImportShortcutsDialog::CheckedCount() const
{
    int checked = 0;
    const int rows = list.RowCount();
    for (int row = 0; row < rows; row++) {
        if (list.IsChecked(row))
            checked++;
    }
    return checked;
}

void CImportShortcutsDialog::UpdateStatus()
{
    CString text;
    text.Format("%d 件中 %d 件にチェック", list.RowCount(), CheckedCount());
    SetItemText(IDC_IMPORT_STATUS, text.data);
}

CString CImportShortcutsDialog::NameProblemText(const char* name, const int& index) const
{
    switch (CheckCommandName(name)) {
    case kNameEmpty: return CString("コマンド名を入力してください。");
    case kNameHasBlank: return CString("コマンド名に空白は使えません。");
    case kNameBreaksProfile:
        return CString("コマンド名に使えない文字が含まれています。\n[ ] や制御文字は使えません。");
    case kNameFine: break;
    }
    if (store.FindName(name, -1) >= 0 || scan.FindProposedName(name, index) >= 0) {
        CString text("「");
        text.Append(name);
        text.Append("」という名前のコマンドはすでにあります。\n"
                    "大文字と小文字は区別されません。別の名前を入力してください。");
        return text;
    }
    return CString();
}

bool CImportShortcutsDialog::EndLabelEdit(NMLVDISPINFOA* info)
{
    // Null text: the edit was cancelled.
    if (!info->item.pszText)
        return false;
    const int index = list.DataOf(info->item.iItem);
    if (index < 0 || index >= scan.proposals.count)
        return false;
    CString problem = NameProblemText(info->item.pszText, index);
    if (!problem.IsEmpty()) {
        refusedName = info->item.pszText;
        refusal = problem;
        PostMessageA(window, kShowRefusal, info->item.iItem, 0);
        return false;
    }
    scan.proposals.items[index].name = info->item.pszText;
    return true;
}

void CImportShortcutsDialog::ShowRefusal(const int& row)
{
    MessageBoxA(window, refusal.Text(), kEditorTitle, MB_OK | MB_ICONEXCLAMATION);
    // Back to the edit with what was typed, to put it right.
    SetFocus(list.list);
    HWND edit = reinterpret_cast<HWND>(SendMessageA(list.list, LVM_EDITLABELA, row, 0));
    if (edit) {
        SetWindowTextA(edit, refusedName.Text());
        SendMessageA(edit, EM_SETSEL, 0, -1);
    }
}

void CImportShortcutsDialog::AddChecked()
{
    if (CheckedCount() == 0) {
        MessageBoxA(window, "取り込むショートカットにチェックを付けてください。", kEditorTitle,
                    MB_OK | MB_ICONINFORMATION);
        SetFocus(list.list);
        return;
    }
    int added = 0;
    const int rows = list.RowCount();
    for (int row = 0; row < rows; row++) {
        const int index = list.DataOf(row);
        if (!list.IsChecked(row) || index < 0 || index >= scan.proposals.count)
            continue;
        const ShortcutProposal& proposal = scan.proposals.items[index];
        if (store.AddNew(proposal.name.Text(), proposal.path.Text(), proposal.folder.Text(),
                         proposal.comment.Text()) < 0)
            break;
        if (added == 0)
            firstAdded = proposal.name;
        added++;
    }
    EndDialog(window, added);
}

bool CImportShortcutsDialog::OnCommand(const int& id, const int&, HWND)
{
    switch (id) {
    case IDOK:
        // Enter while a name is edited in place ends that edit only.
        if (SendMessageA(list.list, LVM_GETEDITCONTROL, 0, 0))
            return true;
        AddChecked();
        return true;
    case IDCANCEL: EndDialog(window, 0); return true;
    case IDC_IMPORT_ALL: CheckAll(true); return true;
    case IDC_IMPORT_NONE: CheckAll(false); return true;
    default: return false;
    }
}

bool CImportShortcutsDialog::OnNotify(NMHDR* header, LRESULT& result)
{
    if (header->idFrom != IDC_IMPORT_LIST)
        return false;
    switch (header->code) {
    case LVN_BEGINLABELEDITA:
        result = FALSE;  // the edit may go ahead
        return true;
    case LVN_ENDLABELEDITA:
        result = EndLabelEdit(reinterpret_cast<NMLVDISPINFOA*>(header)) ? TRUE : FALSE;
        return true;
    case LVN_KEYDOWN: {
        // The list view itself starts a label edit only on a click.
        const NMLVKEYDOWN* key = reinterpret_cast<NMLVKEYDOWN*>(header);
        const int row = list.SelectedRow();
        if (key->wVKey == VK_F2 && row >= 0)
            SendMessageA(list.list, LVM_EDITLABELA, row, 0);
        result = 0;
        return true;
    }
    case LVN_ITEMCHANGED: {
        const NMLISTVIEW* change = reinterpret_cast<NMLISTVIEW*>(header);
        if (initialised && (change->uChanged & LVIF_STATE) &&
            ((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK))
            UpdateStatus();
        result = 0;
        return true;
    }
    default:
        return false;
    }
}

bool CImportShortcutsDialog::OnMessage(const UINT& message, const WPARAM& wParam,
                                       const LPARAM& lParam, INT_PTR& result)
{
    if (message != kShowRefusal)
        return layout.HandleSizing(message, lParam, result);
    ShowRefusal(static_cast<int>(wParam));
    result = 0;
    return true;
}
