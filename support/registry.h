// One open registry key with string values. REG_DWORD values are read and
// written by the callers through hKey.
#ifndef QUELT_SUPPORT_REGISTRY_H
#define QUELT_SUPPORT_REGISTRY_H

#include <windows.h>

#include "support/string.h"

namespace Zint_Std {

class CRegistryKey {
public:
    HKEY hKey;     // the open key; null when closed
    HKEY hRoot;    // the predefined root it was opened under
    CString path;  // the sub-key path of the last successful Open

    CRegistryKey();
    ~CRegistryKey();

    // Opens (or, with create, creates) root\subKey; a failure leaves the
    // object closed.
    bool Open(HKEY root, const char* subKey, const bool& write, const bool& create);
    // Closes the key and forgets its path.
    void Close();
    // Closes the key and keeps its path.
    void CloseKey();
    // Reads a string of at most 499 characters into value.
    bool QueryString(const char* name, CString& value);
    bool SetString(const char* name, const CString& value);
    // With both arguments null, deletes the key this object has open.
    bool DeleteKey(HKEY root, const char* subKey);
};

}  // namespace Zint_Std

#endif
