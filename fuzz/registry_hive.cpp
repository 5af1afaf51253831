// The hive parser on hostile text: it must never crash or grow past the store's limits, and
// whatever it accepts must write back to text that reads as the same hive.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "registry/hive_format.h"

using namespace handheld::device::registry;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  RegistryLimits limits;
  limits.maxTotalBytes = 1u << 20;
  RegistryStore store(limits);
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (parseHive(text, store)) return 0;
  if (store.usedBytes() > limits.maxTotalBytes) std::abort();

  const std::string written = writeHive(store);
  RegistryStore again(limits);
  if (parseHive(written, again) || writeHive(again) != written) std::abort();
  return 0;
}
