// What a script compiles to: the module's resources as typed, named byte blocks.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace handheld::rc {

// A resource type or name: a number, or an upper-case string.
struct ResourceId {
  std::optional<uint16_t> number;
  std::u16string name;

  static ResourceId of(uint16_t value) { return ResourceId{value, {}}; }
  bool operator==(const ResourceId&) const = default;
  bool operator<(const ResourceId& other) const {
    return number != other.number ? number < other.number : name < other.name;
  }
};

struct CompiledResource {
  ResourceId type;
  ResourceId name;
  // Shared when one file serves under two types (an icon's RT_ICON and RT_GROUP_ICON).
  std::shared_ptr<const std::vector<uint8_t>> data;
};

struct CompiledScript {
  std::vector<CompiledResource> resources;
  std::vector<std::filesystem::path> dependencies;
};

}  // namespace handheld::rc
