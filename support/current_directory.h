// The process's current directory, saved so that it can be set again after a
// folder was tested for existence by entering it. Set back when it goes out
// of scope, or earlier with Restore.
#ifndef QUELT_SUPPORT_CURRENT_DIRECTORY_H
#define QUELT_SUPPORT_CURRENT_DIRECTORY_H

#include <windows.h>

namespace Zint_Std {

class CCurrentDirectory {
public:
    CCurrentDirectory()
    {
        DWORD length = GetCurrentDirectoryA(sizeof(saved), saved);
        valid = length > 0 && length < sizeof(saved);
    }
    ~CCurrentDirectory() { Restore(); }
    void Restore() const
    {
        if (valid)
            SetCurrentDirectoryA(saved);
    }

private:
    char saved[500];
    bool valid;
};

}  // namespace Zint_Std

#endif
