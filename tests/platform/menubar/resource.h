// Resources of the menu bar tests.
#pragma once

#define IDM_NOTE_BAR 169
#define IDB_IMAGES_SMALL 170
#define IDB_IMAGES_LARGE 189
#define IDS_EDIT 1121

#define IDM_MAIN_BAR 122
#define IDM_NEW 1113
#define IDM_TOOLS 1200
#define IDS_NEW 1113
#define IDS_TOOLS 1201
#define IDM_TITLES 1144
#define IDM_OPTIONS 1122
#define IDM_ABOUT 1158

#define IDM_EMPTY_BAR 701
#define IDS_EMPTY 702
#define IDM_EMPTY 703

#define IDM_CUT 57635
#define IDM_COPY 57634
#define IDM_PASTE 57637
#define IDM_CLEAR_ALL 1143

#define IDS_ZOOM_OUT 1132
#define IDS_ZOOM_IN 1131

// Damaged or incomplete bars.
#define IDM_COUNT_WRONG 300
#define IDM_MISSING_PARTS 301
#define IDM_NO_SUCH_MENU 302
