// The device clock: host time plus an offset, or frozen at a set time (tests). Kept in
// <root>/.device/clock so it survives a restart, and mirrored into the info page.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include "info_page.h"
#include "server.h"

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
  void setLocal(int64_t local, bool freeze);
  void publish();
  void load();
  void save() const;

  Server& server_;
  InfoPage& info_;
  int64_t offset_ = 0;     // device UTC - host UTC while running
  int64_t frozenUtc_ = 0;
  bool frozen_ = false;
  int32_t bias_ = 0;
  std::vector<std::function<void()>> listeners_;
};

int64_t hostUtcNow();

}  // namespace handheld::device
