// Common dialogs: the open-file dialog. windows.h includes this header.
#pragma once

#include "windef.h"
#include "winuser.h"

// ==== the open-file dialog (GetOpenFileNameW) ====
// A modal, full-screen browser of the device's folders: the folder shown, its folders and the
// files the chosen filter lets through, the way into a folder and up again (never above the
// device's root). TRUE with the chosen path in lpstrFile; FALSE when cancelled
// (CommDlgExtendedError 0) or on failure (CommDlgExtendedError says which). The device has no
// current folder, so OFN_NOCHANGEDIR has nothing to keep.
typedef UINT_PTR(CALLBACK* LPOFNHOOKPROC)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

typedef struct tagOFNW {
  DWORD lStructSize;
  HWND hwndOwner;
  HINSTANCE hInstance;
  LPCWSTR lpstrFilter;       // pairs "Description\0pattern;pattern\0", ended by "\0"
  LPWSTR lpstrCustomFilter;  // not used
  DWORD nMaxCustFilter;
  DWORD nFilterIndex;        // from 1; 0 or too large: the first
  LPWSTR lpstrFile;          // in: a name or path to start with; out: the chosen path
  DWORD nMaxFile;            // characters, the terminator included
  LPWSTR lpstrFileTitle;     // out: the chosen name alone
  DWORD nMaxFileTitle;
  LPCWSTR lpstrInitialDir;
  LPCWSTR lpstrTitle;        // NULL: "Open"
  DWORD Flags;
  WORD nFileOffset;          // out: where the name starts in lpstrFile
  WORD nFileExtension;       // out: where its extension starts (the terminator without one)
  LPCWSTR lpstrDefExt;
  LPARAM lCustData;
  LPOFNHOOKPROC lpfnHook;    // not used
  LPCWSTR lpTemplateName;    // not used
} OPENFILENAMEW, *LPOPENFILENAMEW;
typedef OPENFILENAMEW OPENFILENAME;
typedef LPOPENFILENAMEW LPOPENFILENAME;

#define OFN_READONLY 0x00000001
#define OFN_OVERWRITEPROMPT 0x00000002
#define OFN_HIDEREADONLY 0x00000004
#define OFN_NOCHANGEDIR 0x00000008
#define OFN_SHOWHELP 0x00000010
#define OFN_ENABLEHOOK 0x00000020
#define OFN_ENABLETEMPLATE 0x00000040
#define OFN_ENABLETEMPLATEHANDLE 0x00000080
#define OFN_NOVALIDATE 0x00000100
#define OFN_ALLOWMULTISELECT 0x00000200
#define OFN_EXTENSIONDIFFERENT 0x00000400
#define OFN_PATHMUSTEXIST 0x00000800
#define OFN_FILEMUSTEXIST 0x00001000
#define OFN_CREATEPROMPT 0x00002000
#define OFN_SHAREAWARE 0x00004000
#define OFN_NOREADONLYRETURN 0x00008000
#define OFN_NOTESTFILECREATE 0x00010000

// CommDlgExtendedError
#define CDERR_DIALOGFAILURE 0xFFFF
#define CDERR_GENERALCODES 0x0000
#define CDERR_STRUCTSIZE 0x0001
#define CDERR_INITIALIZATION 0x0002
#define CDERR_NOTEMPLATE 0x0003
#define CDERR_NOHINSTANCE 0x0004
#define CDERR_LOADSTRFAILURE 0x0005
#define CDERR_FINDRESFAILURE 0x0006
#define CDERR_LOADRESFAILURE 0x0007
#define CDERR_LOCKRESFAILURE 0x0008
#define CDERR_MEMALLOCFAILURE 0x0009
#define CDERR_MEMLOCKFAILURE 0x000A
#define CDERR_NOHOOK 0x000B
#define FNERR_FILENAMECODES 0x3000
#define FNERR_SUBCLASSFAILURE 0x3001
#define FNERR_INVALIDFILENAME 0x3002
// lpstrFile was too small for the path: its first WORD holds the characters needed (with
// the terminator).
#define FNERR_BUFFERTOOSMALL 0x3003

HANDHELD_API BOOL WINAPI GetOpenFileNameW(LPOPENFILENAMEW ofn);
// The reason of the calling thread's last common dialog that failed; 0 after a cancel.
HANDHELD_API DWORD WINAPI CommDlgExtendedError(void);
#define GetOpenFileName GetOpenFileNameW
