// The end of an installation: the registration tool writes its SendTo
// shortcut, the user is asked whether to start the launcher now, and the
// readme opens, each started with the user's normal rights. Where that
// cannot be done, a notice says how the launcher starts instead.
#ifndef QUELT_SETUP_INSTALL_END_H
#define QUELT_SETUP_INSTALL_END_H

#include "support/string.h"
#include "user_starter.h"

struct InstallEndPlan {
    Zint_Std::CString installFolder;  // trailing backslash
    bool firstInstall;                // no earlier version was installed
    bool sendTo;                      // the SendTo shortcut was chosen
    bool startupLink;                 // the start-up shortcut was written
    bool menuFolder;                  // the Start-menu shortcuts were written

    InstallEndPlan() : firstInstall(false), sendTo(false), startupLink(false), menuFolder(false) {}
};

class CInstallEnd {
public:
    explicit CInstallEnd(CUserStarter& starter);

    void Run(const InstallEndPlan& plan);

    // The notice in place of the question when nothing may be started.
    static Zint_Std::CString NoStartNotice(const InstallEndPlan& plan);

private:
    CUserStarter& starter;

    static Zint_Std::CString CompletedText(const InstallEndPlan& plan);
    // Why the launcher was not started, and how it starts.
    static Zint_Std::CString RefusedText(const InstallEndPlan& plan);
    static Zint_Std::CString LaterStartText(const InstallEndPlan& plan);
};

#endif
