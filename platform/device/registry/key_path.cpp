#include "registry/key_path.h"

#include <algorithm>

#include "strings/case_fold.h"
#include "strings/utf.h"

namespace handheld::device::registry {
namespace {

constexpr char16_t kSeparator = u'\\';

bool isStorableName(std::u16string_view name, const RegistryLimits& limits) {
  if (name.size() > limits.maxNameLength) return false;
  if (std::ranges::any_of(name, [](char16_t unit) { return unit < 0x20; })) return false;
  return strings::toUtf8Strict(name).has_value();
}

std::u16string_view withoutLeadingSeparator(std::u16string_view path) {
  if (!path.empty() && path.front() == kSeparator) path.remove_prefix(1);
  return path;
}

}  // namespace

SplitKeyPath splitKeyPath(std::u16string_view path, const RegistryLimits& limits) {
  SplitKeyPath result;
  path = withoutLeadingSeparator(path);
  if (path.empty()) return result;
  while (true) {
    const std::size_t end = path.find(kSeparator);
    const std::u16string_view name = path.substr(0, end);
    if (name.empty() || !isStorableName(name, limits) ||
        result.components.size() == limits.maxDepth) {
      result.status = ERROR_INVALID_PARAMETER;
      result.components.clear();
      return result;
    }
    result.components.push_back(name);
    if (end == std::u16string_view::npos) return result;
    path.remove_prefix(end + 1);
  }
}

bool isValidValueName(std::u16string_view name, const RegistryLimits& limits) {
  return isStorableName(name, limits);
}

std::u16string joinKeyPath(std::u16string_view base, std::u16string_view subKey) {
  subKey = withoutLeadingSeparator(subKey);
  std::u16string joined(base);
  if (!joined.empty() && !subKey.empty()) joined.push_back(kSeparator);
  joined.append(subKey);
  return joined;
}

bool isSameOrBelow(std::u16string_view path, std::u16string_view ancestor) {
  if (ancestor.empty()) return true;
  if (path.size() < ancestor.size()) return false;
  if (!strings::equalNoCase(path.substr(0, ancestor.size()), ancestor)) return false;
  return path.size() == ancestor.size() || path[ancestor.size()] == kSeparator;
}

}  // namespace handheld::device::registry
