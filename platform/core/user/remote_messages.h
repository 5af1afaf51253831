// Messages between processes, through the device server. Only integers cross.
#pragma once

#include <windows.h>

#include "ipc/protocol.h"

namespace handheld::user {

// SendMessageW / SendNotifyMessageW to another process's window: the calling thread waits on
// its own queue, serving what is sent to it meanwhile. 0 when the window or its process is
// gone or the message may not cross.
LRESULT sendToOtherProcess(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool notify);
// PostMessageW to another process's window, or PostThreadMessageW to another process's thread
// (window null). Sets the last error on failure.
bool postToOtherProcess(HWND window, DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);

// What the reader thread does with the server's pushes.
void deliverFromServer(const ipc::MessageDeliver& delivery);
void completeRemoteSend(const ipc::MessageSendDone& done);

}  // namespace handheld::user
