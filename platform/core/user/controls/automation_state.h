// What a control shows, for automation (`handheld-ctl tree`): the describer sends
// WM_AUTOMATION_STATE to each window with a JSON object in lParam, and a control fills it with
// its state under the keys of docs/controls.md ("Automation state"). A window that does not
// answer has no state. The message stays inside the process: it never crosses to the server.
#pragma once

#include <windows.h>

#include <nlohmann/json.hpp>

namespace handheld::user::controls {

// In the range below WM_USER that the system keeps for itself; lParam: nlohmann::json*.
inline constexpr UINT WM_AUTOMATION_STATE = 0x03F0;

inline nlohmann::json& automationStateOf(LPARAM lParam) { return *reinterpret_cast<nlohmann::json*>(lParam); }

}  // namespace handheld::user::controls
