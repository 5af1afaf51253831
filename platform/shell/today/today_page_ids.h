// Control ids of the Today settings page.
#pragma once

namespace handheld::shell {

inline constexpr int kTodayPageLabel = 1001;
inline constexpr int kTodayPageList = 1002;
inline constexpr int kTodayPageUp = 1003;
inline constexpr int kTodayPageDown = 1004;
inline constexpr int kTodayPageOptions = 1005;
inline constexpr int kTodayPageShown = 1006;

}  // namespace handheld::shell
