// The short text of an expiry time: "05.03.05, 02:07 PM", in the device's date order and
// 12- or 24-hour clock. Never call it for a time that never expires.
#pragma once

#include <windows.h>

// Room for the longest text, "dd.dd.dd, dd:dd PM", and its terminator.
inline constexpr int kNoteTimeTextSize = 20;

void FormatNoteTime(const SYSTEMTIME& time, WCHAR (&text)[kNoteTimeTextSize], bool withTime);
