// Byte encoding of protocol messages. Every message struct lists its fields once with
// HANDHELD_FIELDS; encoding and decoding both walk that list, so no offset is written by hand.
// Integers are little-endian; strings and byte blocks carry a 32-bit length; file descriptors
// travel beside the bytes and are referenced by their position.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "os/unique_fd.h"

#define HANDHELD_FIELDS(...)                            \
  auto fields() { return std::tie(__VA_ARGS__); }       \
  auto fields() const { return std::tie(__VA_ARGS__); }
#define HANDHELD_NO_FIELDS                \
  auto fields() { return std::tie(); }    \
  auto fields() const { return std::tie(); }

namespace handheld::ipc {

using Bytes = std::vector<uint8_t>;

// A descriptor carried by a message. Encoding lends it; decoding takes ownership.
struct Fd {
  os::UniqueFd fd;
};

template <class T>
struct IsVector : std::false_type {};
template <class T>
struct IsVector<std::vector<T>> : std::true_type {};

template <class T>
concept HasFields = requires(T t) { t.fields(); };

namespace detail {
// Converts to any member type; only ever named in unevaluated braces.
struct AnyMember {
  template <class T>
  operator T() const;
};
// The number of data members of an aggregate: the most initialisers its braces take.
template <class T, class... Members>
consteval size_t memberCount() {
  if constexpr (requires { T{Members{}..., AnyMember{}}; })
    return memberCount<T, Members..., AnyMember>();
  else
    return sizeof...(Members);
}
}  // namespace detail

// Every data member of T is in its HANDHELD_FIELDS list: a member left out would silently
// never cross the wire.
template <class T>
concept FieldsComplete =
    HasFields<T> && detail::memberCount<T>() == std::tuple_size_v<decltype(std::declval<const T&>().fields())>;

class WireWriter {
 public:
  Bytes& bytes() { return bytes_; }
  std::vector<int>& fds() { return fds_; }

  template <class T>
  void put(const T& value) {
    if constexpr (std::is_same_v<T, bool>) {
      putRaw(static_cast<uint8_t>(value ? 1 : 0));
    } else if constexpr (std::is_enum_v<T>) {
      putRaw(static_cast<std::underlying_type_t<T>>(value));
    } else if constexpr (std::is_integral_v<T>) {
      putRaw(value);
    } else if constexpr (std::is_same_v<T, std::u16string>) {
      putRaw(static_cast<uint32_t>(value.size()));
      for (char16_t c : value) putRaw(static_cast<uint16_t>(c));
    } else if constexpr (std::is_same_v<T, std::string>) {
      putRaw(static_cast<uint32_t>(value.size()));
      bytes_.insert(bytes_.end(), value.begin(), value.end());
    } else if constexpr (std::is_same_v<T, Bytes>) {
      putRaw(static_cast<uint32_t>(value.size()));
      bytes_.insert(bytes_.end(), value.begin(), value.end());
    } else if constexpr (std::is_same_v<T, Fd>) {
      putRaw(static_cast<int32_t>(value.fd.valid() ? static_cast<int32_t>(fds_.size()) : -1));
      if (value.fd.valid()) fds_.push_back(value.fd.get());
    } else if constexpr (IsVector<T>::value) {
      putRaw(static_cast<uint32_t>(value.size()));
      for (const auto& item : value) put(item);
    } else {
      static_assert(HasFields<T>, "field type has no encoding");
      static_assert(FieldsComplete<T>, "a member is missing from HANDHELD_FIELDS");
      std::apply([&](const auto&... f) { (put(f), ...); }, value.fields());
    }
  }

 private:
  template <class I>
  void putRaw(I value) {
    static_assert(std::is_integral_v<I>);
    using U = std::make_unsigned_t<I>;
    auto u = static_cast<U>(value);
    for (size_t i = 0; i < sizeof(U); ++i) bytes_.push_back(static_cast<uint8_t>(u >> (8 * i)));
  }

  Bytes bytes_;
  std::vector<int> fds_;
};

// Decodes from untrusted bytes: every length is checked against what is left, and the first
// failure makes the whole message invalid (ok() false) instead of reading past the end.
class WireReader {
 public:
  // descriptorsLost: the packet's descriptors could not be received (the process had none
  // left); a descriptor field then decodes as none instead of failing the message.
  WireReader(const uint8_t* data, size_t size, std::vector<os::UniqueFd>* fds,
             bool descriptorsLost = false)
      : data_(data), size_(size), fds_(fds), descriptorsLost_(descriptorsLost) {}

  bool ok() const { return ok_; }
  bool atEnd() const { return pos_ == size_; }

  template <class T>
  void get(T& value) {
    if (!ok_) return;
    if constexpr (std::is_same_v<T, bool>) {
      uint8_t b = 0;
      getRaw(b);
      if (b > 1) ok_ = false;
      value = b != 0;
    } else if constexpr (std::is_enum_v<T>) {
      std::underlying_type_t<T> raw{};
      getRaw(raw);
      value = static_cast<T>(raw);
    } else if constexpr (std::is_integral_v<T>) {
      getRaw(value);
    } else if constexpr (std::is_same_v<T, std::u16string>) {
      uint32_t n = 0;
      getRaw(n);
      if (!ok_ || n > (size_ - pos_) / 2) return fail();
      value.resize(n);
      for (uint32_t i = 0; i < n; ++i) {
        uint16_t c = 0;
        getRaw(c);
        value[i] = static_cast<char16_t>(c);
      }
    } else if constexpr (std::is_same_v<T, std::string> || std::is_same_v<T, Bytes>) {
      uint32_t n = 0;
      getRaw(n);
      if (!ok_ || n > size_ - pos_) return fail();
      value.assign(data_ + pos_, data_ + pos_ + n);
      pos_ += n;
    } else if constexpr (std::is_same_v<T, Fd>) {
      int32_t index = 0;
      getRaw(index);
      if (!ok_ || index < 0) return;
      if (!fds_ || static_cast<size_t>(index) >= fds_->size() || !(*fds_)[index].valid()) {
        if (!descriptorsLost_) fail();
        return;
      }
      value.fd = std::move((*fds_)[index]);
    } else if constexpr (IsVector<T>::value) {
      uint32_t n = 0;
      getRaw(n);
      // Each element takes at least one byte, so a count beyond the bytes left is a lie. An
      // element in memory can be far larger than its bytes, so the count alone never sizes
      // an allocation.
      if (!ok_ || n > size_ - pos_) return fail();
      value.clear();
      value.reserve(std::min<size_t>(n, kReserveLimit));
      for (uint32_t i = 0; i < n && ok_; ++i) {
        typename T::value_type item{};
        get(item);
        value.push_back(std::move(item));
      }
    } else {
      static_assert(HasFields<T>, "field type has no decoding");
      static_assert(FieldsComplete<T>, "a member is missing from HANDHELD_FIELDS");
      std::apply([&](auto&... f) { (get(f), ...); }, value.fields());
    }
  }

 private:
  static constexpr size_t kReserveLimit = 256;

  void fail() { ok_ = false; }

  template <class I>
  void getRaw(I& value) {
    using U = std::make_unsigned_t<I>;
    if (size_ - pos_ < sizeof(U)) return fail();
    U u = 0;
    for (size_t i = 0; i < sizeof(U); ++i) u |= static_cast<U>(static_cast<U>(data_[pos_ + i]) << (8 * i));
    pos_ += sizeof(U);
    value = static_cast<I>(u);
  }

  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
  bool ok_ = true;
  std::vector<os::UniqueFd>* fds_;
  bool descriptorsLost_;
};

template <class T>
void encode(WireWriter& writer, const T& message) {
  writer.put(message);
}

// Decodes a whole message; trailing bytes make it invalid.
template <class T>
bool decode(const uint8_t* data, size_t size, std::vector<os::UniqueFd>* fds, T& message,
            bool descriptorsLost = false) {
  WireReader reader(data, size, fds, descriptorsLost);
  reader.get(message);
  return reader.ok() && reader.atEnd();
}

}  // namespace handheld::ipc
