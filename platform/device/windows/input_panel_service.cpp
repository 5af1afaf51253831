#include "windows/input_panel_service.h"

#include <iterator>

#include "winerror.h"

namespace handheld::device {

InputPanelService::InputPanelService(Server& server, InfoPage& info, const TopLevelRegistry& windows,
                                     std::function<void()> announce)
    : server_(server), info_(info), windows_(windows), announce_(std::move(announce)) {
  server_.onRequest<ipc::InputPanelGet>([this](Connection&, ipc::InputPanelGet::Request&) {
    const auto settings = ipc::readSettings(info_.page());
    const auto layout = ipc::panelLayout(settings.screenWidth, settings.screenHeight, settings.border);
    const ipc::PanelRect& visible = up_ ? layout.visibleUp : layout.visibleDown;
    ipc::InputPanelGet::Reply reply;
    reply.flags = ipc::kPanelDocked | (up_ ? ipc::kPanelOn : 0) | (locked_ ? ipc::kPanelLocked : 0);
    reply.visibleLeft = visible.left;
    reply.visibleTop = visible.top;
    reply.visibleRight = visible.right;
    reply.visibleBottom = visible.bottom;
    reply.panelLeft = layout.panel.left;
    reply.panelTop = layout.panel.top;
    reply.panelRight = layout.panel.right;
    reply.panelBottom = layout.panel.bottom;
    return reply;
  });

  server_.onRequest<ipc::InputPanelSet>([this](Connection&, ipc::InputPanelSet::Request& r) {
    constexpr uint32_t known = ipc::kPanelOn | ipc::kPanelDocked | ipc::kPanelLocked;
    if (r.flags & ~known) return ipc::InputPanelSet::Reply{ERROR_INVALID_PARAMETER};
    locked_ = (r.flags & ipc::kPanelLocked) != 0;
    setUp((r.flags & ipc::kPanelOn) != 0);
    return ipc::InputPanelSet::Reply{0};
  });

  server_.onRequest<ipc::InputPanelPrefer>([this](Connection& c, ipc::InputPanelPrefer::Request& r) {
    const auto* window = windows_.find(r.window);
    if (!window || window->pid != c.pid) return ipc::InputPanelPrefer::Reply{ERROR_INVALID_WINDOW_HANDLE};
    switch (r.wish) {
      case ipc::PanelWish::Up:
        wishes_[r.window] = true;
        setUp(true);
        break;
      case ipc::PanelWish::Down:
        // In an input dialog moving between fields keeps the panel where the user put it.
        if (inputDialogs_.contains(r.window)) break;
        [[fallthrough]];
      case ipc::PanelWish::ForceDown:
        wishes_[r.window] = false;
        setUp(false);
        break;
      case ipc::PanelWish::Unchanged:
        break;
      case ipc::PanelWish::InputDialog:
        inputDialogs_.insert(r.window);
        break;
      default:
        return ipc::InputPanelPrefer::Reply{ERROR_INVALID_PARAMETER};
    }
    return ipc::InputPanelPrefer::Reply{0};
  });
}

void InputPanelService::tableChanged() {
  std::erase_if(wishes_, [this](const auto& wish) { return !windows_.find(wish.first); });
  std::erase_if(inputDialogs_, [this](uint32_t window) { return !windows_.find(window); });
  const uint32_t foreground = windows_.foreground();
  if (foreground == foreground_) return;
  if (foreground_ && windows_.find(foreground_)) wishes_[foreground_] = up_;
  foreground_ = foreground;
  if (auto it = wishes_.find(foreground); it != wishes_.end()) setUp(it->second);
}

void InputPanelService::setUp(bool up) {
  if (up == up_) return;
  up_ = up;
  server_.log().write(up ? "input panel up" : "input panel down");
  if (announce_) announce_();
}

}  // namespace handheld::device
