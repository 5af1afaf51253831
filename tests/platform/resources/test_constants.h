// Platform constants the test scripts use, for as long as the platform headers lack them.
// Include after <windows.h>; each is defined only when the platform has not.
#pragma once

#ifndef WS_POPUP
#define WS_POPUP 0x80000000L
#endif
#ifndef WS_CHILD
#define WS_CHILD 0x40000000L
#endif
#ifndef WS_VISIBLE
#define WS_VISIBLE 0x10000000L
#endif
#ifndef WS_CAPTION
#define WS_CAPTION 0x00C00000L
#endif
#ifndef WS_BORDER
#define WS_BORDER 0x00800000L
#endif
#ifndef WS_VSCROLL
#define WS_VSCROLL 0x00200000L
#endif
#ifndef WS_SYSMENU
#define WS_SYSMENU 0x00080000L
#endif
#ifndef WS_GROUP
#define WS_GROUP 0x00020000L
#endif
#ifndef WS_TABSTOP
#define WS_TABSTOP 0x00010000L
#endif
#ifndef DS_SETFONT
#define DS_SETFONT 0x40L
#endif
#ifndef DS_MODALFRAME
#define DS_MODALFRAME 0x80L
#endif
#ifndef ES_MULTILINE
#define ES_MULTILINE 0x0004L
#endif
#ifndef ES_AUTOHSCROLL
#define ES_AUTOHSCROLL 0x0080L
#endif
#ifndef SS_LEFT
#define SS_LEFT 0x0L
#endif
#ifndef SS_ICON
#define SS_ICON 0x3L
#endif
#ifndef BS_AUTOCHECKBOX
#define BS_AUTOCHECKBOX 0x3L
#endif
#ifndef BS_AUTORADIOBUTTON
#define BS_AUTORADIOBUTTON 0x9L
#endif
#ifndef CBS_DROPDOWNLIST
#define CBS_DROPDOWNLIST 0x3L
#endif
#ifndef TBSTATE_ENABLED
#define TBSTATE_ENABLED 0x04
#endif
#ifndef TBSTYLE_BUTTON
#define TBSTYLE_BUTTON 0x00
#endif
#ifndef TBSTYLE_DROPDOWN
#define TBSTYLE_DROPDOWN 0x08
#endif
#ifndef TBSTYLE_AUTOSIZE
#define TBSTYLE_AUTOSIZE 0x10
#endif
#ifndef I_IMAGENONE
#define I_IMAGENONE (-2)
#endif
#ifndef NOMENU
#define NOMENU 0xFFFF
#endif
#ifndef IDOK
#define IDOK 1
#endif
#ifndef IDCANCEL
#define IDCANCEL 2
#endif
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
