// Keeping the server's table of this process's top-level windows current, and handing it
// their surfaces. Called without the lock.
#pragma once

#include <windows.h>

#include "ipc/protocol.h"
#include "user/window.h"

namespace handheld::user {

// Under the lock: how the server and automation see a window.
ipc::WindowRecord recordOf(const Window& window);

// WindowAdd; false with the last error set when the server refuses.
bool registerTopLevel(HWND window);
// Sends the window's current state (a newer state is never overwritten by an older one) and
// applies the activation change it caused (hiding the active window activates another).
void syncTopLevel(HWND window);
void unregisterTopLevel(HWND window);
// Makes the surface again when the window's size differs from it, hands it to the server and
// marks the whole window for painting.
void refreshSurface(HWND window);

}  // namespace handheld::user
