#include "log.h"

#include <ctime>
#include <string>

namespace handheld::device {

Log::~Log() {
  if (file_) std::fclose(file_);
}

bool Log::open(const std::filesystem::path& file, bool alsoStderr) {
  alsoStderr_ = alsoStderr;
  file_ = std::fopen(file.c_str(), "ae");
  return file_ != nullptr;
}

int Log::fd() const { return file_ ? fileno(file_) : -1; }

void Log::write(std::string_view line) {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &tm);
  if (file_) {
    std::fprintf(file_, "%s %.*s\n", stamp, static_cast<int>(line.size()), line.data());
    std::fflush(file_);
  }
  if (alsoStderr_) std::fprintf(stderr, "handheld-device: %.*s\n", static_cast<int>(line.size()), line.data());
}

}  // namespace handheld::device
