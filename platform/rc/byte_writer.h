// Little-endian building of resource data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compiled_script.h"
#include "resources/template_layout.h"

namespace handheld::rc {

class ByteWriter {
 public:
  void u8(uint8_t value) { bytes_.push_back(value); }
  void u16(uint16_t value) {
    u8(static_cast<uint8_t>(value));
    u8(static_cast<uint8_t>(value >> 8));
  }
  void u32(uint32_t value) {
    u16(static_cast<uint16_t>(value));
    u16(static_cast<uint16_t>(value >> 16));
  }
  void i16(int16_t value) { u16(static_cast<uint16_t>(value)); }
  void units(const std::u16string& text) {
    for (char16_t unit : text) u16(unit);
  }
  void terminatedText(const std::u16string& text) {
    units(text);
    u16(0);
  }
  // "0xFFFF, ordinal", a terminated string, or a lone 0 for none.
  void nameOrOrdinal(const std::optional<ResourceId>& id);
  void bytes(const std::string& raw) { bytes_.insert(bytes_.end(), raw.begin(), raw.end()); }
  void alignTo4() {
    while (bytes_.size() % 4 != 0) u8(0);
  }

  std::vector<uint8_t> take() { return std::move(bytes_); }

 private:
  std::vector<uint8_t> bytes_;
};

inline void ByteWriter::nameOrOrdinal(const std::optional<ResourceId>& id) {
  if (!id) {
    u16(0);
  } else if (id->number) {
    u16(resources::layout::kOrdinalMarker);
    u16(*id->number);
  } else {
    terminatedText(id->name);
  }
}

}  // namespace handheld::rc
