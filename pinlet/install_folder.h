// Where the suite is installed, as the installer recorded it.
#ifndef QUELT_PINLET_INSTALL_FOLDER_H
#define QUELT_PINLET_INSTALL_FOLDER_H

#include "support/string.h"

// The value InstFolder of SoftWare\QUELT_\ (with its trailing backslash as
// the installer writes it): under HKEY_LOCAL_MACHINE, or under
// HKEY_CURRENT_USER only when the machine-wide key cannot be opened for
// reading. Empty when the value is missing or neither key opens.
Zint_Std::CString ReadInstallFolder();

#endif
