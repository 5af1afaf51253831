// One end of a device socket (AF_UNIX, SOCK_SEQPACKET): whole packets with descriptors.
// A packet is an 8-byte header (op, flags, serial) and a body; bodies above kInlineLimit
// travel in a sealed memfd so no packet is ever larger than the socket accepts.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "ipc/wire.h"
#include "os/unique_fd.h"

namespace handheld::ipc {

enum PacketFlags : uint16_t {
  kReply = 1 << 0,   // answers the request with the same serial
  kLarge = 1 << 1,   // the body is in the first descriptor
  kError = 1 << 2,   // the request was refused as malformed; the body is empty
};

struct Packet {
  uint16_t op = 0;
  uint16_t flags = 0;
  uint32_t serial = 0;
  Bytes body;
  std::vector<os::UniqueFd> fds;
  // The descriptors sent with it could not be taken (this process had none left, or the peer
  // sent more than kMaxFds): `fds` is empty, and so is the body when it came in a memfd.
  bool descriptorsLost = false;
};

inline constexpr size_t kInlineLimit = 48 * 1024;
inline constexpr size_t kMaxBody = 64 * 1024 * 1024;
inline constexpr size_t kMaxFds = 8;

// The bytes and descriptors of one packet, ready for sendmsg.
struct OutgoingPacket {
  Bytes bytes;               // header + inline body
  std::vector<int> fds;      // borrowed, valid until sent
  os::UniqueFd largeBody;    // owned memfd when the body is large
};

// Builds a packet; may create a memfd for a large body. Returns nullopt when the body is
// beyond kMaxBody or there are too many descriptors.
std::optional<OutgoingPacket> buildPacket(uint16_t op, uint16_t flags, uint32_t serial,
                                          WireWriter& writer);

enum class IoResult { Done, WouldBlock, Closed, Failed };

// Sends the whole packet (SOCK_SEQPACKET is all or nothing).
IoResult sendPacket(int socket, const OutgoingPacket& packet);

// Receives one packet. `packet` is filled on Done, also when its descriptors were lost (the
// packet itself is whole; what needs them fails). Malformed framing gives Failed: the caller
// drops the peer.
IoResult receivePacket(int socket, Packet& packet);

// Blocking forms for clients: wait for the socket instead of returning WouldBlock.
// timeoutMs < 0 waits for ever; a time-out gives WouldBlock.
IoResult sendPacketBlocking(int socket, const OutgoingPacket& packet);
IoResult receivePacketBlocking(int socket, Packet& packet, int timeoutMs = -1);

// A connected pair for tests and for handing a socket to a child.
std::optional<std::pair<os::UniqueFd, os::UniqueFd>> socketPair();

}  // namespace handheld::ipc
