// BMP data from anywhere (resources, files) must decode or be refused, never read out of
// bounds.
#include <cstddef>
#include <cstdint>

#include "gdi/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto surface = handheld::gdi::decodeBmp({data, size});
  if (surface && (surface->width() > handheld::gdi::kMaxBmpDimension ||
                  surface->height() > handheld::gdi::kMaxBmpDimension)) {
    __builtin_trap();
  }
  return 0;
}
