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

// The note window: its menu bar with the "Edit" menu, the toolbar's image strips (small-icon
// squares, 16 and 32 pixels) and the commands of the bar, the menu and the toolbar. The
// toolbar's tooltips are strings under the command numbers.
#define IDR_NOTE_MENU_BAR 169
#define IDB_NOTE_TOOLS 170
#define IDB_NOTE_TOOLS_HIRES 189
#define NOTE_TOOL_IMAGES 11
#define IDS_NOTE_EDIT 1121
#define IDC_NOTE_PEN_MODE 110
#define IDC_NOTE_GRID 120
#define IDC_NOTE_ZOOM_IN 1131
#define IDC_NOTE_ZOOM_OUT 1132
#define IDC_NOTE_RECORD 1133
#define IDC_NOTE_UNDO 1134
#define IDC_NOTE_CLEAR_ALL 1143
#define IDC_NOTE_COPY 57634
#define IDC_NOTE_CUT 57635
#define IDC_NOTE_PASTE 57637

// The all-notes window: its menu bar, its commands and the pictures of its rows' states.
#define IDM_ALL_NOTES_BAR 122
#define IDB_NOTE_STATES 123
#define IDB_NOTE_STATES_HIRES 196
#define ID_NOTES_EDIT 102
#define ID_NOTES_DELETE 107
#define ID_NOTES_SET_EXPIRED 108
#define ID_NOTES_SELECT_ALL 111
#define ID_NOTES_NEW 1113
#define ID_NOTES_OPTIONS 1122
#define ID_NOTES_TITLES 1144
#define ID_NOTES_ABOUT 1158
