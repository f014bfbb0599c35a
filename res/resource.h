// Identifiers of ostrafen.exe's resources, shared by the resource script and the C++ code.
// Plain #defines only, so that windres can read this file too.
#pragma once

#define IDM_ABOUT 0x0010  // system-menu command: its four low bits must stay zero

#define IDD_ABOUT 100
#define IDS_ABOUT_MENU 101
#define IDD_MAIN 102
#define IDI_APP 128

#define IDC_AUTO_PROCESS 1003
#define IDC_INSTALL_SERVICE 1004
#define IDC_START_SERVICE 1005
#define IDC_ADD_FIREWALL_RULES 1006
#define IDC_UNINSTALL_SERVICE 1007
#define IDC_STOP_SERVICE 1008
#define IDC_HELP_TEXT 1009
#define IDC_HELP_GROUP 1010
