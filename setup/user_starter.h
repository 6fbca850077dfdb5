// Starts what the user goes on to work with after the installation (the
// launcher, the readme, the registration tool) with the user's normal
// rights, never with the rights an elevated installer holds.
#ifndef QUELT_SETUP_USER_STARTER_H
#define QUELT_SETUP_USER_STARTER_H

class CUserStarter {
public:
    virtual ~CUserStarter() {}

    // Something can be started: the desktop's shell answers, or this
    // process holds no raised rights to hand on.
    bool CanStart();
    // Through the desktop's shell; failing that, directly when this process
    // is not elevated. False when nothing was started.
    bool Start(const char* file, const char* parameters, const char* folder);

protected:
    // What the choice rests on; the defaults ask the system.
    virtual bool DesktopShellAvailable();
    virtual bool StartThroughDesktop(const char* file, const char* parameters,
                                     const char* folder);
    virtual bool IsElevated();
    virtual bool StartDirectly(const char* file, const char* parameters, const char* folder);
};

#endif
