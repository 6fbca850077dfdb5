// Pinlet: the target of the SendTo shortcut. Given a path it hands it to the
// launcher; without one it adds or removes its SendTo shortcut, after asking;
// "-a" and "-d" do the same without asking.
#ifndef QUELT_PINLET_APP_H
#define QUELT_PINLET_APP_H

#include "command_line.h"
#include "sendto_shortcut.h"
#include "support/string.h"

class CPinletApp {
public:
    Zint_Std::CString installFolder;
    CSendToShortcut shortcut;

    // One action for the command line's arguments; always gives exit code 0.
    int Run(const char* arguments);

private:
    void ToggleShortcut();
    void AddShortcut(const bool& ask);
    void DeleteShortcut(const bool& ask);
};

// The one application object of the process.
extern CPinletApp* g_pinletApp;

#endif
