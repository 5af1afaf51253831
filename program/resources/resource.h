// Identifiers of the program's resources.
#pragma once

#define IDS_APP_TITLE 1          // "VORLA Pinnotes": the main window's title
#define IDS_MAIN_WINDOW_CLASS 3  // "PINNOTES"

#define IDI_PINNOTES 101

// The note window's buttons: the expiry choices (a clock face) and the date (a calendar
// page), in their ordinary and high-resolution forms.
#define IDB_EXPIRY_BUTTON 136
#define IDB_DATE_BUTTON 137
#define IDB_EXPIRY_BUTTON_HIRES 192
#define IDB_DATE_BUTTON_HIRES 193

// The titles editor dialog and its controls.
#define IDD_TITLES_EDITOR 179
#define IDC_TITLE_TEXT 1037
#define IDC_TITLE_ADD 1038
#define IDC_TITLE_DELETE 1039
#define IDC_TITLES_LIST 1040
#define IDC_TITLE_MOVE_UP 1041
#define IDC_TITLE_MOVE_DOWN 1042
#define IDC_TITLES_DELETE_ALL 1043
