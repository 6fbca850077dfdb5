#include "editor/dialog.h"

#include <commctrl.h>

#include "commands/editor_contract.h"

using Zint_Std::CString;

const char* const kEditorTitle = "Quelt";

namespace {
HINSTANCE editorModule = 0;
}

HINSTANCE EditorModule()
{
    return editorModule ? editorModule : GetModuleHandleA(0);
}

void SetEditorModule(HINSTANCE module)
{
    editorModule = module;
}

CEditorDialog::CEditorDialog(HWND ownerWindow, const int& dialogTemplate)
    : window(0), owner(ownerWindow), templateId(dialogTemplate)
{
}

CEditorDialog::~CEditorDialog() {}

INT_PTR CEditorDialog::RunModal()
{
    return DialogBoxParamA(EditorModule(), MAKEINTRESOURCEA(templateId), owner, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CEditorDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam,
                                           LPARAM lParam)
{
    CEditorDialog* self;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CEditorDialog*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        self->window = dialog;
        return self->OnInitDialog();
    }
    self = reinterpret_cast<CEditorDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!self)
        return FALSE;
    switch (message) {
    case WM_COMMAND:
        return self->OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (!self->OnNotify(reinterpret_cast<NMHDR*>(lParam), result))
            return FALSE;
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, result);
        return TRUE;
    }
    case WM_NCDESTROY:
        self->window = 0;
        return FALSE;
    case WM_ENDEDITORDIALOG:
        self->EndUnasked();
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, kDialogEndedUnasked);
        return TRUE;
    default: {
        INT_PTR result = 0;
        if (self->OnMessage(message, wParam, lParam, result))
            return result;
        return FALSE;
    }
    }
}

BOOL CEditorDialog::OnInitDialog()
{
    return TRUE;
}

bool CEditorDialog::OnCommand(const int& id, const int&, HWND)
{
    if (id == IDOK || id == IDCANCEL) {
        EndDialog(window, id);
        return true;
    }
    return false;
}

bool CEditorDialog::OnNotify(NMHDR*, LRESULT&)
{
    return false;
}

bool CEditorDialog::OnMessage(const UINT&, const WPARAM&, const LPARAM&, INT_PTR&)
{
    return false;
}

void CEditorDialog::EndUnasked()
{
    OnCommand(IDCANCEL, BN_CLICKED, Item(IDCANCEL));
}

HWND CEditorDialog::Item(const int& id) const
{
    return GetDlgItem(window, id);
}

CString CEditorDialog::ItemText(const int& id) const
{
    CString text;
    HWND item = Item(id);
    int length = item ? GetWindowTextLengthA(item) : 0;
    if (!text.Reserve(length + 1))
        return text;
    if (item)
        GetWindowTextA(item, text.data, length + 1);
    return text;
}

void CEditorDialog::SetItemText(const int& id, const char* text)
{
    SetDlgItemTextA(window, id, text ? text : "");
}

bool CEditorDialog::IsChecked(const int& id) const
{
    return IsDlgButtonChecked(window, id) == BST_CHECKED;
}

void CEditorDialog::SetChecked(const int& id, const bool& checked)
{
    CheckDlgButton(window, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void CEditorDialog::ShowInputProblem(const int& id, const char* text)
{
    MessageBoxA(window, text, kEditorTitle, MB_OK | MB_ICONEXCLAMATION);
    HWND item = Item(id);
    if (!item)
        return;
    SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item), TRUE);
    SendMessageA(item, EM_SETSEL, 0, -1);
}

bool CEditorDialog::Ask(const char* text)
{
    return MessageBoxA(window, text, kEditorTitle, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CEditorDialog::ShowError(const char* text)
{
    MessageBoxA(window, text, kEditorTitle, MB_OK | MB_ICONERROR);
}
