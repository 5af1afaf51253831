// What the input-panel button asks of the device's input panel.
#include "shellsvc/menubar/input_panel_link.h"

#include <aygshell.h>

namespace handheld::shellsvc {

bool inputPanelShown() {
  SIPINFO info{};
  info.cbSize = sizeof info;
  return SipGetInfo(&info) && (info.fdwFlags & SIPF_ON) != 0;
}

void showInputPanel(bool shown) { SipShowIM(shown ? SIPF_ON : SIPF_OFF); }

}  // namespace handheld::shellsvc
