// Sending a message to any window: a direct call on its own thread, queued to the owner
// thread otherwise (the caller serving messages sent to it while it waits), or through the
// server to another process.
#pragma once

#include <windows.h>

#include <optional>

#include "user/thread_queue.h"

namespace handheld::user {

// notify: do not wait for the result (SendNotifyMessageW); returns TRUE once queued.
LRESULT sendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool notify = false);
// Sends to a window of this process; nullopt when its thread has not answered by the deadline
// (the message stays queued, so what lParam points to must outlive the receiver's handling).
std::optional<LRESULT> sendOwnMessageBy(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        Clock::time_point deadline);

}  // namespace handheld::user
