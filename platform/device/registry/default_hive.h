// The hive a new device starts with, and the names the server reads from it.
#pragma once

#include <string_view>

#include "registry/registry_store.h"

namespace handheld::device::registry {

// The default hive's text (the hive file format); extend the table there.
extern const std::string_view kDefaultHiveText;

// A store holding the default hive.
RegistryStore makeDefaultRegistry(const RegistryLimits& limits = {});

// Device settings (HKEY_LOCAL_MACHINE), mirrored by the server for every process.
inline constexpr std::u16string_view kDeviceSettingsKey = u"System\\Device";
// DWORD: 0 month-day-year, 1 day-month-year, 2 year-month-day.
inline constexpr std::u16string_view kDateOrderValue = u"DateOrder";
// DWORD: 0 12-hour, 1 24-hour.
inline constexpr std::u16string_view kTimeFormatValue = u"TimeFormat";
// DWORD, signed minutes: UTC = local time + bias.
inline constexpr std::u16string_view kTimeZoneBiasValue = u"TimeZoneBias";
// REG_SZ.
inline constexpr std::u16string_view kProcessorNameValue = u"ProcessorName";

}  // namespace handheld::device::registry
