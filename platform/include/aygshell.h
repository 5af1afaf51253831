// Shell services of the handheld.
#pragma once

#include "windef.h"

// ---- bitmaps ----
// Loads a .bmp file from a device path as a DIB section; NULL when it cannot be read or
// decoded.
HANDHELD_API HBITMAP WINAPI SHLoadDIBitmap(LPCWSTR fileName);

// ---- menu bar ----
// SHCreateMenuBar: a bar along the bottom of the screen, owned by hwndParent. nToolBarId names
// a "SHMENUBAR" resource of hInstRes (with SHCMBF_HMENU: a MENU resource whose top-level items
// become the buttons); nBmpId/cBmpImages a strip of images as wide and high as a small icon.
typedef struct tagSHMENUBARINFO {
  DWORD cbSize;
  HWND hwndParent;
  DWORD dwFlags;
  UINT nToolBarId;
  HINSTANCE hInstRes;
  int nBmpId;
  int cBmpImages;
  HWND hwndMB;  // out: the bar
  COLORREF clrBk;
} SHMENUBARINFO, *PSHMENUBARINFO;

#define SHCMBF_EMPTYBAR 0x0001
#define SHCMBF_HIDDEN 0x0002
#define SHCMBF_HIDESIPBUTTON 0x0004
#define SHCMBF_COLORBK 0x0008
#define SHCMBF_HMENU 0x0010

// The sub-menu index of a resource button without a menu.
#define NOMENU 0xFFFF

// Messages to the bar besides the toolbar's TB_ messages. SETSUBMENU: wParam the button's
// command, lParam the new menu; answers the old one. GETSUBMENU: lParam the button's command.
// GETMENU: the menu the resource named.
#define SHCMBM_SETSUBMENU (WM_USER + 400)
#define SHCMBM_GETSUBMENU (WM_USER + 401)
#define SHCMBM_GETMENU (WM_USER + 402)

HANDHELD_API BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO* info);
