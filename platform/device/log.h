// The server log: <root>/.device/device.log, one line per event worth knowing later. It is
// capped: past kDefaultLimit bytes it moves to device.log.1 (replacing the one before) and a
// new device.log begins, so the two never hold much more than twice the cap.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "os/unique_fd.h"

namespace handheld::device {

class Log {
 public:
  static constexpr uint64_t kDefaultLimit = 1024 * 1024;

  explicit Log(uint64_t limitBytes = kDefaultLimit) : limit_(limitBytes) {}
  Log(const Log&) = delete;
  Log& operator=(const Log&) = delete;

  // Opens the log of the root for appending, never through a link and only as a regular file
  // (the root's `.device` must be a folder of its own). false with a reason.
  bool open(const std::filesystem::path& root, bool alsoStderr, std::string& error);
  void write(std::string_view line);
  // Points stdout and stderr at the log, now and after every rotation: a background server's
  // complaints, and those of the programs it starts, land there.
  void captureStdio();

 private:
  void rotate();

  uint64_t limit_;
  os::UniqueFd folder_;
  os::UniqueFd file_;
  bool alsoStderr_ = false;
  bool capturesStdio_ = false;
};

// One failure repeated many times (each damaged line of a file, say): the first few are logged
// as they come, the rest only counted, and one line at the end says how many were left out.
class RepeatedFailures {
 public:
  static constexpr size_t kShown = 5;

  RepeatedFailures(Log& log, std::string what) : log_(log), what_(std::move(what)) {}
  RepeatedFailures(const RepeatedFailures&) = delete;
  RepeatedFailures& operator=(const RepeatedFailures&) = delete;
  ~RepeatedFailures();

  void add(std::string_view line);

 private:
  Log& log_;
  std::string what_;
  size_t count_ = 0;
};

}  // namespace handheld::device
