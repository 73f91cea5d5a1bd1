#pragma once

// Identifiers of the program's icon, and of the main window's menu items and controls, each named
// after the item or control, shared by the resource scripts, the window and its tests. The window
// numbers its controls and menu items in the order its design lists them (Design.h).
#define IDI_Application 1

#define IDM_mnuFileOpen 201
#define IDM_mnuFileExit 202
#define IDM_mnuHelpAbout 203

#define IDC_Label1 1001
#define IDC_Label2 1002
#define IDC_Panel1 1003
#define IDC_mmStatus 1004
#define IDC_cbModule 1005
#define IDC_btnConvert 1006
#define IDC_cbBackupDnl 1007
#define IDC_cbMiscRec 1008
#define IDC_cbGBR 1009
