// The shell of the user's desktop, reached from this process: what it
// starts runs with the desktop's rights, not with an elevated installer's.
#ifndef QUELT_SETUP_DESKTOP_SHELL_H
#define QUELT_SETUP_DESKTOP_SHELL_H

class CDesktopShell {
public:
    // The desktop window's shell object answers.
    bool IsAvailable();
    // Opens the file (with parameters and working folder, either may be 0)
    // through the desktop's shell; false when the shell could not be
    // reached or refused the request.
    bool Start(const char* file, const char* parameters, const char* folder);

private:
    // Reaches the shell and, with a file, hands it the request.
    bool Use(const char* file, const char* parameters, const char* folder);
};

#endif
