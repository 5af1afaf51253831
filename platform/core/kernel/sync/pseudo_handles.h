// The pseudo handles GetCurrentThread and GetCurrentProcess return: constants that always mean
// "the caller", never in the handle table, never NULL or INVALID_HANDLE_VALUE.
#pragma once

#include <windows.h>

namespace handheld::kernel {

inline HANDLE currentThreadPseudoHandle() { return reinterpret_cast<HANDLE>(uintptr_t{0x41}); }
inline HANDLE currentProcessPseudoHandle() { return reinterpret_cast<HANDLE>(uintptr_t{0x42}); }

}  // namespace handheld::kernel
