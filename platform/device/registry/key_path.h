// Key paths ("SOFTWARE\Microsoft\Shell") and names as the registry accepts them.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "registry/registry_limits.h"

namespace handheld::device::registry {

struct SplitKeyPath {
  LONG status = ERROR_SUCCESS;
  std::vector<std::u16string_view> components;  // views into the path given
};

// One leading backslash is ignored; an empty path is the root itself. Empty components,
// names that are too long or hold control characters or unpaired surrogates, and paths
// deeper than the limit fail with ERROR_INVALID_PARAMETER.
SplitKeyPath splitKeyPath(std::u16string_view path, const RegistryLimits& limits);

// A value name: empty (the unnamed value) or up to the name limit; backslashes allowed,
// control characters and unpaired surrogates not (the hive file writes names as text).
bool isValidValueName(std::u16string_view name, const RegistryLimits& limits);

// The path of `subKey` below `base`, as RegCreateKeyExW on an open key means it.
std::u16string joinKeyPath(std::u16string_view base, std::u16string_view subKey);

// True when `path` names `ancestor` or a key below it (case-insensitive, whole components;
// both without a leading backslash).
bool isSameOrBelow(std::u16string_view path, std::u16string_view ancestor);

}  // namespace handheld::device::registry
