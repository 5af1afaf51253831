// Another process's window as the server (top-level windows) or its own process (child
// windows) describes it. Never trusted beyond what it says.
#pragma once

#include <windows.h>

#include <optional>

#include "ipc/protocol.h"

namespace handheld::user {

// nullopt with ERROR_INVALID_WINDOW_HANDLE when no such window exists.
std::optional<ipc::WindowRecord> describeForeign(HWND window);

}  // namespace handheld::user
