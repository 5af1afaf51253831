// Shell services of the handheld.
#pragma once

#include "windef.h"
#include "winuser.h"

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
// ---- input panel ----
// The on-screen keyboard: one for the device, docked above the menu bar. While it is up the
// visible desktop ends at its top; every change reaches each top-level window as
// WM_SETTINGCHANGE with SPI_SETSIPINFO.
#define SIPF_OFF 0x00000000
#define SIPF_ON 0x00000001
#define SIPF_DOCKED 0x00000002
#define SIPF_LOCKED 0x00000004

// cbSize: sizeof(SIPINFO), or 48, the size the structure has on a 32-bit device.
typedef struct tagSIPINFO {
  DWORD cbSize;
  DWORD fdwFlags;
  RECT rcVisibleDesktop;  // the screen a program may use: below the navigation bar, above the panel
  RECT rcSipRect;         // where the panel is (or would be) shown
  DWORD dwImDataSize;
  void* pvImData;
} SIPINFO, *PSIPINFO;

typedef enum tagSIPSTATE {
  SIP_UP = 0,
  SIP_DOWN = 1,
  SIP_FORCEDOWN = 2,
  SIP_UNCHANGED = 3,
  SIP_INPUTDIALOG = 4,
} SIPSTATE;

// Kept by a window between WM_ACTIVATE messages. cbSize: sizeof(SHACTIVATEINFO), or 12, its
// size on a 32-bit device.
typedef struct tagSHACTIVATEINFO {
  DWORD cbSize;
  HWND hwndLastFocus;
  UINT fSipUp : 1;
  UINT fSipOnDeactivation : 1;
  UINT fActive : 1;
  UINT fReserved : 29;
} SHACTIVATEINFO, *PSHACTIVATEINFO;

#define SHA_INPUTDIALOG 0x00000001

// SPI_GETSIPINFO / SPI_SETSIPINFO, as SystemParametersInfoW does them.
HANDHELD_API BOOL WINAPI SHSipInfo(UINT action, UINT param, PVOID value, UINT winIni);
HANDHELD_API BOOL WINAPI SipGetInfo(SIPINFO* info);
// Only the panel's flags are taken (SIPF_ON, SIPF_LOCKED); its place is the device's.
HANDHELD_API BOOL WINAPI SipSetInfo(SIPINFO* info);
// SIPF_ON raises the panel, SIPF_OFF lowers it.
HANDHELD_API BOOL WINAPI SipShowIM(DWORD flags);
// The window's wish for the panel, applied now and whenever the window is activated again.
HANDHELD_API BOOL WINAPI SHSipPreference(HWND window, SIPSTATE state);
// On WM_SETTINGCHANGE with SPI_SETSIPINFO: fits a full-screen window to the visible desktop.
HANDHELD_API BOOL WINAPI SHHandleWMSettingChange(HWND window, WPARAM wParam, LPARAM lParam,
                                                 SHACTIVATEINFO* info);
// On WM_ACTIVATE: remembers the focus and the panel when the window loses the activation and
// brings both back when it gains it.
HANDHELD_API BOOL WINAPI SHHandleWMActivate(HWND window, WPARAM wParam, LPARAM lParam,
                                            SHACTIVATEINFO* info, DWORD flags);
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
// ---- gestures ----

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
