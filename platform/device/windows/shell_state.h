// The window state the shell shows for every process: done button and full-screen bits per
// top-level window, the foreground window pushed to the shell process, and the hot keys that
// take a key away from the foreground window for the window that registered it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "display/input_router.h"
#include "info_page.h"
#include "server.h"
#include "windows/user_clients.h"
#include "windows/window_registry.h"

namespace handheld::device {

class ShellState {
 public:
  ShellState(Server& server, InfoPage& info, UserClients& clients, const TopLevelRegistry& windows);

  // After the window table changed: forget what belonged to windows that went, and tell the
  // shell when the foreground window or its title changed.
  void tableChanged();
  // A key that a hot key claims goes to its window as WM_HOTKEY; true when it was taken.
  bool takeKey(const KeyInput& input);

 private:
  struct HotKey {
    uint32_t handle = 0;
    uint32_t pid = 0;
    int32_t id = 0;
    uint32_t modifiers = 0;
    uint32_t key = 0;
    bool topLevel = false;  // its window is in the table and leaves with it
  };
  // The process owning the handle's window slot asked (top-level or child window).
  bool owns(const Connection& c, uint32_t handle) const;
  uint32_t heldModifiers() const;
  void pushForeground(bool always);

  Server& server_;
  InfoPage& info_;
  UserClients& clients_;
  const TopLevelRegistry& windows_;
  std::map<uint32_t, uint32_t> states_;  // top-level handle -> kShell* bits
  std::vector<HotKey> hotKeys_;
  uint64_t shell_ = 0;  // the shell's connection id, 0: none
  std::optional<ipc::ShellForeground> lastPushed_;
};

}  // namespace handheld::device
