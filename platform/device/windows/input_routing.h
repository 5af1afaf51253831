// Where routed input goes: the stylus to the top-level window holding the capture, else to
// the one under the point; keys to the foreground window. The owning process takes it from
// there (the child under the point, the focus window) as InputDeliver.
#pragma once

#include <functional>

#include "display/input_router.h"
#include "windows/user_clients.h"
#include "windows/window_registry.h"
#include "windows/window_service.h"

namespace handheld::device {

class InputRouting final : public InputRouter {
 public:
  InputRouting(UserClients& clients, const TopLevelRegistry& windows, const WindowService& service)
      : clients_(clients), windows_(windows), service_(service) {}

  void stylus(const StylusInput& input) override;
  void key(const KeyInput& input) override;
  // Sees every key first; a key it takes (a hot key) goes nowhere else.
  void setKeyFilter(std::function<bool(const KeyInput&)> filter) { keyFilter_ = std::move(filter); }

 private:
  void deliver(const ipc::InputDeliver& input);

  UserClients& clients_;
  const TopLevelRegistry& windows_;
  const WindowService& service_;
  std::function<bool(const KeyInput&)> keyFilter_;
};

}  // namespace handheld::device
