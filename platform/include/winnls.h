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

// Writes the answer with its terminator; returns the characters written (0 on failure,
// ERROR_INSUFFICIENT_BUFFER when the buffer is too small). With size 0 returns the size needed.
HANDHELD_API int WINAPI GetLocaleInfoW(LCID locale, LCTYPE type, LPWSTR data, int size);
#define GetLocaleInfo GetLocaleInfoW
