#include "support/registry.h"

#include <string.h>

namespace Zint_Std {

CRegistryKey::CRegistryKey() : hKey(0), hRoot(0) {}

CRegistryKey::~CRegistryKey()
{
    Close();
}

bool CRegistryKey::Open(HKEY root, const char* subKey, const bool& write, const bool& create)
{
    if (hKey) {
        RegCloseKey(hKey);
        hKey = 0;
    }
    hRoot = 0;
    HKEY opened = 0;
    LONG status;
    if (create) {
        char emptyClass[1] = "";
        status = RegCreateKeyExA(root, subKey, 0, emptyClass, REG_OPTION_NON_VOLATILE,
                                 KEY_ALL_ACCESS, 0, &opened, 0);
    } else {
        status = RegOpenKeyExA(root, subKey, 0, write ? KEY_ALL_ACCESS : KEY_READ, &opened);
    }
    if (status != ERROR_SUCCESS)
        return false;
    hKey = opened;
    hRoot = root;
    path.Assign(subKey);
    return true;
}

void CRegistryKey::Close()
{
    CloseKey();
    path.Empty();
}

void CRegistryKey::CloseKey()
{
    if (hKey) {
        RegCloseKey(hKey);
        hKey = 0;
    }
    hRoot = 0;
}

bool CRegistryKey::QueryString(const char* name, CString& value)
{
    if (!hKey)
        return false;
    if (!value.Reserve(500))
        return false;
    DWORD size = 500;
    DWORD type = REG_SZ;
    LONG status = RegQueryValueExA(hKey, name, 0, &type,
                                   reinterpret_cast<BYTE*>(value.data), &size);
    if (status != ERROR_SUCCESS) {
        memset(value.data, 0, value.capacity);
        return false;
    }
    // A stored value need not end in a terminator; the buffer has room.
    if (size <= 500)
        value.data[size] = 0;
    return true;
}

bool CRegistryKey::SetString(const char* name, const CString& value)
{
    if (!hKey)
        return false;
    const char* text = value.Text();
    LONG status = RegSetValueExA(hKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                                 value.GetLength() + 1);
    return status == ERROR_SUCCESS;
}

bool CRegistryKey::DeleteKey(HKEY root, const char* subKey)
{
    CString ownPath;
    if (hKey && !subKey) {
        ownPath.Assign(path);
        subKey = ownPath.data;
    }
    if (!hKey && (!root || !subKey))
        return false;
    if (!root) {
        root = hRoot;
        RegCloseKey(hKey);
        hKey = 0;
        hRoot = 0;
    }
    if (!subKey || RegDeleteKeyA(root, subKey) != ERROR_SUCCESS)
        return false;
    if (hKey)
        RegCloseKey(hKey);
    hKey = 0;
    hRoot = 0;
    return true;
}

}  // namespace Zint_Std
