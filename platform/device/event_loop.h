// The server's one loop: epoll over descriptors plus deadline timers on a single timerfd.
// It sleeps until something happens; nothing polls.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <unordered_map>

#include "os/unique_fd.h"

namespace handheld::device {

class EventLoop {
 public:
  using Clock = std::chrono::steady_clock;
  using FdCallback = std::function<void(uint32_t events)>;
  using TimerId = uint64_t;

  EventLoop();
  EventLoop(const EventLoop&) = delete;
  EventLoop& operator=(const EventLoop&) = delete;

  bool watch(int fd, uint32_t events, FdCallback callback);
  void modify(int fd, uint32_t events);
  void unwatch(int fd);

  TimerId addTimer(Clock::time_point deadline, std::function<void()> callback);
  void cancelTimer(TimerId id);

  // Runs until stop(); returns false when epoll itself failed.
  bool run();
  void stop() { running_ = false; }

 private:
  void armTimerFd();
  void fireDueTimers();

  os::UniqueFd epoll_;
  os::UniqueFd timerFd_;
  // Each watch has its own token so an event of a closed descriptor never reaches a new
  // watch that reused the number within the same batch.
  std::unordered_map<uint64_t, std::shared_ptr<FdCallback>> watches_;
  std::unordered_map<int, uint64_t> tokens_;
  uint64_t nextToken_ = 1;
  std::multimap<Clock::time_point, TimerId> timersByTime_;
  std::unordered_map<TimerId, std::pair<Clock::time_point, std::function<void()>>> timers_;
  TimerId nextTimer_ = 1;
  bool running_ = false;
};

}  // namespace handheld::device
