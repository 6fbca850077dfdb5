// The entry points the launcher looks up by name. The launcher hands its own
// string objects; the library only reads them, through their first field
// (the pointer to the text), and never frees or changes them.
#include <windows.h>
#include <commctrl.h>

#include "editor/dialog.h"
#include "editor/editor_dialogs.h"

namespace {

struct LauncherText {
    const char* text;  // first field of the launcher's string object
};

const char* TextOf(const LauncherText* object)
{
    return object && object->text ? object->text : "";
}

void PrepareControls()
{
    INITCOMMONCONTROLSEX controls;
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS;
    InitCommonControlsEx(&controls);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        SetEditorModule(module);
        DisableThreadLibraryCalls(module);
    }
    return TRUE;
}

// origin 0: the command list; 1: the one command named by name.
extern "C" __declspec(dllexport) int __cdecl CommandEditDlg(HWND owner,
                                                            const LauncherText* commandFile,
                                                            const int* origin,
                                                            const LauncherText* name)
{
    PrepareControls();
    if (origin && *origin == 1)
        return EditOneCommand(owner, TextOf(commandFile), TextOf(name));
    return EditCommandList(owner, TextOf(commandFile));
}

// The hotkey id comes in the low half of the argument.
extern "C" __declspec(dllexport) int __cdecl PropertyEditDlg(HWND owner, DWORD hotKeyId,
                                                             const LauncherText* profileFile)
{
    PrepareControls();
    return EditSettings(owner, static_cast<ATOM>(LOWORD(hotKeyId)), TextOf(profileFile));
}

extern "C" __declspec(dllexport) int __cdecl CommandNewItemDlg(HWND owner,
                                                               const LauncherText* commandFile,
                                                               const LauncherText* path)
{
    PrepareControls();
    return NewCommandFromPath(owner, TextOf(commandFile), TextOf(path));
}
