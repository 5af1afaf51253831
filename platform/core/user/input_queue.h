// Where keyboard and stylus messages enter a thread's queue: after posted messages and before
// WM_PAINT and WM_TIMER. The device's input routing calls this for the window it chose.
#pragma once

#include <windows.h>

namespace handheld::user {

// Queues an input message for the thread owning message.hwnd; false (with the last error
// set) when the window is gone or the queue is full.
bool queueInputMessage(const MSG& message);

}  // namespace handheld::user
