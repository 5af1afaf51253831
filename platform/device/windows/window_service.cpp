#include "windows/window_service.h"

#include "display/key_state.h"
#include "strings/case_fold.h"
#include "winerror.h"

namespace handheld::device {

namespace {

constexpr uint32_t kSerialBits = 20;

bool ownsHandle(const Connection& c, uint32_t handle) {
  return c.kind == ipc::ClientKind::Process && c.windowSlot != 0 && (handle >> kSerialBits) == c.windowSlot &&
         (handle & ((1u << kSerialBits) - 1)) != 0;
}

std::u16string folded(const std::u16string& name) {
  std::u16string result = name;
  for (char16_t& unit : result) unit = strings::foldCase(unit);
  return result;
}

}  // namespace

WindowService::WindowService(Server& server, InfoPage& info, UserClients& clients, TopLevelRegistry& windows)
    : server_(server), info_(info), clients_(clients), windows_(windows) {
  server_.onRequest<ipc::WindowAdd>([this](Connection& c, ipc::WindowAdd::Request& r) {
    if (!acceptRecord(c, r.window)) return ipc::WindowAdd::Reply{ERROR_INVALID_PARAMETER};
    const uint32_t error = windows_.add(std::move(r.window));
    if (!error) changed();
    return ipc::WindowAdd::Reply{error};
  });
  server_.onRequest<ipc::WindowChange>([this](Connection& c, ipc::WindowChange::Request& r) {
    const auto* known = windows_.find(r.window.handle);
    if (!known || known->pid != c.pid || !acceptRecord(c, r.window))
      return ipc::WindowChange::Reply{ERROR_INVALID_WINDOW_HANDLE, {}};
    auto change = windows_.change(r.window);
    announce(change, &c);
    changed();
    return ipc::WindowChange::Reply{0, change};
  });
  server_.onRequest<ipc::WindowRemove>([this](Connection& c, ipc::WindowRemove::Request& r) {
    const auto* known = windows_.find(r.handle);
    if (!known || !ownsHandle(c, r.handle)) return ipc::WindowRemove::Reply{ERROR_INVALID_WINDOW_HANDLE, {}};
    if (capture_ == r.handle) capture_ = 0;
    auto change = windows_.remove(r.handle);
    announce(change, &c);
    changed();
    return ipc::WindowRemove::Reply{0, change};
  });
  server_.onRequest<ipc::WindowArrange>([this](Connection& c, ipc::WindowArrange::Request& r) {
    auto change = windows_.arrange(r.handle, r.insertAfter, r.raise, r.activate);
    if (!change) return ipc::WindowArrange::Reply{ERROR_INVALID_WINDOW_HANDLE, {}};
    announce(*change, &c);
    changed();
    return ipc::WindowArrange::Reply{0, *change};
  });
  server_.onRequest<ipc::WindowList>([this](Connection&, ipc::WindowList::Request&) {
    return ipc::WindowList::Reply{windows_.frontToBack(), windows_.foreground()};
  });
  server_.onRequest<ipc::WindowFind>([this](Connection&, ipc::WindowFind::Request& r) {
    return ipc::WindowFind::Reply{windows_.findMatching(r.matchClass ? &r.className : nullptr,
                                                        r.matchText ? &r.text : nullptr, r.after)};
  });
  server_.onRequest<ipc::WindowAtPoint>([this](Connection&, ipc::WindowAtPoint::Request& r) {
    return ipc::WindowAtPoint::Reply{windows_.atPoint(r.x, r.y)};
  });
  server_.onRequest<ipc::ForegroundGet>([this](Connection&, ipc::ForegroundGet::Request&) {
    return ipc::ForegroundGet::Reply{windows_.foreground()};
  });
  server_.onEvent<ipc::CaptureSet>([this](Connection& c, ipc::CaptureSet& e) {
    if (e.handle == 0 || (ownsHandle(c, e.handle) && windows_.find(e.handle))) capture_ = e.handle;
  });
  server_.onRequest<ipc::MessageNameRegister>([this](Connection&, ipc::MessageNameRegister::Request& r) {
    if (r.name.empty() || r.name.size() > ipc::kMaxClassNameLength) return ipc::MessageNameRegister::Reply{0};
    auto key = folded(r.name);
    auto it = messageNames_.find(key);
    if (it != messageNames_.end()) return ipc::MessageNameRegister::Reply{it->second};
    if (nextMessageNumber_ > 0xFFFF) return ipc::MessageNameRegister::Reply{0};
    messageNames_.emplace(std::move(key), nextMessageNumber_);
    return ipc::MessageNameRegister::Reply{nextMessageNumber_++};
  });
  server_.onRequest<ipc::KeyStateSet>([this](Connection&, ipc::KeyStateSet::Request& r) {
    if (r.key == 0 || r.key > 255) return ipc::KeyStateSet::Reply{ERROR_INVALID_PARAMETER};
    KeyStateTable keys(info_.page());
    if (r.down) keys.press(static_cast<uint8_t>(r.key));
    else keys.release(static_cast<uint8_t>(r.key));
    return ipc::KeyStateSet::Reply{0};
  });
  server_.onDisconnect([this](Connection& c) {
    if (c.kind != ipc::ClientKind::Process) return;
    if (const auto* held = windows_.find(capture_); held && held->pid == c.pid) capture_ = 0;
    announce(windows_.removeProcess(c.pid), &c);
    changed();
  });
}

bool WindowService::acceptRecord(const Connection& c, ipc::WindowRecord& record) const {
  if (!ownsHandle(c, record.handle) || record.parent != 0 ||
      record.className.size() > ipc::kMaxClassNameLength)
    return false;
  if (record.text.size() > ipc::kMaxWindowTextOnServer) record.text.resize(ipc::kMaxWindowTextOnServer);
  record.pid = c.pid;
  return true;
}

void WindowService::changed() {
  if (tableChanged_) tableChanged_();
}

void WindowService::announce(const ipc::ActivationChange& change, const Connection* requester) {
  if (change.lost) {
    auto c = clients_.ownerOf(change.lost);
    if (c && c.get() != requester) clients_.deliver(*c, ipc::ActivationNotice{change.lost, false, change.gained});
  }
  if (change.gained) {
    auto c = clients_.ownerOf(change.gained);
    if (c && c.get() != requester) clients_.deliver(*c, ipc::ActivationNotice{change.gained, true, change.lost});
  }
}

}  // namespace handheld::device
