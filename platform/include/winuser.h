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
