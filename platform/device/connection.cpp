#include "connection.h"

#include <fcntl.h>
#include <unistd.h>

namespace handheld::device {

// A client that stops reading may not make the server hoard memory for it.
constexpr size_t kMaxQueuedPackets = 4096;

void Connection::refuse(uint16_t op, uint32_t serial) {
  ipc::WireWriter writer;
  enqueue(op, ipc::kReply | ipc::kError, serial, writer);
}

void Connection::enqueue(uint16_t op, uint16_t flags, uint32_t serial, ipc::WireWriter& writer) {
  if (broken_) return;
  Queued queued;
  // The writer only borrows descriptors; duplicate them so the packet owns what it sends.
  for (int& fd : writer.fds()) {
    queued.keepAlive.emplace_back(fcntl(fd, F_DUPFD_CLOEXEC, 0));
    if (!queued.keepAlive.back()) {
      // Out of descriptors: the request fails, the client stays.
      if (flags & ipc::kReply) refuse(op, serial);
      return;
    }
    fd = queued.keepAlive.back().get();
  }
  auto packet = ipc::buildPacket(op, flags, serial, writer);
  if (!packet || outgoing_.size() >= kMaxQueuedPackets) {
    broken_ = true;
    if (onBacklog) onBacklog();
    return;
  }
  queued.packet = std::move(*packet);
  outgoing_.push_back(std::move(queued));
  flush();
  if ((broken_ || !outgoing_.empty()) && onBacklog) onBacklog();
}

bool Connection::flush() {
  while (!outgoing_.empty() && !broken_) {
    auto result = ipc::sendPacket(socket_.get(), outgoing_.front().packet);
    if (result == ipc::IoResult::WouldBlock) return true;
    if (result != ipc::IoResult::Done) {
      broken_ = true;
      break;
    }
    outgoing_.pop_front();
  }
  return !broken_;
}

}  // namespace handheld::device
