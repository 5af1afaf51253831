// The server's side of windows: the table of top-level windows with z-order and activation
// (TopLevelRegistry), the questions processes and automation ask about it, the capture,
// registered message names and the key-state table. Every request is checked: a process
// changes only windows carrying its own window slot.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "info_page.h"
#include "server.h"
#include "windows/user_clients.h"
#include "windows/window_registry.h"

namespace handheld::device {

class WindowService {
 public:
  WindowService(Server& server, InfoPage& info, UserClients& clients, TopLevelRegistry& windows);

  // The top-level window holding the stylus capture, or 0.
  uint32_t captureWindow() const { return capture_; }
  // Called after the table changed (windows added, changed, removed or restacked).
  void onTableChanged(std::function<void()> f) { tableChanged_ = std::move(f); }

 private:
  // Tells the processes on both sides of an activation change, except the one that asked
  // (it applies its own part from the reply).
  void announce(const ipc::ActivationChange& change, const Connection* requester);
  void changed();
  // A record a process may enter or change: its own handle, sane sizes. Fills in its pid.
  bool acceptRecord(const Connection& c, ipc::WindowRecord& record) const;

  Server& server_;
  InfoPage& info_;
  UserClients& clients_;
  TopLevelRegistry& windows_;
  uint32_t capture_ = 0;
  std::function<void()> tableChanged_;
  std::map<std::u16string, uint32_t> messageNames_;  // folded name -> number
  uint32_t nextMessageNumber_ = 0xC000;
};

}  // namespace handheld::device
