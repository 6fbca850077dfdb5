#include "install_folder.h"

#include <windows.h>

#include "support/registry.h"

using Zint_Std::CString;

namespace {

const char kSuiteKey[] = "SoftWare\\QUELT_\\";
const char kInstallFolderValue[] = "InstFolder";

}  // namespace

CString ReadInstallFolder()
{
    CString folder;
    Zint_Std::CRegistryKey key;
    // A machine-wide key that opens wins even without the value: the
    // per-user key is only the fallback of a per-user installation.
    if (!key.Open(HKEY_LOCAL_MACHINE, kSuiteKey, false, false) &&
        !key.Open(HKEY_CURRENT_USER, kSuiteKey, false, false))
        return folder;
    if (!key.QueryString(kInstallFolderValue, folder))
        folder.Empty();
    key.Close();
    return folder;
}
