#include "start_folder.h"

#include <windows.h>
#include <shlobj.h>

#include "clean_steps.h"
#include "support/files.h"

using Zint_Std::CString;

namespace {

const int kPathRoom = 1024;

// Resolved where it can be; the names alone where it cannot.
CString RealOrAsNamed(const CString& folder, const FinalPathUse& use)
{
    CString resolved;
    if (ResolveStartFolder(folder, resolved, use))
        return resolved;
    return folder;
}

}  // namespace

void GetProtectedFolders(ProtectedFolders& folders)
{
    char buffer[500] = {0};
    GetWindowsDirectoryA(buffer, sizeof(buffer));
    folders.windows = CString(buffer);
    if (!Zint_Std::GetSpecialFolderPath(folders.profile, CSIDL_PROFILE))
        folders.profile.Empty();
    folders.program = Zint_Std::ModuleFolder(0);
}

bool ResolveStartFolder(const CString& folder, CString& resolved, const FinalPathUse& use)
{
    resolved.Empty();
    if (folder.IsEmpty())
        return false;
    wchar_t real[kPathRoom];
    if (use == kFinalPathWhereKnown && Zint_Std::FinalPathOf(folder.data, real, kPathRoom)) {
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
        // The full path keeps short names as they were given.
        resolved = LongFormOf(CString(full));
    }
    Zint_Std::AppendBackslash(resolved);
    return Zint_Std::FolderExists(resolved);
}

bool AcceptStartFolder(const CString& folder, CString& resolved)
{
    ProtectedFolders folders;
    GetProtectedFolders(folders);
    return AcceptStartFolder(folder, folders, kFinalPathWhereKnown, resolved);
}

bool AcceptStartFolder(const CString& folder, const ProtectedFolders& protectedFolders,
                       const FinalPathUse& use, CString& resolved)
{
    if (!ResolveStartFolder(folder, resolved, use))
        return false;
    const CString& windows = protectedFolders.windows;
    const CString& profile = protectedFolders.profile;
    const CString& program = protectedFolders.program;
    // The names as given and as the file system resolves them: a link may
    // lead to the Windows folder, and the profile may itself be reached
    // through one. Every comparison spells short names long.
    return !IsProtectedFolder(folder, windows, profile, program) &&
           !IsProtectedFolder(resolved, windows, profile, program) &&
           !IsProtectedFolder(resolved, RealOrAsNamed(windows, use), RealOrAsNamed(profile, use),
                              RealOrAsNamed(program, use));
}
