// Today screen items: libraries the shell loads into its own process, each drawing one band of
// the Today screen in a child window of it.
//
// A custom item's library exports, by ordinal:
//   240  HWND InitializeCustomItem(TODAYLISTITEM* item, HWND todayScreen)
//        creates the item's window as a child of the Today screen (NULL: no item);
//   241  the item's options dialog procedure, run with the library's dialog 500.
// Registration: HKLM\SOFTWARE\Microsoft\Today\Items\<name> with "DLL" (device path), "Type"
// (4: custom), "Enabled", "Order", "Options", "Flags".
#pragma once

#include "windef.h"
#include "winuser.h"

#define MAX_ITEMNAME 32

typedef enum _TODAYLISTITEMTYPE {
  tlitOwnerInfo = 0,
  tlitAppointments,
  tlitMail,
  tlitTasks,
  tlitCustom,
  tlitNil
} TODAYLISTITEMTYPE;

typedef struct _TODAYLISTITEM {
  WCHAR szName[MAX_ITEMNAME];  // the item's key under ...\Today\Items
  TODAYLISTITEMTYPE tlit;
  DWORD dwOrder;
  DWORD cyp;  // the item's height in pixels, set by the item on a refresh query
  BOOL fEnabled;
  BOOL fOptions;
  DWORD grfFlags;
  WCHAR szDLLPath[MAX_PATH];
  HINSTANCE hinstDLL;
  HWND hwndCustom;
  BOOL fSizeOnDraw;
  BYTE* prgbCachedData;
  DWORD cbCachedData;
} TODAYLISTITEM, *LPTODAYLISTITEM;

// Sent by the Today screen to an item's window.
// wParam: the item's TODAYLISTITEM; the item drops what it cached. Result ignored.
#define WM_TODAYCUSTOM_CLEARCACHE (WM_USER + 242)
// lParam: the item's TODAYLISTITEM; TRUE when the item changed (and set cyp), FALSE otherwise.
#define WM_TODAYCUSTOM_QUERYREFRESHCACHE (WM_USER + 243)

// Sent by an item to the Today screen (its parent).
// wParam: one of the TODAYCOLOR_ values; result: the theme's COLORREF.
#define TODAYM_GETCOLOR (WM_USER + 100)
// wParam 0, lParam: TODAYDRAWWATERMARKINFO*; TRUE when the screen drew its background there.
#define TODAYM_DRAWWATERMARK (WM_USER + 101)

#define TODAYCOLOR_TEXT 0x10000004
#define TODAYCOLOR_HIGHLIGHT 0x10000022
#define TODAYCOLOR_HIGHLIGHTEDTEXT 0x10000023

typedef struct {
  HDC hdc;    // where to draw (the item's erase-background DC)
  RECT rc;    // the part of the item's client area to draw
  HWND hwnd;  // the item's window
} TODAYDRAWWATERMARKINFO;

// The item's dialog that the Today settings run with ordinal 241 as its procedure.
#define IDD_TODAY_CUSTOM 500

// The exports' types.
typedef HWND(WINAPI* PFNCUSTOMINITIALIZE)(TODAYLISTITEM* item, HWND parent);
// The options procedure is an ordinary dialog procedure (wParam and lParam at full width).
typedef DLGPROC PFNCUSTOMOPTIONSDLGPROC;
