// PatBlt, BitBlt, StretchBlt, TransparentImage; monochrome conversions; DIB sections.
#include <gtest/gtest.h>

#include "gdi/surface_dc.h"
#include "gdi_test_support.h"

using gdi_test::MemoryDc;
using gdi_test::picture;
using Picture = std::vector<std::string>;

namespace {

// One destination pixel after a raster operation with the given source, pattern, destination.
COLORREF ropResult(DWORD rop, COLORREF source, COLORREF pattern, COLORREF dest) {
  MemoryDc from(1, 1, source);
  MemoryDc to(1, 1, dest);
  HBRUSH brush = CreateSolidBrush(pattern);
  HGDIOBJ old = SelectObject(to.dc(), brush);
  EXPECT_TRUE(BitBlt(to.dc(), 0, 0, 1, 1, from.dc(), 0, 0, rop));
  SelectObject(to.dc(), old);
  DeleteObject(brush);
  return to.pixel(0, 0);
}

void fillRow(MemoryDc& canvas, int y, std::initializer_list<COLORREF> colors) {
  int x = 0;
  for (COLORREF c : colors) SetPixel(canvas.dc(), x++, y, c);
}

}  // namespace

TEST(RasterOps, CombineSourcePatternAndDestinationBitwise) {
  const COLORREF s = RGB(0xF0, 0x0F, 0x55);
  const COLORREF p = RGB(0x3C, 0x3C, 0x3C);
  const COLORREF d = RGB(0xAA, 0xCC, 0x0F);
  EXPECT_EQ(ropResult(SRCCOPY, s, p, d), s);
  EXPECT_EQ(ropResult(SRCPAINT, s, p, d), s | d);
  EXPECT_EQ(ropResult(SRCAND, s, p, d), s & d);
  EXPECT_EQ(ropResult(SRCINVERT, s, p, d), s ^ d);
  EXPECT_EQ(ropResult(NOTSRCCOPY, s, p, d), ~s & 0xFFFFFF);
  EXPECT_EQ(ropResult(SRCERASE, s, p, d), s & ~d & 0xFFFFFF);
  EXPECT_EQ(ropResult(MERGECOPY, s, p, d), s & p);
  EXPECT_EQ(ropResult(BLACKNESS, s, p, d), 0u);
  EXPECT_EQ(ropResult(WHITENESS, s, p, d), 0xFFFFFFu);
  EXPECT_EQ(ropResult(PATCOPY, s, p, d), p);
  EXPECT_EQ(ropResult(PATINVERT, s, p, d), p ^ d);
  EXPECT_EQ(ropResult(DSTINVERT, s, p, d), ~d & 0xFFFFFF);
}

TEST(RasterOps, PatBltUsesTheBrushAndRefusesSourceOperations) {
  MemoryDc canvas(4, 2, RGB(0x10, 0x20, 0x30));
  HBRUSH brush = CreateSolidBrush(RGB(0xFF, 0x00, 0xFF));
  HGDIOBJ old = SelectObject(canvas.dc(), brush);
  EXPECT_TRUE(PatBlt(canvas.dc(), 0, 0, 2, 2, PATCOPY));
  EXPECT_TRUE(PatBlt(canvas.dc(), 4, 0, -1, 1, DSTINVERT));  // negative width runs left
  EXPECT_FALSE(PatBlt(canvas.dc(), 0, 0, 1, 1, SRCCOPY));
  EXPECT_EQ(canvas.pixel(1, 1), RGB(0xFF, 0x00, 0xFF));
  EXPECT_EQ(canvas.pixel(3, 0), RGB(0xEF, 0xDF, 0xCF));
  EXPECT_EQ(canvas.pixel(2, 0), RGB(0x10, 0x20, 0x30));
  SelectObject(canvas.dc(), old);
  DeleteObject(brush);
}

TEST(BitBlt, OverlappingCopiesWithinOneBitmapAreExact) {
  MemoryDc canvas(6, 1);
  const COLORREF c[] = {RGB(1, 0, 0), RGB(2, 0, 0), RGB(3, 0, 0), RGB(4, 0, 0), RGB(5, 0, 0),
                        RGB(6, 0, 0)};
  fillRow(canvas, 0, {c[0], c[1], c[2], c[3], c[4], c[5]});
  BitBlt(canvas.dc(), 1, 0, 4, 1, canvas.dc(), 0, 0, SRCCOPY);  // shift right
  EXPECT_EQ(canvas.pixel(1, 0), c[0]);
  EXPECT_EQ(canvas.pixel(4, 0), c[3]);
  EXPECT_EQ(canvas.pixel(5, 0), c[5]);
  BitBlt(canvas.dc(), 0, 0, 5, 1, canvas.dc(), 1, 0, SRCCOPY);  // shift back left
  EXPECT_EQ(canvas.pixel(0, 0), c[0]);
  EXPECT_EQ(canvas.pixel(3, 0), c[3]);
  EXPECT_EQ(canvas.pixel(4, 0), c[5]);
}

TEST(BitBlt, SourcePixelsOutsideTheSourceLeaveTheDestination) {
  MemoryDc source(2, 2, RGB(0, 0, 0));
  MemoryDc dest(4, 4);
  BitBlt(dest.dc(), 0, 0, 4, 4, source.dc(), -1, -1, SRCCOPY);
  EXPECT_EQ(picture(dest.surface()), (Picture{"....", ".##.", ".##.", "...."}));
}

TEST(StretchBlt, ScalesByNearestSampleAndMirrors) {
  MemoryDc source(2, 1);
  fillRow(source, 0, {RGB(0, 0, 0), RGB(255, 0, 0)});
  MemoryDc dest(6, 2);
  StretchBlt(dest.dc(), 0, 0, 4, 2, source.dc(), 0, 0, 2, 1, SRCCOPY);
  EXPECT_EQ(dest.pixel(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(dest.pixel(1, 1), RGB(0, 0, 0));
  EXPECT_EQ(dest.pixel(2, 0), RGB(255, 0, 0));
  EXPECT_EQ(dest.pixel(3, 1), RGB(255, 0, 0));
  EXPECT_EQ(dest.pixel(4, 0), RGB(255, 255, 255));
  StretchBlt(dest.dc(), 2, 0, -2, 1, source.dc(), 0, 0, 2, 1, SRCCOPY);  // mirrored into 0..1
  EXPECT_EQ(dest.pixel(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(dest.pixel(1, 0), RGB(0, 0, 0));
  StretchBlt(dest.dc(), 0, 0, 1, 1, source.dc(), 0, 0, 2, 1, SRCCOPY);  // shrinking samples
  EXPECT_EQ(dest.pixel(0, 0), RGB(255, 0, 0));
}

TEST(TransparentImage, SkipsTheKeyColourAlsoWhenStretching) {
  MemoryDc source(2, 2, RGB(255, 0, 255));
  SetPixel(source.dc(), 0, 0, RGB(0, 0, 0));
  MemoryDc dest(4, 4);
  ASSERT_TRUE(TransparentImage(dest.dc(), 0, 0, 4, 4, source.dc(), 0, 0, 2, 2, RGB(255, 0, 255)));
  EXPECT_EQ(picture(dest.surface()), (Picture{"##..", "##..", "....", "...."}));
  // The source may be the bitmap itself.
  MemoryDc second(2, 2);
  ASSERT_TRUE(TransparentImage(second.dc(), 0, 0, 2, 2, source.bitmap(), 0, 0, 2, 2,
                               RGB(255, 0, 255)));
  EXPECT_EQ(picture(second.surface()), (Picture{"#.", ".."}));
  EXPECT_FALSE(TransparentImage(second.dc(), 0, 0, 2, 2, reinterpret_cast<HANDLE>(0x1234), 0, 0,
                                2, 2, 0));
}

TEST(Monochrome, ColourToMaskAndMaskToColourFollowTheDcColours) {
  MemoryDc colour(3, 1);
  fillRow(colour, 0, {RGB(255, 0, 255), RGB(1, 2, 3), RGB(255, 0, 255)});
  HDC maskDc = CreateCompatibleDC(nullptr);
  HBITMAP mask = CreateBitmap(3, 1, 1, 1, nullptr);
  HGDIOBJ old = SelectObject(maskDc, mask);
  SetBkColor(colour.dc(), RGB(255, 0, 255));  // the source background becomes white
  BitBlt(maskDc, 0, 0, 3, 1, colour.dc(), 0, 0, SRCCOPY);
  EXPECT_EQ(GetPixel(maskDc, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(maskDc, 1, 0), RGB(0, 0, 0));
  MemoryDc back(3, 1);
  SetTextColor(back.dc(), RGB(0, 128, 0));  // 0 bits
  SetBkColor(back.dc(), RGB(0, 0, 200));    // 1 bits
  BitBlt(back.dc(), 0, 0, 3, 1, maskDc, 0, 0, SRCCOPY);
  EXPECT_EQ(back.pixel(0, 0), RGB(0, 0, 200));
  EXPECT_EQ(back.pixel(1, 0), RGB(0, 128, 0));
  SelectObject(maskDc, old);
  DeleteObject(mask);
  DeleteDC(maskDc);
}

namespace {

struct DibInfo {
  BITMAPINFOHEADER header;
  DWORD extra[256];  // masks or palette
};

HBITMAP makeDib(int width, int height, int bits, DWORD compression, std::vector<DWORD> extra,
                void** pixels) {
  DibInfo info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = height;
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(bits);
  info.header.biCompression = compression;
  info.header.biClrUsed = bits <= 8 ? static_cast<DWORD>(extra.size()) : 0;
  std::copy_n(extra.begin(), std::min<size_t>(extra.size(), 256), info.extra);
  return CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, pixels,
                          nullptr, 0);
}

}  // namespace

TEST(DibSection, SixteenAndTwentyFourBitSectionsAreDrawnIntoInTheirLayout) {
  struct Case {
    int bits;
    DWORD compression;
    std::vector<DWORD> masks;
    uint32_t redValue;  // the stored value of pure red
  };
  const Case cases[] = {{16, BI_RGB, {}, 0x7C00},
                        {16, BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}, 0xF800},
                        {24, BI_RGB, {}, 0xFF0000},
                        {32, BI_RGB, {}, 0xFF0000}};
  for (const Case& c : cases) {
    void* bits = nullptr;
    HBITMAP dib = makeDib(4, -2, c.bits, c.compression, c.masks, &bits);  // top-down
    ASSERT_NE(dib, nullptr) << c.bits;
    ASSERT_NE(bits, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, dib);
    RECT r{1, 0, 2, 1};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &r, red);
    DeleteObject(red);
    const auto* bytes = static_cast<const uint8_t*>(bits);
    const int bytesPerPixel = c.bits / 8;
    uint32_t stored = 0;
    for (int i = 0; i < bytesPerPixel; ++i) stored |= static_cast<uint32_t>(bytes[bytesPerPixel + i]) << (8 * i);
    EXPECT_EQ(stored, c.redValue) << c.bits << " bits";
    EXPECT_EQ(GetPixel(dc, 1, 0), RGB(255, 0, 0));
    // Callers write bits directly and blit them anywhere.
    MemoryDc dest(4, 2);
    BitBlt(dest.dc(), 0, 0, 4, 2, dc, 0, 0, SRCCOPY);
    EXPECT_EQ(dest.pixel(1, 0), RGB(255, 0, 0));
    EXPECT_EQ(dest.pixel(0, 0), RGB(0, 0, 0));
    DIBSECTION section{};
    ASSERT_EQ(GetObjectW(dib, sizeof section, &section), static_cast<int>(sizeof section));
    EXPECT_EQ(section.dsBm.bmBits, bits);
    EXPECT_EQ(section.dsBm.bmBitsPixel, c.bits);
    EXPECT_EQ(section.dsBmih.biHeight, -2);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(dib);
  }
}

TEST(DibSection, PaletteSectionsBlitThroughTheirPalette) {
  void* bits = nullptr;
  HBITMAP dib = makeDib(2, 2, 4, BI_RGB, {0x000000, 0x00FF00, 0x0000FF}, &bits);  // bottom-up
  ASSERT_NE(dib, nullptr);
  auto* bytes = static_cast<uint8_t*>(bits);
  bytes[0] = 0x12;  // bottom row: index 1, index 2
  bytes[4] = 0x00;  // top row: index 0, index 0
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, dib);
  MemoryDc dest(2, 2);
  BitBlt(dest.dc(), 0, 0, 2, 2, dc, 0, 0, SRCCOPY);
  EXPECT_EQ(dest.pixel(0, 1), RGB(0, 255, 0));
  EXPECT_EQ(dest.pixel(1, 1), RGB(0, 0, 255));
  EXPECT_EQ(dest.pixel(0, 0), RGB(0, 0, 0));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(dib);
  EXPECT_EQ(makeDib(2, 2, 8, BI_RGB, std::vector<DWORD>(300), &bits), nullptr);  // lying count
  EXPECT_EQ(bits, nullptr);
  EXPECT_EQ(makeDib(2, 2, 16, BI_BITFIELDS, {0xF000, 0x1F00, 0x00FF}, &bits), nullptr);
}
