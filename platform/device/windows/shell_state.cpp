#include "windows/shell_state.h"

#include <windows.h>

#include <algorithm>

#include "display/key_state.h"

namespace handheld::device {

namespace {

constexpr uint32_t kSerialBits = 20;
constexpr size_t kMaxHotKeys = 256;

}  // namespace

ShellState::ShellState(Server& server, InfoPage& info, UserClients& clients, const TopLevelRegistry& windows)
    : server_(server), info_(info), clients_(clients), windows_(windows) {
  server_.onRequest<ipc::ShellWindowSet>([this](Connection& c, ipc::ShellWindowSet::Request& r) {
    const auto* known = windows_.find(r.handle);
    if (!known || known->pid != c.pid || !owns(c, r.handle))
      return ipc::ShellWindowSet::Reply{ERROR_INVALID_WINDOW_HANDLE};
    const uint32_t mask = r.mask & ipc::kShellStateBits;
    uint32_t& bits = states_[r.handle];
    bits = (bits & ~mask) | (r.state & mask);
    if (!bits) states_.erase(r.handle);
    pushForeground(false);
    return ipc::ShellWindowSet::Reply{0};
  });
  server_.onEvent<ipc::ShellAttach>([this](Connection& c, ipc::ShellAttach&) {
    if (c.kind != ipc::ClientKind::Process) return;
    if (shell_ && shell_ != c.id() && server_.find(shell_))
      server_.log().write("a second shell (process " + std::to_string(c.pid) + ") takes over");
    shell_ = c.id();
    pushForeground(true);
  });
  server_.onRequest<ipc::HotKeyChange>([this](Connection& c, ipc::HotKeyChange::Request& r) {
    if (!owns(c, r.handle)) return ipc::HotKeyChange::Reply{ERROR_INVALID_WINDOW_HANDLE};
    auto same = std::find_if(hotKeys_.begin(), hotKeys_.end(),
                             [&](const HotKey& k) { return k.handle == r.handle && k.id == r.id; });
    if (!r.add) {
      if (same == hotKeys_.end()) return ipc::HotKeyChange::Reply{ERROR_HOTKEY_NOT_REGISTERED};
      hotKeys_.erase(same);
      return ipc::HotKeyChange::Reply{0};
    }
    if (r.key == 0 || r.key > 255) return ipc::HotKeyChange::Reply{ERROR_INVALID_PARAMETER};
    const uint32_t modifiers = r.modifiers & (MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN | MOD_KEYUP);
    // One window per key and modifiers; the same window and id may change its key.
    for (const auto& k : hotKeys_)
      if (k.key == r.key && (k.modifiers & ~MOD_KEYUP) == (modifiers & ~MOD_KEYUP) &&
          !(k.handle == r.handle && k.id == r.id))
        return ipc::HotKeyChange::Reply{ERROR_HOTKEY_ALREADY_REGISTERED};
    if (same != hotKeys_.end()) {
      same->modifiers = modifiers;
      same->key = r.key;
      return ipc::HotKeyChange::Reply{0};
    }
    if (hotKeys_.size() >= kMaxHotKeys) return ipc::HotKeyChange::Reply{ERROR_NOT_ENOUGH_QUOTA};
    hotKeys_.push_back({r.handle, c.pid, r.id, modifiers, r.key, windows_.find(r.handle) != nullptr});
    return ipc::HotKeyChange::Reply{0};
  });
  server_.onEvent<ipc::HelpSend>([this](Connection&, ipc::HelpSend& e) {
    if (auto owner = clients_.ownerOf(e.help.handle)) clients_.deliver(*owner, ipc::HelpDeliver{e.help});
  });
  server_.onDisconnect([this](Connection& c) {
    if (c.id() == shell_) {
      shell_ = 0;
      lastPushed_.reset();
    }
    if (c.kind != ipc::ClientKind::Process) return;
    std::erase_if(hotKeys_, [&](const HotKey& k) { return k.pid == c.pid; });
  });
}

bool ShellState::owns(const Connection& c, uint32_t handle) const {
  return c.kind == ipc::ClientKind::Process && c.windowSlot != 0 && (handle >> kSerialBits) == c.windowSlot &&
         (handle & ((1u << kSerialBits) - 1)) != 0;
}

void ShellState::tableChanged() {
  std::erase_if(states_, [&](const auto& entry) { return windows_.find(entry.first) == nullptr; });
  // A child window's hot key stays until its process ends: the server does not see it go.
  std::erase_if(hotKeys_, [&](const HotKey& k) { return k.topLevel && windows_.find(k.handle) == nullptr; });
  pushForeground(false);
}

uint32_t ShellState::heldModifiers() const {
  KeyStateTable keys(info_.page());
  uint32_t held = 0;
  if (keys.down(VK_MENU)) held |= MOD_ALT;
  if (keys.down(VK_CONTROL)) held |= MOD_CONTROL;
  if (keys.down(VK_SHIFT)) held |= MOD_SHIFT;
  return held;
}

bool ShellState::takeKey(const KeyInput& input) {
  if (input.key == 0) return false;
  const uint32_t held = heldModifiers();
  for (const auto& k : hotKeys_) {
    if (k.key != input.key || (k.modifiers & ~(MOD_KEYUP | MOD_WIN)) != held) continue;
    // The key belongs to the hot key both ways; it fires once, on its chosen edge.
    const bool fires = (k.modifiers & MOD_KEYUP) ? !input.down : (input.down && !input.repeat);
    if (fires) {
      // Posted, as a key is; not counted against the queue's quota (no thread named).
      if (auto owner = clients_.ownerOf(k.handle)) {
        const auto lParam = static_cast<int64_t>((k.key << 16) | (k.modifiers & 0xFFFF));
        clients_.deliver(*owner, ipc::MessageDeliver{0, ipc::Delivery::Post, k.handle, 0, WM_HOTKEY,
                                                     static_cast<uint64_t>(static_cast<uint32_t>(k.id)), lParam});
      }
    }
    return true;
  }
  return false;
}

void ShellState::pushForeground(bool always) {
  if (!shell_) return;
  auto shell = server_.find(shell_);
  if (!shell) {
    shell_ = 0;
    return;
  }
  ipc::ShellForeground notice;
  notice.handle = windows_.foreground();
  if (const auto* window = windows_.find(notice.handle)) {
    notice.pid = window->pid;
    notice.title = window->text;
    auto it = states_.find(notice.handle);
    notice.state = it == states_.end() ? 0 : it->second;
  } else {
    notice.handle = 0;
  }
  if (!always && lastPushed_ && lastPushed_->handle == notice.handle && lastPushed_->title == notice.title &&
      lastPushed_->state == notice.state && lastPushed_->pid == notice.pid)
    return;
  lastPushed_ = notice;
  clients_.deliver(*shell, notice);
}

}  // namespace handheld::device
