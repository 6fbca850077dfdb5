#include "start_folder.h"

#include <windows.h>
#include <shlobj.h>

#include "clean_steps.h"
#include "support/files.h"

using Zint_Std::CString;

namespace {

const int kPathRoom = 1024;

// Resolved where it can be; the names alone where it cannot.
CString RealOrAsNamed(const CString& folder)
{
    CString resolved;
    if (ResolveStartFolder(folder, resolved))
        return resolved;
    return folder;
}

}  // namespace

bool ResolveStartFolder(const CString& folder, CString& resolved)
{
    resolved.Empty();
    if (folder.IsEmpty())
        return false;
    wchar_t real[kPathRoom];
    if (Zint_Std::FinalPathOf(folder.data, real, kPathRoom)) {
        char text[kPathRoom * 2];
        if (!Zint_Std::WideToAnsiExactly(real, text, sizeof(text)))
            return false;
        resolved.Assign(text);
    } else {
        char full[kPathRoom];
        char* name = 0;
        DWORD length = GetFullPathNameA(folder.data, sizeof(full), full, &name);
        if (length == 0 || length >= sizeof(full))
            return false;
        resolved.Assign(full);
    }
    Zint_Std::AppendBackslash(resolved);
    return Zint_Std::FolderExists(resolved);
}

bool AcceptStartFolder(const CString& folder, CString& resolved)
{
    if (!ResolveStartFolder(folder, resolved))
        return false;
    char buffer[500] = {0};
    GetWindowsDirectoryA(buffer, sizeof(buffer));
    const CString windows(buffer);
    CString profile;
    if (!Zint_Std::GetSpecialFolderPath(profile, CSIDL_PROFILE))
        profile.Empty();
    const CString program = Zint_Std::ModuleFolder(0);
    // The names as given and as the file system resolves them: a link may
    // lead to the Windows folder, and the profile may itself be reached
    // through one.
    return !IsProtectedFolder(folder, windows, profile, program) &&
           !IsProtectedFolder(resolved, windows, profile, program) &&
           !IsProtectedFolder(resolved, RealOrAsNamed(windows), RealOrAsNamed(profile),
                              RealOrAsNamed(program));
}
