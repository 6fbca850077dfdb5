#include "editor/command_list_dialog.h"

#include <commctrl.h>

#include "editor/command_dialog.h"
#include "editor/editor_dialogs.h"
#include "editor/editor_ids.h"
#include "editor/import_dialog.h"
#include "editor/text_match.h"

using Zint_Std::CString;

namespace {

enum ListColumn {
    kNameColumn = 0,
    kPathColumn,
    kFolderColumn,
    kCommentColumn
};

}  // namespace

CCommandListDialog::CCommandListDialog(HWND ownerWindow, const char* commandFile)
    : CEditorDialog(ownerWindow, IDD_COMMAND_LIST), store(commandFile), filling(false)
{
}

BOOL CCommandListDialog::OnInitDialog()
{
    list.Attach(Item(IDC_LIST_COMMANDS), LVS_EX_FULLROWSELECT);
    list.AddColumn("コマンド名", 20);
    list.AddColumn("パス", 40);
    list.AddColumn("作業フォルダ", 22);
    list.AddColumn("コメント", 18);

    layout.Capture(window);
    layout.Anchor(IDC_LIST_COMMANDS, kGrowWide | kGrowTall);
    const int bottomLeft[] = {IDC_LIST_NEW, IDC_LIST_EDIT, IDC_LIST_DUPLICATE, IDC_LIST_DELETE,
                              IDC_LIST_IMPORT, IDC_LIST_STATUS};
    for (const int id : bottomLeft)
        layout.Anchor(id, kFollowBottom);
    layout.Anchor(IDOK, kFollowBottom | kFollowRight);
    layout.Anchor(IDCANCEL, kFollowBottom | kFollowRight);

    SendMessageA(Item(IDC_LIST_FILTER), EM_LIMITTEXT, 99, 0);
    if (!store.Load()) {
        ShowError("コマンドファイルを読み込めませんでした。");
        EndDialog(window, 0);
        return TRUE;
    }
    Fill(-1, 0);
    SetFocus(list.list);
    return FALSE;
}

bool CCommandListDialog::Matches(const CommandEntry& entry) const
{
    if (entry.deleted)
        return false;
    const char* part = filter.Text();
    return ContainsText(entry.name.Text(), part) || ContainsText(entry.path.Text(), part) ||
           ContainsText(entry.comment.Text(), part);
}

void CCommandListDialog::Fill(const int& select, const int& fallbackRow)
{
    SendMessageA(list.list, WM_SETREDRAW, FALSE, 0);
    list.Clear();
    for (int i = 0; i < store.entries.count; i++) {
        const CommandEntry& entry = store.entries.items[i];
        if (!Matches(entry))
            continue;
        const int row = list.AddRow(entry.name.Text(), i);
        list.SetCell(row, kPathColumn, entry.path.Text());
        list.SetCell(row, kFolderColumn, entry.folder.Text());
        list.SetCell(row, kCommentColumn, entry.comment.Text());
    }
    SendMessageA(list.list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list.list, 0, TRUE);
    int row = select >= 0 ? list.RowOf(select) : -1;
    if (row < 0 && fallbackRow >= 0 && list.RowCount() > 0)
        row = fallbackRow < list.RowCount() ? fallbackRow : list.RowCount() - 1;
    list.Select(row);
    UpdateButtons();
    UpdateStatus();
}

void CCommandListDialog::ShowEntry(const CString& name)
{
    const int index = store.FindName(name.Text(), -1);
    if (index >= 0 && !Matches(store.entries.items[index]) && !filter.IsEmpty()) {
        filter = "";
        filling = true;
        SetItemText(IDC_LIST_FILTER, "");
        filling = false;
    }
    Fill(index, -1);
}

int CCommandListDialog::SelectedIndex() const
{
    const int index = list.DataOf(list.SelectedRow());
    return index < store.entries.count ? index : -1;
}

void CCommandListDialog::UpdateButtons()
{
    const BOOL selected = SelectedIndex() >= 0;
    EnableWindow(Item(IDC_LIST_EDIT), selected);
    EnableWindow(Item(IDC_LIST_DUPLICATE), selected);
    EnableWindow(Item(IDC_LIST_DELETE), selected);
}

void CCommandListDialog::UpdateStatus()
{
    int live = 0;
    for (int i = 0; i < store.entries.count; i++) {
        if (!store.entries.items[i].deleted)
            live++;
    }
    CString text;
    if (filter.IsEmpty())
        text.Format("%d 件のコマンド", live);
    else
        text.Format("%d 件のコマンド（絞り込み中：%d 件）", live, list.RowCount());
    if (store.twinCount)
        text.Append("　同じ名前のコマンドが複数あります");
    SetItemText(IDC_LIST_STATUS, text.data);
}

void CCommandListDialog::NewCommand()
{
    CommandEntry entry;
    entry.deleted = 0;
    if (!EditCommandEntry(window, store, entry, -1))
        return;
    if (store.AddNew(entry.name.Text(), entry.path.Text(), entry.folder.Text(),
                     entry.comment.Text()) < 0) {
        ShowError("メモリが足りません。");
        return;
    }
    store.Sort();
    ShowEntry(entry.name);
}

void CCommandListDialog::EditSelected()
{
    const int index = SelectedIndex();
    if (index < 0)
        return;
    CommandEntry copy = store.entries.items[index];
    if (!EditCommandEntry(window, store, copy, index))
        return;
    CommandEntry& entry = store.entries.items[index];
    entry.name = copy.name;
    entry.path = copy.path;
    entry.folder = copy.folder;
    entry.comment = copy.comment;
    store.Sort();
    ShowEntry(copy.name);
}

void CCommandListDialog::DuplicateSelected()
{
    const int index = SelectedIndex();
    if (index < 0)
        return;
    CommandEntry copy = store.entries.items[index];
    copy.name = store.UniqueName(copy.name.Text());
    // A command of its own: nothing of the original's section goes with it.
    copy.loadedName = "";
    copy.loadedPath = "";
    copy.loadedFolder = "";
    copy.loadedComment = "";
    if (!EditCommandEntry(window, store, copy, -1))
        return;
    if (store.AddNew(copy.name.Text(), copy.path.Text(), copy.folder.Text(),
                     copy.comment.Text()) < 0) {
        ShowError("メモリが足りません。");
        return;
    }
    store.Sort();
    ShowEntry(copy.name);
}

void CCommandListDialog::DeleteSelected()
{
    const int index = SelectedIndex();
    if (index < 0)
        return;
    CString question("「");
    question.Append(store.entries.items[index].name);
    question.Append("」を削除しますか？");
    if (!Ask(question.data))
        return;
    const int row = list.SelectedRow();
    store.Delete(index);
    // The next command takes the place of the one that went.
    Fill(-1, row);
    SetFocus(list.list);
}

void CCommandListDialog::ImportShortcuts()
{
    CImportShortcutsDialog import(window, store);
    if (import.RunModal() <= 0)
        return;
    store.Sort();
    // The first command added is shown.
    ShowEntry(import.firstAdded);
}

void CCommandListDialog::SaveAndClose()
{
    switch (store.Save()) {
    case kSaved:
        EndDialog(window, 1);
        break;
    case kSavedNothing:
        EndDialog(window, 0);
        break;
    case kSaveFailed:
        ShowError(store.SaveFailureText());
        break;
    }
}

void CCommandListDialog::CancelAndClose()
{
    if (store.HasChanges() && !Ask("変更を破棄しますか？"))
        return;
    EndDialog(window, 0);
}

void CCommandListDialog::EndUnasked()
{
    EndDialog(window, 0);
}

bool CCommandListDialog::OnCommand(const int& id, const int& code, HWND)
{
    switch (id) {
    case IDOK: SaveAndClose(); return true;
    case IDCANCEL: CancelAndClose(); return true;
    case IDC_LIST_NEW: NewCommand(); return true;
    case IDC_LIST_EDIT: EditSelected(); return true;
    case IDC_LIST_DUPLICATE: DuplicateSelected(); return true;
    case IDC_LIST_DELETE: DeleteSelected(); return true;
    case IDC_LIST_IMPORT: ImportShortcuts(); return true;
    case IDC_LIST_FILTER:
        if (code == EN_CHANGE && !filling) {
            filter = ItemText(IDC_LIST_FILTER);
            Fill(SelectedIndex(), 0);
        }
        return true;
    default: return false;
    }
}

bool CCommandListDialog::OnNotify(NMHDR* header, LRESULT& result)
{
    if (header->idFrom != IDC_LIST_COMMANDS)
        return false;
    result = 0;
    switch (header->code) {
    case NM_DBLCLK:
        if (reinterpret_cast<NMITEMACTIVATE*>(header)->iItem >= 0)
            EditSelected();
        return true;
    case LVN_KEYDOWN: {
        const WORD key = reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey;
        if (key == VK_DELETE)
            DeleteSelected();
        else if (key == VK_RETURN)
            EditSelected();
        return true;
    }
    case LVN_ITEMCHANGED:
        UpdateButtons();
        return true;
    // The dialog manager takes Enter for the default button: while the
    // list has the focus, that is the edit button.
    case NM_SETFOCUS:
        SendMessageA(window, DM_SETDEFID, IDC_LIST_EDIT, 0);
        return true;
    case NM_KILLFOCUS:
        SendMessageA(window, DM_SETDEFID, IDOK, 0);
        return true;
    default:
        return false;
    }
}

bool CCommandListDialog::OnMessage(const UINT& message, const WPARAM&, const LPARAM& lParam,
                                   INT_PTR& result)
{
    return layout.HandleSizing(message, lParam, result);
}

int EditCommandList(HWND owner, const char* commandFile)
{
    CCommandListDialog dialog(owner, commandFile);
    const INT_PTR result = dialog.RunModal();
    // Whenever the file was written the launcher reads it again.
    return result > 0 || dialog.store.wroteFile ? 1 : 0;
}
