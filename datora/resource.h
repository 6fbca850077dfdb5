// Identifiers of the change dialog and its controls.
#ifndef QUELT_DATORA_RESOURCE_H
#define QUELT_DATORA_RESOURCE_H

#define IDD_CHANGE 101

#define IDC_FOLDER 1000
#define IDC_BROWSE 1001
#define IDC_SET_ATTRIBUTES 1003
#define IDC_SET_TIME 1004
#define IDC_RUN 1005
#define IDC_READ_ONLY 1006
#define IDC_HIDDEN 1007
#define IDC_ARCHIVE 1008
#define IDC_SYSTEM 1009
#define IDC_TIME_PICKER 1010
#define IDC_DATE_PICKER 1011
#define IDC_SET_NOW 1012
#define IDC_INCLUDE_FOLDERS 1017

// System-menu item that shows the version box.
#define IDM_VERSION 16

#endif
