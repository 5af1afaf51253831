// The device clock: host time plus an offset, or frozen at a set time (tests). Kept in
// <root>/.device/clock so it survives a restart, and mirrored into the info page. It shows
// the years 1601 to 9999 and stands still at the end of 9999.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "info_page.h"
#include "server.h"
#include "state_saver.h"

namespace handheld::device {

class ClockService {
 public:
  ClockService(Server& server, InfoPage& info);

  int64_t utcNow() const;    // 100 ns since 1601
  int64_t localNow() const;  // device local time in the same unit
  int64_t localToUtc(int64_t local) const;
  bool frozen() const { return frozen_; }
  // Listeners re-plan whatever depends on the device time.
  void onChange(std::function<void()> f) { listeners_.push_back(std::move(f)); }
  void setTimeZoneBias(int32_t minutes);

 private:
  ipc::ClockControl::Reply control(const ipc::ClockControl::Request& request);
  std::optional<os::FileWriteError> setLocal(int64_t local, bool freeze);
  void publish();
  void load();
  std::optional<os::FileWriteError> save() const;

  Server& server_;
  InfoPage& info_;
  int64_t offset_ = 0;     // device UTC - host UTC while running
  int64_t frozenUtc_ = 0;
  bool frozen_ = false;
  int32_t bias_ = 0;
  std::vector<std::function<void()>> listeners_;
  StateSaver saver_;  // after the state it writes
};

}  // namespace handheld::device
