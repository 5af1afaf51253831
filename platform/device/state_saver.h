// Keeps one piece of device state (registry, clock, notifications) saved, and does not give
// up when the disk refuses: a failed save is logged once, stays pending and is tried again
// after a growing pause (1 s up to 30 s) and at every later change or flush, until it
// succeeds, which is logged too. Nothing is tried while everything is saved.
//
// It saves what is unsaved when destroyed, so its owner declares it after the state it writes.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "event_loop.h"
#include "log.h"
#include "os/atomic_file.h"

namespace handheld::device {

class StateSaver {
 public:
  // Writes the current state; nothing on success.
  using Write = std::function<std::optional<os::FileWriteError>()>;

  StateSaver(EventLoop& loop, Log& log, std::string what, Write write);
  ~StateSaver();
  StateSaver(const StateSaver&) = delete;
  StateSaver& operator=(const StateSaver&) = delete;

  // The state changed: it is saved after `delay`, with whatever else changes meanwhile.
  void saveLater(std::chrono::milliseconds delay);
  // The state changed: it is saved now.
  std::optional<os::FileWriteError> saveNow();
  // Saves now if anything is unsaved.
  std::optional<os::FileWriteError> flush();

 private:
  void schedule(std::chrono::milliseconds delay);

  EventLoop& loop_;
  Log& log_;
  std::string what_;
  Write write_;
  bool unsaved_ = false;
  int failures_ = 0;  // attempts in a row that failed
  EventLoop::TimerId timer_ = 0;
};

}  // namespace handheld::device
