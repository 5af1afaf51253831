#include "state_saver.h"

#include <algorithm>

namespace handheld::device {

namespace {
constexpr auto kFirstRetry = std::chrono::milliseconds(1000);
constexpr auto kLongestRetry = std::chrono::milliseconds(30000);
}  // namespace

StateSaver::StateSaver(EventLoop& loop, Log& log, std::string what, Write write)
    : loop_(loop), log_(log), what_(std::move(what)), write_(std::move(write)) {}

StateSaver::~StateSaver() {
  if (flush()) log_.write(what_ + ": stopped with changes that could not be saved; they are lost");
  if (timer_) loop_.cancelTimer(timer_);
}

void StateSaver::saveLater(std::chrono::milliseconds delay) {
  unsaved_ = true;
  if (!timer_) schedule(delay);
}

std::optional<os::FileWriteError> StateSaver::saveNow() {
  unsaved_ = true;
  return flush();
}

std::optional<os::FileWriteError> StateSaver::flush() {
  if (!unsaved_) return std::nullopt;
  if (timer_) loop_.cancelTimer(timer_);
  timer_ = 0;
  auto failure = write_();
  if (!failure) {
    if (failures_) {
      log_.write(what_ + ": saved again after " + std::to_string(failures_) +
                 (failures_ == 1 ? " failed attempt" : " failed attempts"));
    }
    unsaved_ = false;
    failures_ = 0;
    return std::nullopt;
  }
  if (failures_++ == 0) {
    log_.write(what_ + ": " + failure->message + "; the change is kept in memory and saved when the disk allows");
  }
  // 1 s, 2 s, 4 s ... while the disk stays full or read-only.
  auto pause = kFirstRetry * (1 << std::min(failures_ - 1, 5));
  schedule(std::min(pause, kLongestRetry));
  return failure;
}

void StateSaver::schedule(std::chrono::milliseconds delay) {
  timer_ = loop_.addTimer(EventLoop::Clock::now() + delay, [this] {
    timer_ = 0;
    flush();
  });
}

}  // namespace handheld::device
