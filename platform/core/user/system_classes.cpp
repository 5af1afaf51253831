// The classes every process has: the dialog class and the standard controls. A new control
// adds its class here.
#include "user/controls/button/button.h"
#include "user/controls/combobox/combo_box.h"
#include "user/controls/listbox/list_box.h"
#include "user/controls/scrollbar/scroll_bar.h"
#include "user/controls/static/static_control.h"
#include "user/dialogs/dialogs.h"
#include "user/window_class.h"

namespace handheld::user {

void addPlatformClasses(ClassRegistry& registry) {
  struct Entry {
    WNDCLASSW description;
    ATOM atom;  // the platform's atom for the class
  };
  const Entry entries[] = {
      {dialogs::dialogClass(), 0x8002},
      {controls::buttonClass(), 0x0080},
      {controls::staticClass(), 0x0082},
      {controls::listBoxClass(), 0x0083},
      {scrollBarClass(), 0x0084},
      {controls::comboBoxClass(), 0x0085},
      {controls::comboListClass(), 0},  // no fixed atom
  };
  for (const auto& entry : entries) {
    DWORD error = 0;
    registry.add(entry.description, true, error, entry.atom);
  }
}

}  // namespace handheld::user
