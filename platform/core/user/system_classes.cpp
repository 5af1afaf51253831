// The classes every process has: the dialog class, the standard controls and the common
// controls. A new control adds its class here.
#include "controls/tab/tab.h"
#include "controls/toolbar/toolbar.h"
#include "shellsvc/menubar/menu_bar.h"
#include "controls/datetime/date_time_picker.h"
#include "controls/monthcal/month_calendar.h"
#include "controls/updown/up_down.h"
#include "controls/header/header.h"
#include "controls/listview/listview.h"
#include "user/controls/button/button.h"
#include "user/controls/combobox/combo_box.h"
#include "user/controls/edit/edit.h"
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
      {controls::editClass(), 0x0081},
      {controls::staticClass(), 0x0082},
      {controls::listBoxClass(), 0x0083},
      {scrollBarClass(), 0x0084},
      {controls::comboBoxClass(), 0x0085},
      {controls::comboListClass(), 0},  // no fixed atom
      {::handheld::controls::tabClass(), 0},
      {::handheld::controls::toolbarClass(), 0},
      {::handheld::controls::toolbarTipClass(), 0},
      {::handheld::controls::monthCalendarClass(), 0},
      {::handheld::controls::dateTimePickerClass(), 0},
      {::handheld::controls::upDownClass(), 0},
      {::handheld::controls::headerClass(), 0},  // common controls: the registry gives the atom
      {::handheld::controls::listViewClass(), 0},
      {::handheld::shellsvc::menuBarClass(), 0},
  };
  for (const auto& entry : entries) {
    DWORD error = 0;
    registry.add(entry.description, true, error, entry.atom);
  }
}

}  // namespace handheld::user
