// What one registry may hold. The name, depth and value limits are the device's documented
// ones; the per-key and total budgets keep a hostile client from exhausting the server.
#pragma once

#include <cstddef>

namespace handheld::device::registry {

struct RegistryLimits {
  // Characters in one key name (one path component) or one value name, terminator excluded.
  std::size_t maxNameLength = 255;
  // Keys nested below a root: "A\B" is depth 2.
  std::size_t maxDepth = 16;
  // Bytes of data in one value.
  std::size_t maxValueBytes = 4096;
  // Subkeys of one key, and separately values of one key.
  std::size_t maxEntriesPerKey = 16384;
  // Every key and value counts its name (2 bytes a character), its data and kEntryOverhead.
  std::size_t maxTotalBytes = 8u << 20;
};

inline constexpr std::size_t kEntryOverhead = 64;

}  // namespace handheld::device::registry
