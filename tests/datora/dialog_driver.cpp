#include "dialog_driver.h"

#include <shlobj.h>
#include <string.h>

#include "support/files.h"

using Zint_Std::CString;

namespace {

const char kDialogCaption[] = "ファイル情報一括変更";
const int kStartLimit = 30000;
const int kReplyLimit = 10000;

struct WindowSearch {
    DWORD processId;
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchProgramWindow(HWND window, LPARAM data)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window))
        return TRUE;
    char className[64];
    if (!GetClassNameA(window, className, sizeof(className)) || strcmp(className, "#32770"))
        return TRUE;
    if (WindowText(window).data && !strcmp(WindowText(window).data, search->caption)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

struct BoxParts {
    CString text;
    HICON icon;
};

BOOL CALLBACK ReadBoxPart(HWND child, LPARAM data)
{
    BoxParts* parts = reinterpret_cast<BoxParts*>(data);
    char className[64];
    if (!GetClassNameA(child, className, sizeof(className)) || lstrcmpiA(className, "Static"))
        return TRUE;
    LONG style = GetWindowLongA(child, GWL_STYLE);
    if ((style & SS_TYPEMASK) == SS_ICON) {
        DWORD_PTR icon = 0;
        SendMessageTimeoutA(child, STM_GETICON, 0, 0, SMTO_NORMAL, kReplyLimit, &icon);
        parts->icon = reinterpret_cast<HICON>(icon);
    } else {
        CString text = WindowText(child);
        if (!text.IsEmpty())
            parts->text = text;
    }
    return TRUE;
}

}  // namespace

CString WindowText(HWND window)
{
    CString text;
    text.Reserve(1024);
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text.data),
                        SMTO_NORMAL, kReplyLimit, &copied);
    return text;
}

CDatoraDriver::CDatoraDriver() : dialog(0)
{
    ZeroMemory(&process, sizeof(process));
}

CDatoraDriver::~CDatoraDriver()
{
    if (process.hProcess) {
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process.hProcess, 99);
            WaitForSingleObject(process.hProcess, kReplyLimit);
        }
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
}

HWND CDatoraDriver::FindProgramWindow(const char* caption) const
{
    WindowSearch search = {process.dwProcessId, caption, 0};
    EnumWindows(MatchProgramWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool CDatoraDriver::Start()
{
    CString program = Zint_Std::ModuleFolder(0) + "Datora.exe";
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    if (!CreateProcessA(program.data, 0, 0, 0, FALSE, 0, 0, 0, &startup, &process))
        return false;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < static_cast<DWORD>(kStartLimit)) {
        dialog = FindProgramWindow(kDialogCaption);
        // Ready once the initial handling has disabled the pickers.
        if (dialog && !IsWindowEnabled(GetDlgItem(dialog, 1011)))
            return true;
        if (WaitForSingleObject(process.hProcess, 20) != WAIT_TIMEOUT)
            return false;
    }
    return false;
}

HWND CDatoraDriver::Item(const int& id) const
{
    return GetDlgItem(dialog, id);
}

CString CDatoraDriver::Text(const int& id) const
{
    return WindowText(Item(id));
}

bool CDatoraDriver::SetText(const int& id, const char* text)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text),
                               SMTO_NORMAL, kReplyLimit, &result) &&
           result;
}

bool CDatoraDriver::IsChecked(const int& id) const
{
    DWORD_PTR state = 0;
    SendMessageTimeoutA(Item(id), BM_GETCHECK, 0, 0, SMTO_NORMAL, kReplyLimit, &state);
    return state == BST_CHECKED;
}

bool CDatoraDriver::IsEnabled(const int& id) const
{
    return IsWindowEnabled(Item(id)) != 0;
}

bool CDatoraDriver::Click(const int& id)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(Item(id), BM_CLICK, 0, 0, SMTO_NORMAL, kReplyLimit, &result) != 0;
}

bool CDatoraDriver::PostClick(const int& id)
{
    return PostMessageA(Item(id), BM_CLICK, 0, 0) != 0;
}

bool CDatoraDriver::TypeIntoPicker(const int& id, const char* keys)
{
    HWND picker = Item(id);
    DWORD_PTR result = 0;
    // Focus leaves the picker first, so that no field stays selected and the
    // first step selects its first field.
    if (!SendMessageTimeoutA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(1000)), TRUE,
                             SMTO_NORMAL, kReplyLimit, &result) ||
        !SendMessageTimeoutA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(picker), TRUE,
                             SMTO_NORMAL, kReplyLimit, &result))
        return false;
    // '>' steps to the next field, '<' to the previous one, digits fill it.
    for (const char* key = keys; *key; key++) {
        bool posted;
        if (*key == '>')
            posted = PostMessageA(picker, WM_KEYDOWN, VK_RIGHT, 1);
        else if (*key == '<')
            posted = PostMessageA(picker, WM_KEYDOWN, VK_LEFT, 1);
        else
            posted = PostMessageA(picker, WM_CHAR, static_cast<unsigned char>(*key), 1);
        if (!posted)
            return false;
    }
    return true;
}

bool CDatoraDriver::Drop(const char* const* items)
{
    // The drop handle is memory of the receiving process: the shell hands it
    // over as fixed global memory, which is a plain pointer there.
    SIZE_T size = sizeof(DROPFILES) + 1;
    for (const char* const* item = items; *item; item++)
        size += strlen(*item) + 1;
    CString block;
    if (!block.Reserve(static_cast<int>(size)))
        return false;
    DROPFILES* header = reinterpret_cast<DROPFILES*>(block.data);
    header->pFiles = sizeof(DROPFILES);
    header->fWide = FALSE;
    char* list = block.data + sizeof(DROPFILES);
    for (const char* const* item = items; *item; item++) {
        strcpy(list, *item);
        list += strlen(*item) + 1;
    }
    void* remote = VirtualAllocEx(process.hProcess, 0, size, MEM_COMMIT | MEM_RESERVE,
                                  PAGE_READWRITE);
    if (!remote)
        return false;
    SIZE_T written = 0;
    if (!WriteProcessMemory(process.hProcess, remote, block.data, size, &written) ||
        written != size)
        return false;
    return PostMessageA(dialog, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0) != 0;
}

bool CDatoraDriver::WaitForTextStart(const int& id, const char* start, const int& milliseconds)
{
    DWORD begin = GetTickCount();
    for (;;) {
        CString text = Text(id);
        if (text.data && !strncmp(text.data, start, strlen(start)))
            return true;
        if (GetTickCount() - begin > static_cast<DWORD>(milliseconds))
            return false;
        Sleep(20);
    }
}

bool CDatoraDriver::WaitForMessageBox(const char* caption, SeenMessageBox& seen,
                                      const int& milliseconds)
{
    seen.window = 0;
    seen.icon = 0;
    DWORD start = GetTickCount();
    for (;;) {
        seen.window = FindProgramWindow(caption);
        if (seen.window)
            break;
        if (GetTickCount() - start > static_cast<DWORD>(milliseconds))
            return false;
        Sleep(20);
    }
    // The text is in place once the box is shown; read until it is there.
    for (;;) {
        BoxParts parts;
        parts.icon = 0;
        EnumChildWindows(seen.window, ReadBoxPart, reinterpret_cast<LPARAM>(&parts));
        if (!parts.text.IsEmpty()) {
            seen.text = parts.text;
            seen.icon = parts.icon;
            return true;
        }
        if (GetTickCount() - start > static_cast<DWORD>(milliseconds))
            return false;
        Sleep(20);
    }
}

bool CDatoraDriver::CloseMessageBox(const SeenMessageBox& seen)
{
    HWND ok = GetDlgItem(seen.window, IDOK);
    if (!ok || !PostMessageA(seen.window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                             reinterpret_cast<LPARAM>(ok)))
        return false;
    DWORD start = GetTickCount();
    while (IsWindow(seen.window)) {
        if (GetTickCount() - start > static_cast<DWORD>(kReplyLimit))
            return false;
        Sleep(20);
    }
    return true;
}

bool CDatoraDriver::NoMessageBoxWithin(const char* caption, const int& milliseconds)
{
    SeenMessageBox seen;
    return !WaitForMessageBox(caption, seen, milliseconds);
}

bool CDatoraDriver::CloseWith(const int& id, DWORD& exitCode)
{
    if (!PostClick(id))
        return false;
    if (WaitForSingleObject(process.hProcess, kStartLimit) != WAIT_OBJECT_0)
        return false;
    return GetExitCodeProcess(process.hProcess, &exitCode) != 0;
}
