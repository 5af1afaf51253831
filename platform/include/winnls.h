// Locale queries.
#pragma once

#include "windef.h"

#define LOCALE_SYSTEM_DEFAULT 0x0800u
#define LOCALE_USER_DEFAULT 0x0400u
#define LOCALE_IDATE 0x00000021u
#define LOCALE_ILDATE 0x00000022u
#define LOCALE_ITIME 0x00000023u
#define LOCALE_SDATE 0x0000001Du
#define LOCALE_STIME 0x0000001Eu
#define LOCALE_S1159 0x00000028u
#define LOCALE_S2359 0x00000029u

// CompareStringW: a word sort by the device's locale (accented letters beside their base
// letter, case the last tie-break; hyphen and apostrophe count only when nothing else differs).
#define NORM_IGNORECASE 0x00000001u
#define NORM_IGNORENONSPACE 0x00000002u
#define NORM_IGNORESYMBOLS 0x00000004u
#define SORT_STRINGSORT 0x00001000u
#define CSTR_LESS_THAN 1
#define CSTR_EQUAL 2
#define CSTR_GREATER_THAN 3

// Lengths in code units, or negative for a terminated string. Returns CSTR_LESS_THAN,
// CSTR_EQUAL or CSTR_GREATER_THAN; 0 on failure (ERROR_INVALID_FLAGS, ERROR_INVALID_PARAMETER).
HANDHELD_API int WINAPI CompareStringW(LCID locale, DWORD flags, LPCWSTR first, int firstLength,
                                       LPCWSTR second, int secondLength);
#define CompareString CompareStringW

// Writes the answer with its terminator; returns the characters written (0 on failure,
// ERROR_INSUFFICIENT_BUFFER when the buffer is too small). With size 0 returns the size needed.
HANDHELD_API int WINAPI GetLocaleInfoW(LCID locale, LCTYPE type, LPWSTR data, int size);
#define GetLocaleInfo GetLocaleInfoW
