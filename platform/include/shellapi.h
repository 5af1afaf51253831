// The shell-execute service: programs by device path, documents through the program their
// extension names under HKEY_CLASSES_ROOT, web and mail addresses and help topics through the
// device's own programs. Nothing outside the device image runs. hInstApp holds a value above 32
// on success, an SE_ERR_ code on failure.
#pragma once

#include "windef.h"

#define SEE_MASK_NOCLOSEPROCESS 0x00000040u
#define SEE_MASK_FLAG_NO_UI 0x00000400u
#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_NOASSOC 31

typedef struct _SHELLEXECUTEINFOW {
  DWORD cbSize;
  ULONG fMask;
  HWND hwnd;
  LPCWSTR lpVerb;
  LPCWSTR lpFile;
  LPCWSTR lpParameters;
  LPCWSTR lpDirectory;
  int nShow;
  HINSTANCE hInstApp;
  LPVOID lpIDList;
  LPCWSTR lpClass;
  HKEY hkeyClass;
  DWORD dwHotKey;
  HANDLE hIcon;
  HANDLE hProcess;
} SHELLEXECUTEINFOW, *LPSHELLEXECUTEINFOW;
typedef SHELLEXECUTEINFOW SHELLEXECUTEINFO;
typedef LPSHELLEXECUTEINFOW LPSHELLEXECUTEINFO;

HANDHELD_API BOOL WINAPI ShellExecuteEx(LPSHELLEXECUTEINFOW info);
#define ShellExecuteExW ShellExecuteEx
