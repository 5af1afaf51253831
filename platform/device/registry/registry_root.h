// The predefined keys a registry path starts from, and their names in the hive file.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace handheld::device::registry {

// The values are those of the predefined HKEY handles.
enum class Root : uint32_t {
  ClassesRoot = 0x80000000u,
  CurrentUser = 0x80000001u,
  LocalMachine = 0x80000002u,
  Users = 0x80000003u,
};

// In the order the hive file lists them.
inline constexpr std::array<Root, 4> kAllRoots = {Root::ClassesRoot, Root::CurrentUser,
                                                  Root::LocalMachine, Root::Users};

inline std::size_t rootIndex(Root root) { return static_cast<uint32_t>(root) - 0x80000000u; }

// The root a predefined handle names; nothing for any other handle.
std::optional<Root> rootFromHkey(HKEY key);
// "HKEY_LOCAL_MACHINE" and so on.
std::string_view rootName(Root root);
// The root with that name, compared ignoring ASCII case.
std::optional<Root> rootFromName(std::string_view name);

}  // namespace handheld::device::registry
