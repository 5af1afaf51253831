#include "event_loop.h"

#include <sys/epoll.h>
#include <sys/timerfd.h>

#include <cerrno>
#include <memory>
#include <vector>

namespace handheld::device {

EventLoop::EventLoop()
    : epoll_(epoll_create1(EPOLL_CLOEXEC)),
      timerFd_(timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK)) {
  watch(timerFd_.get(), EPOLLIN, [this](uint32_t) {
    uint64_t expirations;
    while (::read(timerFd_.get(), &expirations, sizeof expirations) > 0) {
    }
    fireDueTimers();
  });
}

bool EventLoop::watch(int fd, uint32_t events, FdCallback callback) {
  uint64_t token = nextToken_++;
  epoll_event ev{};
  ev.events = events;
  ev.data.u64 = token;
  if (epoll_ctl(epoll_.get(), EPOLL_CTL_ADD, fd, &ev) != 0) return false;
  watches_[token] = std::make_shared<FdCallback>(std::move(callback));
  tokens_[fd] = token;
  return true;
}

void EventLoop::modify(int fd, uint32_t events) {
  auto it = tokens_.find(fd);
  if (it == tokens_.end()) return;
  epoll_event ev{};
  ev.events = events;
  ev.data.u64 = it->second;
  epoll_ctl(epoll_.get(), EPOLL_CTL_MOD, fd, &ev);
}

void EventLoop::unwatch(int fd) {
  epoll_ctl(epoll_.get(), EPOLL_CTL_DEL, fd, nullptr);
  auto it = tokens_.find(fd);
  if (it == tokens_.end()) return;
  watches_.erase(it->second);
  tokens_.erase(it);
}

EventLoop::TimerId EventLoop::addTimer(Clock::time_point deadline, std::function<void()> callback) {
  TimerId id = nextTimer_++;
  timers_[id] = {deadline, std::move(callback)};
  timersByTime_.emplace(deadline, id);
  armTimerFd();
  return id;
}

void EventLoop::cancelTimer(TimerId id) {
  auto it = timers_.find(id);
  if (it == timers_.end()) return;
  auto range = timersByTime_.equal_range(it->second.first);
  for (auto r = range.first; r != range.second; ++r) {
    if (r->second == id) {
      timersByTime_.erase(r);
      break;
    }
  }
  timers_.erase(it);
  armTimerFd();
}

void EventLoop::armTimerFd() {
  itimerspec spec{};
  if (!timersByTime_.empty()) {
    auto wait = timersByTime_.begin()->first - Clock::now();
    auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
    if (ns < 1) ns = 1;  // zero would disarm
    spec.it_value.tv_sec = ns / 1000000000;
    spec.it_value.tv_nsec = ns % 1000000000;
  }
  timerfd_settime(timerFd_.get(), 0, &spec, nullptr);
}

void EventLoop::fireDueTimers() {
  auto now = Clock::now();
  while (!timersByTime_.empty() && timersByTime_.begin()->first <= now) {
    TimerId id = timersByTime_.begin()->second;
    timersByTime_.erase(timersByTime_.begin());
    auto it = timers_.find(id);
    if (it == timers_.end()) continue;
    auto callback = std::move(it->second.second);
    timers_.erase(it);
    callback();
  }
  armTimerFd();
}

bool EventLoop::run() {
  running_ = true;
  std::vector<epoll_event> events(64);
  while (running_) {
    int n = epoll_wait(epoll_.get(), events.data(), static_cast<int>(events.size()), -1);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    for (int i = 0; i < n && running_; ++i) {
      auto it = watches_.find(events[i].data.u64);
      if (it == watches_.end()) continue;  // unwatched by an earlier callback
      auto callback = it->second;          // stays alive if the callback unwatches itself
      (*callback)(events[i].events);
    }
  }
  return true;
}

}  // namespace handheld::device
