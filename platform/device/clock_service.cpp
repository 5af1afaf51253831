#include "clock_service.h"

#include <chrono>
#include <fstream>

#include "os/atomic_file.h"
#include "os/device_root.h"
#include "winerror.h"

namespace handheld::device {

namespace {
constexpr int64_t kUnixEpochIn1601 = 116444736000000000;
constexpr int64_t kTicksPerMinute = 600000000;
}  // namespace

int64_t hostUtcNow() {
  auto now = std::chrono::system_clock::now().time_since_epoch();
  return kUnixEpochIn1601 + std::chrono::duration_cast<std::chrono::nanoseconds>(now).count() / 100;
}

ClockService::ClockService(Server& server, InfoPage& info) : server_(server), info_(info) {
  load();
  publish();
  server_.onRequest<ipc::ClockGet>([this](Connection&, ipc::ClockGet::Request&) {
    return ipc::ClockGet::Reply{localNow(), frozen_};
  });
  server_.onRequest<ipc::ClockControl>([this](Connection&, ipc::ClockControl::Request& r) {
    switch (r.mode) {
      case ipc::ClockMode::Set: setLocal(r.localTime, frozen_); break;
      case ipc::ClockMode::Freeze: setLocal(r.localTime, true); break;
      case ipc::ClockMode::Run: setLocal(localNow(), false); break;
      default: return ipc::ClockControl::Reply{ERROR_INVALID_PARAMETER};
    }
    return ipc::ClockControl::Reply{0};
  });
}

int64_t ClockService::utcNow() const { return frozen_ ? frozenUtc_ : hostUtcNow() + offset_; }
int64_t ClockService::localNow() const { return utcNow() - bias_ * kTicksPerMinute; }
int64_t ClockService::localToUtc(int64_t local) const { return local + bias_ * kTicksPerMinute; }

void ClockService::setTimeZoneBias(int32_t minutes) {
  if (minutes == bias_) return;
  bias_ = minutes;
  publish();
}

void ClockService::setLocal(int64_t local, bool freeze) {
  int64_t utc = localToUtc(local);
  frozen_ = freeze;
  if (freeze) {
    frozenUtc_ = utc;
  } else {
    offset_ = utc - hostUtcNow();
  }
  save();
  publish();
  server_.log().write(std::string("clock ") + (freeze ? "frozen" : "set"));
}

void ClockService::publish() {
  ipc::writeSettings(info_.page(), [this](ipc::DeviceSettingsBlock& s) {
    s.clockOffset = offset_;
    s.frozenUtc = frozenUtc_;
    s.clockFrozen = frozen_ ? 1 : 0;
    s.timeZoneBias = bias_;
  });
  for (auto& f : listeners_) f();
}

void ClockService::load() {
  std::ifstream in(os::deviceStateFile(server_.root(), "clock"));
  std::string mode;
  int64_t value = 0;
  if (!(in >> mode >> value)) return;  // none yet, or unreadable: the host clock
  if (mode == "frozen") {
    frozen_ = true;
    frozenUtc_ = value;
  } else if (mode == "offset") {
    offset_ = value;
  }
}

void ClockService::save() const {
  std::string text = frozen_ ? "frozen " + std::to_string(frozenUtc_) + "\n"
                             : "offset " + std::to_string(offset_) + "\n";
  os::writeFileAtomically(os::deviceStateFile(server_.root(), "clock"), text);
}

}  // namespace handheld::device
