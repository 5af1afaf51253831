// GDI objects: stock objects, handles (bad, deleted, selected), GetObjectW, DC state,
// system colours, device capabilities and the rectangle helpers.
#include <gtest/gtest.h>

#include "gdi_test_support.h"

using gdi_test::MemoryDc;

TEST(Handles, BadAndDeletedHandlesFailWithoutHarm) {
  HGDIOBJ bogus = reinterpret_cast<HGDIOBJ>(0x4321);
  EXPECT_FALSE(DeleteObject(bogus));
  EXPECT_FALSE(DeleteObject(nullptr));
  EXPECT_EQ(GetObjectW(bogus, 0, nullptr), 0);
  EXPECT_EQ(GetObjectType(bogus), 0u);
  EXPECT_FALSE(DeleteDC(reinterpret_cast<HDC>(bogus)));
  EXPECT_EQ(SelectObject(reinterpret_cast<HDC>(bogus), GetStockObject(BLACK_PEN)), nullptr);
  EXPECT_EQ(SetTextColor(reinterpret_cast<HDC>(bogus), 0), CLR_INVALID);
  RECT r{0, 0, 1, 1};
  EXPECT_FALSE(FillRect(reinterpret_cast<HDC>(bogus), &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))));
  EXPECT_FALSE(BitBlt(reinterpret_cast<HDC>(bogus), 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));

  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_FALSE(DeleteObject(brush));
  MemoryDc canvas(2, 2);
  EXPECT_FALSE(FillRect(canvas.dc(), &r, brush));
  EXPECT_EQ(SelectObject(canvas.dc(), brush), nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_FALSE(DeleteDC(dc));
  EXPECT_FALSE(DeleteObject(dc));
}

TEST(Handles, StockObjectsAreNeverDeleted) {
  HGDIOBJ black = GetStockObject(BLACK_BRUSH);
  ASSERT_NE(black, nullptr);
  EXPECT_TRUE(DeleteObject(black));
  EXPECT_EQ(GetObjectType(black), static_cast<DWORD>(OBJ_BRUSH));
  EXPECT_EQ(GetStockObject(999), nullptr);
  for (int index : {WHITE_BRUSH, LTGRAY_BRUSH, GRAY_BRUSH, DKGRAY_BRUSH, NULL_BRUSH, WHITE_PEN,
                    BLACK_PEN, NULL_PEN, SYSTEM_FONT, DEFAULT_GUI_FONT}) {
    EXPECT_NE(GetStockObject(index), nullptr) << index;
  }
  EXPECT_EQ(GetStockObject(HOLLOW_BRUSH), GetStockObject(NULL_BRUSH));
}

TEST(Handles, DeletingASelectedPenWaitsUntilItIsDeselected) {
  MemoryDc canvas(4, 1);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HGDIOBJ previous = SelectObject(canvas.dc(), pen);
  EXPECT_EQ(previous, GetStockObject(BLACK_PEN));
  EXPECT_TRUE(DeleteObject(pen));
  MoveToEx(canvas.dc(), 0, 0, nullptr);
  LineTo(canvas.dc(), 2, 0);  // still drawn with the deleted pen
  EXPECT_EQ(canvas.pixel(1, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_PEN), pen);
  EXPECT_EQ(SelectObject(canvas.dc(), previous), pen);
  EXPECT_EQ(GetObjectType(pen), 0u);  // gone once deselected
}

TEST(Handles, SelectedBitmapsCannotBeDeletedOrSelectedTwice) {
  HDC first = CreateCompatibleDC(nullptr);
  HDC second = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(2, 2, 1, 32, nullptr);
  HGDIOBJ original = SelectObject(first, bitmap);
  ASSERT_NE(original, nullptr);
  EXPECT_EQ(SelectObject(second, bitmap), nullptr);
  EXPECT_FALSE(DeleteObject(bitmap));
  EXPECT_EQ(SelectObject(first, original), bitmap);
  EXPECT_TRUE(DeleteObject(bitmap));
  DeleteDC(first);
  DeleteDC(second);
}

TEST(Objects, GetObjectDescribesEachKind) {
  HPEN pen = CreatePen(PS_DASH, 1, RGB(1, 2, 3));
  LOGPEN logPen{};
  EXPECT_EQ(GetObjectW(pen, sizeof logPen, &logPen), static_cast<int>(sizeof logPen));
  EXPECT_EQ(logPen.lopnStyle, static_cast<UINT>(PS_DASH));
  EXPECT_EQ(logPen.lopnColor, RGB(1, 2, 3));
  DeleteObject(pen);

  HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6));
  LOGBRUSH logBrush{};
  EXPECT_EQ(GetObjectW(brush, sizeof logBrush, &logBrush), static_cast<int>(sizeof logBrush));
  EXPECT_EQ(logBrush.lbStyle, static_cast<UINT>(BS_SOLID));
  EXPECT_EQ(logBrush.lbColor, RGB(4, 5, 6));
  DeleteObject(brush);

  LOGFONTW request{};
  request.lfHeight = -13;
  request.lfWeight = FW_BOLD;
  std::char_traits<char16_t>::copy(request.lfFaceName, u"Tahoma", 7);
  HFONT font = CreateFontIndirectW(&request);
  LOGFONTW logFont{};
  EXPECT_EQ(GetObjectW(font, 0, nullptr), static_cast<int>(sizeof logFont));
  EXPECT_EQ(GetObjectW(font, sizeof logFont, &logFont), static_cast<int>(sizeof logFont));
  EXPECT_EQ(logFont.lfHeight, -13);
  EXPECT_EQ(std::u16string(logFont.lfFaceName), u"Tahoma");
  DeleteObject(font);

  HBITMAP mono = CreateBitmap(17, 3, 1, 1, nullptr);
  BITMAP info{};
  EXPECT_EQ(GetObjectW(mono, sizeof info, &info), static_cast<int>(sizeof info));
  EXPECT_EQ(info.bmBitsPixel, 1);
  EXPECT_EQ(info.bmWidthBytes, 4);  // rows padded to 16 bits
  DeleteObject(mono);
  EXPECT_EQ(CreateBitmap(4, 4, 1, 7, nullptr), nullptr);
  EXPECT_EQ(CreateBitmap(100000, 100000, 1, 32, nullptr), nullptr);
}

TEST(DeviceContexts, FreshMemoryDcsHoldAMonochromeBitmap) {
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_MEMDC));
  HBITMAP compatible = CreateCompatibleBitmap(dc, 8, 8);
  BITMAP info{};
  GetObjectW(compatible, sizeof info, &info);
  EXPECT_EQ(info.bmBitsPixel, 1);  // as on the platform
  DeleteObject(compatible);
  MemoryDc colour(2, 2);
  compatible = CreateCompatibleBitmap(colour.dc(), 8, 8);
  GetObjectW(compatible, sizeof info, &info);
  EXPECT_EQ(info.bmBitsPixel, 32);
  DeleteObject(compatible);
  DeleteDC(dc);
}

TEST(DeviceContexts, SaveAndRestoreBringBackAttributesAndObjects) {
  MemoryDc canvas(2, 2);
  HDC dc = canvas.dc();
  SetTextColor(dc, RGB(1, 1, 1));
  int level = SaveDC(dc);
  EXPECT_EQ(level, 1);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(9, 9, 9));
  SelectObject(dc, pen);
  SetTextColor(dc, RGB(2, 2, 2));
  SetBkMode(dc, TRANSPARENT);
  EXPECT_EQ(SaveDC(dc), 2);
  EXPECT_TRUE(RestoreDC(dc, -2));
  EXPECT_EQ(GetTextColor(dc), RGB(1, 1, 1));
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
  EXPECT_TRUE(DeleteObject(pen));  // no longer selected
  EXPECT_FALSE(RestoreDC(dc, 1));
}

TEST(DeviceContexts, CapabilitiesFollowTheDisplay) {
  MemoryDc canvas(1, 1);
  EXPECT_EQ(GetDeviceCaps(canvas.dc(), LOGPIXELSX), 96);
  EXPECT_EQ(GetDeviceCaps(canvas.dc(), LOGPIXELSY), 96);
  EXPECT_EQ(GetDeviceCaps(canvas.dc(), BITSPIXEL), 32);
  EXPECT_EQ(GetDeviceCaps(canvas.dc(), PLANES), 1);
  EXPECT_EQ(GetDeviceCaps(canvas.dc(), HORZRES), 240);
  EXPECT_NE(GetDeviceCaps(canvas.dc(), RASTERCAPS) & RC_STRETCHBLT, 0);
}

TEST(SystemColours, TableAndBrushesAcceptIndicesWithOrWithoutTheFlag) {
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
  EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), RGB(0, 0, 0));
  EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(0, 0, 128));
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE & ~SYS_COLOR_INDEX_FLAG), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(GetSysColor(COLOR_STATICTEXT), RGB(0, 0, 0));
  HBRUSH highlight = GetSysColorBrush(COLOR_HIGHLIGHT);
  ASSERT_NE(highlight, nullptr);
  EXPECT_TRUE(DeleteObject(highlight));  // stock: kept
  LOGBRUSH log{};
  GetObjectW(highlight, sizeof log, &log);
  EXPECT_EQ(log.lbColor, RGB(0, 0, 128));
  EXPECT_EQ(GetSysColorBrush(5000), nullptr);
  // FillRect accepts a colour index plus one in place of a brush.
  MemoryDc canvas(2, 2);
  RECT r{0, 0, 2, 2};
  FillRect(canvas.dc(), &r, reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_HIGHLIGHT + 1)));
  EXPECT_EQ(canvas.pixel(1, 1), RGB(0, 0, 128));
  FillRect(canvas.dc(), &r, reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BTNSHADOW & 0xFF) + 1));
  EXPECT_EQ(canvas.pixel(1, 1), RGB(128, 128, 128));
}

TEST(Rectangles, HelpersFollowHalfOpenRules) {
  RECT a{};
  RECT b{};
  SetRect(&a, 0, 0, 10, 10);
  SetRect(&b, 5, 5, 15, 15);
  RECT c{};
  EXPECT_TRUE(IntersectRect(&c, &a, &b));
  const RECT overlap{5, 5, 10, 10};
  EXPECT_TRUE(EqualRect(&c, &overlap));
  SetRect(&b, 10, 0, 20, 10);
  EXPECT_FALSE(IntersectRect(&c, &a, &b));  // touching edges do not overlap
  EXPECT_TRUE(IsRectEmpty(&c));
  EXPECT_TRUE(UnionRect(&c, &a, &b));
  EXPECT_EQ(c.right, 20);
  EXPECT_TRUE(PtInRect(&a, POINT{0, 0}));
  EXPECT_FALSE(PtInRect(&a, POINT{10, 5}));
  InflateRect(&a, 2, 1);
  OffsetRect(&a, 1, 1);
  const RECT moved{-1, 0, 13, 12};
  EXPECT_TRUE(EqualRect(&a, &moved));
  SetRectEmpty(&a);
  EXPECT_TRUE(IsRectEmpty(&a));
  CopyRect(&a, &b);
  EXPECT_TRUE(EqualRect(&a, &b));
}
