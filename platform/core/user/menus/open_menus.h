// What the pop-up menus open in this process show, for the describe path (handheld-ctl menu,
// choose and tree). Each tracking publishes a snapshot whenever its menus change.
#pragma once

#include <vector>

#include "ipc/protocol.h"

namespace handheld::user {

// Replaces the items published under `tracking` (empty: withdraws them).
void publishMenuItems(const void* tracking, std::vector<ipc::MenuItemRecord> items);
// The items of every open menu, for windows among `windows`.
std::vector<ipc::MenuItemRecord> openMenuItems(const std::vector<ipc::WindowRecord>& windows);

}  // namespace handheld::user
