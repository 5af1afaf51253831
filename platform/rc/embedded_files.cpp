#include <cstring>

#include "resources/template_layout.h"
#include "statements.h"

namespace handheld::rc {

namespace {

uint32_t readU32(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value |= uint32_t{static_cast<uint8_t>(bytes[at + i])} << (8 * i);
  return value;
}
uint16_t readU16(const std::string& bytes, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) |
                               (static_cast<uint8_t>(bytes[at + 1]) << 8));
}

}  // namespace

std::vector<uint8_t> bitmapResource(const Token& fileName, const std::string& file) {
  constexpr size_t kHeader = resources::layout::kBitmapFileHeaderSize;
  constexpr size_t kSmallestInfoHeader = 12;  // BITMAPCOREHEADER
  if (file.size() < kHeader + kSmallestInfoHeader || file.compare(0, 2, "BM") != 0) {
    throw fileName.error("'" + fileName.text + "' is not a .bmp file");
  }
  uint32_t infoSize = readU32(file, kHeader);
  if (infoSize < kSmallestInfoHeader || infoSize > file.size() - kHeader) {
    throw fileName.error("'" + fileName.text + "' has a damaged bitmap header");
  }
  return std::vector<uint8_t>(file.begin() + kHeader, file.end());
}

std::vector<uint8_t> iconResource(const Token& fileName, const std::string& file, bool cursor) {
  const char* kind = cursor ? ".cur" : ".ico";
  constexpr size_t kDirectoryHeader = 6;
  constexpr size_t kDirectoryEntry = 16;
  if (file.size() < kDirectoryHeader || readU16(file, 0) != 0 ||
      readU16(file, 2) != (cursor ? 2 : 1)) {
    throw fileName.error("'" + fileName.text + "' is not a " + kind + " file");
  }
  uint16_t count = readU16(file, 4);
  if (count == 0 || file.size() < kDirectoryHeader + kDirectoryEntry * count) {
    throw fileName.error("'" + fileName.text + "' has a damaged image directory");
  }
  for (uint16_t i = 0; i < count; ++i) {
    size_t entry = kDirectoryHeader + kDirectoryEntry * i;
    uint64_t size = readU32(file, entry + 8);
    uint64_t offset = readU32(file, entry + 12);
    if (size == 0 || offset + size > file.size()) {
      throw fileName.error("'" + fileName.text + "' has an image outside the file");
    }
  }
  return std::vector<uint8_t>(file.begin(), file.end());
}

}  // namespace handheld::rc
