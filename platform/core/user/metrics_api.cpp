// GetSystemMetrics from the device's screen settings. The handheld's figures at the border
// width of 1 (QVGA); a VGA screen has a border of 2 and doubles every one of them.
#include <windows.h>

#include "kernel/display_settings.h"

HANDHELD_API int WINAPI GetSystemMetrics(int index) {
  const auto screen = handheld::kernel::displaySettings();
  const int unit = screen.border;
  switch (index) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
    case SM_CXVIRTUALSCREEN:
      return screen.width;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN:
      return screen.height;
    case SM_CYFULLSCREEN:
      return screen.height - 26 * unit;  // below the navigation bar
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
      return 13 * unit;
    case SM_CYCAPTION:
    case SM_CYMENU:
      return 26 * unit;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return unit;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
    case SM_CXEDGE:
    case SM_CYEDGE:
      return 2 * unit;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
      return 32 * unit;
    case SM_CXSMICON:
    case SM_CYSMICON:
      return screen.smallIcon;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG:
      return 4 * unit;
    case SM_CXICONSPACING:
    case SM_CYICONSPACING:
      return 64 * unit;
    case SM_CMONITORS:
      return 1;
    default:
      return 0;  // includes SM_MOUSEPRESENT and SM_CMOUSEBUTTONS: a stylus is not a mouse
  }
}
