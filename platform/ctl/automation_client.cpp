#include "automation_client.h"

#include "ipc/connect.h"

namespace handheld::automation {

std::optional<AutomationClient> AutomationClient::connect(const std::filesystem::path& root,
                                                          std::string& error, bool* noDevice) {
  auto greeting = ipc::connectToDevice(root, ipc::ClientKind::Automation, error, noDevice);
  if (!greeting) return std::nullopt;
  return AutomationClient(std::move(greeting->socket));
}

std::optional<ipc::Packet> AutomationClient::roundTrip(uint16_t op, ipc::WireWriter& writer) {
  uint32_t serial = nextSerial_++;
  auto packet = ipc::buildPacket(op, 0, serial, writer);
  if (!packet || ipc::sendPacketBlocking(socket_.get(), *packet) != ipc::IoResult::Done) return std::nullopt;
  for (;;) {
    ipc::Packet answer;
    if (ipc::receivePacketBlocking(socket_.get(), answer) != ipc::IoResult::Done) return std::nullopt;
    if ((answer.flags & ipc::kReply) && answer.serial == serial) return answer;
    // Anything else the device pushes is not for an automation client: skip it.
  }
}

}  // namespace handheld::automation
