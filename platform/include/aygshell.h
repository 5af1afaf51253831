// Shell services of the handheld.
#pragma once

#include "windef.h"

// ---- bitmaps ----
// Loads a .bmp file from a device path as a DIB section; NULL when it cannot be read or
// decoded.
HANDHELD_API HBITMAP WINAPI SHLoadDIBitmap(LPCWSTR fileName);

// ---- dialogs and full screen ----
// SHInitDialog: "ok" on the navigation bar for the dialog (a tap sends it WM_COMMAND IDOK)
// and sizing to the visible desktop, below the navigation bar and above the menu bar.
typedef struct tagSHINITDIALOG {
  DWORD dwMask;
  HWND hDlg;
  DWORD dwFlags;
} SHINITDLGINFO, *PSHINITDLGINFO;
#define SHIDIM_FLAGS 0x0001
#define SHIDIF_DONEBUTTON 0x0001
#define SHIDIF_SIZEDLG 0x0002
#define SHIDIF_SIZEDLGFULLSCREEN 0x0004
#define SHIDIF_SIPDOWN 0x0008
#define SHIDIF_FULLSCREENNOMENUBAR 0x0010
#define SHIDIF_EMPTYMENU 0x0020
HANDHELD_API BOOL WINAPI SHInitDialog(PSHINITDLGINFO info);

// SHFullScreen: what the shell shows while the window is in front.
#define SHFS_SHOWTASKBAR 0x0001
#define SHFS_HIDETASKBAR 0x0002
#define SHFS_SHOWSIPBUTTON 0x0004
#define SHFS_HIDESIPBUTTON 0x0008
#define SHFS_SHOWSTARTICON 0x0010
#define SHFS_HIDESTARTICON 0x0020
HANDHELD_API BOOL WINAPI SHFullScreen(HWND window, DWORD state);
