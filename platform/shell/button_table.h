// The hardware-button table: HKLM\SOFTWARE\Microsoft\Shell\Keys\40C1 ... 40C5, one key per
// button, whose default value says what the button does: a program's device path, ":today"
// (show the Today screen), ":start" (open the start menu), or nothing.
#pragma once

#include <windows.h>

#include <string>

namespace handheld::shell {

inline constexpr UINT kFirstButton = 0xC1;  // VK_APP1
inline constexpr UINT kLastButton = 0xC5;   // VK_APP5, the record button
inline constexpr std::u16string_view kTodayAction = u":today";
inline constexpr std::u16string_view kStartMenuAction = u":start";

// The key of a button: "SOFTWARE\Microsoft\Shell\Keys\40C5" for 0xC5.
std::u16string buttonKey(UINT key);
// The button's action, empty when it has none or its key cannot be read.
std::u16string buttonAction(UINT key);
// The button's "Name", or "Button <n>" when it has none.
std::u16string buttonName(UINT key);
// Writes the action as the default value; the error code.
LONG setButtonAction(UINT key, const std::u16string& action);

}  // namespace handheld::shell
