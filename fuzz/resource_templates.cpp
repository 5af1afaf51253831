// The dialog, menu and shell menu-bar decoders on any bytes: they decode or refuse, never
// read past the data.
#include <cstddef>
#include <cstdint>
#include <span>

#include "resources/templates.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> bytes(data, size);
  handheld::resources::decodeDialog(bytes);
  handheld::resources::decodeMenu(bytes);
  handheld::resources::decodeShellMenuBar(bytes);
  return 0;
}
