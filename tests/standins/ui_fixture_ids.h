// Control ids of the UI fixture dialog, shared by its resource script and the tests that drive it.
#pragma once

#define IDD_FIXTURE 100
#define IDD_WIZARD_LICENCE 101
#define IDD_WIZARD_LABEL 102

#define IDC_NAME 1001
#define IDC_APPLY 1002
#define IDC_LAMINATE 1003
#define IDC_FAST 1004
#define IDC_BEST 1005
#define IDC_COLOUR 1006
#define IDC_SIZES 1007
#define IDC_JOBS 1008
#define IDC_COPIES 1009
#define IDC_COPIES_SPIN 1010
#define IDC_PROGRESS 1011
#define IDC_MENU 1012
#define IDC_ASK 1013
#define IDC_WIZARD 1014
#define IDC_NEVER 1015
#define IDC_ACCEPT 1020
#define IDC_LABEL 1021

#define IDM_OPEN 501
#define IDM_PRINT 502
#define IDM_GRAYED 503
#define IDM_DELETE 504
