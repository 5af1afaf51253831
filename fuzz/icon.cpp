// Any bytes as an .ico / .cur file, at a few requested sizes.
#include <cstddef>
#include <cstdint>

#include "gdi/icon.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> bytes(data, size);
  for (int want : {16, 32, 48}) {
    auto icon = handheld::gdi::decodeIconFile(bytes, want == 48, want, want);
    if (icon && icon->transparent.size() != static_cast<size_t>(icon->width()) * static_cast<size_t>(icon->height()))
      __builtin_trap();
  }
  return 0;
}
