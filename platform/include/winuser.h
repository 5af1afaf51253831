// Windows, messages, dialogs, menus, input, and the formatted-print helpers.
#pragma once

#include <cstdarg>

#include "windef.h"

// Formatted print into a buffer of at most 1024 characters, as the platform does:
// %s %d %i %u %x %X %c %% with width, zero padding and precision (also %f / %.2f).
// The output is always terminated and never written past its limit.
HANDHELD_API int WINAPIV wsprintfW(LPWSTR buffer, LPCWSTR format, ...);
HANDHELD_API int WINAPI wvsprintfW(LPWSTR buffer, LPCWSTR format, va_list arguments);
#define wsprintf wsprintfW
#define wvsprintf wvsprintfW

// ---- resources (FindResourceW ... LoadStringW) ----
// Names and types are MAKEINTRESOURCE numbers, "#123" strings, or names compared without
// regard to case. The layout of each type's data: platform/core/resources/resource_access.h.
#define RT_CURSOR MAKEINTRESOURCEW(1)
#define RT_BITMAP MAKEINTRESOURCEW(2)
#define RT_ICON MAKEINTRESOURCEW(3)
#define RT_MENU MAKEINTRESOURCEW(4)
#define RT_DIALOG MAKEINTRESOURCEW(5)
#define RT_STRING MAKEINTRESOURCEW(6)
#define RT_RCDATA MAKEINTRESOURCEW(10)
#define RT_GROUP_CURSOR MAKEINTRESOURCEW(12)
#define RT_GROUP_ICON MAKEINTRESOURCEW(14)

HANDHELD_API HRSRC WINAPI FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
HANDHELD_API HGLOBAL WINAPI LoadResource(HMODULE module, HRSRC resource);
HANDHELD_API LPVOID WINAPI LockResource(HGLOBAL resourceData);
HANDHELD_API DWORD WINAPI SizeofResource(HMODULE module, HRSRC resource);
// Resources live as long as their module; this does nothing and returns FALSE.
HANDHELD_API BOOL WINAPI FreeResource(HGLOBAL resourceData);
// Copies at most bufferMax - 1 characters and a terminator and returns the count copied;
// bufferMax 0 stores a read-only, unterminated pointer to the string in *buffer and returns
// its length. 0 with ERROR_RESOURCE_NAME_NOT_FOUND when there is no such string.
HANDHELD_API int WINAPI LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int bufferMax);
#define FindResource FindResourceW
#define LoadString LoadStringW

// ---- windows, messages, painting, focus, key state, metrics ----
// Windows and their procedures live in the process that creates them; HWND values are unique
// on the device and fit in 32 bits, so a handle may be passed to another process as a number.
// This is a 64-bit platform: pointer-sized window and class values are reached through the
// ...LongPtrW functions and GWLP_/GCLP_ indexes only; GetWindowLongW refuses the indexes of
// pointer values (GWLP_WNDPROC, GWLP_HINSTANCE, GWLP_HWNDPARENT) with ERROR_INVALID_INDEX and
// gives the low 32 bits of GWLP_USERDATA and GWLP_ID.

typedef LRESULT(CALLBACK* WNDPROC)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
typedef void(CALLBACK* TIMERPROC)(HWND window, UINT message, UINT_PTR id, DWORD time);
typedef BOOL(CALLBACK* WNDENUMPROC)(HWND window, LPARAM lParam);

#define MAKEINTATOM(i) (reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(i))))

// Messages
#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_MOVE 0x0003
#define WM_SIZE 0x0005
#define WM_ACTIVATE 0x0006
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_ENABLE 0x000A
#define WM_SETREDRAW 0x000B
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_ERASEBKGND 0x0014
#define WM_SYSCOLORCHANGE 0x0015
#define WM_SHOWWINDOW 0x0018
#define WM_SETTINGCHANGE 0x001A
// Sent to every top-level window after the device clock was set.
#define WM_TIMECHANGE 0x001E
// WM_SETTINGCHANGE wParam after the screen changed (size, orientation or resolution).
#define SETTINGCHANGE_RESET 0x3002
#define WM_WININICHANGE WM_SETTINGCHANGE
#define WM_FONTCHANGE 0x001D
#define WM_CANCELMODE 0x001F
#define WM_SETCURSOR 0x0020
#define WM_MOUSEACTIVATE 0x0021
#define WM_DRAWITEM 0x002B
#define WM_MEASUREITEM 0x002C
#define WM_DELETEITEM 0x002D
#define WM_VKEYTOITEM 0x002E
#define WM_CHARTOITEM 0x002F
#define WM_SETFONT 0x0030
#define WM_GETFONT 0x0031
#define WM_COMPAREITEM 0x0039
#define WM_WINDOWPOSCHANGING 0x0046
#define WM_WINDOWPOSCHANGED 0x0047
#define WM_COPYDATA 0x004A
#define WM_NOTIFY 0x004E
#define WM_HELP 0x0053
#define WM_STYLECHANGING 0x007C
#define WM_STYLECHANGED 0x007D
#define WM_GETICON 0x007F
#define WM_SETICON 0x0080
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_NCCALCSIZE 0x0083
#define WM_NCHITTEST 0x0084
#define WM_NCPAINT 0x0085
#define WM_NCACTIVATE 0x0086
#define WM_GETDLGCODE 0x0087
#define WM_KEYFIRST 0x0100
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_DEADCHAR 0x0103
#define WM_SYSKEYDOWN 0x0104
#define WM_SYSKEYUP 0x0105
#define WM_SYSCHAR 0x0106
#define WM_SYSDEADCHAR 0x0107
#define WM_KEYLAST 0x0108
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_SYSCOMMAND 0x0112
#define WM_TIMER 0x0113
#define WM_HSCROLL 0x0114
#define WM_VSCROLL 0x0115
#define WM_INITMENUPOPUP 0x0117
#define WM_MENUCHAR 0x0120
#define WM_ENTERIDLE 0x0121
#define WM_CTLCOLORMSGBOX 0x0132
#define WM_CTLCOLOREDIT 0x0133
#define WM_CTLCOLORLISTBOX 0x0134
#define WM_CTLCOLORBTN 0x0135
#define WM_CTLCOLORDLG 0x0136
#define WM_CTLCOLORSCROLLBAR 0x0137
#define WM_CTLCOLORSTATIC 0x0138
#define WM_MOUSEFIRST 0x0200
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_LBUTTONDBLCLK 0x0203
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_RBUTTONDBLCLK 0x0206
#define WM_MBUTTONDOWN 0x0207
#define WM_MBUTTONUP 0x0208
#define WM_MBUTTONDBLCLK 0x0209
#define WM_MOUSEWHEEL 0x020A
#define WM_MOUSELAST 0x020A
#define MK_LBUTTON 0x0001
#define MK_SHIFT 0x0004
#define MK_CONTROL 0x0008
#define WM_PARENTNOTIFY 0x0210
#define WM_ENTERMENULOOP 0x0211
#define WM_EXITMENULOOP 0x0212
#define WM_CAPTURECHANGED 0x0215
#define WM_CUT 0x0300
#define WM_COPY 0x0301
#define WM_PASTE 0x0302
#define WM_CLEAR 0x0303
#define WM_UNDO 0x0304
#define WM_HOTKEY 0x0312
#define WM_PRINT 0x0317
#define WM_PRINTCLIENT 0x0318
#define WM_HIBERNATE 0x03FF
#define WM_USER 0x0400
#define WM_APP 0x8000

// WM_ACTIVATE wParam (low word)
#define WA_INACTIVE 0
#define WA_ACTIVE 1
#define WA_CLICKACTIVE 2
// WM_SIZE wParam
#define SIZE_RESTORED 0
#define SIZE_MINIMIZED 1
#define SIZE_MAXIMIZED 2

// Window styles
#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_MINIMIZE 0x20000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_CLIPSIBLINGS 0x04000000L
#define WS_CLIPCHILDREN 0x02000000L
#define WS_MAXIMIZE 0x01000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_DLGFRAME 0x00400000L
#define WS_VSCROLL 0x00200000L
#define WS_HSCROLL 0x00100000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_GROUP 0x00020000L
#define WS_TABSTOP 0x00010000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_CHILDWINDOW WS_CHILD
#define WS_OVERLAPPEDWINDOW \
  (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
#define WS_POPUPWINDOW (WS_POPUP | WS_BORDER | WS_SYSMENU)

#define WS_EX_DLGMODALFRAME 0x00000001L
#define WS_EX_NOPARENTNOTIFY 0x00000004L
#define WS_EX_TOPMOST 0x00000008L
#define WS_EX_ACCEPTFILES 0x00000010L
#define WS_EX_TRANSPARENT 0x00000020L
#define WS_EX_TOOLWINDOW 0x00000080L
#define WS_EX_WINDOWEDGE 0x00000100L
#define WS_EX_CLIENTEDGE 0x00000200L
#define WS_EX_CONTEXTHELP 0x00000400L
#define WS_EX_RIGHT 0x00001000L
#define WS_EX_STATICEDGE 0x00020000L
#define WS_EX_OVERLAPPEDWINDOW (WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE)
#define WS_EX_NOANIMATION 0x04000000L
#define WS_EX_INK 0x10000000L
#define WS_EX_ABOVESTARTUP 0x20000000L
#define WS_EX_NODRAG 0x40000000L
#define WS_EX_CAPTIONOKBTN 0x80000000L

// Class styles
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define CS_DBLCLKS 0x0008
#define CS_OWNDC 0x0020
#define CS_CLASSDC 0x0040
#define CS_PARENTDC 0x0080
#define CS_NOCLOSE 0x0200
#define CS_SAVEBITS 0x0800
#define CS_GLOBALCLASS 0x4000

#define CW_USEDEFAULT (static_cast<int>(0x80000000))

// ShowWindow. The device has no minimized or maximized state: the minimizing commands hide,
// the maximizing ones show.
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOWMINIMIZED 2
#define SW_SHOWMAXIMIZED 3
#define SW_MAXIMIZE 3
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_MINIMIZE 6
#define SW_SHOWMINNOACTIVE 7
#define SW_SHOWNA 8
#define SW_RESTORE 9
#define SW_SHOWDEFAULT 10

// SetWindowPos
#define SWP_NOSIZE 0x0001
#define SWP_NOMOVE 0x0002
#define SWP_NOZORDER 0x0004
#define SWP_NOREDRAW 0x0008
#define SWP_NOACTIVATE 0x0010
#define SWP_FRAMECHANGED 0x0020
#define SWP_SHOWWINDOW 0x0040
#define SWP_HIDEWINDOW 0x0080
#define SWP_NOCOPYBITS 0x0100
#define SWP_NOOWNERZORDER 0x0200
#define SWP_NOSENDCHANGING 0x0400
#define SWP_DRAWFRAME SWP_FRAMECHANGED
#define SWP_NOREPOSITION SWP_NOOWNERZORDER

#define HWND_TOP (reinterpret_cast<HWND>(0))
#define HWND_BOTTOM (reinterpret_cast<HWND>(1))
#define HWND_TOPMOST (reinterpret_cast<HWND>(-1))
#define HWND_NOTOPMOST (reinterpret_cast<HWND>(-2))

// GetWindow
#define GW_HWNDFIRST 0
#define GW_HWNDLAST 1
#define GW_HWNDNEXT 2
#define GW_HWNDPREV 3
#define GW_OWNER 4
#define GW_CHILD 5

// Window values: GetWindowLongW / SetWindowLongW take 32-bit ones, the ...PtrW functions all.
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWL_ID (-12)
#define GWLP_WNDPROC (-4)
#define GWLP_HINSTANCE (-6)
#define GWLP_HWNDPARENT (-8)
#define GWLP_ID (-12)
#define GWLP_USERDATA (-21)
// Dialog windows keep these in their extra bytes.
#define DWLP_MSGRESULT 0
#define DWLP_DLGPROC (DWLP_MSGRESULT + static_cast<int>(sizeof(LRESULT)))
#define DWLP_USER (DWLP_DLGPROC + static_cast<int>(sizeof(void*)))

// Class values (GetClassLongW / SetClassLongW: 32-bit ones, and the brush, whose handle
// values stay below 2^31).
#define GCL_HBRBACKGROUND (-10)
#define GCL_CBWNDEXTRA (-18)
#define GCL_CBCLSEXTRA (-20)
#define GCL_STYLE (-26)
#define GCLP_MENUNAME (-8)
#define GCLP_HBRBACKGROUND (-10)
#define GCLP_HCURSOR (-12)
#define GCLP_HICON (-14)
#define GCLP_HMODULE (-16)
#define GCLP_WNDPROC (-24)

// PeekMessage
#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001
#define PM_NOYIELD 0x0002

// Queue status and wake masks
#define QS_KEY 0x0001
#define QS_MOUSEMOVE 0x0002
#define QS_MOUSEBUTTON 0x0004
#define QS_POSTMESSAGE 0x0008
#define QS_TIMER 0x0010
#define QS_PAINT 0x0020
#define QS_SENDMESSAGE 0x0040
#define QS_HOTKEY 0x0080
#define QS_MOUSE (QS_MOUSEMOVE | QS_MOUSEBUTTON)
#define QS_INPUT (QS_MOUSE | QS_KEY)
#define QS_ALLEVENTS (QS_INPUT | QS_POSTMESSAGE | QS_TIMER | QS_PAINT | QS_HOTKEY)
#define QS_ALLINPUT (QS_ALLEVENTS | QS_SENDMESSAGE)

#define USER_TIMER_MINIMUM 0x0000000A
#define USER_TIMER_MAXIMUM 0x7FFFFFFF

// Virtual keys ('0'..'9' and 'A'..'Z' are their characters)
#define VK_LBUTTON 0x01
#define VK_RBUTTON 0x02
#define VK_CANCEL 0x03
#define VK_MBUTTON 0x04
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_CLEAR 0x0C
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_PAUSE 0x13
#define VK_CAPITAL 0x14
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_SELECT 0x29
#define VK_PRINT 0x2A
#define VK_EXECUTE 0x2B
#define VK_SNAPSHOT 0x2C
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
#define VK_HELP 0x2F
#define VK_LWIN 0x5B
#define VK_RWIN 0x5C
#define VK_APPS 0x5D
#define VK_SLEEP 0x5F
#define VK_NUMPAD0 0x60
#define VK_NUMPAD1 0x61
#define VK_NUMPAD2 0x62
#define VK_NUMPAD3 0x63
#define VK_NUMPAD4 0x64
#define VK_NUMPAD5 0x65
#define VK_NUMPAD6 0x66
#define VK_NUMPAD7 0x67
#define VK_NUMPAD8 0x68
#define VK_NUMPAD9 0x69
#define VK_MULTIPLY 0x6A
#define VK_ADD 0x6B
#define VK_SEPARATOR 0x6C
#define VK_SUBTRACT 0x6D
#define VK_DECIMAL 0x6E
#define VK_DIVIDE 0x6F
#define VK_F1 0x70
#define VK_F2 0x71
#define VK_F3 0x72
#define VK_F4 0x73
#define VK_F5 0x74
#define VK_F6 0x75
#define VK_F7 0x76
#define VK_F8 0x77
#define VK_F9 0x78
#define VK_F10 0x79
#define VK_F11 0x7A
#define VK_F12 0x7B
#define VK_F13 0x7C
#define VK_F14 0x7D
#define VK_F15 0x7E
#define VK_F16 0x7F
#define VK_F17 0x80
#define VK_F18 0x81
#define VK_F19 0x82
#define VK_F20 0x83
#define VK_F21 0x84
#define VK_F22 0x85
#define VK_F23 0x86
#define VK_F24 0x87
#define VK_NUMLOCK 0x90
#define VK_SCROLL 0x91
#define VK_LSHIFT 0xA0
#define VK_RSHIFT 0xA1
#define VK_LCONTROL 0xA2
#define VK_RCONTROL 0xA3
#define VK_LMENU 0xA4
#define VK_RMENU 0xA5
#define VK_OEM_1 0xBA
#define VK_OEM_PLUS 0xBB
#define VK_OEM_COMMA 0xBC
#define VK_OEM_MINUS 0xBD
#define VK_OEM_PERIOD 0xBE
#define VK_OEM_2 0xBF
#define VK_OEM_3 0xC0
#define VK_APP1 0xC1
#define VK_APP2 0xC2
#define VK_APP3 0xC3
#define VK_APP4 0xC4
#define VK_APP5 0xC5
#define VK_APP6 0xC6
#define VK_OEM_4 0xDB
#define VK_OEM_5 0xDC
#define VK_OEM_6 0xDD
#define VK_OEM_7 0xDE

// System metrics
#define SM_CXSCREEN 0
#define SM_CYSCREEN 1
#define SM_CXVSCROLL 2
#define SM_CYHSCROLL 3
#define SM_CYCAPTION 4
#define SM_CXBORDER 5
#define SM_CYBORDER 6
#define SM_CXDLGFRAME 7
#define SM_CYDLGFRAME 8
#define SM_CYVTHUMB 9
#define SM_CXHTHUMB 10
#define SM_CXICON 11
#define SM_CYICON 12
#define SM_CXCURSOR 13
#define SM_CYCURSOR 14
#define SM_CYMENU 15
#define SM_CXFULLSCREEN 16
#define SM_CYFULLSCREEN 17
#define SM_MOUSEPRESENT 19
#define SM_CYVSCROLL 20
#define SM_CXHSCROLL 21
#define SM_DEBUG 22
#define SM_SWAPBUTTON 23
#define SM_CXDOUBLECLK 36
#define SM_CYDOUBLECLK 37
#define SM_CXICONSPACING 38
#define SM_CYICONSPACING 39
#define SM_CXFIXEDFRAME SM_CXDLGFRAME
#define SM_CYFIXEDFRAME SM_CYDLGFRAME
#define SM_CMOUSEBUTTONS 43
#define SM_CXEDGE 45
#define SM_CYEDGE 46
#define SM_CXSMICON 49
#define SM_CYSMICON 50
#define SM_CXDRAG 68
#define SM_CYDRAG 69
#define SM_CXVIRTUALSCREEN 78
#define SM_CYVIRTUALSCREEN 79
#define SM_CMONITORS 80

typedef struct tagMSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
} MSG, *PMSG, *LPMSG;

typedef struct tagWNDCLASSW {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCWSTR lpszMenuName;
  LPCWSTR lpszClassName;
} WNDCLASSW, *PWNDCLASSW, *LPWNDCLASSW;
typedef WNDCLASSW WNDCLASS;

typedef struct tagCREATESTRUCTW {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  LPCWSTR lpszName;
  LPCWSTR lpszClass;
  DWORD dwExStyle;
} CREATESTRUCTW, *LPCREATESTRUCTW;
typedef CREATESTRUCTW CREATESTRUCT;
typedef LPCREATESTRUCTW LPCREATESTRUCT;

typedef struct tagPAINTSTRUCT {
  HDC hdc;
  BOOL fErase;
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
} PAINTSTRUCT, *PPAINTSTRUCT, *LPPAINTSTRUCT;

// lParam of WM_STYLECHANGING (styleNew may be changed) and WM_STYLECHANGED.
// The header of every WM_NOTIFY; each notification's structure starts with it.
typedef struct tagNMHDR {
  HWND hwndFrom;
  UINT_PTR idFrom;
  UINT code;
} NMHDR, *LPNMHDR;

typedef struct tagSTYLESTRUCT {
  DWORD styleOld;
  DWORD styleNew;
} STYLESTRUCT, *LPSTYLESTRUCT;

typedef struct tagWINDOWPOS {
  HWND hwnd;
  HWND hwndInsertAfter;
  int x;
  int y;
  int cx;
  int cy;
  UINT flags;
} WINDOWPOS, *PWINDOWPOS, *LPWINDOWPOS;

// Classes: registered per module instance (NULL: the program's own). A class name is
// compared without regard to case; the platform's own classes are found from every module.
HANDHELD_API ATOM WINAPI RegisterClassW(const WNDCLASSW* windowClass);
HANDHELD_API BOOL WINAPI UnregisterClassW(LPCWSTR className, HINSTANCE instance);
HANDHELD_API BOOL WINAPI GetClassInfoW(HINSTANCE instance, LPCWSTR className, LPWNDCLASSW windowClass);
HANDHELD_API int WINAPI GetClassNameW(HWND window, LPWSTR className, int maxCount);
HANDHELD_API DWORD WINAPI GetClassLongW(HWND window, int index);
HANDHELD_API DWORD WINAPI SetClassLongW(HWND window, int index, LONG value);
HANDHELD_API ULONG_PTR WINAPI GetClassLongPtrW(HWND window, int index);
HANDHELD_API ULONG_PTR WINAPI SetClassLongPtrW(HWND window, int index, LONG_PTR value);
// A message number from 0xC000 up, the same in every process of the device for one name.
HANDHELD_API UINT WINAPI RegisterWindowMessageW(LPCWSTR name);

// Windows
HANDHELD_API HWND WINAPI CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName,
                                         DWORD style, int x, int y, int width, int height,
                                         HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
#define CreateWindowW(className, windowName, style, x, y, width, height, parent, menu, instance, \
                      param)                                                                  \
  CreateWindowExW(0, className, windowName, style, x, y, width, height, parent, menu, instance, param)
// Only the creating thread may destroy a window (ERROR_ACCESS_DENIED otherwise).
HANDHELD_API BOOL WINAPI DestroyWindow(HWND window);
HANDHELD_API LRESULT WINAPI DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
HANDHELD_API LRESULT WINAPI CallWindowProcW(WNDPROC procedure, HWND window, UINT message,
                                            WPARAM wParam, LPARAM lParam);
HANDHELD_API LONG WINAPI GetWindowLongW(HWND window, int index);
HANDHELD_API LONG WINAPI SetWindowLongW(HWND window, int index, LONG value);
HANDHELD_API LONG_PTR WINAPI GetWindowLongPtrW(HWND window, int index);
HANDHELD_API LONG_PTR WINAPI SetWindowLongPtrW(HWND window, int index, LONG_PTR value);
HANDHELD_API HWND WINAPI GetDlgItem(HWND dialog, int id);
HANDHELD_API int WINAPI GetDlgCtrlID(HWND window);
// Text of another process's window: its top-level windows only; setting it is refused.
HANDHELD_API BOOL WINAPI SetWindowTextW(HWND window, LPCWSTR text);
HANDHELD_API int WINAPI GetWindowTextW(HWND window, LPWSTR text, int maxCount);
HANDHELD_API int WINAPI GetWindowTextLengthW(HWND window);
// Top-level windows of every process, front to back.
HANDHELD_API HWND WINAPI FindWindowW(LPCWSTR className, LPCWSTR windowName);
HANDHELD_API BOOL WINAPI EnumWindows(WNDENUMPROC callback, LPARAM lParam);
HANDHELD_API BOOL WINAPI EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM lParam);
HANDHELD_API BOOL WINAPI IsWindow(HWND window);
HANDHELD_API BOOL WINAPI IsWindowVisible(HWND window);
HANDHELD_API BOOL WINAPI IsWindowEnabled(HWND window);
HANDHELD_API BOOL WINAPI EnableWindow(HWND window, BOOL enable);
HANDHELD_API BOOL WINAPI ShowWindow(HWND window, int command);
HANDHELD_API BOOL WINAPI MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
HANDHELD_API BOOL WINAPI SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width,
                                      int height, UINT flags);
HANDHELD_API BOOL WINAPI GetWindowRect(HWND window, LPRECT rect);
HANDHELD_API BOOL WINAPI GetClientRect(HWND window, LPRECT rect);
HANDHELD_API BOOL WINAPI ClientToScreen(HWND window, LPPOINT point);
HANDHELD_API BOOL WINAPI ScreenToClient(HWND window, LPPOINT point);
HANDHELD_API int WINAPI MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count);
HANDHELD_API HWND WINAPI GetParent(HWND window);
HANDHELD_API HWND WINAPI GetWindow(HWND window, UINT relation);
HANDHELD_API BOOL WINAPI IsChild(HWND parent, HWND window);
HANDHELD_API HWND WINAPI GetDesktopWindow(void);
// The deepest visible, enabled window at a screen point (within the caller's own windows;
// another process's window is answered by its top-level window).
HANDHELD_API HWND WINAPI WindowFromPoint(POINT point);
// The child containing a point in the parent's client coordinates, the parent itself when
// none does, NULL when the point is outside the parent.
HANDHELD_API HWND WINAPI ChildWindowFromPoint(HWND parent, POINT point);
HANDHELD_API DWORD WINAPI GetWindowThreadProcessId(HWND window, LPDWORD processId);

// Messages. Between processes only the integer values of wParam and lParam travel; system
// messages whose parameters are pointers are refused there.
HANDHELD_API BOOL WINAPI PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
HANDHELD_API BOOL WINAPI PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
HANDHELD_API void WINAPI PostQuitMessage(int exitCode);
HANDHELD_API LRESULT WINAPI SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
HANDHELD_API BOOL WINAPI SendNotifyMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
HANDHELD_API BOOL WINAPI ReplyMessage(LRESULT result);
HANDHELD_API BOOL WINAPI InSendMessage(void);
HANDHELD_API BOOL WINAPI GetMessageW(LPMSG message, HWND window, UINT filterMin, UINT filterMax);
HANDHELD_API BOOL WINAPI PeekMessageW(LPMSG message, HWND window, UINT filterMin, UINT filterMax,
                                      UINT remove);
HANDHELD_API BOOL WINAPI TranslateMessage(const MSG* message);
HANDHELD_API LRESULT WINAPI DispatchMessageW(const MSG* message);
HANDHELD_API BOOL WINAPI WaitMessage(void);
// High word: the kinds of messages in the queue; low word: those that arrived since the
// queue was last looked at.
HANDHELD_API DWORD WINAPI GetQueueStatus(UINT flags);
// Returns WAIT_OBJECT_0 + count when a message of a kind in wakeMask arrived since the queue
// was last looked at. waitAll must be FALSE, as on the device.
HANDHELD_API DWORD WINAPI MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll,
                                                    DWORD milliseconds, DWORD wakeMask);
HANDHELD_API DWORD WINAPI GetMessagePos(void);
HANDHELD_API LONG WINAPI GetMessageTime(void);

// Timers
HANDHELD_API UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC timerProc);
HANDHELD_API BOOL WINAPI KillTimer(HWND window, UINT_PTR id);

// Painting. A parent never draws over its visible children, nor a window over the siblings
// in front of it, as on the device.
HANDHELD_API BOOL WINAPI InvalidateRect(HWND window, const RECT* rect, BOOL erase);
HANDHELD_API BOOL WINAPI ValidateRect(HWND window, const RECT* rect);
HANDHELD_API BOOL WINAPI GetUpdateRect(HWND window, LPRECT rect, BOOL erase);
HANDHELD_API BOOL WINAPI UpdateWindow(HWND window);
// Moves the pixels of part of the client area (scroll: the part, clip: where they may land;
// null for the whole client area) and, with SW_INVALIDATE, adds what was uncovered to the
// update region, returned in *updateRect. Update regions are rectangles here: updateRegion
// must be null. NULLREGION, SIMPLEREGION or COMPLEXREGION for what was uncovered; 0 on failure.
#define SW_SCROLLCHILDREN 0x0001u
#define SW_INVALIDATE 0x0002u
#define SW_ERASE 0x0004u
HANDHELD_API int WINAPI ScrollWindowEx(HWND window, int dx, int dy, const RECT* scroll,
                                       const RECT* clip, HRGN updateRegion, LPRECT updateRect,
                                       UINT flags);
HANDHELD_API HDC WINAPI BeginPaint(HWND window, LPPAINTSTRUCT paint);
HANDHELD_API BOOL WINAPI EndPaint(HWND window, const PAINTSTRUCT* paint);
HANDHELD_API HDC WINAPI GetDC(HWND window);
HANDHELD_API int WINAPI ReleaseDC(HWND window, HDC hdc);

// Focus, capture, activation
HANDHELD_API HWND WINAPI SetFocus(HWND window);
HANDHELD_API HWND WINAPI GetFocus(void);
HANDHELD_API HWND WINAPI SetCapture(HWND window);
HANDHELD_API BOOL WINAPI ReleaseCapture(void);
HANDHELD_API HWND WINAPI GetCapture(void);
HANDHELD_API BOOL WINAPI SetForegroundWindow(HWND window);
HANDHELD_API HWND WINAPI GetForegroundWindow(void);
HANDHELD_API HWND WINAPI SetActiveWindow(HWND window);
HANDHELD_API HWND WINAPI GetActiveWindow(void);
HANDHELD_API BOOL WINAPI BringWindowToTop(HWND window);

// Key state from the device's table: bit 15 (the sign) while down, bit 0 the toggle.
HANDHELD_API SHORT WINAPI GetKeyState(int virtualKey);
HANDHELD_API SHORT WINAPI GetAsyncKeyState(int virtualKey);

HANDHELD_API int WINAPI GetSystemMetrics(int index);

// ---- help requests, system parameters and hot keys ----
// WM_HELP's lParam: what the help was asked for. It crosses processes copied.
#define HELPINFO_WINDOW 0x0001
#define HELPINFO_MENUITEM 0x0002
typedef struct tagHELPINFO {
  UINT cbSize;
  int iContextType;
  int iCtrlId;
  HANDLE hItemHandle;
  DWORD dwContextId;
  POINT MousePos;
} HELPINFO, *LPHELPINFO;

#define SPI_SETWORKAREA 47
#define SPI_GETWORKAREA 48
#define SPI_SETSIPINFO 224
#define SPI_GETSIPINFO 225
#define SPI_GETPLATFORMTYPE 257
#define SPI_GETOEMINFO 258
HANDHELD_API BOOL WINAPI SystemParametersInfoW(UINT action, UINT param, PVOID value, UINT winIni);
#define SystemParametersInfo SystemParametersInfoW

// A hot key goes to the window that registered it, whichever window has the focus.
#define WM_HOTKEY 0x0312
#define MOD_ALT 0x0001
#define MOD_CONTROL 0x0002
#define MOD_SHIFT 0x0004
#define MOD_WIN 0x0008
#define MOD_KEYUP 0x1000
HANDHELD_API BOOL WINAPI RegisterHotKey(HWND window, int id, UINT modifiers, UINT virtualKey);
HANDHELD_API BOOL WINAPI UnregisterHotKey(HWND window, int id);

// ---- caret ----
// One caret per thread, in one of its windows: a solid block drawn by inverting the window's
// pixels, a grey one ((HBITMAP)1) or a bitmap's shape, hidden when made. Hides and shows
// count: it shows once ShowCaret has matched every HideCaret (and the hide it was made with).
// It blinks while shown in the foreground window; elsewhere it stands still, and nothing
// runs for it. BeginPaint hides it in the painted window until EndPaint. The blink time
// (500 ms at start; INFINITE: no blinking) holds for the whole process.
HANDHELD_API BOOL WINAPI CreateCaret(HWND window, HBITMAP bitmap, int width, int height);
HANDHELD_API BOOL WINAPI DestroyCaret(void);
HANDHELD_API BOOL WINAPI ShowCaret(HWND window);
HANDHELD_API BOOL WINAPI HideCaret(HWND window);
HANDHELD_API BOOL WINAPI SetCaretPos(int x, int y);
HANDHELD_API BOOL WINAPI GetCaretPos(LPPOINT point);
HANDHELD_API BOOL WINAPI SetCaretBlinkTime(UINT milliseconds);
HANDHELD_API UINT WINAPI GetCaretBlinkTime(void);

// ---- clipboard ----
// One clipboard for the whole device, kept by the device server: its data outlives the
// process that put it there. One thread at a time has it open (OpenClipboard fails with
// ERROR_ACCESS_DENIED meanwhile; the holder's end releases it). EmptyClipboard makes the
// opener's window the owner. Data travels as LocalAlloc blocks: SetClipboardData takes the
// block (freed by the clipboard once it is closed), GetClipboardData gives one the clipboard
// keeps until it is closed or emptied. Each format holds at most 1 MiB and the clipboard
// 4 MiB in at most 64 formats; more is refused with ERROR_NOT_ENOUGH_QUOTA. Formats from
// RegisterClipboardFormatW (0xC000-0xFFFF) are the same number in every process for one
// name, compared without regard to case, and share their numbers with window messages.
// Without the clipboard open, the calls that need it fail with ERROR_CLIPBOARD_NOT_OPEN.
#define CF_TEXT 1
#define CF_UNICODETEXT 13

HANDHELD_API BOOL WINAPI OpenClipboard(HWND owner);
HANDHELD_API BOOL WINAPI CloseClipboard(void);
HANDHELD_API BOOL WINAPI EmptyClipboard(void);
HANDHELD_API HANDLE WINAPI SetClipboardData(UINT format, HANDLE memory);
HANDHELD_API HANDLE WINAPI GetClipboardData(UINT format);
HANDHELD_API BOOL WINAPI IsClipboardFormatAvailable(UINT format);
// The format after `format` (0: the first) in the order they were set; 0 after the last,
// with the last error ERROR_SUCCESS.
HANDHELD_API UINT WINAPI EnumClipboardFormats(UINT format);
HANDHELD_API int WINAPI CountClipboardFormats(void);
HANDHELD_API UINT WINAPI RegisterClipboardFormatW(LPCWSTR name);
HANDHELD_API HWND WINAPI GetClipboardOwner(void);
#define RegisterClipboardFormat RegisterClipboardFormatW

#define RegisterClass RegisterClassW
#define UnregisterClass UnregisterClassW
#define GetClassInfo GetClassInfoW
#define GetClassName GetClassNameW
#define GetClassLong GetClassLongW
#define SetClassLong SetClassLongW
#define GetClassLongPtr GetClassLongPtrW
#define SetClassLongPtr SetClassLongPtrW
#define RegisterWindowMessage RegisterWindowMessageW
#define CreateWindowEx CreateWindowExW
#define CreateWindow CreateWindowW
#define DefWindowProc DefWindowProcW
#define CallWindowProc CallWindowProcW
#define GetWindowLong GetWindowLongW
#define SetWindowLong SetWindowLongW
#define GetWindowLongPtr GetWindowLongPtrW
#define SetWindowLongPtr SetWindowLongPtrW
#define SetWindowText SetWindowTextW
#define GetWindowText GetWindowTextW
#define GetWindowTextLength GetWindowTextLengthW
#define FindWindow FindWindowW
#define PostMessage PostMessageW
#define PostThreadMessage PostThreadMessageW
#define SendMessage SendMessageW
#define SendNotifyMessage SendNotifyMessageW
#define GetMessage GetMessageW
#define PeekMessage PeekMessageW
#define DispatchMessage DispatchMessageW

// ---- bitmaps, icons and cursors from resources and files ----
#define IMAGE_BITMAP 0u
#define IMAGE_ICON 1u
#define IMAGE_CURSOR 2u
#define LR_DEFAULTCOLOR 0x0000u
#define LR_LOADFROMFILE 0x0010u
#define LR_DEFAULTSIZE 0x0040u
#define LR_CREATEDIBSECTION 0x2000u

HANDHELD_API HBITMAP WINAPI LoadBitmapW(HINSTANCE instance, LPCWSTR name);
// From the module's BITMAP, ICON or CURSOR resource or, with LR_LOADFROMFILE, a device file.
HANDHELD_API HANDLE WINAPI LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int width,
                                      int height, UINT flags);
#define LoadBitmap LoadBitmapW
#define LoadImage LoadImageW

// ---- icons and cursors ----
// Not seen by resource scripts, which may name their own resources IDC_ARROW and so on.
#ifndef RC_INVOKED
#define IDI_APPLICATION MAKEINTRESOURCEW(32512)
#define IDI_HAND MAKEINTRESOURCEW(32513)
#define IDI_QUESTION MAKEINTRESOURCEW(32514)
#define IDI_EXCLAMATION MAKEINTRESOURCEW(32515)
#define IDI_ASTERISK MAKEINTRESOURCEW(32516)
#define IDI_WARNING IDI_EXCLAMATION
#define IDI_ERROR IDI_HAND
#define IDI_INFORMATION IDI_ASTERISK
#define IDC_ARROW MAKEINTRESOURCEW(32512)
#define IDC_IBEAM MAKEINTRESOURCEW(32513)
#define IDC_WAIT MAKEINTRESOURCEW(32514)
#define IDC_CROSS MAKEINTRESOURCEW(32515)
#define IDC_SIZEALL MAKEINTRESOURCEW(32646)
#define IDC_NO MAKEINTRESOURCEW(32648)
#define IDC_HAND MAKEINTRESOURCEW(32649)
#endif
#define DI_MASK 0x0001u
#define DI_IMAGE 0x0002u
#define DI_NORMAL 0x0003u
#define DI_DEFAULTSIZE 0x0008u

HANDHELD_API HICON WINAPI LoadIconW(HINSTANCE instance, LPCWSTR name);
HANDHELD_API HCURSOR WINAPI LoadCursorW(HINSTANCE instance, LPCWSTR name);
HANDHELD_API BOOL WINAPI DestroyIcon(HICON icon);
HANDHELD_API BOOL WINAPI DestroyCursor(HCURSOR cursor);
HANDHELD_API BOOL WINAPI DrawIcon(HDC hdc, int x, int y, HICON icon);
HANDHELD_API BOOL WINAPI DrawIconEx(HDC hdc, int x, int y, HICON icon, int width, int height,
                                   UINT step, HBRUSH flickerFreeBrush, UINT flags);
// The stylus has no pointer on the screen: the cursor is remembered, never drawn.
HANDHELD_API HCURSOR WINAPI SetCursor(HCURSOR cursor);
HANDHELD_API HCURSOR WINAPI GetCursor(void);
#define LoadIcon LoadIconW
#define LoadCursor LoadCursorW

// ---- menus (as data; showing them builds on these) ----
#define MF_INSERT 0x00000000u
#define MF_CHANGE 0x00000080u
#define MF_APPEND 0x00000100u
#define MF_DELETE 0x00000200u
#define MF_REMOVE 0x00001000u
#define MF_BYCOMMAND 0x00000000u
#define MF_BYPOSITION 0x00000400u
#define MF_SEPARATOR 0x00000800u
#define MF_ENABLED 0x00000000u
#define MF_GRAYED 0x00000001u
#define MF_DISABLED 0x00000002u
#define MF_UNCHECKED 0x00000000u
#define MF_CHECKED 0x00000008u
#define MF_STRING 0x00000000u
#define MF_BITMAP 0x00000004u
#define MF_OWNERDRAW 0x00000100u
#define MF_POPUP 0x00000010u
#define MF_MENUBARBREAK 0x00000020u
#define MF_MENUBREAK 0x00000040u
#define MF_UNHILITE 0x00000000u
#define MF_HILITE 0x00000080u
#define MF_DEFAULT 0x00001000u

HANDHELD_API HMENU WINAPI CreateMenu(void);
HANDHELD_API HMENU WINAPI CreatePopupMenu(void);
HANDHELD_API BOOL WINAPI DestroyMenu(HMENU menu);
HANDHELD_API HMENU WINAPI LoadMenuW(HINSTANCE instance, LPCWSTR name);
HANDHELD_API BOOL WINAPI AppendMenuW(HMENU menu, UINT flags, UINT_PTR idOrPopup, LPCWSTR text);
HANDHELD_API BOOL WINAPI InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCWSTR text);
HANDHELD_API BOOL WINAPI ModifyMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCWSTR text);
HANDHELD_API BOOL WINAPI RemoveMenu(HMENU menu, UINT position, UINT flags);
HANDHELD_API BOOL WINAPI DeleteMenu(HMENU menu, UINT position, UINT flags);
HANDHELD_API HMENU WINAPI GetSubMenu(HMENU menu, int position);
HANDHELD_API int WINAPI GetMenuItemCount(HMENU menu);
HANDHELD_API UINT WINAPI GetMenuItemID(HMENU menu, int position);
HANDHELD_API UINT WINAPI GetMenuState(HMENU menu, UINT item, UINT flags);
// The previous state of the item (MF_ENABLED / MF_GRAYED / MF_DISABLED), or -1 if there is none.
HANDHELD_API BOOL WINAPI EnableMenuItem(HMENU menu, UINT item, UINT enable);
HANDHELD_API DWORD WINAPI CheckMenuItem(HMENU menu, UINT item, UINT check);
HANDHELD_API BOOL WINAPI CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags);
HANDHELD_API int WINAPI GetMenuStringW(HMENU menu, UINT item, LPWSTR text, int maxCount, UINT flags);

// ---- menu items in detail, and pop-up menus shown (TrackPopupMenuEx) ----
#define MIIM_STATE 0x00000001u
#define MIIM_ID 0x00000002u
#define MIIM_SUBMENU 0x00000004u
#define MIIM_CHECKMARKS 0x00000008u
#define MIIM_TYPE 0x00000010u
#define MIIM_DATA 0x00000020u
#define MFT_STRING 0x00000000u
#define MFT_BITMAP 0x00000004u
#define MFT_MENUBARBREAK 0x00000020u
#define MFT_MENUBREAK 0x00000040u
#define MFT_OWNERDRAW 0x00000100u
#define MFT_RADIOCHECK 0x00000200u
#define MFT_SEPARATOR 0x00000800u
#define MFS_ENABLED 0x00000000u
#define MFS_GRAYED 0x00000003u
#define MFS_DISABLED 0x00000003u
#define MFS_UNCHECKED 0x00000000u
#define MFS_CHECKED 0x00000008u
#define MFS_UNHILITE 0x00000000u
#define MFS_HILITE 0x00000080u
#define MFS_DEFAULT 0x00001000u

typedef struct tagMENUITEMINFOW {
  UINT cbSize;
  UINT fMask;
  UINT fType;
  UINT fState;
  UINT wID;
  HMENU hSubMenu;
  HBITMAP hbmpChecked;
  HBITMAP hbmpUnchecked;
  ULONG_PTR dwItemData;
  LPWSTR dwTypeData;
  UINT cch;
} MENUITEMINFOW, *LPMENUITEMINFOW;
typedef const MENUITEMINFOW* LPCMENUITEMINFOW;
typedef MENUITEMINFOW MENUITEMINFO;

// cbSize must be sizeof(MENUITEMINFOW). Getting MIIM_TYPE copies at most cch - 1 characters
// and sets cch to the text's length.
HANDHELD_API BOOL WINAPI GetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFOW info);
HANDHELD_API BOOL WINAPI SetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info);
#define GetMenuItemInfo GetMenuItemInfoW
#define SetMenuItemInfo SetMenuItemInfoW

#define TPM_LEFTBUTTON 0x0000u
#define TPM_LEFTALIGN 0x0000u
#define TPM_CENTERALIGN 0x0004u
#define TPM_RIGHTALIGN 0x0008u
#define TPM_TOPALIGN 0x0000u
#define TPM_VCENTERALIGN 0x0010u
#define TPM_BOTTOMALIGN 0x0020u
#define TPM_HORIZONTAL 0x0000u
#define TPM_VERTICAL 0x0040u
#define TPM_NONOTIFY 0x0080u
#define TPM_RETURNCMD 0x0100u

typedef struct tagTPMPARAMS {
  UINT cbSize;
  RECT rcExclude;
} TPMPARAMS, *LPTPMPARAMS;

// Shows a pop-up menu at a screen point and returns once it closes: with TPM_RETURNCMD the
// chosen command or 0; otherwise TRUE, the choice posted to the owner as WM_COMMAND.
HANDHELD_API BOOL WINAPI TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params);
HANDHELD_API BOOL WINAPI TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                                        const RECT* ignored);
#define LoadMenu LoadMenuW
#define AppendMenu AppendMenuW
#define InsertMenu InsertMenuW
#define ModifyMenu ModifyMenuW
#define GetMenuString GetMenuStringW

// ---- dialogs ----
// Dialogs are windows of the class "#32770" (WC_DIALOG) whose window procedure is DefDlgProcW;
// it calls the dialog procedure first and applies the defaults where that returns FALSE.
// Templates are laid out in dialog units: x units are a quarter of the dialog font's average
// character width (over A-Z a-z), y units an eighth of its height. This is a 64-bit
// platform: the dialog values are reached through DWLP_ indexes with the ...LongPtrW
// functions; the 32-bit DWL_ forms are not defined, as GWL_USERDATA is not.
typedef INT_PTR(CALLBACK* DLGPROC)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#pragma pack(push, 2)
typedef struct {
  DWORD style;
  DWORD dwExtendedStyle;
  WORD cdit;
  short x;
  short y;
  short cx;
  short cy;
} DLGTEMPLATE;
typedef struct {
  DWORD style;
  DWORD dwExtendedStyle;
  short x;
  short y;
  short cx;
  short cy;
  WORD id;
} DLGITEMTEMPLATE;
#pragma pack(pop)
typedef DLGTEMPLATE* LPDLGTEMPLATEW;
typedef const DLGTEMPLATE* LPCDLGTEMPLATEW;
typedef LPCDLGTEMPLATEW LPCDLGTEMPLATE;

#define WC_DIALOG MAKEINTATOM(0x8002)
#define DLGWINDOWEXTRA 30

#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7

// Dialog styles (the low bits of a dialog's style)
#define DS_ABSALIGN 0x01L
#define DS_SYSMODAL 0x02L
#define DS_3DLOOK 0x04L
#define DS_FIXEDSYS 0x08L
#define DS_NOFAILCREATE 0x10L
#define DS_LOCALEDIT 0x20L
#define DS_SETFONT 0x40L
#define DS_MODALFRAME 0x80L
#define DS_NOIDLEMSG 0x100L
#define DS_SETFOREGROUND 0x200L
#define DS_CONTROL 0x0400L
#define DS_CENTER 0x0800L
#define DS_CENTERMOUSE 0x1000L
#define DS_SHELLFONT (DS_SETFONT | DS_FIXEDSYS)

#define WM_NEXTDLGCTL 0x0028
#define DM_GETDEFID (WM_USER + 0)
#define DM_SETDEFID (WM_USER + 1)
#define DM_REPOSITION (WM_USER + 2)
#define DC_HASDEFID 0x534B

// WM_GETDLGCODE answers
#define DLGC_WANTARROWS 0x0001
#define DLGC_WANTTAB 0x0002
#define DLGC_WANTALLKEYS 0x0004
#define DLGC_WANTMESSAGE 0x0004
#define DLGC_HASSETSEL 0x0008
#define DLGC_DEFPUSHBUTTON 0x0010
#define DLGC_UNDEFPUSHBUTTON 0x0020
#define DLGC_RADIOBUTTON 0x0040
#define DLGC_WANTCHARS 0x0080
#define DLGC_STATIC 0x0100
#define DLGC_BUTTON 0x2000

// Modal: the owner is disabled while the dialog runs and enabled again by EndDialog; the
// loop ends when EndDialog was called (from anywhere, nested loops included) or when the
// dialog is destroyed (0). -1 when the dialog cannot be made.
HANDHELD_API INT_PTR WINAPI DialogBoxParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner,
                                            DLGPROC procedure, LPARAM initParam);
HANDHELD_API INT_PTR WINAPI DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate,
                                                    HWND owner, DLGPROC procedure, LPARAM initParam);
HANDHELD_API HWND WINAPI CreateDialogParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner,
                                            DLGPROC procedure, LPARAM initParam);
HANDHELD_API HWND WINAPI CreateDialogIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate,
                                                    HWND owner, DLGPROC procedure, LPARAM initParam);
HANDHELD_API BOOL WINAPI EndDialog(HWND dialog, INT_PTR result);
HANDHELD_API LRESULT WINAPI DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
HANDHELD_API BOOL WINAPI IsDialogMessageW(HWND dialog, LPMSG message);
HANDHELD_API UINT WINAPI GetDlgItemTextW(HWND dialog, int id, LPWSTR text, int maxCount);
HANDHELD_API BOOL WINAPI SetDlgItemTextW(HWND dialog, int id, LPCWSTR text);
HANDHELD_API UINT WINAPI GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned);
HANDHELD_API BOOL WINAPI SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
HANDHELD_API LRESULT WINAPI SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam,
                                                LPARAM lParam);
HANDHELD_API BOOL WINAPI CheckDlgButton(HWND dialog, int id, UINT check);
HANDHELD_API UINT WINAPI IsDlgButtonChecked(HWND dialog, int id);
HANDHELD_API BOOL WINAPI CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId);
HANDHELD_API BOOL WINAPI MapDialogRect(HWND dialog, LPRECT rect);
HANDHELD_API HWND WINAPI GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
HANDHELD_API HWND WINAPI GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);
#define DialogBoxW(instance, name, owner, procedure) DialogBoxParamW(instance, name, owner, procedure, 0)
#define DialogBoxIndirectW(instance, dialogTemplate, owner, procedure) \
  DialogBoxIndirectParamW(instance, dialogTemplate, owner, procedure, 0)
#define CreateDialogW(instance, name, owner, procedure) CreateDialogParamW(instance, name, owner, procedure, 0)
#define CreateDialogIndirectW(instance, dialogTemplate, owner, procedure) \
  CreateDialogIndirectParamW(instance, dialogTemplate, owner, procedure, 0)
#define DialogBox DialogBoxW
#define DialogBoxParam DialogBoxParamW
#define DialogBoxIndirect DialogBoxIndirectW
#define DialogBoxIndirectParam DialogBoxIndirectParamW
#define CreateDialog CreateDialogW
#define CreateDialogParam CreateDialogParamW
#define CreateDialogIndirect CreateDialogIndirectW
#define CreateDialogIndirectParam CreateDialogIndirectParamW
#define DefDlgProc DefDlgProcW
#define IsDialogMessage IsDialogMessageW
#define GetDlgItemText GetDlgItemTextW
#define SetDlgItemText SetDlgItemTextW
#define SendDlgItemMessage SendDlgItemMessageW

// ---- message boxes ----
// MessageBoxW shows a modal box the width of the screen: the caption as its title, an icon,
// the text word-wrapped, the buttons in a row at the bottom. It returns the ID of the button
// chosen; escape and WM_CLOSE answer IDCANCEL when there is a Cancel button, IDOK for a box
// with only OK, and nothing otherwise. 0 on failure (GetLastError says why).
#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_ABORTRETRYIGNORE 0x00000002L
#define MB_YESNOCANCEL 0x00000003L
#define MB_YESNO 0x00000004L
#define MB_RETRYCANCEL 0x00000005L
#define MB_ICONHAND 0x00000010L
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONASTERISK 0x00000040L
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_DEFBUTTON1 0x00000000L
#define MB_DEFBUTTON2 0x00000100L
#define MB_DEFBUTTON3 0x00000200L
#define MB_DEFBUTTON4 0x00000300L
#define MB_APPLMODAL 0x00000000L
#define MB_SYSTEMMODAL 0x00001000L
#define MB_TASKMODAL 0x00002000L
#define MB_SETFOREGROUND 0x00010000L
#define MB_TOPMOST 0x00040000L
#define MB_TYPEMASK 0x0000000FL
#define MB_ICONMASK 0x000000F0L
#define MB_DEFMASK 0x00000F00L
#define MB_MODEMASK 0x00003000L
#define MB_MISCMASK 0x0000C000L

HANDHELD_API int WINAPI MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
#define MessageBox MessageBoxW

// ---- standard controls: owner-drawn items ----
#define ODT_MENU 1
#define ODT_LISTBOX 2
#define ODT_COMBOBOX 3
#define ODT_BUTTON 4
#define ODT_STATIC 5
#define ODA_DRAWENTIRE 0x0001
#define ODA_SELECT 0x0002
#define ODA_FOCUS 0x0004
#define ODS_SELECTED 0x0001
#define ODS_GRAYED 0x0002
#define ODS_DISABLED 0x0004
#define ODS_CHECKED 0x0008
#define ODS_FOCUS 0x0010

typedef struct tagDRAWITEMSTRUCT {
  UINT CtlType;
  UINT CtlID;
  UINT itemID;
  UINT itemAction;
  UINT itemState;
  HWND hwndItem;
  HDC hDC;
  RECT rcItem;
  ULONG_PTR itemData;
} DRAWITEMSTRUCT, *PDRAWITEMSTRUCT, *LPDRAWITEMSTRUCT;

// ---- standard controls: button ("BUTTON") ----
#define BS_PUSHBUTTON 0x00000000L
#define BS_DEFPUSHBUTTON 0x00000001L
#define BS_CHECKBOX 0x00000002L
#define BS_AUTOCHECKBOX 0x00000003L
#define BS_RADIOBUTTON 0x00000004L
#define BS_3STATE 0x00000005L
#define BS_AUTO3STATE 0x00000006L
#define BS_GROUPBOX 0x00000007L
#define BS_AUTORADIOBUTTON 0x00000009L
#define BS_OWNERDRAW 0x0000000BL
#define BS_TYPEMASK 0x0000000FL
#define BS_LEFTTEXT 0x00000020L
#define BS_LEFT 0x00000100L
#define BS_RIGHT 0x00000200L
#define BS_CENTER 0x00000300L
#define BS_TOP 0x00000400L
#define BS_BOTTOM 0x00000800L
#define BS_VCENTER 0x00000C00L
#define BS_MULTILINE 0x00002000L
#define BS_NOTIFY 0x00004000L

#define BST_UNCHECKED 0x0000
#define BST_CHECKED 0x0001
#define BST_INDETERMINATE 0x0002
#define BST_PUSHED 0x0004
#define BST_FOCUS 0x0008

#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BM_GETSTATE 0x00F2
#define BM_SETSTATE 0x00F3
#define BM_SETSTYLE 0x00F4
#define BM_CLICK 0x00F5

#define BN_CLICKED 0
#define BN_SETFOCUS 6
#define BN_KILLFOCUS 7

// ---- standard controls: static ("STATIC") ----
#define SS_LEFT 0x00000000L
#define SS_CENTER 0x00000001L
#define SS_RIGHT 0x00000002L
#define SS_ICON 0x00000003L
#define SS_LEFTNOWORDWRAP 0x0000000CL
#define SS_BITMAP 0x0000000EL
#define SS_TYPEMASK 0x0000001FL
#define SS_NOPREFIX 0x00000080L
#define SS_NOTIFY 0x00000100L
#define SS_CENTERIMAGE 0x00000200L

#define STM_SETIMAGE 0x0172
#define STM_GETIMAGE 0x0173
#define STN_CLICKED 0

// ---- standard controls: list box ("LISTBOX"; "ComboLBox" is a combo box's list) ----
// LBS_NOINTEGRALHEIGHT: exactly the height asked for, partial rows shown.
#define LBS_NOTIFY 0x0001L
#define LBS_SORT 0x0002L
#define LBS_NOREDRAW 0x0004L
#define LBS_MULTIPLESEL 0x0008L
#define LBS_OWNERDRAWFIXED 0x0010L
#define LBS_OWNERDRAWVARIABLE 0x0020L
#define LBS_HASSTRINGS 0x0040L
#define LBS_USETABSTOPS 0x0080L
#define LBS_NOINTEGRALHEIGHT 0x0100L
#define LBS_MULTICOLUMN 0x0200L
#define LBS_WANTKEYBOARDINPUT 0x0400L
#define LBS_EXTENDEDSEL 0x0800L
#define LBS_DISABLENOSCROLL 0x1000L
#define LBS_NODATA 0x2000L
#define LBS_NOSEL 0x4000L
#define LBS_STANDARD (LBS_NOTIFY | LBS_SORT | WS_VSCROLL | WS_BORDER)

#define LB_OKAY 0
#define LB_ERR (-1)
#define LB_ERRSPACE (-2)

#define LB_ADDSTRING 0x0180
#define LB_INSERTSTRING 0x0181
#define LB_DELETESTRING 0x0182
#define LB_SELITEMRANGEEX 0x0183
#define LB_RESETCONTENT 0x0184
#define LB_SETSEL 0x0185
#define LB_SETCURSEL 0x0186
#define LB_GETSEL 0x0187
#define LB_GETCURSEL 0x0188
#define LB_GETTEXT 0x0189
#define LB_GETTEXTLEN 0x018A
#define LB_GETCOUNT 0x018B
#define LB_SELECTSTRING 0x018C
#define LB_DIR 0x018D
#define LB_GETTOPINDEX 0x018E
#define LB_FINDSTRING 0x018F
#define LB_GETSELCOUNT 0x0190
#define LB_GETSELITEMS 0x0191
#define LB_SETTOPINDEX 0x0197
#define LB_GETITEMRECT 0x0198
#define LB_GETITEMDATA 0x0199
#define LB_SETITEMDATA 0x019A
#define LB_SELITEMRANGE 0x019B
#define LB_SETANCHORINDEX 0x019C
#define LB_GETANCHORINDEX 0x019D
#define LB_SETCARETINDEX 0x019E
#define LB_GETCARETINDEX 0x019F
#define LB_SETITEMHEIGHT 0x01A0
#define LB_GETITEMHEIGHT 0x01A1
#define LB_FINDSTRINGEXACT 0x01A2
#define LB_INITSTORAGE 0x01A8
#define LB_ITEMFROMPOINT 0x01A9

#define LBN_ERRSPACE (-2)
#define LBN_SELCHANGE 1
#define LBN_DBLCLK 2
#define LBN_SELCANCEL 3
#define LBN_SETFOCUS 4
#define LBN_KILLFOCUS 5

// WM_MEASUREITEM: the owner gives the height of an owner-drawn list's items.
typedef struct tagMEASUREITEMSTRUCT {
  UINT CtlType;
  UINT CtlID;
  UINT itemID;
  UINT itemWidth;
  UINT itemHeight;
  ULONG_PTR itemData;
} MEASUREITEMSTRUCT, *PMEASUREITEMSTRUCT, *LPMEASUREITEMSTRUCT;

// ---- standard controls: combo box ("COMBOBOX") ----
// The low two bits are the kind (CBS_SIMPLE, CBS_DROPDOWN, CBS_DROPDOWNLIST).
#define CBS_SIMPLE 0x0001L
#define CBS_DROPDOWN 0x0002L
#define CBS_DROPDOWNLIST 0x0003L
#define CBS_OWNERDRAWFIXED 0x0010L
#define CBS_OWNERDRAWVARIABLE 0x0020L
#define CBS_AUTOHSCROLL 0x0040L
#define CBS_OEMCONVERT 0x0080L
#define CBS_SORT 0x0100L
#define CBS_HASSTRINGS 0x0200L
#define CBS_NOINTEGRALHEIGHT 0x0400L
#define CBS_DISABLENOSCROLL 0x0800L
#define CBS_UPPERCASE 0x2000L
#define CBS_LOWERCASE 0x4000L

#define CB_OKAY 0
#define CB_ERR (-1)
#define CB_ERRSPACE (-2)

#define CB_GETEDITSEL 0x0140
#define CB_LIMITTEXT 0x0141
#define CB_SETEDITSEL 0x0142
#define CB_ADDSTRING 0x0143
#define CB_DELETESTRING 0x0144
#define CB_DIR 0x0145
#define CB_GETCOUNT 0x0146
#define CB_GETCURSEL 0x0147
#define CB_GETLBTEXT 0x0148
#define CB_GETLBTEXTLEN 0x0149
#define CB_INSERTSTRING 0x014A
#define CB_RESETCONTENT 0x014B
#define CB_FINDSTRING 0x014C
#define CB_SELECTSTRING 0x014D
#define CB_SETCURSEL 0x014E
#define CB_SHOWDROPDOWN 0x014F
#define CB_GETITEMDATA 0x0150
#define CB_SETITEMDATA 0x0151
#define CB_GETDROPPEDCONTROLRECT 0x0152
#define CB_SETITEMHEIGHT 0x0153
#define CB_GETITEMHEIGHT 0x0154
#define CB_SETEXTENDEDUI 0x0155
#define CB_GETEXTENDEDUI 0x0156
#define CB_GETDROPPEDSTATE 0x0157
#define CB_FINDSTRINGEXACT 0x0158
#define CB_GETTOPINDEX 0x015B
#define CB_SETTOPINDEX 0x015C
#define CB_GETDROPPEDWIDTH 0x015F
#define CB_SETDROPPEDWIDTH 0x0160
#define CB_INITSTORAGE 0x0161

#define CBN_ERRSPACE (-1)
#define CBN_SELCHANGE 1
#define CBN_DBLCLK 2
#define CBN_SETFOCUS 3
#define CBN_KILLFOCUS 4
#define CBN_EDITCHANGE 5
#define CBN_EDITUPDATE 6
#define CBN_DROPDOWN 7
#define CBN_CLOSEUP 8
#define CBN_SELENDOK 9
#define CBN_SELENDCANCEL 10

// ---- standard controls: edit ("EDIT") ----
// Texts are UTF-16; positions count UTF-16 units and never split a surrogate pair or a
// "\r\n" line break. The user may enter 30000 characters until EM_LIMITTEXT says otherwise.
#define ES_LEFT 0x0000L
#define ES_CENTER 0x0001L
#define ES_RIGHT 0x0002L
#define ES_MULTILINE 0x0004L
#define ES_UPPERCASE 0x0008L
#define ES_LOWERCASE 0x0010L
#define ES_PASSWORD 0x0020L
#define ES_AUTOVSCROLL 0x0040L
#define ES_AUTOHSCROLL 0x0080L
#define ES_NOHIDESEL 0x0100L
#define ES_COMBOBOX 0x0200L
#define ES_OEMCONVERT 0x0400L
#define ES_READONLY 0x0800L
#define ES_WANTRETURN 0x1000L
#define ES_NUMBER 0x2000L

#define EM_GETSEL 0x00B0
#define EM_SETSEL 0x00B1
#define EM_GETRECT 0x00B2
#define EM_SCROLL 0x00B5
#define EM_LINESCROLL 0x00B6
#define EM_SCROLLCARET 0x00B7
#define EM_GETMODIFY 0x00B8
#define EM_SETMODIFY 0x00B9
#define EM_GETLINECOUNT 0x00BA
#define EM_LINEINDEX 0x00BB
#define EM_LINELENGTH 0x00C1
#define EM_REPLACESEL 0x00C2
#define EM_GETLINE 0x00C4
#define EM_LIMITTEXT 0x00C5
#define EM_SETLIMITTEXT EM_LIMITTEXT
#define EM_CANUNDO 0x00C6
#define EM_UNDO 0x00C7
#define EM_LINEFROMCHAR 0x00C9
#define EM_SETPASSWORDCHAR 0x00CC
#define EM_EMPTYUNDOBUFFER 0x00CD
#define EM_GETFIRSTVISIBLELINE 0x00CE
#define EM_SETREADONLY 0x00CF
#define EM_GETPASSWORDCHAR 0x00D2
#define EM_SETMARGINS 0x00D3
#define EM_GETMARGINS 0x00D4
#define EM_GETLIMITTEXT 0x00D5
#define EM_POSFROMCHAR 0x00D6
#define EM_CHARFROMPOS 0x00D7

// EM_SETMARGINS wParam
#define EC_LEFTMARGIN 0x0001
#define EC_RIGHTMARGIN 0x0002
#define EC_USEFONTINFO 0xFFFF

#define EN_SETFOCUS 0x0100
#define EN_KILLFOCUS 0x0200
#define EN_CHANGE 0x0300
#define EN_UPDATE 0x0400
#define EN_ERRSPACE 0x0500
#define EN_MAXTEXT 0x0501
#define EN_HSCROLL 0x0601
#define EN_VSCROLL 0x0602
// ---- scroll bars (windows with WS_VSCROLL / WS_HSCROLL, and the "SCROLLBAR" control) ----
// A window's bar is shown while WS_VSCROLL / WS_HSCROLL is set: a range that needs no
// scrolling hides it (SIF_DISABLENOSCROLL disables it instead) and the client area grows.
#define SB_HORZ 0
#define SB_VERT 1
#define SB_CTL 2
#define SB_BOTH 3

#define SB_LINEUP 0
#define SB_LINELEFT 0
#define SB_LINEDOWN 1
#define SB_LINERIGHT 1
#define SB_PAGEUP 2
#define SB_PAGELEFT 2
#define SB_PAGEDOWN 3
#define SB_PAGERIGHT 3
#define SB_THUMBPOSITION 4
#define SB_THUMBTRACK 5
#define SB_TOP 6
#define SB_LEFT 6
#define SB_BOTTOM 7
#define SB_RIGHT 7
#define SB_ENDSCROLL 8

#define SIF_RANGE 0x0001u
#define SIF_PAGE 0x0002u
#define SIF_POS 0x0004u
#define SIF_DISABLENOSCROLL 0x0008u
#define SIF_TRACKPOS 0x0010u
#define SIF_ALL (SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS)

#define ESB_ENABLE_BOTH 0x0000u
#define ESB_DISABLE_BOTH 0x0003u
#define ESB_DISABLE_LEFT 0x0001u
#define ESB_DISABLE_RIGHT 0x0002u
#define ESB_DISABLE_UP 0x0001u
#define ESB_DISABLE_DOWN 0x0002u
#define ESB_DISABLE_LTUP ESB_DISABLE_LEFT
#define ESB_DISABLE_RTDN ESB_DISABLE_RIGHT

#define SBS_HORZ 0x0000L
#define SBS_VERT 0x0001L

#define SBM_SETPOS 0x00E0
#define SBM_GETPOS 0x00E1
#define SBM_SETRANGE 0x00E2
#define SBM_GETRANGE 0x00E3
#define SBM_ENABLE_ARROWS 0x00E4
#define SBM_SETRANGEREDRAW 0x00E6
#define SBM_SETSCROLLINFO 0x00E9
#define SBM_GETSCROLLINFO 0x00EA

// The stylus on a window's scroll bar (wParam the hit code, lParam the screen point).
#define WM_NCMOUSEMOVE 0x00A0
#define WM_NCLBUTTONDOWN 0x00A1
#define WM_NCLBUTTONUP 0x00A2
#define HTNOWHERE 0
#define HTCLIENT 1
#define HTHSCROLL 6
#define HTVSCROLL 7

typedef struct tagSCROLLINFO {
  UINT cbSize;
  UINT fMask;
  int nMin;
  int nMax;
  UINT nPage;
  int nPos;
  int nTrackPos;
} SCROLLINFO, *LPSCROLLINFO;
typedef const SCROLLINFO* LPCSCROLLINFO;

// The new position (clamped to nMin .. nMax - max(nPage - 1, 0)); 0 on failure.
HANDHELD_API int WINAPI SetScrollInfo(HWND window, int bar, LPCSCROLLINFO info, BOOL redraw);
// SIF_TRACKPOS gives the thumb's place during a drag (the position otherwise).
HANDHELD_API BOOL WINAPI GetScrollInfo(HWND window, int bar, LPSCROLLINFO info);
// The previous position; 0 on failure.
HANDHELD_API int WINAPI SetScrollPos(HWND window, int bar, int position, BOOL redraw);
HANDHELD_API int WINAPI GetScrollPos(HWND window, int bar);
HANDHELD_API BOOL WINAPI SetScrollRange(HWND window, int bar, int minimum, int maximum, BOOL redraw);
HANDHELD_API BOOL WINAPI GetScrollRange(HWND window, int bar, LPINT minimum, LPINT maximum);
HANDHELD_API BOOL WINAPI ShowScrollBar(HWND window, int bar, BOOL show);
// FALSE when the arrows already were as asked.
HANDHELD_API BOOL WINAPI EnableScrollBar(HWND window, int bar, UINT arrows);
// A DC of the whole window, frame and scroll bars included (origin at its top-left corner).
HANDHELD_API HDC WINAPI GetWindowDC(HWND window);
