// The input panel belongs to its own service; until that service is part of this library,
// the bar keeps what it last asked for, so that its button still shows the panel's state as
// far as this process knows it.
#include "shellsvc/menubar/input_panel_link.h"

#include <atomic>

namespace handheld::shellsvc {

namespace {
std::atomic<bool> asked{false};
}

bool inputPanelShown() { return asked.load(); }

void showInputPanel(bool shown) { asked.store(shown); }

}  // namespace handheld::shellsvc
