#include "clipboard_service.h"

#include <algorithm>

#include "winerror.h"

namespace handheld::device {

namespace {

// Formats are 16-bit numbers: the standard ones and those registered from 0xC000.
constexpr uint32_t kLastFormat = 0xFFFF;

}  // namespace

ClipboardService::ClipboardService(Server& server, ProcessService& processes, UserClients& clients)
    : clients_(clients) {
  server.onRequest<ipc::ClipboardOpen>([this](Connection& c, ipc::ClipboardOpen::Request& r) {
    if (r.window != 0) {
      auto owner = clients_.ownerOf(r.window);
      if (!owner || owner->id() != c.id()) return ipc::ClipboardOpen::Reply{ERROR_INVALID_WINDOW_HANDLE};
    }
    if (opener_ && !openBy(c, r.threadId)) return ipc::ClipboardOpen::Reply{ERROR_ACCESS_DENIED};
    opener_ = Opener{c.id(), c.pid, r.threadId, r.window};
    return ipc::ClipboardOpen::Reply{0};
  });
  server.onRequest<ipc::ClipboardClose>([this](Connection& c, ipc::ClipboardClose::Request& r) {
    if (!openBy(c, r.threadId)) return ipc::ClipboardClose::Reply{ERROR_CLIPBOARD_NOT_OPEN};
    opener_.reset();
    return ipc::ClipboardClose::Reply{0};
  });
  server.onRequest<ipc::ClipboardEmpty>([this](Connection& c, ipc::ClipboardEmpty::Request& r) {
    if (!openBy(c, r.threadId)) return ipc::ClipboardEmpty::Reply{ERROR_CLIPBOARD_NOT_OPEN};
    formats_.clear();
    totalBytes_ = 0;
    owner_ = opener_->window;
    ownerConnection_ = owner_ ? c.id() : 0;
    ownerPid_ = owner_ ? c.pid : 0;
    return ipc::ClipboardEmpty::Reply{0};
  });
  server.onRequest<ipc::ClipboardPut>([this](Connection& c, ipc::ClipboardPut::Request& r) {
    if (!openBy(c, r.threadId)) return ipc::ClipboardPut::Reply{ERROR_CLIPBOARD_NOT_OPEN};
    return ipc::ClipboardPut::Reply{put(r.format, std::move(r.data))};
  });
  server.onRequest<ipc::ClipboardTake>([this](Connection& c, ipc::ClipboardTake::Request& r) {
    if (!openBy(c, r.threadId)) return ipc::ClipboardTake::Reply{ERROR_CLIPBOARD_NOT_OPEN, {}};
    auto it = std::find_if(formats_.begin(), formats_.end(), [&](const auto& f) { return f.first == r.format; });
    if (it == formats_.end()) return ipc::ClipboardTake::Reply{ERROR_NOT_FOUND, {}};
    return ipc::ClipboardTake::Reply{0, it->second};
  });
  server.onRequest<ipc::ClipboardState>([this](Connection& c, ipc::ClipboardState::Request& r) {
    ipc::ClipboardState::Reply reply;
    for (const auto& entry : formats_) reply.formats.push_back(entry.first);
    reply.owner = owner_;
    reply.openByCaller = openBy(c, r.threadId);
    return reply;
  });
  server.onDisconnect([this](Connection& c) { processGone(c.id(), 0); });
  // A waiter told of a process's end asks next: by then its hold is gone too.
  processes.onExit([this](uint32_t pid) { processGone(0, pid); });
}

void ClipboardService::processGone(uint64_t connection, uint32_t pid) {
  auto matches = [&](uint64_t c, uint32_t p) { return (connection && c == connection) || (pid && p == pid); };
  if (opener_ && matches(opener_->connection, opener_->pid)) opener_.reset();
  if (owner_ && matches(ownerConnection_, ownerPid_)) {
    owner_ = 0;
    ownerConnection_ = 0;
    ownerPid_ = 0;
  }
}

bool ClipboardService::openBy(const Connection& c, uint32_t threadId) const {
  return opener_ && opener_->connection == c.id() && opener_->threadId == threadId;
}

uint32_t ClipboardService::put(uint32_t format, ipc::Bytes data) {
  if (format == 0 || format > kLastFormat) return ERROR_INVALID_PARAMETER;
  if (data.size() > ipc::kMaxClipboardFormatBytes) return ERROR_NOT_ENOUGH_QUOTA;
  auto it = std::find_if(formats_.begin(), formats_.end(), [&](const auto& f) { return f.first == format; });
  const size_t replaced = it == formats_.end() ? 0 : it->second.size();
  if (totalBytes_ - replaced + data.size() > ipc::kMaxClipboardBytes) return ERROR_NOT_ENOUGH_QUOTA;
  if (it == formats_.end() && formats_.size() >= ipc::kMaxClipboardFormats) return ERROR_NOT_ENOUGH_QUOTA;
  totalBytes_ = totalBytes_ - replaced + data.size();
  if (it == formats_.end()) {
    formats_.emplace_back(format, std::move(data));
  } else {
    it->second = std::move(data);
  }
  return 0;
}

}  // namespace handheld::device
