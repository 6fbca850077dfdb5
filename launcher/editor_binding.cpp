// The editor library quelt_.dll: loaded for each dialog and freed after it,
// one dialog at a time, with the hotkey off while it is open; the dialogs
// ended at once when the launcher has to stop.
#include "launcher/launcher_app.h"

using Zint_Std::CString;

#include "commands/editor_contract.h"
#include "launcher/launcher_ids.h"

namespace {

const char kEditorLibrary[] = "quelt_.dll";
const char kEditorLoadFailed[] = "dllのロードに失敗しました.\n";

}  // namespace

bool CLauncherApp::BeginEditor()
{
    // The id is 0 while a dialog is open: only one at a time.
    if (!hotKeyAtom)
        return false;
    HideInputBox();
    keptHotKeyAtom = hotKeyAtom;
    hotKeyAtom = 0;
    return true;
}

void CLauncherApp::EndEditor()
{
    // After a shut-down under the dialog the id is gone and stays so.
    if (keptHotKeyAtom)
        hotKeyAtom = keptHotKeyAtom;
    keptHotKeyAtom = 0;
}

namespace {

// The first enabled, visible dialog box of the thread: the innermost one,
// since each dialog disables the window it was opened over.
BOOL CALLBACK FindActiveDialog(HWND window, LPARAM found)
{
    char className[16];
    if (!IsWindowVisible(window) || !IsWindowEnabled(window) ||
        !GetClassNameA(window, className, sizeof(className)) || lstrcmpA(className, "#32770"))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

HWND ActiveDialog()
{
    HWND dialog = 0;
    EnumThreadWindows(GetCurrentThreadId(), FindActiveDialog, reinterpret_cast<LPARAM>(&dialog));
    return dialog;
}

}  // namespace

void CLauncherApp::CancelOpenDialogs()
{
    // Innermost first; each loop unwinds once this message has been
    // handled. The editor's own dialogs end without asking anything, as no
    // answer could be acted on now. Message boxes and the system's dialogs
    // get Cancel, and one that ignores it is ended anyway, so that the next
    // one out can be reached.
    for (int round = 0; round < 32; round++) {
        HWND dialog = ActiveDialog();
        if (!dialog)
            return;
        if (SendMessageA(dialog, WM_ENDEDITORDIALOG, 0, 0) != kDialogEndedUnasked)
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        if (IsWindow(dialog) && IsWindowVisible(dialog))
            EndDialog(dialog, IDCANCEL);
    }
}

EditorEntry CLauncherApp::LoadEditor(const char* entryName, HMODULE& library)
{
    CString path(installFolder);
    path.Append(kEditorLibrary);
    library = LoadLibraryA(path.data);
    FARPROC entry = library ? GetProcAddress(library, entryName) : 0;
    if (!entry) {
        MessageBoxA(mainWindow, kEditorLoadFailed, "警告", MB_OK);
        if (library)
            FreeLibrary(library);
        library = 0;
    }
    return reinterpret_cast<EditorEntry>(reinterpret_cast<void*>(entry));
}

void CLauncherApp::OpenCommandEditor(const int& origin, const LPARAM& name)
{
    // Only a name this process handed out is taken over and freed; any
    // other value (a message posted by another program) is ignored.
    CString commandName;
    char* buffer = reinterpret_cast<char*>(name);
    if (buffer && runner && runner->TakeBackEditName(buffer)) {
        commandName = buffer;
        delete[] buffer;
    }
    if (!BeginEditor())
        return;
    HMODULE library = 0;
    CommandEditEntry entry =
        reinterpret_cast<CommandEditEntry>(LoadEditor(kCommandEditEntryName, library));
    if (entry) {
        int originCode = origin;
        if (entry(mainWindow, &commandList->commandFile, &originCode, &commandName))
            ReloadCommands();
        FreeLibrary(library);
    }
    EndEditor();
}

void CLauncherApp::OpenPropertyEditor()
{
    if (!BeginEditor())
        return;
    HMODULE library = 0;
    PropertyEditEntry entry =
        reinterpret_cast<PropertyEditEntry>(LoadEditor(kPropertyEditEntryName, library));
    if (entry) {
        // A shut-down under the dialog has released the id: nothing to
        // register again then.
        if (entry(mainWindow, keptHotKeyAtom, &commandList->profileFile) && keptHotKeyAtom) {
            // The reload registers the hotkey again under the same id.
            EndEditor();
            ReloadSettings();
        }
        FreeLibrary(library);
    }
    EndEditor();
}

void CLauncherApp::OnRegisterPath(const WPARAM& wParam, const LPARAM&)
{
    // The atom is consumed exactly once, also when no dialog follows.
    CString path;
    path.Reserve(500);
    const ATOM atom = static_cast<ATOM>(LOWORD(wParam));
    if (atom) {
        if (!GlobalGetAtomNameA(atom, path.data, 500))
            path.data[0] = 0;
        GlobalDeleteAtom(atom);
    }
    if (!BeginEditor()) {
        if (EditorOpen())
            TellPathNotRegistered(path);
        return;
    }
    HMODULE library = 0;
    CommandNewItemEntry entry =
        reinterpret_cast<CommandNewItemEntry>(LoadEditor(kCommandNewItemEntryName, library));
    if (entry) {
        if (entry(mainWindow, &commandList->commandFile, &path))
            ReloadCommands();
        FreeLibrary(library);
    }
    EndEditor();
}

void CLauncherApp::TellPathNotRegistered(const CString& path)
{
    // Over the dialog that is in the way: the main window is disabled
    // under it, and a box owned by it would enable it again when closed.
    CString text;
    text.Format("Quelt のダイアログが開いているため、次のパスを登録できませんでした。\n\n%s\n\n"
                "ダイアログを閉じてから、もう一度送ってください。",
                path.Text());
    MessageBoxA(ActiveDialog(), text.data, kLauncherTitle, MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
}
