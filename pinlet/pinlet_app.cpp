#include "pinlet_app.h"

#include <windows.h>

#include "install_folder.h"
#include "path_registration.h"
#include "pinlet_texts.h"

CPinletApp* g_pinletApp = 0;

int CPinletApp::Run(const char* arguments)
{
    installFolder = ReadInstallFolder();
    switch (ActionOfArguments(arguments)) {
    case kToggleShortcut: ToggleShortcut(); break;
    case kAddShortcut: AddShortcut(false); break;
    case kDeleteShortcut: DeleteShortcut(false); break;
    case kRegisterPath: {
        CPathRegistration registration(installFolder);
        registration.Register(arguments);
        break;
    }
    }
    return 0;
}

void CPinletApp::ToggleShortcut()
{
    shortcut.Locate();
    if (shortcut.Exists())
        DeleteShortcut(true);
    else
        AddShortcut(true);
}

void CPinletApp::AddShortcut(const bool& ask)
{
    if (ask && MessageBoxA(GetDesktopWindow(), kAskCreateShortcut, kPinletCaption, MB_YESNO) ==
                   IDNO)
        return;
    if (shortcut.linkPath.IsEmpty() && !shortcut.Locate())
        return;
    shortcut.Create(installFolder);
}

void CPinletApp::DeleteShortcut(const bool& ask)
{
    if (ask &&
        MessageBoxA(GetDesktopWindow(), kAskDeleteShortcut, kPinletCaption, MB_YESNO) == IDNO)
        return;
    if (shortcut.linkPath.IsEmpty() && !shortcut.Locate())
        return;
    shortcut.Delete();
}
