// WM_HELP between processes: its HELPINFO travels as fields and is rebuilt for the receiving
// window procedure, which sees it as a sent message on the window's thread.
#pragma once

#include <windows.h>

#include "ipc/protocol.h"

namespace handheld::user {

// Sends WM_HELP with the HELPINFO at lParam to another process's window; the answer is not
// waited for (a help request has none). FALSE when lParam is not a HELPINFO.
LRESULT sendHelpToOtherProcess(HWND window, LPARAM lParam);
// The reader thread's part: runs WM_HELP on the window's thread with a copy of the fields.
void helpFromServer(const ipc::HelpDeliver& delivery);

}  // namespace handheld::user
