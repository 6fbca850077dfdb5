// The single-command editor dialog: fields, browse buttons, the live
// preview and the checks made before OK is accepted.
#include "editor/command_dialog.h"

#include <commdlg.h>
#include <stdlib.h>
#include <string.h>

#include "commands/line_parser.h"
#include "commands/profile_text.h"
#include "editor/command_preview.h"
#include "editor/dialog.h"
#include "editor/editor_ids.h"
#include "support/files.h"

using Zint_Std::CString;

namespace {

// A folder field as the shell sees it: environment references expanded.
CString ExpandedFolder(const CString& folder)
{
    CString result;
    if (folder.IsEmpty())
        return result;
    char* expanded = ExpandEnvironmentToFit(folder.data);
    result = expanded ? expanded : folder.data;
    free(expanded);
    return result;
}

class CCommandDialog : public CEditorDialog {
public:
    CCommandDialog(HWND owner, const CCommandStore& commands, CommandEntry& edited,
                   const int& self);

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(const int& id, const int& code, HWND control) override;

private:
    const CCommandStore& store;
    CommandEntry& entry;
    int selfIndex;
    bool filling;  // the fields are being set up: no preview yet

    void UpdatePreview();
    void BrowseForFile();
    void BrowseForFolder();
    bool CheckInput();
    bool CheckName(const CString& name);
    bool CheckLength(const int& id, const CString& text, const char* label, const int& limit);
    bool CheckLineBreak(const int& id, const CString& text, const char* label);
};

CCommandDialog::CCommandDialog(HWND owner, const CCommandStore& commands, CommandEntry& edited,
                               const int& self)
    : CEditorDialog(owner, IDD_COMMAND_EDIT), store(commands), entry(edited), selfIndex(self),
      filling(false)
{
}

BOOL CCommandDialog::OnInitDialog()
{
    SetWindowTextA(window, entry.loadedName.IsEmpty() ? "新しいコマンド" : "コマンドの編集");
    filling = true;
    SetItemText(IDC_COMMAND_NAME, entry.name.Text());
    SetItemText(IDC_COMMAND_PATH, entry.path.Text());
    SetItemText(IDC_COMMAND_FOLDER, entry.folder.Text());
    SetItemText(IDC_COMMAND_COMMENT, entry.comment.Text());
    filling = false;
    UpdatePreview();
    // The focus goes to the first field, the name.
    return TRUE;
}

bool CCommandDialog::OnCommand(const int& id, const int& code, HWND)
{
    switch (id) {
    case IDOK:
        if (CheckInput()) {
            entry.name = ItemText(IDC_COMMAND_NAME);
            entry.path = ItemText(IDC_COMMAND_PATH);
            entry.folder = ItemText(IDC_COMMAND_FOLDER);
            entry.comment = ItemText(IDC_COMMAND_COMMENT);
            EndDialog(window, IDOK);
        }
        return true;
    case IDCANCEL:
        EndDialog(window, IDCANCEL);
        return true;
    case IDC_COMMAND_PATH_BROWSE:
        if (code == BN_CLICKED)
            BrowseForFile();
        return true;
    case IDC_COMMAND_FOLDER_BROWSE:
        if (code == BN_CLICKED)
            BrowseForFolder();
        return true;
    case IDC_COMMAND_NAME:
    case IDC_COMMAND_PATH:
    case IDC_COMMAND_FOLDER:
    case IDC_PREVIEW_ARGUMENTS:
        if (code == EN_CHANGE && !filling)
            UpdatePreview();
        return true;
    default:
        return false;
    }
}

void CCommandDialog::UpdatePreview()
{
    CString name = ItemText(IDC_COMMAND_NAME);
    CString path = ItemText(IDC_COMMAND_PATH);
    CString folder = ItemText(IDC_COMMAND_FOLDER);
    CString sample = ItemText(IDC_PREVIEW_ARGUMENTS);
    CommandPreview preview;
    ComputeCommandPreview(name.Text(), path.Text(), folder.Text(), sample.Text(),
                          ShellFindsProgram, preview);
    SetItemText(IDC_PREVIEW_FILE, preview.file.Text());
    SetItemText(IDC_PREVIEW_PARAMETERS, preview.parameters.Text());
    SetItemText(IDC_PREVIEW_FOLDER, preview.folder.Text());
    SetItemText(IDC_PREVIEW_NOTE, preview.note.Text());
}

void CCommandDialog::BrowseForFile()
{
    char chosen[MAX_PATH * 2];
    chosen[0] = 0;
    // The dialog starts in the command's working folder when it has one.
    CString folder = ExpandedFolder(ItemText(IDC_COMMAND_FOLDER));
    OPENFILENAMEA request;
    memset(&request, 0, sizeof(request));
    request.lStructSize = sizeof(request);
    request.hwndOwner = window;
    request.lpstrFilter = "すべてのファイル (*.*)\0*.*\0";
    request.nFilterIndex = 1;
    request.lpstrFile = chosen;
    request.nMaxFile = sizeof(chosen);
    request.lpstrInitialDir = folder.IsEmpty() ? 0 : folder.data;
    request.lpstrTitle = "実行するファイルを選んでください";
    request.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameA(&request))
        return;
    SetItemText(IDC_COMMAND_PATH, QuotedWhenBlank(chosen).data);
}

void CCommandDialog::BrowseForFolder()
{
    CString current = ExpandedFolder(ItemText(IDC_COMMAND_FOLDER));
    Zint_Std::CFolderPicker picker(window, CString("作業フォルダを選んでください。"), current);
    if (!picker.Browse() || picker.result.IsEmpty())
        return;
    CString folder(picker.result);
    // A drive root keeps its backslash; any other folder is written without.
    const int length = folder.GetLength();
    if (length > 3 && Zint_Std::EndsWithBackslash(folder.data))
        folder.data[length - 1] = 0;
    SetItemText(IDC_COMMAND_FOLDER, folder.data);
}

bool CCommandDialog::CheckName(const CString& name)
{
    switch (CheckCommandName(name.Text())) {
    case kNameEmpty:
        ShowInputProblem(IDC_COMMAND_NAME, "コマンド名を入力してください。");
        return false;
    case kNameHasBlank:
        ShowInputProblem(IDC_COMMAND_NAME,
                         "コマンド名に空白は使えません。\n"
                         "入力した行は最初の空白までがコマンド名になります。");
        return false;
    case kNameBreaksProfile:
        ShowInputProblem(IDC_COMMAND_NAME,
                         "コマンド名に使えない文字が含まれています。\n"
                         "[ ] や制御文字は使えません。");
        return false;
    case kNameFine:
        break;
    }
    if (store.FindName(name.data, selfIndex) >= 0) {
        CString text("「");
        text.Append(name);
        text.Append("」という名前のコマンドはすでにあります。\n"
                    "大文字と小文字は区別されません。別の名前を入力してください。");
        ShowInputProblem(IDC_COMMAND_NAME, text.data);
        return false;
    }
    return true;
}

bool CCommandDialog::CheckLength(const int& id, const CString& text, const char* label,
                                 const int& limit)
{
    const int length = text.GetLength();
    // A value that starts or ends with a blank or a quote is stored in
    // quotes and has one byte less.
    const int readable = ReadableLength(text.Text(), limit);
    if (length <= readable)
        return true;
    CString message;
    message.Format("%sが長すぎます（%d バイト）。\n%d バイト以内にしてください"
                   "（全角文字は 2 バイトと数えます）。",
                   label, length, readable);
    ShowInputProblem(id, message.data);
    return false;
}

bool CCommandDialog::CheckLineBreak(const int& id, const CString& text, const char* label)
{
    if (!HasLineBreak(text.Text()))
        return true;
    CString message;
    message.Format("%sに改行や制御文字は使えません。", label);
    ShowInputProblem(id, message.data);
    return false;
}

bool CCommandDialog::CheckInput()
{
    CString name = ItemText(IDC_COMMAND_NAME);
    CString path = ItemText(IDC_COMMAND_PATH);
    CString folder = ItemText(IDC_COMMAND_FOLDER);
    CString comment = ItemText(IDC_COMMAND_COMMENT);
    if (!CheckName(name))
        return false;
    if (path.IsEmpty()) {
        ShowInputProblem(IDC_COMMAND_PATH,
                         "パスを入力してください。\nパスが空のコマンドは実行されません。");
        return false;
    }
    return CheckLineBreak(IDC_COMMAND_PATH, path, "パス") &&
           CheckLength(IDC_COMMAND_PATH, path, "パス", kMaxPathBytes) &&
           CheckLineBreak(IDC_COMMAND_FOLDER, folder, "作業フォルダ") &&
           CheckLength(IDC_COMMAND_FOLDER, folder, "作業フォルダ", kMaxFolderBytes) &&
           CheckLineBreak(IDC_COMMAND_COMMENT, comment, "コメント") &&
           CheckLength(IDC_COMMAND_COMMENT, comment, "コメント", kMaxCommentBytes);
}

}  // namespace

bool EditCommandEntry(HWND owner, const CCommandStore& store, CommandEntry& entry,
                      const int& selfIndex)
{
    CCommandDialog dialog(owner, store, entry, selfIndex);
    return dialog.RunModal() == IDOK;
}
