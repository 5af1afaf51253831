// Appends UTF-16 units to a caller's buffer of fixed capacity, dropping what does not fit.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace handheld::strings {

class BoundedWriter {
 public:
  BoundedWriter(char16_t* buffer, size_t capacity)
      : buffer_(buffer), room_(capacity > 0 && buffer ? capacity - 1 : 0), hasBuffer_(capacity > 0 && buffer) {}

  bool full() const { return length_ == room_; }

  void put(char16_t unit) { repeat(unit, 1); }

  void repeat(char16_t unit, size_t count) {
    const size_t fits = std::min(count, room_ - length_);
    std::fill_n(buffer_ + length_, fits, unit);
    length_ += fits;
    cut_ |= fits < count;
  }

  void append(std::u16string_view text) {
    const size_t fits = std::min(text.size(), room_ - length_);
    std::copy_n(text.data(), fits, buffer_ + length_);
    length_ += fits;
    cut_ |= fits < text.size();
  }

  // Terminates the text and returns its length. A cut right after a high surrogate drops it,
  // so that the text stays well formed.
  size_t finish() {
    if (!hasBuffer_) return 0;
    if (cut_ && length_ > 0 && buffer_[length_ - 1] >= 0xD800 && buffer_[length_ - 1] <= 0xDBFF) {
      --length_;
    }
    buffer_[length_] = u'\0';
    return length_;
  }

 private:
  char16_t* buffer_;
  size_t room_;
  bool hasBuffer_;
  size_t length_ = 0;
  bool cut_ = false;
};

}  // namespace handheld::strings
