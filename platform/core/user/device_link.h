// The link to the device server: its connection, top-level windows kept in step with it, windows
// of other processes, messages that cross processes and the automation describer.
#pragma once

#include <cstdint>
#include <windows.h>
#include <optional>

#include "ipc/client.h"
#include "ipc/protocol.h"
#include "user/window.h"

namespace handheld::user {

// ---- device link ----
// The window side of this process's connection to the device server: attached once, before
// anything can be routed here.
// Installs the handlers of what the server pushes (messages, activation, questions), tells
// the server this process uses windows, and starts watching kernel waits for wait-idle.
void attachToDevice();
// A program's main thread, before WinMain: attached, and with its message queue, so that
// wait-idle counts the program as busy until its main thread first waits.
void attachMainThread();
// The attached connection.
ipc::DeviceClient& deviceLink();
// This process's prefix of window handles.
uint32_t ownWindowSlot();

// ---- cross process ----
// Which messages may cross a process boundary. Only the integer values of wParam and lParam
// travel, so a system message whose parameters are pointers cannot; nor may another process
// drive the platform's own controls, whose messages from WM_USER up carry pointers too.
// System messages (below WM_USER) that carry a pointer; they may not be posted either.
bool carriesPointers(UINT message, WPARAM wParam, LPARAM lParam);
// Whether a message that came from another process may reach the window (under the lock).
bool acceptsFromOtherProcess(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// ---- remote messages ----
// Messages between processes, through the device server. Only integers cross.
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

// ---- top level sync ----
// Keeping the server's table of this process's top-level windows current, and handing it
// their surfaces. Called without the lock.
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

// ---- foreign window ----
// Another process's window as the server (top-level windows) or its own process (child
// windows) describes it. Never trusted beyond what it says.
// nullopt with ERROR_INVALID_WINDOW_HANDLE when no such window exists.
std::optional<ipc::WindowRecord> describeForeign(HWND window);

// ---- describe ----
// Answering the server's question about this process's windows (handheld-ctl tree, and other
// processes asking about a child window of ours).
void describeQueried(const ipc::DescribeQuery& query);

// ---- help crossing ----
// WM_HELP between processes: its HELPINFO travels as fields and is rebuilt for the receiving
// window procedure, which sees it as a sent message on the window's thread.

// Sends WM_HELP with the HELPINFO at lParam to another process's window; the answer is not
// waited for (a help request has none). FALSE when lParam is not a HELPINFO.
LRESULT sendHelpToOtherProcess(HWND window, LPARAM lParam);
// The reader thread's part: runs WM_HELP on the window's thread with a copy of the fields.
void helpFromServer(const ipc::HelpDeliver& delivery);

}  // namespace handheld::user
