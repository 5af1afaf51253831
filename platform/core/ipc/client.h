// A device process's connection to its device server: one socket per process, written by
// any thread (whole packets under a lock) and read by one reader thread that hands replies
// to the threads waiting for them and server pushes to their handlers.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>

#include "ipc/channel.h"
#include "ipc/device_info_page.h"
#include "ipc/protocol.h"
#include "winerror.h"

namespace handheld::ipc {

class DeviceClient {
 public:
  // The process's connection, made on first use. A process that finds no device server
  // prints why and exits: nothing of the device works without it.
  static DeviceClient& get();
  // The connection if one can be made, without exiting; for code that must work without a
  // device (e.g. formatting the clock when there is none).
  static DeviceClient* tryGet();
  // The connection if this process has made one already; never connects.
  static DeviceClient* current();

  // The device is about to go away on purpose (a test stopping its device): when the
  // connection ends, end the reader quietly instead of ending the process.
  void expectDisconnect() { disconnectExpected_ = true; }

  // Sends a request and waits for its reply; nullopt when the server refused it as malformed.
  // A reply whose descriptors this process had no room for fails with
  // ERROR_TOO_MANY_OPEN_FILES, its other fields kept (so that what the server granted, such
  // as an object reference, can be given back).
  template <ClientRequest M>
  std::optional<typename M::Reply> call(const typename M::Request& request) {
    WireWriter writer;
    encode(writer, request);
    auto packet = roundTrip(static_cast<uint16_t>(M::op), writer);
    if (!packet || (packet->flags & kError)) return std::nullopt;
    typename M::Reply reply;
    if (!decode(packet->body.data(), packet->body.size(), &packet->fds, reply, packet->descriptorsLost))
      return std::nullopt;
    if constexpr (requires { reply.error; }) {
      if (packet->descriptorsLost && reply.error == 0) reply.error = ERROR_TOO_MANY_OPEN_FILES;
    }
    return reply;
  }
  // Sends a message that has no reply.
  template <ClientNotice E>
  void notify(const E& event) {
    WireWriter writer;
    encode(writer, event);
    sendRaw(static_cast<uint16_t>(E::op), 0, 0, writer);
  }
  // The handler of what the server pushes as E; it runs on the reader thread and must not
  // block. A push that does not decode is dropped.
  template <ServerPush E>
  void onPush(std::function<void(E&)> handler) {
    onPushPacket(E::op, [handler = std::move(handler)](Packet& packet) {
      E event;
      if (decode(packet.body.data(), packet.body.size(), &packet.fds, event)) handler(event);
    });
  }

  const DeviceInfoPage& info() const { return *info_; }
  uint32_t windowSlot() const { return windowSlot_; }
  const std::u16string& modulePath() const { return modulePath_; }
  const std::u16string& commandLine() const { return commandLine_; }

  DeviceClient(const DeviceClient&) = delete;
  DeviceClient& operator=(const DeviceClient&) = delete;

 private:
  DeviceClient() = default;
  static DeviceClient* connectOnce(std::string& error);
  bool connect(std::string& error);
  void onPushPacket(Op op, std::function<void(Packet&)> handler);
  std::optional<Packet> roundTrip(uint16_t op, WireWriter& writer);
  bool sendRaw(uint16_t op, uint16_t flags, uint32_t serial, WireWriter& writer);
  void readLoop();
  void lost();

  os::UniqueFd socket_;
  std::mutex sendLock_;
  std::mutex pendingLock_;
  std::condition_variable replied_;
  uint32_t nextSerial_ = 1;
  std::unordered_map<uint32_t, std::optional<Packet>> pending_;
  std::mutex pushLock_;
  std::unordered_map<uint16_t, std::function<void(Packet&)>> pushHandlers_;
  const DeviceInfoPage* info_ = nullptr;
  uint32_t windowSlot_ = 0;
  std::u16string modulePath_;
  std::u16string commandLine_;
  std::thread reader_;
  std::atomic<bool> disconnectExpected_{false};
  bool closed_ = false;  // guarded by pendingLock_
};

}  // namespace handheld::ipc
