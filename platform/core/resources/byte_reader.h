// Bounds-checked little-endian reading of resource data: every read past the end fails the
// reader, and a failed reader stays failed.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace handheld::resources {

class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  bool ok() const { return ok_; }
  size_t offset() const { return offset_; }
  size_t remaining() const { return ok_ ? bytes_.size() - offset_ : 0; }
  bool atEnd() const { return ok_ && offset_ == bytes_.size(); }

  uint8_t u8() { return static_cast<uint8_t>(read(1)); }
  uint16_t u16() { return static_cast<uint16_t>(read(2)); }
  uint32_t u32() { return static_cast<uint32_t>(read(4)); }
  int16_t i16() { return static_cast<int16_t>(u16()); }

  // A terminated UTF-16 string; fails without a terminator.
  std::u16string terminatedText() {
    std::u16string text;
    while (ok_) {
      char16_t unit = u16();
      if (!ok_ || unit == 0) break;
      text.push_back(unit);
    }
    return text;
  }

  void skip(size_t count) {
    if (count > remaining()) ok_ = false;
    else offset_ += count;
  }
  void alignTo4() { skip((4 - offset_ % 4) % 4); }

 private:
  uint64_t read(size_t size) {
    if (!ok_ || size > bytes_.size() - offset_) {
      ok_ = false;
      return 0;
    }
    uint64_t value = 0;
    for (size_t i = 0; i < size; ++i) value |= uint64_t{bytes_[offset_ + i]} << (8 * i);
    offset_ += size;
    return value;
  }

  std::span<const uint8_t> bytes_;
  size_t offset_ = 0;
  bool ok_ = true;
};

}  // namespace handheld::resources
