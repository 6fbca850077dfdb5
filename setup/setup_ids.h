// Resource identifiers of setup: the icon, the two dialogs and their items.
#ifndef QUELT_SETUP_IDS_H
#define QUELT_SETUP_IDS_H

#define IDI_SETUP 101
#define IDD_INSTALL 102
#define IDD_UNINSTALL 103

// Install options dialog.
#define IDC_INSTALL_FOLDER 1000
#define IDC_BROWSE 1001
#define IDC_STARTUP 1002
#define IDC_ALL_USERS 1003
#define IDC_MULTI_USER 1004
#define IDC_SEND_TO 1005

// Uninstall dialog.
#define IDC_DELETE_SETTINGS 1005

#endif
