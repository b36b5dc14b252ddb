// Resource identifiers of VyxSetup.exe: the page templates (also the numbers a page returns to jump to it) and
// the controls of the pages. Plain defines, so that the resource script and the portable page models share them.
#pragma once

// Page templates, in the wizard's order 110, 109, 112, 103, 104, 105, 106, 107.
#define IDD_ACTION_PAGE 103
#define IDD_LICENCE_PAGE 104
#define IDD_DRIVER_PRINTER_PAGE 105
#define IDD_PRINTER_PAGE 106
#define IDD_RESULT_PAGE 107
#define IDD_LANGUAGE_PAGE 109
#define IDD_WELCOME_PAGE 110
#define IDD_UNIT_PAGE 112

#define IDB_WELCOME 120

// Controls. Every page has a group box with the same id.
#define IDC_PAGE_GROUP 1000
#define IDC_WELCOME_PICTURE 1001
#define IDC_LANGUAGE_LIST 1010
#define IDC_UNIT_LIST 1020
#define IDC_INSTALL 1030
#define IDC_UNINSTALL 1031
#define IDC_LICENCE_TEXT 1040
#define IDC_LICENCE_ACCEPT 1041
#define IDC_LICENCE_DECLINE 1042
#define IDC_OPTION_DRIVER_ONLY 1050
#define IDC_OPTION_UPDATE 1051
#define IDC_OPTION_DRIVER_PRINTER 1052
#define IDC_OPTION_SYSTEM_WIZARD 1053
#define IDC_PRINTER_NAME_LABEL 1060
#define IDC_PRINTER_NAME 1061
#define IDC_PRINTER_LIST 1062
#define IDC_PORT_LABEL 1063
#define IDC_PORT_LIST 1064
#define IDC_PORT_BUTTON 1065
#define IDC_MAKE_DEFAULT 1066
#define IDC_SHARE 1067
#define IDC_EXPERT 1068
#define IDC_RESULT_TEXT 1070
