// The device's one input panel: up or down, locked or not, and each top-level window's own
// wish for it. A window's wish is the panel's state when the window last lost the activation,
// or what it asked for since (SHSipPreference); it is applied whenever the window becomes
// the active one again. Every change of the panel is announced to all top-level windows.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>

#include "info_page.h"
#include "server.h"
#include "windows/window_registry.h"

namespace handheld::device {

class InputPanelService {
 public:
  // announce(): tells every top-level window that the panel changed.
  InputPanelService(Server& server, InfoPage& info, const TopLevelRegistry& windows,
                    std::function<void()> announce);

  // After any change of the window table: forgets windows that went, and follows the
  // activation.
  void tableChanged();

  bool up() const { return up_; }

 private:
  void setUp(bool up);

  Server& server_;
  InfoPage& info_;
  const TopLevelRegistry& windows_;
  std::function<void()> announce_;
  bool up_ = false;
  bool locked_ = false;
  uint32_t foreground_ = 0;
  std::map<uint32_t, bool> wishes_;  // window -> panel up
  std::set<uint32_t> inputDialogs_;  // windows whose fields never lower the panel
};

}  // namespace handheld::device
