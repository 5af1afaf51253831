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
