// inkpad's resources and commands, shared by its script and its code.
#pragma once

#define IDR_INKPAD_BAR 100
#define IDB_INKPAD_TOOLS16 110
#define IDB_INKPAD_TOOLS32 111
#define INKPAD_TOOL_IMAGES 8

// Images of the strip, in order.
#define IMG_WRITING 0
#define IMG_TYPING 1
#define IMG_SELECTING 2
#define IMG_ERASING 3
#define IMG_ZOOM_IN 4
#define IMG_ZOOM_OUT 5
#define IMG_RECORD 6
#define IMG_STOP 7

#define IDS_EDIT 1001
#define IDS_PAGE 1002

// Commands: the bar's buttons, then the menus' items.
#define IDM_EDIT 1001
#define IDM_PAGE 1002
#define IDM_MODE 101
#define IDM_ZOOM_IN 102
#define IDM_ZOOM_OUT 103
#define IDM_RECORD 104
#define IDM_STOP 105
#define IDM_UNDO 106
#define IDM_CUT 107
#define IDM_COPY 108
#define IDM_PASTE 109
#define IDM_PAGE_STYLE 200  // + the style's index in the Page menu
