#include "windows/input_routing.h"

namespace handheld::device {

void InputRouting::stylus(const StylusInput& input) {
  uint32_t target = service_.captureWindow();
  if (!target) target = windows_.atPoint(input.point.x, input.point.y);
  if (!target) return;  // the bare desktop
  const auto kind = input.action == StylusAction::Down   ? ipc::InputKind::StylusDown
                    : input.action == StylusAction::Move ? ipc::InputKind::StylusMove
                                                         : ipc::InputKind::StylusUp;
  deliver({target, kind, input.point.x, input.point.y, 0, 0, false, input.time});
}

void InputRouting::key(const KeyInput& input) {
  if (keyFilter_ && keyFilter_(input)) return;
  const uint32_t target = windows_.foreground();
  if (!target) return;
  const auto kind = input.key == 0 ? ipc::InputKind::Character
                    : input.down   ? ipc::InputKind::KeyDown
                                   : ipc::InputKind::KeyUp;
  deliver({target, kind, 0, 0, input.key, input.character, input.repeat, input.time});
}

void InputRouting::deliver(const ipc::InputDeliver& input) {
  if (auto owner = clients_.ownerOf(input.handle)) clients_.deliver(*owner, input);
}

}  // namespace handheld::device
