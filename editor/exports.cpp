// The entry points the launcher looks up by name, as commands/editor_contract.h
// declares them. The launcher hands its own string objects; the library only
// reads their text and never frees or changes them.
#include <windows.h>
#include <commctrl.h>

#include "commands/editor_contract.h"
#include "editor/dialog.h"
#include "editor/editor_dialogs.h"

namespace {

const char* TextOf(const Zint_Std::CString* object)
{
    return object && object->data ? object->data : "";
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

extern "C" __declspec(dllexport) int __cdecl CommandEditDlg(HWND owner,
                                                            const Zint_Std::CString* commandFile,
                                                            const int* origin,
                                                            const Zint_Std::CString* name)
{
    PrepareControls();
    if (origin && *origin == 1)
        return EditOneCommand(owner, TextOf(commandFile), TextOf(name));
    return EditCommandList(owner, TextOf(commandFile));
}

extern "C" __declspec(dllexport) int __cdecl PropertyEditDlg(
    HWND owner, DWORD hotKeyId, const Zint_Std::CString* profileFile)
{
    PrepareControls();
    return EditSettings(owner, static_cast<ATOM>(LOWORD(hotKeyId)), TextOf(profileFile));
}

extern "C" __declspec(dllexport) int __cdecl CommandNewItemDlg(
    HWND owner, const Zint_Std::CString* commandFile, const Zint_Std::CString* path)
{
    PrepareControls();
    return NewCommandFromPath(owner, TextOf(commandFile), TextOf(path));
}
