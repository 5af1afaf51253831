// BMP decoding: every depth and orientation, with and without the file header, refusals of
// broken data, and loading from device files.
#include <aygshell.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "fs/root.h"
#include "gdi/bmp.h"
#include "gdi/surface_dc.h"

using handheld::gdi::decodeBmp;

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

// A small BMP. values are per pixel, top row first: palette indices for 1/4/8 bits, stored
// values for 16 bits, 0x00RRGGBB for 24/32 bits.
struct BmpSpec {
  int width = 3;
  int height = 2;  // written negative when topDown
  bool topDown = false;
  int bits = 24;
  uint32_t compression = BI_RGB;
  uint32_t headerSize = 40;
  std::vector<uint32_t> palette;
  std::vector<uint32_t> masks;
  std::vector<uint32_t> values;
  bool fileHeader = true;
};

std::vector<uint8_t> encode(const BmpSpec& spec) {
  std::vector<uint8_t> info;
  put32(info, spec.headerSize);
  put32(info, static_cast<uint32_t>(spec.width));
  put32(info, static_cast<uint32_t>(spec.topDown ? -spec.height : spec.height));
  put16(info, 1);
  put16(info, static_cast<uint32_t>(spec.bits));
  put32(info, spec.compression);
  put32(info, 0);  // size image: readers must not trust it
  put32(info, 2835);
  put32(info, 2835);
  put32(info, static_cast<uint32_t>(spec.palette.size()));
  put32(info, 0);
  const bool masksInHeader = spec.headerSize >= 52;
  for (size_t i = 0; i < 3 && masksInHeader; ++i) put32(info, i < spec.masks.size() ? spec.masks[i] : 0);
  info.resize(spec.headerSize, 0);  // V4/V5 fields left zero
  if (!masksInHeader) {
    for (uint32_t m : spec.masks) put32(info, m);
  }
  for (uint32_t c : spec.palette) put32(info, c);
  const size_t rowBytes = (static_cast<size_t>(spec.width) * spec.bits + 31) / 32 * 4;
  std::vector<uint8_t> pixels(rowBytes * static_cast<size_t>(spec.height));
  for (int y = 0; y < spec.height; ++y) {
    int line = spec.topDown ? y : spec.height - 1 - y;
    uint8_t* row = pixels.data() + static_cast<size_t>(line) * rowBytes;
    for (int x = 0; x < spec.width; ++x) {
      uint32_t v = spec.values[static_cast<size_t>(y * spec.width + x)];
      if (spec.bits < 8) {
        size_t bit = static_cast<size_t>(x) * spec.bits;
        row[bit / 8] |= static_cast<uint8_t>(v << (8 - spec.bits - bit % 8));
      } else {
        for (int b = 0; b < spec.bits / 8; ++b) row[x * spec.bits / 8 + b] = static_cast<uint8_t>(v >> (8 * b));
      }
    }
  }
  std::vector<uint8_t> file;
  if (spec.fileHeader) {
    file.push_back('B');
    file.push_back('M');
    put32(file, static_cast<uint32_t>(14 + info.size() + pixels.size()));
    put32(file, 0);
    put32(file, static_cast<uint32_t>(14 + info.size()));
  }
  file.insert(file.end(), info.begin(), info.end());
  file.insert(file.end(), pixels.begin(), pixels.end());
  return file;
}

std::vector<uint32_t> decodedPixels(const std::vector<uint8_t>& bytes) {
  auto surface = decodeBmp(bytes);
  if (!surface) return {};
  std::vector<uint32_t> out;
  for (int y = 0; y < surface->height(); ++y) {
    for (int x = 0; x < surface->width(); ++x) out.push_back(surface->pixel(x, y));
  }
  return out;
}

const std::vector<uint32_t> kColours = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x808080};

}  // namespace

TEST(BmpDecode, EveryDepthInBothOrientationsWithAndWithoutFileHeader) {
  struct Depth {
    int bits;
    uint32_t compression;
    std::vector<uint32_t> palette;
    std::vector<uint32_t> masks;
    std::vector<uint32_t> values;
  };
  const std::vector<uint32_t> palette = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x808080};
  const Depth depths[] = {
      {1, BI_RGB, {0x000000, 0xFFFFFF}, {}, {1, 0, 1, 0, 0, 1}},
      {4, BI_RGB, palette, {}, {0, 1, 2, 3, 4, 5}},
      {8, BI_RGB, palette, {}, {0, 1, 2, 3, 4, 5}},
      {16, BI_RGB, {}, {}, {0x7C00, 0x03E0, 0x001F, 0x7FFF, 0x0000, 0x4210}},
      {16, BI_BITFIELDS, {}, {0xF800, 0x07E0, 0x001F}, {0xF800, 0x07E0, 0x001F, 0xFFFF, 0x0000, 0x8410}},
      {24, BI_RGB, {}, {}, kColours},
      {32, BI_RGB, {}, {}, kColours},
      {32, BI_BITFIELDS, {}, {0x00FF0000, 0x0000FF00, 0x000000FF}, kColours},
  };
  for (const Depth& depth : depths) {
    std::vector<uint32_t> expected = depth.bits == 1
                                         ? std::vector<uint32_t>{0xFFFFFF, 0, 0xFFFFFF, 0, 0, 0xFFFFFF}
                                         : kColours;
    if (depth.bits == 16) {
      // Grey stored in 5 (and 6) bits, widened back to 8.
      expected[5] = depth.compression == BI_BITFIELDS ? 0x848284 : 0x848484;
    }
    for (bool topDown : {false, true}) {
      for (bool fileHeader : {false, true}) {
        BmpSpec spec;
        spec.bits = depth.bits;
        spec.compression = depth.compression;
        spec.palette = depth.palette;
        spec.masks = depth.masks;
        spec.values = depth.values;
        spec.topDown = topDown;
        spec.fileHeader = fileHeader;
        EXPECT_EQ(decodedPixels(encode(spec)), expected)
            << depth.bits << " bits, top-down " << topDown << ", file header " << fileHeader;
      }
    }
  }
}

TEST(BmpDecode, LaterHeadersAreAcceptedWithTheirExtraFieldsIgnored) {
  BmpSpec spec;
  spec.bits = 16;
  spec.compression = BI_BITFIELDS;
  spec.masks = {0xF800, 0x07E0, 0x001F};
  spec.values = {0xF800, 0x07E0, 0x001F, 0xFFFF, 0x0000, 0xF800};
  for (uint32_t headerSize : {108u, 124u}) {
    spec.headerSize = headerSize;
    auto pixels = decodedPixels(encode(spec));
    ASSERT_EQ(pixels.size(), 6u) << headerSize;
    EXPECT_EQ(pixels[0], 0xFF0000u);
    EXPECT_EQ(pixels[3], 0xFFFFFFu);
  }
}

TEST(BmpDecode, PaletteIndicesBeyondThePaletteReadBlack) {
  BmpSpec spec;
  spec.bits = 8;
  spec.palette = {0x112233};
  spec.values = {0, 200, 0, 0, 0, 255};
  EXPECT_EQ(decodedPixels(encode(spec)),
            (std::vector<uint32_t>{0x112233, 0, 0x112233, 0x112233, 0x112233, 0}));
}

TEST(BmpDecode, BrokenDataIsRefused) {
  BmpSpec good;
  good.values = kColours;
  const std::vector<uint8_t> valid = encode(good);
  ASSERT_FALSE(decodedPixels(valid).empty());

  auto patched = [&](size_t offset, uint32_t value, int width) {
    std::vector<uint8_t> bytes = valid;
    for (int i = 0; i < width; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    return bytes;
  };
  // Offsets: file header 0..13, info header from 14.
  EXPECT_FALSE(decodeBmp(std::vector<uint8_t>(valid.begin(), valid.end() - 1)));  // truncated
  EXPECT_FALSE(decodeBmp(std::vector<uint8_t>(valid.begin(), valid.begin() + 30)));
  EXPECT_FALSE(decodeBmp(std::vector<uint8_t>{'B', 'M'}));
  EXPECT_FALSE(decodeBmp(std::vector<uint8_t>{}));
  EXPECT_FALSE(decodeBmp(patched(10, 0xFFFFFFF0u, 4)));  // pixel offset past the end
  EXPECT_FALSE(decodeBmp(patched(10, 20, 4)));           // pixels inside the header
  EXPECT_FALSE(decodeBmp(patched(14, 39, 4)));           // unknown header size
  EXPECT_FALSE(decodeBmp(patched(14, 0xFFFFFFFFu, 4)));
  EXPECT_FALSE(decodeBmp(patched(18, 0, 4)));            // no width
  EXPECT_FALSE(decodeBmp(patched(18, 9000, 4)));         // beyond the cap
  EXPECT_FALSE(decodeBmp(patched(18, 0x80000000u, 4)));  // negative width
  EXPECT_FALSE(decodeBmp(patched(22, 0x80000000u, 4)));  // height that cannot be negated
  EXPECT_FALSE(decodeBmp(patched(22, 0x40000000u, 4)));  // lying height
  EXPECT_FALSE(decodeBmp(patched(26, 2, 2)));            // planes
  EXPECT_FALSE(decodeBmp(patched(28, 7, 2)));            // depth
  EXPECT_FALSE(decodeBmp(patched(30, BI_RLE8, 4)));      // compressed
  EXPECT_FALSE(decodeBmp(patched(30, BI_BITFIELDS, 4)));  // masks for 24 bits
  EXPECT_FALSE(decodeBmp(patched(46, 1, 4)));            // palette that overlaps the pixels

  BmpSpec paletted;
  paletted.bits = 4;
  paletted.palette = {0, 0xFFFFFF};
  paletted.values = {0, 1, 0, 1, 0, 1};
  std::vector<uint8_t> bytes = encode(paletted);
  for (int i = 0; i < 4; ++i) bytes[46 + i] = static_cast<uint8_t>(17 >> (8 * i));  // > 2^4
  EXPECT_FALSE(decodeBmp(bytes));

  BmpSpec masked;
  masked.bits = 16;
  masked.compression = BI_BITFIELDS;
  masked.masks = {0xF800, 0x0FE0, 0x001F};  // red and green overlap
  masked.values = {0, 0, 0, 0, 0, 0};
  EXPECT_FALSE(decodeBmp(encode(masked)));
  masked.masks = {0xF800, 0x07E0, 0x0015};  // not contiguous
  EXPECT_FALSE(decodeBmp(encode(masked)));
}

class BitmapFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::filesystem::temp_directory_path() /
            ("gdi-bmp-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(root_);
    ASSERT_EQ(handheld::fs::useProcessRoot(root_), static_cast<DWORD>(ERROR_SUCCESS));
  }
  void TearDown() override { std::filesystem::remove_all(root_); }
  void write(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream(root_ / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  std::filesystem::path root_;
};

TEST_F(BitmapFiles, LoadImageReadsDeviceFilesAndStretches) {
  BmpSpec spec;
  spec.values = kColours;
  write("logo.bmp", encode(spec));
  HBITMAP plain = static_cast<HBITMAP>(
      LoadImageW(nullptr, u"\\logo.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  ASSERT_NE(plain, nullptr);
  BITMAP info{};
  ASSERT_EQ(GetObjectW(plain, sizeof info, &info), static_cast<int>(sizeof info));
  EXPECT_EQ(info.bmWidth, 3);
  EXPECT_EQ(info.bmHeight, 2);
  EXPECT_EQ(info.bmBits, nullptr);  // a device bitmap
  EXPECT_EQ(handheld::gdi::bitmapSurface(plain)->pixel(2, 0), 0x0000FFu);
  DeleteObject(plain);

  HBITMAP stretched = static_cast<HBITMAP>(LoadImageW(
      nullptr, u"\\logo.bmp", IMAGE_BITMAP, 6, 4, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  ASSERT_NE(stretched, nullptr);
  DIBSECTION section{};
  ASSERT_EQ(GetObjectW(stretched, sizeof section, &section), static_cast<int>(sizeof section));
  EXPECT_EQ(section.dsBm.bmWidth, 6);
  EXPECT_EQ(section.dsBm.bmBitsPixel, 32);
  EXPECT_NE(section.dsBm.bmBits, nullptr);
  EXPECT_EQ(handheld::gdi::bitmapSurface(stretched)->pixel(5, 3), 0x808080u);
  DeleteObject(stretched);

  HBITMAP dib = SHLoadDIBitmap(u"\\logo.bmp");
  ASSERT_NE(dib, nullptr);
  DeleteObject(dib);
  EXPECT_EQ(SHLoadDIBitmap(u"\\missing.bmp"), nullptr);
  write("broken.bmp", std::vector<uint8_t>{'B', 'M', 1, 2, 3});
  EXPECT_EQ(SHLoadDIBitmap(u"\\broken.bmp"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
}
