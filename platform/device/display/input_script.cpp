#include "display/input_script.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "input/us_keyboard.h"

namespace handheld::device {

InputScript tapScript(POINT point) {
  return {{0, StylusStep{StylusAction::Down, point}}, {0, StylusStep{StylusAction::Up, point}}};
}

InputScript holdScript(POINT point, uint32_t milliseconds) {
  return {{0, StylusStep{StylusAction::Down, point}},
          {milliseconds, StylusStep{StylusAction::Up, point}}};
}

InputScript dragScript(POINT from, POINT to, uint32_t milliseconds) {
  const long distance = std::max(std::labs(to.x - from.x), std::labs(to.y - from.y));
  const long byDistance = (distance + kDragStepPixels - 1) / kDragStepPixels;
  const long byTime = static_cast<long>(milliseconds / kDragStepMs);
  const long steps = std::clamp(std::max(byDistance, byTime), 1L, 1000L);
  InputScript script{{0, StylusStep{StylusAction::Down, from}}};
  uint64_t elapsed = 0;
  for (long i = 1; i <= steps; ++i) {
    const uint64_t due = uint64_t{milliseconds} * static_cast<uint64_t>(i) / static_cast<uint64_t>(steps);
    const POINT at{static_cast<LONG>(from.x + (to.x - from.x) * i / steps),
                   static_cast<LONG>(from.y + (to.y - from.y) * i / steps)};
    script.push_back({static_cast<uint32_t>(due - elapsed), StylusStep{StylusAction::Move, at}});
    elapsed = due;
  }
  script.push_back({0, StylusStep{StylusAction::Up, to}});
  return script;
}

InputScript keyScript(uint8_t key, ipc::KeyMotion motion) {
  InputScript script;
  if (motion != ipc::KeyMotion::Up) script.push_back({0, KeyStep{key, true}});
  if (motion != ipc::KeyMotion::Down) script.push_back({0, KeyStep{key, false}});
  return script;
}

InputScript textScript(const std::u16string& text) {
  InputScript script;
  for (char16_t c : text) {
    auto stroke = input::keyForCharacter(c);
    if (!stroke) {
      script.push_back({0, CharacterStep{c}});
      continue;
    }
    if (stroke->shift) script.push_back({0, KeyStep{VK_SHIFT, true}});
    script.push_back({0, KeyStep{stroke->key, true}});
    script.push_back({0, KeyStep{stroke->key, false}});
    if (stroke->shift) script.push_back({0, KeyStep{VK_SHIFT, false}});
  }
  return script;
}

InputScript releaseSteps(const InputScript& script, size_t played) {
  std::optional<POINT> stylus;
  std::vector<uint8_t> keys;  // in the order pressed
  for (size_t i = 0; i < std::min(played, script.size()); ++i) {
    if (const auto* s = std::get_if<StylusStep>(&script[i].action)) {
      if (s->action == StylusAction::Up) stylus.reset();
      else stylus = s->point;
    } else if (const auto* k = std::get_if<KeyStep>(&script[i].action)) {
      std::erase(keys, k->key);
      if (k->down) keys.push_back(k->key);
    }
  }
  InputScript release;
  if (stylus) release.push_back({0, StylusStep{StylusAction::Up, *stylus}});
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) release.push_back({0, KeyStep{*key, false}});
  return release;
}

ScriptRunner::~ScriptRunner() {
  if (timer_) loop_.cancelTimer(timer_);
}

void ScriptRunner::run(uint64_t owner, InputScript script, std::function<void()> done) {
  queue_.push_back({owner, std::move(script), std::move(done)});
  if (!playing_) playNext();
}

void ScriptRunner::cancel(uint64_t owner) {
  if (queue_.empty()) return;
  queue_.erase(std::remove_if(queue_.begin() + 1, queue_.end(), [&](const Queued& q) { return q.owner == owner; }),
               queue_.end());
  if (queue_.front().owner != owner) return;
  if (timer_) loop_.cancelTimer(timer_);
  timer_ = 0;
  for (const auto& step : releaseSteps(queue_.front().script, nextStep_)) perform_(step);
  queue_.pop_front();
  nextStep_ = 0;
  playing_ = false;
  if (!queue_.empty()) playNext();
}

// The request that brought a script is answered first; its steps start on the next turn.
void ScriptRunner::playNext() {
  playing_ = true;
  timer_ = loop_.addTimer(EventLoop::Clock::now(), [this] {
    timer_ = 0;
    advance();
  });
}

void ScriptRunner::advance() {
  while (!queue_.empty()) {
    Queued& current = queue_.front();
    if (nextStep_ == current.script.size()) {
      auto done = std::move(current.done);
      queue_.pop_front();
      nextStep_ = 0;
      if (done) done();
      continue;
    }
    const ScriptStep& step = current.script[nextStep_];
    if (step.delayMs > 0) {
      timer_ = loop_.addTimer(EventLoop::Clock::now() + std::chrono::milliseconds(step.delayMs), [this] {
        timer_ = 0;
        perform_(queue_.front().script[nextStep_++]);
        advance();
      });
      return;
    }
    perform_(step);
    ++nextStep_;
  }
  playing_ = false;
}

}  // namespace handheld::device
