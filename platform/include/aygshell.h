// Shell services of the handheld.
#pragma once

#include "windef.h"

// ---- bitmaps ----
// Loads a .bmp file from a device path as a DIB section; NULL when it cannot be read or
// decoded.
HANDHELD_API HBITMAP WINAPI SHLoadDIBitmap(LPCWSTR fileName);

// ---- gestures ----
#include "winuser.h"

// Tap-and-hold: SHRecognizeGesture, called on stylus down, watches the stylus until it is
// lifted, moves away or has rested for the hold time.
typedef struct tagSHRGI {
  DWORD cbSize;
  HWND hwndClient;
  POINT ptDown;  // client coordinates of hwndClient
  DWORD dwFlags;
} SHRGINFO, *PSHRGINFO;

#define SHRG_RETURNCMD 0x00000001      // return GN_CONTEXTMENU instead of notifying
#define SHRG_NOTIFYPARENT 0x00000002   // notify hwndClient's parent instead of hwndClient
#define SHRG_LONGDELAY 0x00000008      // wait longer before a hold counts
#define SHRG_NOANIMATION 0x00000010    // no hold feedback around the stylus

#define GN_CONTEXTMENU 1000

// WM_NOTIFY's lParam for GN_CONTEXTMENU; ptAction in screen coordinates.
typedef struct tagNMRGINFO {
  NMHDR hdr;
  POINT ptAction;
  DWORD dwItemSpec;
} NMRGINFO, *PNMRGINFO;

// 0 when the stylus was lifted or moved first; for a hold, GN_CONTEXTMENU (SHRG_RETURNCMD)
// or the answer of the notified window.
HANDHELD_API DWORD WINAPI SHRecognizeGesture(PSHRGINFO info);
