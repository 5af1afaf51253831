// Expiry and creation times as 64-bit file-time ticks (100 ns), the form they are compared in.
#pragma once

#include <windows.h>

#include <optional>

inline constexpr ULONGLONG kTicksPerSecond = 10'000'000ULL;

// The ticks of a calendar time; none for a time that names no real moment (the never-expiring
// hour among them).
std::optional<ULONGLONG> TicksOf(const SYSTEMTIME& time);

// The local time now, in ticks.
ULONGLONG LocalTicksNow();
