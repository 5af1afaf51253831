// What the menu bar's input-panel button asks of the input panel: whether it is up, and to
// raise or lower it.
#pragma once

namespace handheld::shellsvc {

bool inputPanelShown();
void showInputPanel(bool shown);

}  // namespace handheld::shellsvc
