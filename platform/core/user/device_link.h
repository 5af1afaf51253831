// The window side of this process's connection to the device server: attached once, before
// anything can be routed here.
#pragma once

#include <cstdint>

#include "ipc/client.h"

namespace handheld::user {

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

}  // namespace handheld::user
