#include "editor/settings_dialog.h"

#include <commctrl.h>
#include <string.h>

#include "editor/alias_dialog.h"
#include "editor/editor_dialogs.h"
#include "editor/editor_ids.h"
#include "editor/hotkey_keys.h"

using Zint_Std::CString;
using Zint_Std::CStringPair;

namespace {

const char kNoModifier[] =
    "修飾キー (Alt, Ctrl, Shift, Win) を 1 つ以上選んでください。\n"
    "修飾キーのないキーをホットキーにすると、ほかのどのプログラムでもそのキーが"
    "使えなくなります。";
const char kWinNotAlone[] = "Win キーはほかの修飾キーと組み合わせられません。";
const char kHistoryRange[] = "履歴の数は 0 から 1000 までの数で入力してください。";
const char kWidthRange[] = "幅は 50 から 4000 までの数で入力してください。";
const char kHeightRange[] = "高さは 10 から 1000 までの数で入力してください。";
// The id a changed hotkey is tried under on the owner window.
const int kTrialHotKeyId = 0x0B1D;

const char kHotKeyTaken[] =
    "このホットキーはほかのプログラムが使用しています。別の組み合わせを選んでください。";
const char kWriteFailed[] = "設定ファイルに書き込めませんでした。";
const char kLoadFailed[] = "設定ファイルを読み込めませんでした。";

const int kMaxHistory = 1000;

struct ImeChoice {
    int value;
    const char* name;
};

// The third entry stands for every value other than 1 and 2.
const ImeChoice kImeChoices[] = {
    {2, "IME を使わない"},
    {1, "表示のたびに IME をオフにする"},
    {0, "IME を制御しない"},
};

int ImeChoiceOf(const int& value)
{
    for (int i = 0; i < 2; i++) {
        if (kImeChoices[i].value == value)
            return i;
    }
    return 2;
}

// Digits only, as a number edit holds them; false for anything else.
bool ParseCount(const char* text, int& value)
{
    if (!text || !text[0])
        return false;
    int result = 0;
    for (int i = 0; text[i]; i++) {
        if (text[i] < '0' || text[i] > '9' || i >= 7)
            return false;
        result = result * 10 + (text[i] - '0');
    }
    value = result;
    return true;
}

}  // namespace

CSettingsDialog::CSettingsDialog(HWND ownerWindow, const ATOM& hotKey, const char* profileFile)
    : CEditorDialog(ownerWindow, IDD_SETTINGS), profile(profileFile), hotKeyId(hotKey),
      imePicked(false)
{
}

bool CSettingsDialog::FileChanged() const
{
    return SettingsDiffer(original, loaded);
}

BOOL CSettingsDialog::OnInitDialog()
{
    SetChecked(IDC_SETTINGS_ALT, edited.alt != 0);
    SetChecked(IDC_SETTINGS_CTRL, edited.ctrl != 0);
    SetChecked(IDC_SETTINGS_SHIFT, edited.shift != 0);
    // The launcher ignores Win beside another modifier: shown as it acts.
    SetChecked(IDC_SETTINGS_WIN, HotKeyModifiers(edited) == MOD_WIN);
    FillKeyList();

    SendMessageA(Item(IDC_SETTINGS_HISTORY_SPIN), UDM_SETRANGE32, 0, kMaxHistory);
    SetDlgItemInt(window, IDC_SETTINGS_HISTORY, edited.history, TRUE);
    SetChecked(IDC_SETTINGS_TOOLTIP, edited.toolTip != 0);
    FillImeList();
    SetChecked(IDC_SETTINGS_MATCH, edited.match != 0);
    SetChecked(IDC_SETTINGS_RANK, edited.rank != 0);
    SetChecked(IDC_SETTINGS_CALC, edited.calc != 0);
    SetChecked(IDC_SETTINGS_OPEN, edited.open != 0);
    SetChecked(IDC_SETTINGS_CATALOG, edited.catalog != 0);
    SetChecked(IDC_SETTINGS_ROMAJI, edited.romaji != 0);

    SetDlgItemInt(window, IDC_SETTINGS_WIDTH, edited.width, TRUE);
    SetDlgItemInt(window, IDC_SETTINGS_HEIGHT, edited.height, TRUE);
    SetChecked(IDC_SETTINGS_SAVE_POSITION, edited.savePosition != 0);
    SetChecked(IDC_SETTINGS_TASK_TRAY, edited.taskTray != 0);

    PrepareAliasList();
    ShowAliases(-1);
    return TRUE;
}

void CSettingsDialog::FillKeyList()
{
    HWND list = Item(IDC_SETTINGS_KEY);
    int selected = -1;
    const int count = HotKeyChoiceCount();
    for (int i = 0; i < count; i++) {
        const int code = HotKeyChoiceCode(i);
        CString name = HotKeyName(code);
        const int at = static_cast<int>(SendMessageA(list, CB_ADDSTRING, 0,
                                                     reinterpret_cast<LPARAM>(name.data)));
        SendMessageA(list, CB_SETITEMDATA, at, code);
        if (code == edited.key)
            selected = at;
    }
    // A code the list does not offer stays choosable under its number.
    if (selected < 0) {
        CString name = HotKeyName(edited.key);
        selected = static_cast<int>(SendMessageA(list, CB_ADDSTRING, 0,
                                                 reinterpret_cast<LPARAM>(name.data)));
        SendMessageA(list, CB_SETITEMDATA, selected, edited.key);
    }
    SendMessageA(list, CB_SETCURSEL, selected, 0);
}

void CSettingsDialog::FillImeList()
{
    HWND list = Item(IDC_SETTINGS_IME);
    for (const ImeChoice& choice : kImeChoices) {
        const int at = static_cast<int>(SendMessageA(list, CB_ADDSTRING, 0,
                                                     reinterpret_cast<LPARAM>(choice.name)));
        SendMessageA(list, CB_SETITEMDATA, at, choice.value);
    }
    SendMessageA(list, CB_SETCURSEL, ImeChoiceOf(edited.imeCtrl), 0);
}

void CSettingsDialog::PrepareAliasList()
{
    HWND list = Item(IDC_SETTINGS_ALIASES);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                 LVS_EX_FULLROWSELECT);
    RECT area;
    GetClientRect(list, &area);
    const int width = area.right - GetSystemMetrics(SM_CXVSCROLL);
    const int nameWidth = width * 2 / 5;
    const struct {
        const char* title;
        int width;
    } columns[] = {{"名前", nameWidth}, {"値", width - nameWidth}};
    for (int i = 0; i < 2; i++) {
        LVCOLUMNA column;
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<char*>(columns[i].title);
        column.cx = columns[i].width;
        column.iSubItem = i;
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
}

void CSettingsDialog::ShowAliases(const int& selected)
{
    HWND list = Item(IDC_SETTINGS_ALIASES);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < edited.aliases.count; i++) {
        CStringPair& alias = edited.aliases.items[i];
        LVITEMA row;
        row.mask = LVIF_TEXT;
        row.iItem = i;
        row.iSubItem = 0;
        row.pszText = const_cast<char*>(alias.first.Text());
        const int at =
            static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row)));
        row.iItem = at;
        row.iSubItem = 1;
        row.pszText = const_cast<char*>(alias.second.Text());
        SendMessageA(list, LVM_SETITEMTEXTA, at, reinterpret_cast<LPARAM>(&row));
    }
    if (selected >= 0 && selected < edited.aliases.count) {
        LVITEMA state;
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(list, LVM_SETITEMSTATE, selected, reinterpret_cast<LPARAM>(&state));
        SendMessageA(list, LVM_ENSUREVISIBLE, selected, FALSE);
    }
    UpdateAliasButtons();
}

int CSettingsDialog::SelectedAlias() const
{
    return static_cast<int>(
        SendMessageA(Item(IDC_SETTINGS_ALIASES), LVM_GETNEXTITEM, -1, LVNI_SELECTED));
}

void CSettingsDialog::UpdateAliasButtons()
{
    const bool any = SelectedAlias() >= 0;
    HWND focus = GetFocus();
    EnableWindow(Item(IDC_SETTINGS_ALIAS_EDIT), any);
    EnableWindow(Item(IDC_SETTINGS_ALIAS_DELETE), any);
    // A button that lost its use keeps no focus: the list takes it.
    if (focus && !IsWindowEnabled(focus))
        SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_SETTINGS_ALIASES)),
                     TRUE);
}

void CSettingsDialog::AddAlias()
{
    CStringPair alias;
    if (!EditAlias(window, edited.aliases, -1, alias))
        return;
    if (!edited.aliases.Add(alias))
        return;
    ShowAliases(edited.aliases.count - 1);
}

void CSettingsDialog::EditAliasAt(const int& index)
{
    if (index < 0 || index >= edited.aliases.count)
        return;
    CStringPair alias = edited.aliases.items[index];
    if (!EditAlias(window, edited.aliases, index, alias))
        return;
    edited.aliases.items[index] = alias;
    ShowAliases(index);
}

void CSettingsDialog::DeleteSelectedAlias()
{
    const int index = SelectedAlias();
    if (index < 0)
        return;
    RemoveAlias(edited.aliases, index);
    ShowAliases(index < edited.aliases.count ? index : edited.aliases.count - 1);
}

bool CSettingsDialog::OnCommand(const int& id, const int& code, HWND control)
{
    switch (id) {
    case IDOK:
        // Enter on the alias list edits the selected entry.
        if (GetFocus() == Item(IDC_SETTINGS_ALIASES) && GetKeyState(VK_RETURN) < 0) {
            EditAliasAt(SelectedAlias());
            return true;
        }
        OnOk();
        return true;
    case IDCANCEL:
        // Only a save that failed half-way can have changed the file.
        EndDialog(window, FileChanged() ? 1 : 0);
        return true;
    case IDC_SETTINGS_IME:
        if (code == CBN_SELCHANGE)
            imePicked = true;
        return true;
    case IDC_SETTINGS_ALIAS_ADD:
        AddAlias();
        return true;
    case IDC_SETTINGS_ALIAS_EDIT:
        EditAliasAt(SelectedAlias());
        return true;
    case IDC_SETTINGS_ALIAS_DELETE:
        DeleteSelectedAlias();
        return true;
    default:
        return CEditorDialog::OnCommand(id, code, control);
    }
}

bool CSettingsDialog::OnNotify(NMHDR* header, LRESULT& result)
{
    if (header->idFrom != IDC_SETTINGS_ALIASES)
        return false;
    result = 0;
    switch (header->code) {
    case NM_DBLCLK:
        // A double click on an empty stretch of the list names no row.
        EditAliasAt(reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
        return true;
    case LVN_ITEMCHANGED:
        UpdateAliasButtons();
        return true;
    case LVN_KEYDOWN:
        if (reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey == VK_DELETE)
            DeleteSelectedAlias();
        return true;
    default:
        return false;
    }
}

bool CSettingsDialog::ReadNumber(const int& id, const int& low, const int& high,
                                 const char* problem, int& value)
{
    CString text = ItemText(id);
    // A value written by hand that the field shows untouched stays as it
    // is, even outside the range the dialog offers.
    CString shown;
    shown.Format("%d", value);
    if (text.data && shown.data && strcmp(text.data, shown.data) == 0)
        return true;
    int number = 0;
    if (!ParseCount(text.data, number) || number < low || number > high) {
        ShowInputProblem(id, problem);
        return false;
    }
    value = number;
    return true;
}

int CSettingsDialog::SelectedKey() const
{
    HWND keys = Item(IDC_SETTINGS_KEY);
    const LRESULT key = SendMessageA(keys, CB_GETCURSEL, 0, 0);
    if (key < 0)
        return edited.key;
    return static_cast<int>(SendMessageA(keys, CB_GETITEMDATA, key, 0));
}

bool CSettingsDialog::TakeInput()
{
    const bool alt = IsChecked(IDC_SETTINGS_ALT);
    const bool ctrl = IsChecked(IDC_SETTINGS_CTRL);
    const bool shift = IsChecked(IDC_SETTINGS_SHIFT);
    const bool win = IsChecked(IDC_SETTINGS_WIN);
    // A hotkey the user left as the file gave it is not judged here.
    const bool hotKeyTouched = alt != (edited.alt != 0) || ctrl != (edited.ctrl != 0) ||
                               shift != (edited.shift != 0) ||
                               win != (HotKeyModifiers(edited) == MOD_WIN) ||
                               SelectedKey() != edited.key;
    if (hotKeyTouched && !alt && !ctrl && !shift && !win) {
        ShowInputProblem(IDC_SETTINGS_ALT, kNoModifier);
        return false;
    }
    if (hotKeyTouched && win && (alt || ctrl || shift)) {
        ShowInputProblem(IDC_SETTINGS_WIN, kWinNotAlone);
        return false;
    }
    int history = edited.history, width = edited.width, height = edited.height;
    if (!ReadNumber(IDC_SETTINGS_HISTORY, 0, kMaxHistory, kHistoryRange, history) ||
        !ReadNumber(IDC_SETTINGS_WIDTH, 50, 4000, kWidthRange, width) ||
        !ReadNumber(IDC_SETTINGS_HEIGHT, 10, 1000, kHeightRange, height))
        return false;
    if (hotKeyTouched) {
        edited.alt = alt;
        edited.ctrl = ctrl;
        edited.shift = shift;
        edited.win = win;
        edited.key = SelectedKey();
    }
    edited.history = history;
    edited.toolTip = IsChecked(IDC_SETTINGS_TOOLTIP);
    edited.match = IsChecked(IDC_SETTINGS_MATCH);
    edited.rank = IsChecked(IDC_SETTINGS_RANK);
    edited.calc = IsChecked(IDC_SETTINGS_CALC);
    edited.open = IsChecked(IDC_SETTINGS_OPEN);
    edited.catalog = IsChecked(IDC_SETTINGS_CATALOG);
    edited.romaji = IsChecked(IDC_SETTINGS_ROMAJI);
    // An ImeCtrl value the list shows as "not controlled" stays as it was
    // unless the user picks an entry.
    HWND ime = Item(IDC_SETTINGS_IME);
    const LRESULT choice = SendMessageA(ime, CB_GETCURSEL, 0, 0);
    if (imePicked && choice >= 0)
        edited.imeCtrl = static_cast<int>(SendMessageA(ime, CB_GETITEMDATA, choice, 0));
    edited.width = width;
    edited.height = height;
    edited.savePosition = IsChecked(IDC_SETTINGS_SAVE_POSITION);
    edited.taskTray = IsChecked(IDC_SETTINGS_TASK_TRAY);
    return true;
}

bool CSettingsDialog::HotKeyIsFree()
{
    const UINT oldModifiers = HotKeyModifiers(original);
    const UINT newModifiers = HotKeyModifiers(edited);
    if (oldModifiers == newModifiers && original.key == edited.key)
        return true;
    // Tried under an id of its own: the launcher keeps the hotkey it runs
    // with, which need not be the one the file names, until it reads the
    // profile again. Its own id is a string atom, never below 0xC000.
    const int trialId = hotKeyId == kTrialHotKeyId ? kTrialHotKeyId + 1 : kTrialHotKeyId;
    if (!RegisterHotKey(owner, trialId, newModifiers, edited.key))
        return false;
    UnregisterHotKey(owner, trialId);
    return true;
}

void CSettingsDialog::OnOk()
{
    if (!TakeInput())
        return;
    if (!HotKeyIsFree()) {
        ShowInputProblem(IDC_SETTINGS_KEY, kHotKeyTaken);
        return;
    }
    if (SaveEditorSettings(profile.data, loaded, edited) == kSaveFailed) {
        ShowError(kWriteFailed);
        return;
    }
    EndDialog(window, FileChanged() ? 1 : 0);
}

int EditSettings(HWND owner, const ATOM& hotKeyId, const char* profileFile)
{
    CSettingsDialog dialog(owner, hotKeyId, profileFile);
    if (!LoadEditorSettings(profileFile, dialog.loaded)) {
        MessageBoxA(owner, kLoadFailed, kEditorTitle, MB_OK | MB_ICONERROR);
        return 0;
    }
    CopyEditorSettings(dialog.original, dialog.loaded);
    CopyEditorSettings(dialog.edited, dialog.loaded);
    return dialog.RunModal() > 0 ? 1 : 0;
}
