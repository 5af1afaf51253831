#include "ipc/client.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "ipc/connect.h"
#include "os/descriptor_limit.h"
#include "os/device_root.h"

namespace handheld::ipc {

namespace {

std::mutex g_connectLock;
DeviceClient* g_client = nullptr;  // never destroyed: the reader thread may outlive main

}  // namespace

DeviceClient* DeviceClient::connectOnce(std::string& error) {
  static std::string failure;  // remembered: a process without a device stays without one
  std::lock_guard guard(g_connectLock);
  if (g_client) return g_client;
  if (!failure.empty()) {
    error = failure;
    return nullptr;
  }
  auto* client = new DeviceClient();
  if (!client->connect(error)) {
    delete client;
    failure = error;
    return nullptr;
  }
  g_client = client;
  g_client->reader_ = std::thread([] { g_client->readLoop(); });
  return g_client;
}

DeviceClient* DeviceClient::current() {
  std::lock_guard guard(g_connectLock);
  return g_client;
}

DeviceClient* DeviceClient::tryGet() {
  std::string error;
  return connectOnce(error);
}

DeviceClient& DeviceClient::get() {
  std::string error;
  if (auto* client = connectOnce(error)) return *client;
  std::fprintf(stderr, "handheld: %s (start it with `handheld-ctl start`, or set HANDHELD_ROOT)\n",
               error.c_str());
  std::_Exit(1);
}

bool DeviceClient::connect(std::string& error) {
  os::raiseDescriptorLimit();
  auto greeting = connectToDevice(os::chooseDeviceRoot(), ClientKind::Process, error);
  if (!greeting) return false;
  void* page = mmap(nullptr, kDeviceInfoPageSize, PROT_READ, MAP_SHARED,
                    greeting->reply.infoPage.fd.get(), 0);
  if (page == MAP_FAILED) {
    error = "cannot map the device info page";
    return false;
  }
  info_ = static_cast<const DeviceInfoPage*>(page);
  if (info_->magic != DeviceInfoPage::kMagic) {
    error = "the device info page is not one";
    return false;
  }
  socket_ = std::move(greeting->socket);
  windowSlot_ = greeting->reply.windowSlot;
  modulePath_ = std::move(greeting->reply.modulePath);
  commandLine_ = std::move(greeting->reply.commandLine);
  return true;
}

void DeviceClient::onPushPacket(Op op, std::function<void(Packet&)> handler) {
  std::lock_guard guard(pushLock_);
  pushHandlers_[static_cast<uint16_t>(op)] = std::move(handler);
}

bool DeviceClient::sendRaw(uint16_t op, uint16_t flags, uint32_t serial, WireWriter& writer) {
  auto packet = buildPacket(op, flags, serial, writer);
  if (!packet) return false;
  std::lock_guard guard(sendLock_);
  return sendPacketBlocking(socket_.get(), *packet) == IoResult::Done;
}

std::optional<Packet> DeviceClient::roundTrip(uint16_t op, WireWriter& writer) {
  uint32_t serial;
  {
    std::lock_guard guard(pendingLock_);
    serial = nextSerial_++;
    if (nextSerial_ == 0) nextSerial_ = 1;
    pending_[serial];
  }
  if (!sendRaw(op, 0, serial, writer)) {
    std::lock_guard guard(pendingLock_);
    pending_.erase(serial);
    return std::nullopt;
  }
  std::unique_lock lock(pendingLock_);
  replied_.wait(lock, [&] { return pending_[serial].has_value() || closed_; });
  auto packet = std::move(pending_[serial]);
  pending_.erase(serial);
  return packet;
}

void DeviceClient::readLoop() {
  for (;;) {
    Packet packet;
    if (receivePacketBlocking(socket_.get(), packet) != IoResult::Done) return lost();
    if (packet.flags & kReply) {
      std::lock_guard guard(pendingLock_);
      auto it = pending_.find(packet.serial);
      if (it == pending_.end()) continue;  // nobody asked: ignore
      it->second = std::move(packet);
      replied_.notify_all();
      continue;
    }
    std::function<void(Packet&)> handler;
    {
      std::lock_guard guard(pushLock_);
      auto it = pushHandlers_.find(packet.op);
      if (it != pushHandlers_.end()) handler = it->second;
    }
    if (handler) handler(packet);
  }
}

void DeviceClient::lost() {
  if (disconnectExpected_) {
    std::lock_guard guard(pendingLock_);
    closed_ = true;
    replied_.notify_all();
    return;
  }
  std::fprintf(stderr, "handheld: lost the connection to the device; ending process %d\n", getpid());
  std::_Exit(1);
}

}  // namespace handheld::ipc
