#include "registry/registry_root.h"

#include <algorithm>
#include <cctype>

namespace handheld::device::registry {

std::optional<Root> rootFromHkey(HKEY key) {
  const auto value = reinterpret_cast<uintptr_t>(key);
  for (Root root : kAllRoots) {
    if (value == static_cast<uint32_t>(root)) return root;
  }
  return std::nullopt;
}

std::string_view rootName(Root root) {
  switch (root) {
    case Root::ClassesRoot: return "HKEY_CLASSES_ROOT";
    case Root::CurrentUser: return "HKEY_CURRENT_USER";
    case Root::LocalMachine: return "HKEY_LOCAL_MACHINE";
    case Root::Users: return "HKEY_USERS";
  }
  return {};
}

std::optional<Root> rootFromName(std::string_view name) {
  auto sameIgnoringCase = [](std::string_view a, std::string_view b) {
    auto upper = [](char c) { return std::toupper(static_cast<unsigned char>(c)); };
    return std::ranges::equal(a, b, [&](char x, char y) { return upper(x) == upper(y); });
  };
  for (Root root : kAllRoots) {
    if (sameIgnoringCase(name, rootName(root))) return root;
  }
  return std::nullopt;
}

}  // namespace handheld::device::registry
