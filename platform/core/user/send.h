// Sending a message to any window: a direct call on its own thread, queued to the owner
// thread otherwise (the caller serving messages sent to it while it waits), or through the
// server to another process.
#pragma once

#include <windows.h>

namespace handheld::user {

// notify: do not wait for the result (SendNotifyMessageW); returns TRUE once queued.
LRESULT sendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool notify = false);

}  // namespace handheld::user
