// The DWORD settings of Pinnotes under RegistryNames::kSettingsKey: for each, what the first
// run writes and what a reader takes when the value is missing. The program's settings store,
// its first run and the Today item all read them from here.
#pragma once

#include <cstdint>
#include <optional>

#include "pinnotes/registry_names.h"

namespace SettingsTable {

struct DwordSetting {
  const char16_t* name;
  uint32_t firstRunValue;
  // What a reader takes when the value is missing; none for values nobody reads.
  std::optional<int32_t> whenMissing;
};

namespace Names = RegistryNames;

inline constexpr DwordSetting kSoundCount{Names::kSoundCount, 1, 1};
inline constexpr DwordSetting kDontPlay{Names::kDontPlay, 0, 0};
inline constexpr DwordSetting kPlayRecording{Names::kPlayRecording, 1, 1};
inline constexpr DwordSetting kPlaySound{Names::kPlaySound, 0, 0};
inline constexpr DwordSetting kTurnOn{Names::kTurnOn, 1, 1};
inline constexpr DwordSetting kNotify{Names::kNotify, 1, 1};
inline constexpr DwordSetting kMenuCount{Names::kMenuCount, 5, 5};
inline constexpr DwordSetting kFontSize{Names::kFontSize, 9, 9};
inline constexpr DwordSetting kLockPos{Names::kLockPos, 0, std::nullopt};
inline constexpr DwordSetting kPosX{Names::kPosX, 147, std::nullopt};
inline constexpr DwordSetting kPosY{Names::kPosY, 5, std::nullopt};
inline constexpr DwordSetting kRecordButton{Names::kRecordButton, 0, 0};
inline constexpr DwordSetting kAutoDelete{Names::kAutoDelete, 0, 0};
inline constexpr DwordSetting kTitlesCount{Names::kTitlesCount, 0, 0};
inline constexpr DwordSetting kMode{Names::kMode, 0, 0};
// A missing page style is 1 although the first run stores 0.
inline constexpr DwordSetting kPage{Names::kPage, 0, 1};
inline constexpr DwordSetting kZoom{Names::kZoom, 3, 3};
// The Today item's options: it has defaults of its own, unlike what the first run writes.
inline constexpr DwordSetting kTodayShowToday{Names::kTodayShowToday, 1, 0};
inline constexpr DwordSetting kTodayExpired{Names::kTodayExpired, 1, 0};
inline constexpr DwordSetting kTodayFontSize{Names::kTodayFontSize, 9, 9};
inline constexpr DwordSetting kTodayCount{Names::kTodayCount, 4, 5};

// In the order the first run writes them.
inline constexpr DwordSetting kFirstRunOrder[] = {
    kSoundCount, kDontPlay,     kPlayRecording, kPlaySound,     kTurnOn,        kNotify,
    kMenuCount,  kFontSize,     kLockPos,       kPosX,          kPosY,          kRecordButton,
    kAutoDelete, kTitlesCount,  kMode,          kPage,          kZoom,          kTodayShowToday,
    kTodayExpired, kTodayFontSize, kTodayCount,
};

}  // namespace SettingsTable
