// Input: one byte choosing the buffer capacity, then the format as little-endian UTF-16.
// The values come from fixed lists that include the awkward ones (NULL text, extreme
// numbers, NaN, unpaired surrogates, bad UTF-8), so every conversion is safe to feed.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "strings/format.h"

namespace {

template <class T, size_t N>
const T& cycle(const T (&values)[N], size_t& next) {
  return values[next++ % N];
}

class FixedArguments final : public handheld::strings::FormatArguments {
 public:
  int32_t nextInt32() override {
    static constexpr int32_t kValues[] = {0, -1, 42, std::numeric_limits<int32_t>::min(),
                                          std::numeric_limits<int32_t>::max(), 0xD83D, 0xDE00};
    return cycle(kValues, next_);
  }
  int64_t nextInt64() override {
    static constexpr int64_t kValues[] = {0, -1, std::numeric_limits<int64_t>::min(),
                                          std::numeric_limits<int64_t>::max()};
    return cycle(kValues, next_);
  }
  double nextDouble() override {
    static const double kValues[] = {0.0, -0.0, 3.14159, -1e-300, std::numeric_limits<double>::max(),
                                     -std::numeric_limits<double>::max(), std::numeric_limits<double>::denorm_min(),
                                     INFINITY, -INFINITY, NAN};
    return cycle(kValues, next_);
  }
  const WCHAR* nextWideText() override {
    static const std::u16string kLong(3000, u'w');
    static const WCHAR kLoneHigh[] = {u'a', 0xD83D, 0};
    static const WCHAR* const kValues[] = {nullptr, u"", u"text", u"\U0001F600\U0001F600", kLoneHigh, kLong.c_str()};
    return cycle(kValues, next_);
  }
  const char* nextNarrowText() override {
    static const std::string kLong(3000, 'n');
    static const char* const kValues[] = {nullptr, "", "abc", "\xF0\x9F\x98\x80", "\xF0\x9F", "\xC0\xAF\xFF",
                                          kLong.c_str()};
    return cycle(kValues, next_);
  }

 private:
  size_t next_ = 0;
};

constexpr size_t kGuardUnits = 16;
constexpr WCHAR kGuard = 0xA5A5;

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // Small capacities find cut-off faults; 1024 is the one wsprintfW uses.
  const size_t capacity = data[0] >= 0xF0 ? 1024 : data[0] % 40;
  std::u16string format;
  for (size_t i = 1; i + 1 < size; i += 2) {
    format.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  }

  std::vector<WCHAR> buffer(capacity + kGuardUnits, kGuard);
  FixedArguments arguments;
  const size_t length = handheld::strings::formatW(buffer.data(), capacity, format.c_str(), arguments);
  if (capacity == 0) {
    check(length == 0);
  } else {
    check(length < capacity);
    check(buffer[length] == u'\0');
  }
  for (size_t i = capacity; i < buffer.size(); ++i) check(buffer[i] == kGuard);
  return 0;
}
