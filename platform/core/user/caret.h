// The calling thread's caret and the moments it must step aside: painting and activation.
// Each runs on the thread whose caret it concerns, without the lock held.
#pragma once

#include <windows.h>

namespace handheld::user {

// BeginPaint of a window: the caret in it leaves the pixels until EndPaint puts it back.
void caretBeforePaint(HWND window);
void caretAfterPaint(HWND window);
// The thread's active window changed: the caret blinks only in the foreground.
void caretActivationChanged();

}  // namespace handheld::user
