// The input panel's state as the server keeps it, read into and set from a SIPINFO, for the
// shell's functions and SystemParametersInfoW alike.
#pragma once

#include <windows.h>

namespace handheld::shellsvc {

// The size a SIPINFO has on a 32-bit device: callers that state it are answered as well.
inline constexpr DWORD kSipInfoSize32 = 48;

// SPI_GETSIPINFO: fills in the flags and both rectangles; FALSE with
// ERROR_INVALID_PARAMETER for a missing structure or a size neither of ours.
BOOL getPanelInfo(void* info);
// SPI_SETSIPINFO: takes the flags.
BOOL setPanelInfo(const void* info);
// Raises (true) or lowers the panel.
BOOL showPanel(bool up);

}  // namespace handheld::shellsvc
