// Named kernel objects, shared by every process of the device. The device client provides
// them through the device server.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "kernel/sync/event_object.h"

namespace handheld::kernel {

// Creates the device-wide event called name (1 to MAX_PATH code units), or opens it when it
// exists, in which case manualReset and initialState are ignored. The caller clears the last
// error first; on success this sets ERROR_ALREADY_EXISTS when the event existed. On failure it
// returns null with the last error set.
std::shared_ptr<EventObject> openNamedEvent(std::u16string_view name, bool manualReset,
                                            bool initialState);

// PulseEvent's part for the waits on a named event in the other processes holding it; returns
// once the device has offered the pulse to them.
void pulseInOtherProcesses(uint64_t objectId);

}  // namespace handheld::kernel
