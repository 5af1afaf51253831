#include "device.h"

#include <unistd.h>

#include "winerror.h"

namespace handheld::device {

namespace {
constexpr uint32_t kWindowSlots = 4096;  // window handles carry the slot in 12 bits
}

Device::Device(DeviceOptions options, Log& log)
    : options_(std::move(options)),
      log_(log),
      server_(options_.root, log_),
      clock_(server_, info_),
      registry_(server_, info_, clock_),
      objects_(server_),
      processes_(server_),
      notifications_(server_, clock_, processes_),
      display_(server_, info_, {options_.headless, options_.screen, options_.scale}),
      windows_(server_, info_, processes_, display_),
      clipboard_(server_, processes_, windows_.clients()),
      startup_(server_, processes_, registry_.store()),
      sound_(server_),
      slotsInUse_(kWindowSlots, false) {
  slotsInUse_[0] = true;  // slot 0 would make handle values that look like nothing
  server_.onHello([this](Connection& c, ipc::Hello::Reply& reply) {
    reply.infoPage.fd = info_.share();
    if (c.kind == ipc::ClientKind::Process) {
      c.windowSlot = allocateWindowSlot();
      reply.windowSlot = c.windowSlot;
      if (c.windowSlot == 0) reply.error = ERROR_NOT_ENOUGH_QUOTA;
    }
  });
  display_.onClosed([this] { requestStop(); });
  clock_.onChange([this] { windows_.announceTimeChange(); });
  server_.onDisconnect([this](Connection& c) {
    if (c.windowSlot) slotsInUse_[c.windowSlot] = false;
  });
  server_.onRequest<ipc::DeviceStatus>([this](Connection&, ipc::DeviceStatus::Request&) {
    ipc::DeviceStatus::Reply reply;
    reply.serverPid = static_cast<uint32_t>(getpid());
    reply.root = options_.root.string();
    reply.display = display_.backendName();
    reply.screen = std::string(display_.mode().name);
    reply.processes = static_cast<uint32_t>(processes_.runningCount());
    return reply;
  });
  server_.onRequest<ipc::DeviceStop>([this](Connection&, ipc::DeviceStop::Request&) {
    // Answer first; the loop ends after this turn.
    server_.loop().addTimer(EventLoop::Clock::now(), [this] { requestStop(); });
    return ipc::DeviceStop::Reply{0};
  });
}

uint32_t Device::allocateWindowSlot() {
  // Round robin, so a stale handle of an ended process rarely names a new process's window.
  for (uint32_t tried = 0; tried < kWindowSlots; ++tried) {
    uint32_t slot = nextSlot_;
    nextSlot_ = nextSlot_ + 1 == kWindowSlots ? 1 : nextSlot_ + 1;
    if (!slotsInUse_[slot]) {
      slotsInUse_[slot] = true;
      return slot;
    }
  }
  return 0;
}

bool Device::start(std::string& error) {
  if (!info_.valid()) {
    error = "cannot create the device info page";
    return false;
  }
  if (!display_.start(error)) return false;
  if (display_.backendName() == std::string_view("sdl")) sound_.useDesktopAudio();
  if (!server_.listen(error)) return false;
  notifications_.replan();  // fires what came due while the device was stopped
  if (options_.startupPrograms) startup_.launchAll();
  return true;
}

void Device::run() { server_.run(); }

void Device::requestStop() {
  processes_.terminateAll();
  server_.stop();
}

}  // namespace handheld::device
