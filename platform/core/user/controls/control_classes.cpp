#include "user/controls/control_classes.h"

#include <mutex>

#include "user/controls/scrollbar/scroll_bar.h"

namespace handheld::user {

void registerControlClasses() {
  static std::once_flag once;
  std::call_once(once, [] { registerScrollBarClass(); });
}

}  // namespace handheld::user
