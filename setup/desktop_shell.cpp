// The desktop's shell object is found through the shell windows' desktop
// entry, its top-level browser, the active view's background object and
// that object's application. Every step releases what it no longer needs.
#include "desktop_shell.h"

#include <windows.h>
#include <exdisp.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

namespace {

IDispatch* FindDesktopWindow()
{
    IShellWindows* windows = 0;
    if (FAILED(CoCreateInstance(CLSID_ShellWindows, 0, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                                reinterpret_cast<void**>(&windows))))
        return 0;
    VARIANT location;
    VARIANT root;
    VariantInit(&location);
    VariantInit(&root);
    LONG window = 0;
    IDispatch* desktop = 0;
    // S_FALSE when there is no desktop window.
    if (windows->FindWindowSW(&location, &root, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                              &desktop) != S_OK &&
        desktop) {
        desktop->Release();
        desktop = 0;
    }
    windows->Release();
    return desktop;
}

IShellView* ActiveViewOf(IDispatch* desktop)
{
    IServiceProvider* provider = 0;
    if (FAILED(desktop->QueryInterface(IID_IServiceProvider,
                                       reinterpret_cast<void**>(&provider))))
        return 0;
    IShellBrowser* browser = 0;
    IShellView* view = 0;
    if (SUCCEEDED(provider->QueryService(SID_STopLevelBrowser, IID_IShellBrowser,
                                         reinterpret_cast<void**>(&browser)))) {
        if (FAILED(browser->QueryActiveShellView(&view)))
            view = 0;
        browser->Release();
    }
    provider->Release();
    return view;
}

IShellDispatch2* ApplicationOf(IShellView* view)
{
    IDispatch* background = 0;
    if (FAILED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch,
                                   reinterpret_cast<void**>(&background))))
        return 0;
    IShellFolderViewDual* folderView = 0;
    IDispatch* application = 0;
    IShellDispatch2* shell = 0;
    if (SUCCEEDED(background->QueryInterface(IID_IShellFolderViewDual,
                                             reinterpret_cast<void**>(&folderView)))) {
        if (SUCCEEDED(folderView->get_Application(&application)) && application) {
            if (FAILED(application->QueryInterface(IID_IShellDispatch2,
                                                   reinterpret_cast<void**>(&shell))))
                shell = 0;
            application->Release();
        }
        folderView->Release();
    }
    background->Release();
    return shell;
}

IShellDispatch2* OpenDesktopShell()
{
    IDispatch* desktop = FindDesktopWindow();
    if (!desktop)
        return 0;
    IShellDispatch2* shell = 0;
    IShellView* view = ActiveViewOf(desktop);
    if (view) {
        shell = ApplicationOf(view);
        view->Release();
    }
    desktop->Release();
    return shell;
}

// A string of the program's code page as automation text; VT_EMPTY for
// none, which the shell reads as "not given".
void SetText(VARIANT& value, const char* text)
{
    VariantInit(&value);
    if (!text || !text[0])
        return;
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, 0, 0);
    if (length <= 0)
        return;
    BSTR wide = SysAllocStringLen(0, static_cast<UINT>(length - 1));
    if (!wide)
        return;
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide, length);
    value.vt = VT_BSTR;
    value.bstrVal = wide;
}

bool Execute(IShellDispatch2* shell, const char* file, const char* parameters,
             const char* folder)
{
    VARIANT path;
    VARIANT arguments;
    VARIANT directory;
    VARIANT operation;
    VARIANT show;
    SetText(path, file);
    SetText(arguments, parameters);
    SetText(directory, folder);
    SetText(operation, "open");
    VariantInit(&show);
    show.vt = VT_I4;
    show.lVal = SW_SHOWNORMAL;
    bool started = false;
    if (path.vt == VT_BSTR)
        started = SUCCEEDED(shell->ShellExecute(path.bstrVal, arguments, directory, operation,
                                                show));
    VariantClear(&path);
    VariantClear(&arguments);
    VariantClear(&directory);
    VariantClear(&operation);
    return started;
}

}  // namespace

bool CDesktopShell::IsAvailable()
{
    return Use(0, 0, 0);
}

bool CDesktopShell::Start(const char* file, const char* parameters, const char* folder)
{
    return file && file[0] && Use(file, parameters, folder);
}

bool CDesktopShell::Use(const char* file, const char* parameters, const char* folder)
{
    const HRESULT initialised = CoInitialize(0);
    // A thread already in the multithreaded apartment can still call out.
    if (FAILED(initialised) && initialised != RPC_E_CHANGED_MODE)
        return false;
    bool done = false;
    IShellDispatch2* shell = OpenDesktopShell();
    if (shell) {
        done = !file || Execute(shell, file, parameters, folder);
        shell->Release();
    }
    if (SUCCEEDED(initialised))
        CoUninitialize();
    return done;
}
