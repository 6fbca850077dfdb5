#include "install_folder_check.h"

#include <windows.h>
#include <string.h>

#include "setup_app.h"
#include "setup_paths.h"
#include "support/files.h"

using Zint_Std::CString;

namespace {

const DWORD kPathSize = 512;

// The full path, "." and ".." taken out, names the root of its drive or
// share. Only the text is looked at: an absolute path needs no working
// folder to resolve.
bool IsRootFolder(const CString& folder)
{
    char full[kPathSize];
    const DWORD length = GetFullPathNameA(folder.data, kPathSize, full, 0);
    if (length == 0 || length >= kPathSize)
        return false;
    CString path(full);
    Zint_Std::AppendBackslash(path);
    if (path.data[1] == ':')
        return path.GetLength() <= 3;
    // "\\server\share\": two names after the leading pair, then nothing.
    int separators = 0;
    for (const char* c = path.data + 2; *c; ++c)
        if (*c == '\\')
            ++separators;
    return separators <= 2;
}

bool IsSettingsFile(const char* name)
{
    for (int i = 0; i < kSettingsFileCount; ++i)
        if (SamePathText(name, kSettingsFiles[i]))
            return true;
    return false;
}

// The folder holds an entry other than the suite's settings files.
bool HoldsOtherEntries(const CString& folder)
{
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "*").data, &entry);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    bool found = false;
    do {
        const char* name = entry.cFileName;
        found = strcmp(name, ".") != 0 && strcmp(name, "..") != 0 && !IsSettingsFile(name);
    } while (!found && FindNextFileA(search, &entry));
    FindClose(search);
    return found;
}

}  // namespace

InstallFolderVerdict CheckInstallFolder(const char* typed, CString& folder)
{
    CString text(typed ? typed : "");
    text.Trim();
    folder.Empty();
    if (text.IsEmpty())
        return kFolderEmpty;
    if (!IsAbsolutePath(text.data))
        return kFolderNotAbsolute;
    Zint_Std::AppendBackslash(text);
    if (IsRootFolder(text))
        return kFolderIsRoot;
    folder.Assign(text);
    return kFolderUsable;
}

const char* InstallFolderRefusal(const InstallFolderVerdict& verdict)
{
    switch (verdict) {
    case kFolderEmpty:
        return "インストールするフォルダを入力してください.";
    case kFolderNotAbsolute:
        return "インストールするフォルダは,ドライブ名から始まる完全なパスで入力してください.\n"
               "(例: C:\\Program Files\\quelt_\\)";
    case kFolderIsRoot:
        return "ドライブやネットワーク共有のルートにはインストールできません.\n"
               "その中のフォルダを指定してください.";
    default:
        return 0;
    }
}

bool HoldsFilesOfAnotherProgram(const CString& folder)
{
    if (!HoldsOtherEntries(folder) || CSetupApp::MatchesRecordedInstallFolder(folder))
        return false;
    return !(Zint_Std::FileExists((folder + "quelt_.exe").data) &&
             (Zint_Std::FileExists((folder + "quelt_.ini").data) ||
              Zint_Std::FileExists((folder + "cmd_org.txt").data)));
}
