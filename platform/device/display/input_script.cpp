#include "display/input_script.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>

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

ScriptRunner::~ScriptRunner() {
  if (timer_) loop_.cancelTimer(timer_);
}

void ScriptRunner::run(InputScript script, std::function<void()> done) {
  queue_.push_back({std::move(script), std::move(done)});
  if (playing_) return;
  // The request that brought it is answered first; the steps start on the next turn.
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
