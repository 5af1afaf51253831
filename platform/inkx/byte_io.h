// Little-endian fields into and out of byte buffers; the reader never passes its end.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace handheld::inkx {

class ByteWriter {
 public:
  void u16(uint16_t v) { put(v, 2); }
  void u32(uint32_t v) { put(v, 4); }
  void i32(int32_t v) { put(static_cast<uint32_t>(v), 4); }
  void bytes(std::span<const uint8_t> data) { out_.insert(out_.end(), data.begin(), data.end()); }
  size_t size() const { return out_.size(); }
  // Fills in a 32-bit field written earlier (an item's length once its payload is known).
  void patch32(size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out_[at + i] = static_cast<uint8_t>(v >> (8 * i));
  }
  std::vector<uint8_t> take() { return std::move(out_); }

 private:
  void put(uint32_t v, int n) {
    for (int i = 0; i < n; ++i) out_.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  std::vector<uint8_t> out_;
};

// Each read fails (returns false, leaves the cursor) when the field does not fit what is left.
class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> data) : data_(data) {}
  size_t left() const { return data_.size() - at_; }
  bool u16(uint16_t& v) {
    uint32_t w;
    if (!get(w, 2)) return false;
    v = static_cast<uint16_t>(w);
    return true;
  }
  bool u32(uint32_t& v) { return get(v, 4); }
  bool i32(int32_t& v) {
    uint32_t w;
    if (!get(w, 4)) return false;
    v = static_cast<int32_t>(w);
    return true;
  }
  bool bytes(size_t n, std::span<const uint8_t>& out) {
    if (n > left()) return false;
    out = data_.subspan(at_, n);
    at_ += n;
    return true;
  }
  bool tag(const char (&four)[5]) {
    if (left() < 4 || std::memcmp(data_.data() + at_, four, 4) != 0) return false;
    at_ += 4;
    return true;
  }

 private:
  bool get(uint32_t& v, int n) {
    if (left() < static_cast<size_t>(n)) return false;
    v = 0;
    for (int i = 0; i < n; ++i) v |= static_cast<uint32_t>(data_[at_ + i]) << (8 * i);
    at_ += n;
    return true;
  }
  std::span<const uint8_t> data_;
  size_t at_ = 0;
};

}  // namespace handheld::inkx
