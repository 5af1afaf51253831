// Automation input as timed steps (a hold is a stylus down, then an up after its time), and
// the runner that plays scripts one after another on the server loop's timers, never
// sleeping.
#pragma once

#include <windef.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "display/input_router.h"
#include "event_loop.h"
#include "ipc/protocol.h"

namespace handheld::device {

struct StylusStep {
  StylusAction action;
  POINT point;
};
struct KeyStep {
  uint8_t key;
  bool down;
};
struct CharacterStep {
  char16_t character;
};
struct ScriptStep {
  uint32_t delayMs;  // after the step before
  std::variant<StylusStep, KeyStep, CharacterStep> action;
};
using InputScript = std::vector<ScriptStep>;

InputScript tapScript(POINT point);
InputScript holdScript(POINT point, uint32_t milliseconds);
// Moves in steps of at most kDragStepPixels along each axis, and at least every
// kDragStepMs over the time given.
inline constexpr int kDragStepPixels = 8;
inline constexpr uint32_t kDragStepMs = 16;
InputScript dragScript(POINT from, POINT to, uint32_t milliseconds);
InputScript keyScript(uint8_t key, ipc::KeyMotion motion);
// Each character with a key on the US layout as that key (shift around it where needed);
// any other UTF-16 unit as a character alone.
InputScript textScript(const std::u16string& text);
// What a script stopped after its first `played` steps leaves held, as the steps that let it
// go: the stylus up where it was, then each key it pressed and has not let up, the last first.
InputScript releaseSteps(const InputScript& script, size_t played);

class ScriptRunner {
 public:
  using Perform = std::function<void(const ScriptStep&)>;
  ScriptRunner(EventLoop& loop, Perform perform) : loop_(loop), perform_(std::move(perform)) {}
  ~ScriptRunner();
  ScriptRunner(const ScriptRunner&) = delete;
  ScriptRunner& operator=(const ScriptRunner&) = delete;

  // Plays the script after those before it; done is called after its last step. `owner` is
  // the client that asked, for cancel().
  void run(uint64_t owner, InputScript script, std::function<void()> done);
  // The owner has gone: its script under way stops and lets go of what it holds (releaseSteps),
  // its queued ones never start, and none of their done is called.
  void cancel(uint64_t owner);

 private:
  void playNext();
  void advance();

  struct Queued {
    uint64_t owner;
    InputScript script;
    std::function<void()> done;
  };
  EventLoop& loop_;
  Perform perform_;
  std::deque<Queued> queue_;
  size_t nextStep_ = 0;
  EventLoop::TimerId timer_ = 0;
  bool playing_ = false;  // a script is under way (its next step comes from a timer)
};

}  // namespace handheld::device
