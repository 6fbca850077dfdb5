#include "editor/alias_dialog.h"

#include "editor/editor_ids.h"
#include "editor/settings_store.h"

using Zint_Std::CArray;
using Zint_Std::CString;
using Zint_Std::CStringPair;

namespace {

const char kNameEmpty[] = "名前を入力してください。";
const char kNameEquals[] = "名前に「=」は使えません。";
const char kNameBlank[] = "名前に空白や制御文字は使えません。";
const char kNameBreaksProfile[] = "名前の先頭に「;」や「[」は使えません。";
const char kNameTaken[] =
    "同じ名前のエイリアスがすでにあります。\n大文字と小文字は区別されません。";
const char kValueEmpty[] = "値を入力してください。値が空のエイリアスは使われません。";
const char kValueTooLong[] =
    "値が長すぎます。\n511 バイト以内にしてください（全角文字は 2 バイトと数えます）。";
const char kValueLineBreak[] = "値に改行や制御文字は使えません。";

}  // namespace

CAliasDialog::CAliasDialog(HWND ownerWindow, const CArray<CStringPair>& aliases,
                           const int& skip, CStringPair& alias)
    : CEditorDialog(ownerWindow, IDD_ALIAS_EDIT), others(aliases), skipIndex(skip),
      result(alias)
{
}

BOOL CAliasDialog::OnInitDialog()
{
    SetItemText(IDC_ALIAS_NAME, result.first.data);
    SetItemText(IDC_ALIAS_VALUE, result.second.data);
    // A new entry starts at the name, an existing one at its value.
    const int first = result.first.IsEmpty() ? IDC_ALIAS_NAME : IDC_ALIAS_VALUE;
    SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(first)), TRUE);
    SendMessageA(Item(first), EM_SETSEL, 0, -1);
    return FALSE;
}

bool CAliasDialog::CheckInput(const CString& name, const CString& value)
{
    const char* nameText = name.Text();
    const char* problem = 0;
    switch (CheckAliasName(nameText)) {
    case kAliasNameEmpty: problem = kNameEmpty; break;
    case kAliasNameHasEquals: problem = kNameEquals; break;
    case kAliasNameHasBlank: problem = kNameBlank; break;
    case kAliasNameBreaksProfile: problem = kNameBreaksProfile; break;
    case kAliasNameFine: break;
    }
    if (!problem && FindAlias(others, nameText, skipIndex) >= 0)
        problem = kNameTaken;
    if (problem) {
        ShowInputProblem(IDC_ALIAS_NAME, problem);
        return false;
    }
    switch (CheckAliasValue(value.data)) {
    case kAliasValueEmpty: problem = kValueEmpty; break;
    case kAliasValueTooLong: problem = kValueTooLong; break;
    case kAliasValueHasLineBreak: problem = kValueLineBreak; break;
    case kAliasValueFine: break;
    }
    if (problem) {
        ShowInputProblem(IDC_ALIAS_VALUE, problem);
        return false;
    }
    return true;
}

bool CAliasDialog::OnCommand(const int& id, const int& code, HWND control)
{
    if (id != IDOK)
        return CEditorDialog::OnCommand(id, code, control);
    CString name = ItemText(IDC_ALIAS_NAME);
    CString value = ItemText(IDC_ALIAS_VALUE);
    if (!CheckInput(name, value))
        return true;
    result.first = name;
    result.second = value;
    EndDialog(window, IDOK);
    return true;
}

bool EditAlias(HWND owner, const CArray<CStringPair>& aliases, const int& skip,
               CStringPair& alias)
{
    CAliasDialog dialog(owner, aliases, skip, alias);
    return dialog.RunModal() == IDOK;
}
