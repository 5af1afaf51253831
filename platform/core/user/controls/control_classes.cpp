#include "user/controls/control_classes.h"

#include <mutex>

#include "user/controls/scrollbar/scroll_bar.h"
#include "user/window_class.h"

namespace handheld::user {

void registerControlClasses() {
  static std::once_flag once;
  std::call_once(once, [] { registerSystemClass(scrollBarClass()); });
}

}  // namespace handheld::user
