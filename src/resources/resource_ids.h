// Identifiers of the program's resources, shared by the resource script and the code.
#pragma once

#define IDS_DESCRIPTION 1
#define IDI_SAVER 100
#define IDB_LOGO 115

// The Change Resolution dialog and its controls.
#define IDD_CHANGE_RESOLUTION 114
#define IDC_RES_WIDTH 1089
#define IDC_RES_HEIGHT 1090
#define IDC_RES_DEPTH 1091
#define IDC_RES_LIST 1092

// The configuration dialog's "Monitors" drop-down, the last control of template 2003.
#define IDC_MONITOR_MODE 1094
