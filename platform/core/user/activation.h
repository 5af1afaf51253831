// Activation and focus as the device server decides them: one active (foreground) window on
// the device; WM_ACTIVATE to the windows that lose and gain it, on their own threads, and the
// focus following.
#pragma once

#include <windows.h>

#include <functional>

#include "ipc/protocol.h"

namespace handheld::user {

// Applies the parts of a change this process's request caused that concern its windows.
void applyActivationChange(const ipc::ActivationChange& change);
// The server's notice for one of this process's windows (the reader thread).
void activationNoticed(const ipc::ActivationNotice& notice);
// Asks the server to raise and/or activate a top-level window of any process.
bool arrangeTopLevel(HWND window, uint32_t insertAfter, bool raise, bool activate);
// Runs work on the thread that owns a window: now when that is the caller, else queued there.
void runOnWindowThread(HWND window, std::function<void()> work);

// SetFocus on the calling thread, without activating: WM_KILLFOCUS then WM_SETFOCUS.
HWND moveFocus(HWND target);

}  // namespace handheld::user
