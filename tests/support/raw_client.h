// A connection to a device made by hand, packet by packet: for tests that break the protocol's
// rules or go through every operation.
#pragma once

#include <filesystem>
#include <optional>

#include "ipc/channel.h"
#include "ipc/protocol.h"
#include "os/unique_fd.h"

namespace handheld::testing::raw {

// Connected to the device on root, not greeted.
os::UniqueFd connect(const std::filesystem::path& root);
// Connected and greeted; adds a test failure when the greeting is refused.
os::UniqueFd greeted(const std::filesystem::path& root, ipc::ClientKind kind = ipc::ClientKind::Automation,
                     uint32_t pid = 0);

void send(int socket, uint16_t op, uint32_t serial, const ipc::Bytes& body, uint16_t flags = 0);

template <class M>
void send(int socket, uint32_t serial, const typename M::Request& request, uint16_t flags = 0) {
  ipc::WireWriter writer;
  ipc::encode(writer, request);
  send(socket, static_cast<uint16_t>(M::op), serial, writer.bytes(), flags);
}
template <class M>
void sendMessage(int socket, const M& message) {
  ipc::WireWriter writer;
  ipc::encode(writer, message);
  send(socket, static_cast<uint16_t>(M::op), 0, writer.bytes());
}

// The reply with that serial, skipping any other packet; nullopt when none comes in time or
// the connection ends.
std::optional<ipc::Packet> replyTo(int socket, uint32_t serial, int timeoutMs = 5000);
// The first reply of any serial; nullopt as above.
std::optional<ipc::Packet> nextReply(int socket, int timeoutMs = 5000);

inline bool refused(const std::optional<ipc::Packet>& reply) { return reply && (reply->flags & ipc::kError); }

}  // namespace handheld::testing::raw
