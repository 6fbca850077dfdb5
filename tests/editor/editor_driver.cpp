#include "editor/editor_driver.h"

#include "launcher/ui_driver.h"

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

using Zint_Std::CString;

namespace {

const DWORD kWaitMs = 15000;

struct DialogQuery {
    DWORD process;
    const char* caption;
    HWND owner;  // a window of the same thread when set
    HWND found;
};

bool IsDialogWith(HWND window, DialogQuery* query)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != query->process || !IsWindowVisible(window))
        return false;
    char text[256];
    if (!GetClassNameA(window, text, sizeof(text)) || strcmp(text, "#32770") != 0)
        return false;
    text[0] = 0;
    GetWindowTextA(window, text, sizeof(text));
    return strcmp(text, query->caption) == 0;
}

BOOL CALLBACK MatchDialog(HWND window, LPARAM parameter)
{
    DialogQuery* query = reinterpret_cast<DialogQuery*>(parameter);
    if (!IsDialogWith(window, query))
        return TRUE;
    if (query->owner && GetWindowThreadProcessId(window, 0) !=
                            GetWindowThreadProcessId(query->owner, 0))
        return TRUE;
    query->found = window;
    return FALSE;
}

HWND FindDialog(DialogQuery& query, const DWORD& timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        query.found = 0;
        EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&query));
        if (query.found || GetTickCount() - start >= timeoutMs)
            return query.found;
        Sleep(20);
    }
}

// Sent and answered before the driver goes on; a message the dialog
// answers at once.
LRESULT SendTo(HWND window, const UINT& message, const WPARAM& wParam, const LPARAM& lParam)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kWaitMs, &result))
        return 0;
    return static_cast<LRESULT>(result);
}

}  // namespace

CString TextOfWindow(HWND window)
{
    CString text;
    if (!text.Reserve(4096))
        return text;
    SendTo(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text.data));
    return text;
}

CString MessageBoxLabel(HWND box)
{
    HWND label = GetDlgItem(box, 0xFFFF);
    return label ? TextOfWindow(label) : CString();
}

CDialogUnderTest::CDialogUnderTest() : dialog(0), processId(0), process(0) {}

CDialogUnderTest::~CDialogUnderTest()
{
    if (process)
        CloseHandle(process);
}

bool CDialogUnderTest::WaitFor(const DWORD& owningProcess, const char* caption)
{
    processId = owningProcess;
    DialogQuery query = {owningProcess, caption, 0, 0};
    dialog = FindDialog(query, kWaitMs);
    if (!dialog) {
        printf("no dialog \"%s\" appeared\n", caption);
        fflush(stdout);
    }
    return dialog != 0;
}

bool CDialogUnderTest::IsOpen() const
{
    return dialog && IsWindow(dialog) && IsWindowVisible(dialog);
}

bool CDialogUnderTest::FocusForKeys()
{
    if (!IsOpen())
        return false;
    CString command;
    command.Format("search --name '^%s$' windowfocus --sync", TextOfWindow(dialog).data);
    return XDoTool(command.data);
}

bool CDialogUnderTest::WaitClosed()
{
    DWORD start = GetTickCount();
    while (IsOpen()) {
        if (GetTickCount() - start >= kWaitMs)
            return false;
        Sleep(20);
    }
    return true;
}

HWND CDialogUnderTest::Item(const int& id) const
{
    return GetDlgItem(dialog, id);
}

CString CDialogUnderTest::Text(const int& id) const
{
    HWND item = Item(id);
    return item ? TextOfWindow(item) : CString();
}

bool CDialogUnderTest::SetText(const int& id, const char* text)
{
    HWND item = Item(id);
    return item && SendTo(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

bool CDialogUnderTest::IsChecked(const int& id) const
{
    HWND item = Item(id);
    return item && SendTo(item, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool CDialogUnderTest::IsEnabled(const int& id) const
{
    HWND item = Item(id);
    return item && IsWindowEnabled(item);
}

bool CDialogUnderTest::SetChecked(const int& id, const bool& checked)
{
    if (!Item(id))
        return false;
    if (IsChecked(id) != checked)
        SendTo(Item(id), BM_CLICK, 0, 0);
    return IsChecked(id) == checked;
}

bool CDialogUnderTest::Click(const int& id)
{
    HWND item = Item(id);
    return item && PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                                reinterpret_cast<LPARAM>(item));
}

bool CDialogUnderTest::SelectComboItem(const int& id, const int& index)
{
    HWND item = Item(id);
    if (!item || SendTo(item, CB_SETCURSEL, index, 0) != index)
        return false;
    SendTo(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(item));
    return true;
}

int CDialogUnderTest::ComboSelection(const int& id) const
{
    HWND item = Item(id);
    return item ? static_cast<int>(SendTo(item, CB_GETCURSEL, 0, 0)) : -1;
}

CString CDialogUnderTest::ComboText(const int& id, const int& index) const
{
    CString text;
    HWND item = Item(id);
    if (!item)
        return text;
    // The selected entry is the box's own text, which WM_GETTEXT carries
    // across processes in the ANSI code page; CB_GETLBTEXT is not always
    // converted on the way back.
    if (index == ComboSelection(id))
        return TextOfWindow(item);
    if (!text.Reserve(1024))
        return text;
    LRESULT length = SendTo(item, CB_GETLBTEXTLEN, index, 0);
    if (length <= 0 || length >= 1024)
        return CString();
    SendTo(item, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data));
    return text;
}

bool CDialogUnderTest::OpenProcessMemory()
{
    if (!process)
        process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                              processId);
    return process != 0;
}

int CDialogUnderTest::RowCount(const int& id) const
{
    HWND item = Item(id);
    return item ? static_cast<int>(SendTo(item, LVM_GETITEMCOUNT, 0, 0)) : -1;
}

CString CDialogUnderTest::Cell(const int& id, const int& row, const int& column) const
{
    CString text;
    HWND item = Item(id);
    CDialogUnderTest* self = const_cast<CDialogUnderTest*>(this);
    if (!item || !self->OpenProcessMemory())
        return text;
    // The list view writes into memory of its own process.
    const SIZE_T textBytes = 1024;
    char* remote = static_cast<char*>(
        VirtualAllocEx(process, 0, sizeof(LVITEMA) + textBytes, MEM_COMMIT, PAGE_READWRITE));
    if (!remote)
        return text;
    LVITEMA request;
    memset(&request, 0, sizeof(request));
    request.iSubItem = column;
    request.pszText = remote + sizeof(LVITEMA);
    request.cchTextMax = textBytes;
    SIZE_T done = 0;
    if (WriteProcessMemory(process, remote, &request, sizeof(request), &done) &&
        text.Reserve(textBytes)) {
        SendTo(item, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process, remote + sizeof(LVITEMA), text.data, textBytes - 1, &done);
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return text;
}

int CDialogUnderTest::FindRow(const int& id, const char* text) const
{
    const int rows = RowCount(id);
    for (int row = 0; row < rows; row++) {
        CString cell = Cell(id, row, 0);
        if (strcmp(cell.Text(), text) == 0)
            return row;
    }
    return -1;
}

bool CDialogUnderTest::SetItemState(const int& id, const int& row, const UINT& state,
                                    const UINT& mask)
{
    HWND item = Item(id);
    if (!item || !OpenProcessMemory())
        return false;
    LVITEMA* remote = static_cast<LVITEMA*>(
        VirtualAllocEx(process, 0, sizeof(LVITEMA), MEM_COMMIT, PAGE_READWRITE));
    if (!remote)
        return false;
    LVITEMA request;
    memset(&request, 0, sizeof(request));
    request.state = state;
    request.stateMask = mask;
    SIZE_T done = 0;
    bool ok = WriteProcessMemory(process, remote, &request, sizeof(request), &done) &&
              SendTo(item, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(remote));
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return ok;
}

bool CDialogUnderTest::SelectRow(const int& id, const int& row)
{
    // Only the one row stays selected.
    SetItemState(id, -1, 0, LVIS_SELECTED);
    return SetItemState(id, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

int CDialogUnderTest::SelectedRow(const int& id) const
{
    HWND item = Item(id);
    return item ? static_cast<int>(SendTo(item, LVM_GETNEXTITEM, -1, LVNI_SELECTED)) : -1;
}

bool CDialogUnderTest::IsRowChecked(const int& id, const int& row) const
{
    HWND item = Item(id);
    if (!item)
        return false;
    UINT state = static_cast<UINT>(SendTo(item, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK));
    return (state >> 12) == 2;
}

bool CDialogUnderTest::SetRowChecked(const int& id, const int& row, const bool& checked)
{
    return SetItemState(id, row, INDEXTOSTATEIMAGEMASK(checked ? 2 : 1), LVIS_STATEIMAGEMASK) &&
           IsRowChecked(id, row) == checked;
}

bool CDialogUnderTest::WaitRowCount(const int& id, const int& count)
{
    DWORD start = GetTickCount();
    while (RowCount(id) != count) {
        if (GetTickCount() - start >= kWaitMs)
            return false;
        Sleep(20);
    }
    return true;
}

bool CDialogUnderTest::RowScreenRect(const int& id, const int& row, RECT& rect) const
{
    HWND item = Item(id);
    CDialogUnderTest* self = const_cast<CDialogUnderTest*>(this);
    if (!item || !self->OpenProcessMemory())
        return false;
    RECT* remote = static_cast<RECT*>(
        VirtualAllocEx(process, 0, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE));
    if (!remote)
        return false;
    RECT request = {LVIR_LABEL, 0, 0, 0};
    SIZE_T done = 0;
    bool ok = WriteProcessMemory(process, remote, &request, sizeof(request), &done) &&
              SendTo(item, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(remote)) &&
              ReadProcessMemory(process, remote, &rect, sizeof(rect), &done);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    if (ok)
        MapWindowPoints(item, 0, reinterpret_cast<POINT*>(&rect), 2);
    return ok;
}

HWND CDialogUnderTest::WaitForMessageBox(const char* caption, const DWORD& timeoutMs) const
{
    DialogQuery query = {processId, caption, dialog, 0};
    return FindDialog(query, timeoutMs);
}

bool CDialogUnderTest::Answer(HWND box, const int& button)
{
    if (!box || !PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                              reinterpret_cast<LPARAM>(GetDlgItem(box, button))))
        return false;
    DWORD start = GetTickCount();
    while (IsWindow(box) && IsWindowVisible(box)) {
        if (GetTickCount() - start >= kWaitMs)
            return false;
        Sleep(20);
    }
    return true;
}
