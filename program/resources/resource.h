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
