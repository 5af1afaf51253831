// A synchronous client of a device's automation endpoint, for handheld-ctl and the tests.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "ipc/channel.h"
#include "ipc/protocol.h"

namespace handheld::automation {

class AutomationClient {
 public:
  // Connects to the device on root; nullopt with a reason a person can act on. `noDevice`,
  // when given, is set when nothing listens on the root at all.
  static std::optional<AutomationClient> connect(const std::filesystem::path& root, std::string& error,
                                                 bool* noDevice = nullptr);

  // One request and its reply; nullopt when the device refused it or went away.
  template <ipc::ClientRequest M>
  std::optional<typename M::Reply> call(const typename M::Request& request) {
    ipc::WireWriter writer;
    ipc::encode(writer, request);
    auto packet = roundTrip(static_cast<uint16_t>(M::op), writer);
    if (!packet || (packet->flags & ipc::kError)) return std::nullopt;
    typename M::Reply reply;
    if (!ipc::decode(packet->body.data(), packet->body.size(), &packet->fds, reply)) return std::nullopt;
    return reply;
  }

 private:
  explicit AutomationClient(os::UniqueFd socket) : socket_(std::move(socket)) {}
  std::optional<ipc::Packet> roundTrip(uint16_t op, ipc::WireWriter& writer);

  os::UniqueFd socket_;
  uint32_t nextSerial_ = 1;
};

}  // namespace handheld::automation
