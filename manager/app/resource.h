// Resource identifiers of VyxQ5Manager.exe.
#pragma once

#define IDS_SOCKETS_FAILED 103
#define IDD_PROGRESS 104

#define IDC_PROGRESS_TEXT 1001
#define IDC_PROGRESS_BAR 1002
