// The server log: <root>/.device/device.log, one line per event worth knowing later.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string_view>

namespace handheld::device {

class Log {
 public:
  Log() = default;
  Log(const Log&) = delete;
  Log& operator=(const Log&) = delete;
  ~Log();

  bool open(const std::filesystem::path& file, bool alsoStderr);
  void write(std::string_view line);
  // The log file's descriptor, to send a background device's stderr (and its programs') there.
  int fd() const;

 private:
  std::FILE* file_ = nullptr;
  bool alsoStderr_ = false;
};

}  // namespace handheld::device
