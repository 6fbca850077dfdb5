#include "setup_driver.h"

#include <commctrl.h>
#include <shlobj.h>
#include <stdio.h>
#include <tlhelp32.h>
#include <string.h>

#include "editor/editor_driver.h"
#include "launcher/ui_driver.h"
#include "support/files.h"
#include "test_paths.h"

using Zint_Std::CString;

const char kSettingsKeyPath[] = "SoftWare\\QUELT_";
const char kUninstallKeyPath[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QUELT_";

// GetTempFileName takes three letters of the prefix "_quelt_uninst_".
const char kUninstallCopyPattern[] = "_qu*.tmp*";

namespace {

bool CopyBuilt(const char* name, const CString& target)
{
    const CString source = Zint_Std::ModuleFolder(0) + name;
    if (!CopyFileA(source.data, target.data, FALSE)) {
        printf("cannot copy %s to %s\n", source.data, target.data);
        return false;
    }
    return true;
}

struct DialogSearch {
    const char* caption;
    const char* textPiece;
    HWND found;
};

BOOL CALLBACK MatchAnyDialog(HWND window, LPARAM parameter)
{
    DialogSearch* search = reinterpret_cast<DialogSearch*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() || !IsWindowVisible(window))
        return TRUE;
    char text[256];
    if (!GetClassNameA(window, text, sizeof(text)) || strcmp(text, "#32770") != 0)
        return TRUE;
    text[0] = 0;
    GetWindowTextA(window, text, sizeof(text));
    if (strcmp(text, search->caption) != 0)
        return TRUE;
    if (search->textPiece) {
        CString label = MessageBoxLabel(window);
        if (!label.data || !strstr(label.data, search->textPiece))
            return TRUE;
    }
    search->found = window;
    return FALSE;
}

bool DialogFound(void* context)
{
    DialogSearch* search = static_cast<DialogSearch*>(context);
    search->found = 0;
    EnumWindows(MatchAnyDialog, reinterpret_cast<LPARAM>(search));
    return search->found != 0;
}

BOOL CALLBACK CloseNotepad(HWND window, LPARAM parameter)
{
    char name[64];
    if (GetClassNameA(window, name, sizeof(name)) && strcmp(name, "Notepad") == 0) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        *reinterpret_cast<bool*>(parameter) = true;
    }
    return TRUE;
}

struct NotepadSearch {
    const char* titlePiece;
    HWND found;
};

BOOL CALLBACK MatchNotepad(HWND window, LPARAM parameter)
{
    NotepadSearch* search = reinterpret_cast<NotepadSearch*>(parameter);
    char text[256];
    if (!GetClassNameA(window, text, sizeof(text)) || strcmp(text, "Notepad") != 0)
        return TRUE;
    text[0] = 0;
    GetWindowTextA(window, text, sizeof(text));
    if (!strstr(text, search->titlePiece))
        return TRUE;
    search->found = window;
    return FALSE;
}

bool NotepadFound(void* context)
{
    NotepadSearch* search = static_cast<NotepadSearch*>(context);
    search->found = 0;
    EnumWindows(MatchNotepad, reinterpret_cast<LPARAM>(search));
    return search->found != 0;
}

bool NoNotepad(void*)
{
    return FindWindowA("Notepad", 0) == 0;
}

bool NoLauncher(void*)
{
    return FindWindowA("QUELT_APP_WND_CLASS", 0) == 0;
}

bool PathGone(void* context)
{
    return GetFileAttributesA(static_cast<CString*>(context)->data) == INVALID_FILE_ATTRIBUTES;
}

bool TempFilesGone(void* context)
{
    return CountTempFiles(static_cast<const char*>(context)) == 0;
}

bool Ended(void* context)
{
    return static_cast<CSetupRun*>(context)->HasEnded();
}

void DeleteTempFiles(const char* pattern)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    CString search = CString(temp) + pattern;
    WIN32_FIND_DATAA entry;
    HANDLE handle = FindFirstFileA(search.data, &entry);
    if (handle == INVALID_HANDLE_VALUE)
        return;
    do {
        DeleteFileA((CString(temp) + entry.cFileName).data);
    } while (FindNextFileA(handle, &entry));
    FindClose(handle);
}

void RemoveTree(const CString& folder)
{
    CString path(folder);
    if (Zint_Std::EndsWithBackslash(path.data))
        path.Delete(path.GetLength() - 1, 1);
    if (!path.IsEmpty() && Zint_Std::IsFolder(path.data))
        RemoveScratchFolder(path);
}

}  // namespace

CSetupPackage::CSetupPackage() : withPinlet(false) {}

bool CSetupPackage::Build(const char* name)
{
    folder = MakeScratchFolder(name);
    setupPath = folder + "setup.exe";
    payload = folder + "quelt_\\";
    const CString omake = payload + "omake\\";
    if (!CreateDirectoryA(payload.data, 0) || !CreateDirectoryA(omake.data, 0))
        return false;
    bool ok = CopyBuilt("setup.exe", setupPath) &&
              CopyBuilt("quelt_.exe", payload + "quelt_.exe") &&
              CopyBuilt("quelt_.dll", payload + "quelt_.dll") &&
              CopyBuilt("cmd_org.txt", payload + "cmd_org.txt") &&
              CopyBuilt("quelt_.ini", payload + "quelt_.ini") &&
              CopyBuilt("Purgel.exe", omake + "Purgel.exe") &&
              CopyBuilt("Datora.exe", omake + "Datora.exe");
    ok = ok && WriteTextFile(payload + "readme.txt", "readme of the test package\r\n") &&
         WriteTextFile(omake + "Purgel.txt", "Purgel\r\n") &&
         WriteTextFile(omake + "Datora.txt", "Datora\r\n");
    const CString pinlet = Zint_Std::ModuleFolder(0) + "Pinlet.exe";
    withPinlet = Zint_Std::PathExists(pinlet.data);
    if (withPinlet)
        ok = ok && CopyBuilt("Pinlet.exe", payload + "Pinlet.exe");
    return ok;
}

CSetupRun::CSetupRun()
{
    memset(&process, 0, sizeof(process));
}

CSetupRun::~CSetupRun()
{
    if (process.hProcess) {
        if (!HasEnded())
            TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
}

bool CSetupRun::Start(const CString& program, const char* arguments, const bool& inheritHandles)
{
    CString line;
    if (arguments && arguments[0])
        line.Format("\"%s\" %s", program.data, arguments);
    else
        line.Format("\"%s\"", program.data);
    CString folder(program);
    Zint_Std::CutAfterLastBackslash(folder.data);
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    if (!CreateProcessA(program.data, line.data, 0, 0, inheritHandles ? TRUE : FALSE, 0, 0,
                        folder.data, &startup, &process)) {
        printf("cannot start %s (%lu)\n", line.data, GetLastError());
        memset(&process, 0, sizeof(process));
        return false;
    }
    return true;
}

bool CSetupRun::StartAsGiven(const CString& program, const char* commandLine)
{
    CString line(commandLine);
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    return CreateProcessA(program.data, line.data, 0, 0, FALSE, 0, 0, 0, &startup, &process) != 0;
}

bool CSetupRun::HasEnded()
{
    return process.hProcess && WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
}

bool CSetupRun::WaitEnded(const DWORD& timeoutMs)
{
    return WaitUntil(Ended, this, timeoutMs);
}

HWND WaitForAnyDialog(const char* caption, const char* textPiece, const DWORD& timeoutMs)
{
    DialogSearch search = {caption, textPiece, 0};
    if (!WaitUntil(DialogFound, &search, timeoutMs))
        printf("no dialog \"%s\" holding \"%s\" appeared\n", caption, textPiece ? textPiece : "");
    return search.found;
}

HWND FocusOfDialogThread(HWND dialog)
{
    GUITHREADINFO info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, 0), &info))
        return 0;
    return info.hwndFocus;
}

namespace {

struct FocusQuery {
    HWND dialog;
    HWND expected;
};

bool FocusIsOn(void* context)
{
    FocusQuery* query = static_cast<FocusQuery*>(context);
    return FocusOfDialogThread(query->dialog) == query->expected;
}

}  // namespace

bool WaitForFocus(HWND dialog, HWND control, const DWORD& timeoutMs)
{
    FocusQuery query = {dialog, control};
    return WaitUntil(FocusIsOn, &query, timeoutMs);
}

bool CloseNotepads()
{
    bool closed = false;
    EnumWindows(CloseNotepad, reinterpret_cast<LPARAM>(&closed));
    if (closed)
        WaitUntil(NoNotepad, 0, kSetupWaitMs);
    return closed;
}

HWND WaitForNotepad(const char* titlePiece, const DWORD& timeoutMs)
{
    NotepadSearch search = {titlePiece, 0};
    WaitUntil(NotepadFound, &search, timeoutMs);
    return search.found;
}

namespace {

// The process record of one process id from a snapshot of all.
bool FindProcessEntry(HANDLE snapshot, const DWORD& id, PROCESSENTRY32& entry)
{
    memset(&entry, 0, sizeof(entry));
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry)) {
        if (entry.th32ProcessID == id)
            return true;
    }
    return false;
}

}  // namespace

CString ParentProgramOf(HWND window)
{
    CString name;
    DWORD id = 0;
    if (!window || !GetWindowThreadProcessId(window, &id))
        return name;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return name;
    PROCESSENTRY32 entry;
    if (FindProcessEntry(snapshot, id, entry)) {
        const DWORD parent = entry.th32ParentProcessID;
        if (FindProcessEntry(snapshot, parent, entry))
            name.Assign(entry.szExeFile);
    }
    CloseHandle(snapshot);
    return name;
}

bool QuitLaunchers()
{
    for (int i = 0; i < 10; ++i) {
        HWND launcher = FindWindowA("QUELT_APP_WND_CLASS", 0);
        if (!launcher)
            return true;
        // The quit request setup itself sends.
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(launcher, WM_DESTROY, 0, 0, SMTO_NORMAL, 5000, &ignored);
        WaitUntil(NoLauncher, 0, 5000);
    }
    return FindWindowA("QUELT_APP_WND_CLASS", 0) == 0;
}

void CleanInstallationTraces()
{
    QuitLaunchers();
    CloseNotepads();
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSettingsKeyPath);
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKeyPath);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKeyPath);
    RemoveTree(SpecialFolder(CSIDL_COMMON_PROGRAMS) + "Quelt\\");
    RemoveTree(SpecialFolder(CSIDL_PROGRAMS) + "Quelt\\");
    DeleteFileA((SpecialFolder(CSIDL_COMMON_STARTUP) + "Quelt.lnk").data);
    DeleteFileA((SpecialFolder(CSIDL_STARTUP) + "Quelt.lnk").data);
    DeleteFileA((SpecialFolder(CSIDL_SENDTO) + "Queltに登録.lnk").data);
    RemoveTree(SpecialFolder(CSIDL_APPDATA) + "quelt_\\");
    DeleteTempFiles(kUninstallCopyPattern);
}

bool WaitForPathGone(const CString& path, const DWORD& timeoutMs)
{
    CString copy(path);
    return WaitUntil(PathGone, &copy, timeoutMs);
}

int CountTempFiles(const char* pattern)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    CString search = CString(temp) + pattern;
    WIN32_FIND_DATAA entry;
    HANDLE handle = FindFirstFileA(search.data, &entry);
    if (handle == INVALID_HANDLE_VALUE)
        return 0;
    int count = 0;
    do {
        ++count;
    } while (FindNextFileA(handle, &entry));
    FindClose(handle);
    return count;
}

bool WaitForNoTempFiles(const char* pattern, const DWORD& timeoutMs)
{
    return WaitUntil(TempFilesGone, const_cast<char*>(pattern), timeoutMs);
}

bool ReadRegistryString(HKEY root, const char* key, const char* name, CString& value)
{
    value.Empty();
    HKEY opened = 0;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    char data[1024];
    memset(data, 0, sizeof(data));
    DWORD size = sizeof(data) - 1;
    DWORD type = 0;
    LONG status =
        RegQueryValueExA(opened, name, 0, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(opened);
    if (status != ERROR_SUCCESS || type != REG_SZ)
        return false;
    value.Assign(data);
    return true;
}

bool ReadRegistryDword(HKEY root, const char* key, const char* name, DWORD& value)
{
    HKEY opened = 0;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    DWORD size = sizeof(value);
    DWORD type = 0;
    LONG status =
        RegQueryValueExA(opened, name, 0, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(opened);
    return status == ERROR_SUCCESS && type == REG_DWORD && size == sizeof(DWORD);
}

bool RegistryKeyExists(HKEY root, const char* key)
{
    HKEY opened = 0;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

bool RegistryValueExists(HKEY root, const char* key, const char* name)
{
    HKEY opened = 0;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    LONG status = RegQueryValueExA(opened, name, 0, 0, 0, 0);
    RegCloseKey(opened);
    return status == ERROR_SUCCESS;
}

bool WriteEarlierInstallation(HKEY root, const char* version, const CString& folder)
{
    HKEY created = 0;
    if (RegCreateKeyExA(root, kSettingsKeyPath, 0, 0, 0, KEY_ALL_ACCESS, 0, &created, 0) !=
        ERROR_SUCCESS)
        return false;
    bool ok = RegSetValueExA(created, "Version", 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(version),
                             static_cast<DWORD>(strlen(version) + 1)) == ERROR_SUCCESS &&
              RegSetValueExA(created, "InstFolder", 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(folder.data),
                             static_cast<DWORD>(folder.GetLength() + 1)) == ERROR_SUCCESS;
    RegCloseKey(created);
    return ok;
}

CString SpecialFolder(const int& csidl)
{
    CString path;
    if (!Zint_Std::GetSpecialFolderPath(path, csidl))
        path.Empty();
    return path;
}

CString TestInstallFolder(const char* name, const bool& fresh)
{
    // bin\ -> build\test-output\setup\name\ .
    CString folder = Zint_Std::ModuleFolder(0);
    folder.Delete(folder.GetLength() - 4, 4);
    folder.Append("test-output\\");
    CreateDirectoryA(folder.data, 0);
    folder.Append("setup\\");
    CreateDirectoryA(folder.data, 0);
    folder.Append(name);
    if (fresh)
        RemoveScratchFolder(folder);
    folder.Append("\\");
    return folder;
}

bool RunInstallDialog(CSetupRun& run, const InstallChoice& choice, const char* screenshot)
{
    CDialogUnderTest dialog;
    if (!dialog.WaitFor(run.process.dwProcessId, "Queltのインストール"))
        return false;
    // Real clicks (BM_CLICK): the dialog sees each box change as from the user.
    bool ok = dialog.SetText(1000, choice.folder.data) &&
              dialog.SetChecked(1002, choice.startup != 0);
    if (dialog.IsEnabled(1003))
        ok = ok && dialog.SetChecked(1003, choice.allUsers != 0);
    if (dialog.IsEnabled(1004))
        ok = ok && dialog.SetChecked(1004, choice.multiUser != 0);
    ok = ok && dialog.SetChecked(1005, choice.sendTo != 0);
    if (screenshot)
        TakeSettledScreenshot(dialog.dialog, screenshot);
    if (!ok) {
        printf("the install dialog could not be filled\n");
        return false;
    }
    return dialog.Click(IDOK) && dialog.WaitClosed();
}

bool AnswerFinalQuestion(CSetupRun& run, const int& answer, CString* text, const char* screenshot)
{
    CDialogUnderTest box;
    if (!box.WaitFor(run.process.dwProcessId, "Quelt"))
        return false;
    if (text)
        *text = MessageBoxLabel(box.dialog);
    if (screenshot)
        TakeSettledScreenshot(box.dialog, screenshot);
    return CDialogUnderTest::Answer(box.dialog, answer);
}

bool TakeSettledScreenshot(HWND window, const char* name)
{
    // A box that has just appeared may not have painted yet: have it paint
    // now and answer a few messages before the picture is taken.
    RedrawWindow(window, 0, 0, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    for (int i = 0; i < 3; ++i) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
        UpdateWindow(window);
    }
    return TakeScreenshot(name);
}

bool InstallQuietly(CSetupPackage& package, const InstallChoice& choice,
                    const bool& confirmVersion)
{
    CSetupRun run;
    return run.Start(package.setupPath, "") &&
           (!confirmVersion || AnswerFinalQuestion(run, IDYES, 0, 0)) &&
           RunInstallDialog(run, choice, 0) &&
           AnswerFinalQuestion(run, IDNO, 0, 0) && run.WaitEnded() &&
           WaitForPathGone(package.setupPath) && WaitForNotepad("readme") && CloseNotepads();
}

namespace {

struct OwnedQuery {
    HWND owner;
    HWND found;
};

BOOL CALLBACK MatchOwned(HWND window, LPARAM parameter)
{
    OwnedQuery* query = reinterpret_cast<OwnedQuery*>(parameter);
    char name[32];
    if (GetWindow(window, GW_OWNER) != query->owner || !IsWindowVisible(window) ||
        !GetClassNameA(window, name, sizeof(name)) || strcmp(name, "#32770") != 0)
        return TRUE;
    query->found = window;
    return FALSE;
}

bool OwnedFound(void* context)
{
    OwnedQuery* query = static_cast<OwnedQuery*>(context);
    query->found = 0;
    EnumWindows(MatchOwned, reinterpret_cast<LPARAM>(query));
    return query->found != 0;
}

struct TextSearch {
    const char* text;
    bool found;
};

BOOL CALLBACK MatchChildText(HWND child, LPARAM parameter)
{
    TextSearch* search = reinterpret_cast<TextSearch*>(parameter);
    if (strcmp(TextOfWindow(child).Text(), search->text) == 0) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND WaitForOwnedDialog(HWND owner, const DWORD& timeoutMs)
{
    OwnedQuery query = {owner, 0};
    WaitUntil(OwnedFound, &query, timeoutMs);
    return query.found;
}

bool ShowsText(HWND window, const char* text)
{
    TextSearch search = {text, false};
    EnumChildWindows(window, MatchChildText, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

namespace {

struct ItemTextQuery {
    HWND item;
    const char* text;
};

bool ItemShows(void* context)
{
    ItemTextQuery* query = static_cast<ItemTextQuery*>(context);
    CString text = TextOfWindow(query->item);
    return strcmp(text.Text(), query->text) == 0;
}

}  // namespace

bool WaitForItemText(HWND item, const char* text, const DWORD& timeoutMs)
{
    ItemTextQuery query = {item, text};
    return WaitUntil(ItemShows, &query, timeoutMs);
}

CString SelectedTreeItemText(HWND tree)
{
    CString text;
    DWORD processId = 0;
    GetWindowThreadProcessId(tree, &processId);
    HTREEITEM item = reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE,
                                 FALSE, processId);
    if (!item || !process) {
        if (process)
            CloseHandle(process);
        return text;
    }
    // The item record and its text buffer live in the tree's process.
    const SIZE_T textSize = 512;
    char* remote = static_cast<char*>(VirtualAllocEx(process, 0, sizeof(TVITEMA) + textSize,
                                                     MEM_COMMIT, PAGE_READWRITE));
    if (remote) {
        TVITEMA record;
        memset(&record, 0, sizeof(record));
        record.mask = TVIF_TEXT;
        record.hItem = item;
        record.pszText = remote + sizeof(TVITEMA);
        record.cchTextMax = static_cast<int>(textSize);
        char local[512];
        memset(local, 0, sizeof(local));
        SIZE_T moved = 0;
        if (WriteProcessMemory(process, remote, &record, sizeof(record), &moved) &&
            SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote)) &&
            ReadProcessMemory(process, remote + sizeof(TVITEMA), local, textSize - 1, &moved))
            text.Assign(local);
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return text;
}

namespace {

struct TreeQuery {
    HWND tree;
    const char* text;
};

bool TreeSelects(void* context)
{
    TreeQuery* query = static_cast<TreeQuery*>(context);
    CString text = SelectedTreeItemText(query->tree);
    return strcmp(text.Text(), query->text) == 0;
}

}  // namespace

bool WaitForTreeSelection(HWND dialog, const char* text, const DWORD& timeoutMs)
{
    HWND tree = FindWindowExA(dialog, 0, WC_TREEVIEWA, 0);
    if (!tree)
        return false;
    TreeQuery query = {tree, text};
    return WaitUntil(TreeSelects, &query, timeoutMs);
}
