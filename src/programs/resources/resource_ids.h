#pragma once

// Resource identifiers shared by both launchers' resource scripts.
#define IDI_LAUNCHER 1
#define IDD_ERROR_DIALOG 101
#define IDC_ERROR_DETAILS 1000
#define IDC_ERROR_TEXT 1001
