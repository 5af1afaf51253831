// Pen and brush drawing: the platform's end-point and edge rules, pens, brushes, clipping.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>

#include "gdi/surface_dc.h"
#include "gdi_test_support.h"

using gdi_test::MemoryDc;
using gdi_test::picture;
using Picture = std::vector<std::string>;

namespace {

void selectBlackPenNoBrush(HDC dc) {
  SelectObject(dc, GetStockObject(BLACK_PEN));
  SelectObject(dc, GetStockObject(NULL_BRUSH));
}

}  // namespace

TEST(Lines, LineToExcludesTheEndPointAndMovesThePosition) {
  MemoryDc canvas(7, 4);
  MoveToEx(canvas.dc(), 1, 1, nullptr);
  LineTo(canvas.dc(), 5, 1);
  MoveToEx(canvas.dc(), 0, 0, nullptr);
  LineTo(canvas.dc(), 3, 3);
  POINT position{};
  MoveToEx(canvas.dc(), 0, 0, &position);
  EXPECT_EQ(position.x, 3);
  EXPECT_EQ(position.y, 3);
  EXPECT_EQ(picture(canvas.surface()), (Picture{"#......", ".####..", "..#....", "......."}));
}

TEST(Lines, ReversedAndSteepLinesCoverEveryRowOnce) {
  MemoryDc canvas(4, 7);
  MoveToEx(canvas.dc(), 3, 6, nullptr);
  LineTo(canvas.dc(), 0, 0);  // steep, drawn upward
  Picture p = picture(canvas.surface());
  for (int y = 1; y <= 6; ++y) {
    EXPECT_EQ(std::count(p[y].begin(), p[y].end(), '#'), 1) << "row " << y;
  }
  EXPECT_EQ(p[0], "....");  // the end point
}

TEST(Lines, DashedPenDrawsSixAndSkipsTwo) {
  MemoryDc canvas(20, 1);
  HPEN dash = CreatePen(PS_DASH, 1, RGB(0, 0, 0));
  HGDIOBJ old = SelectObject(canvas.dc(), dash);
  MoveToEx(canvas.dc(), 0, 0, nullptr);
  LineTo(canvas.dc(), 20, 0);
  SelectObject(canvas.dc(), old);
  DeleteObject(dash);
  EXPECT_EQ(picture(canvas.surface())[0], "######..######..####");
}

TEST(Lines, PolylineDrawsEverySegmentWithoutTheLastPoint) {
  MemoryDc canvas(5, 5);
  const POINT points[] = {{0, 0}, {4, 0}, {4, 4}};
  Polyline(canvas.dc(), points, 3);
  EXPECT_EQ(picture(canvas.surface()), (Picture{"#####", "....#", "....#", "....#", "....."}));
}

TEST(Lines, WidePensAreCentredOnThePath) {
  MemoryDc canvas(9, 7);
  HPEN wide = CreatePen(PS_SOLID, 3, RGB(0, 0, 0));
  HGDIOBJ old = SelectObject(canvas.dc(), wide);
  MoveToEx(canvas.dc(), 2, 3, nullptr);
  LineTo(canvas.dc(), 7, 3);
  SelectObject(canvas.dc(), old);
  DeleteObject(wide);
  EXPECT_EQ(picture(canvas.surface()),
            (Picture{".........", ".........", ".#######.", ".#######.", ".#######.", ".........",
                     "........."}));
}

TEST(Shapes, RectangleOutlineExcludesRightAndBottom) {
  MemoryDc canvas(8, 6);
  selectBlackPenNoBrush(canvas.dc());
  Rectangle(canvas.dc(), 1, 1, 6, 5);
  EXPECT_EQ(picture(canvas.surface()),
            (Picture{"........", ".#####..", ".#...#..", ".#...#..", ".#####..", "........"}));
}

TEST(Shapes, RectangleWithoutPenIsOnePixelSmaller) {
  MemoryDc canvas(8, 6);
  SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
  SelectObject(canvas.dc(), GetStockObject(BLACK_BRUSH));
  Rectangle(canvas.dc(), 1, 1, 6, 5);
  EXPECT_EQ(picture(canvas.surface()),
            (Picture{"........", ".####...", ".####...", ".####...", "........", "........"}));
}

TEST(Shapes, RectangleFillsInsideThePenWithTheBrush) {
  MemoryDc canvas(10, 10);
  HPEN pen = CreatePen(PS_SOLID, 3, RGB(255, 0, 0));
  HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
  SelectObject(canvas.dc(), pen);
  HGDIOBJ oldBrush = SelectObject(canvas.dc(), brush);
  Rectangle(canvas.dc(), 2, 2, 8, 8);
  EXPECT_EQ(canvas.pixel(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(canvas.pixel(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(canvas.pixel(3, 3), RGB(255, 0, 0));
  EXPECT_EQ(canvas.pixel(4, 4), RGB(0, 0, 255));
  EXPECT_EQ(canvas.pixel(5, 5), RGB(0, 0, 255));
  EXPECT_EQ(canvas.pixel(8, 8), RGB(255, 0, 0));
  EXPECT_EQ(canvas.pixel(9, 9), RGB(255, 255, 255));
  SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
  SelectObject(canvas.dc(), oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
}

TEST(Shapes, EllipseStaysInsideItsBoxAndIsSymmetric) {
  MemoryDc canvas(11, 9);
  selectBlackPenNoBrush(canvas.dc());
  Ellipse(canvas.dc(), 1, 1, 10, 8);
  Picture p = picture(canvas.surface());
  EXPECT_EQ(p[0], "...........");
  EXPECT_EQ(p[8], "...........");
  for (const auto& row : p) {
    EXPECT_EQ(row.front(), '.');
    EXPECT_EQ(row.back(), '.');
    EXPECT_EQ(row, std::string(row.rbegin(), row.rend()));  // left-right mirror
  }
  for (int y = 0; y < 9; ++y) EXPECT_EQ(p[y], p[8 - y]);  // top-bottom mirror
  EXPECT_EQ(p[4][1], '#');   // touches the left edge
  EXPECT_EQ(p[4][5], '.');   // hollow
  EXPECT_EQ(p[1][5], '#');   // touches the top edge
  EXPECT_EQ(p[1][1], '.');   // corners stay clear
}

TEST(Shapes, RoundRectCutsItsCornersAndFillsItsMiddle) {
  MemoryDc canvas(12, 10);
  SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
  SelectObject(canvas.dc(), GetStockObject(GRAY_BRUSH));
  RoundRect(canvas.dc(), 0, 0, 12, 10, 6, 6);
  EXPECT_EQ(canvas.pixel(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(canvas.pixel(6, 0), RGB(0, 0, 0));
  EXPECT_EQ(canvas.pixel(0, 5), RGB(0, 0, 0));
  EXPECT_EQ(canvas.pixel(6, 5), RGB(128, 128, 128));
  SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
}

TEST(Shapes, PolygonFillsByPixelCentres) {
  MemoryDc canvas(8, 8);
  SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
  SelectObject(canvas.dc(), GetStockObject(BLACK_BRUSH));
  const POINT triangle[] = {{0, 0}, {8, 0}, {0, 8}};
  Polygon(canvas.dc(), triangle, 3);
  EXPECT_EQ(picture(canvas.surface()),
            (Picture{"#######.", "######..", "#####...", "####....", "###.....", "##......",
                     "#.......", "........"}));
}

TEST(Shapes, FrameRectDrawsOnePixelInsideTheRectangle) {
  MemoryDc canvas(5, 4);
  RECT r{0, 0, 4, 3};
  FrameRect(canvas.dc(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(picture(canvas.surface()), (Picture{"####.", "#..#.", "####.", "....."}));
}

TEST(Shapes, FocusRectangleUndoesItself) {
  MemoryDc canvas(6, 5);
  RECT r{0, 0, 6, 5};
  DrawFocusRect(canvas.dc(), &r);
  EXPECT_EQ(picture(canvas.surface()),
            (Picture{"#.#.#.", ".....#", "#.....", ".....#", "#.#.#."}));
  DrawFocusRect(canvas.dc(), &r);
  EXPECT_EQ(gdi_test::inkBounds(canvas.surface()).right, 0);
}

TEST(Shapes, PixelsOutsideTheTargetAreInvalid) {
  MemoryDc canvas(4, 4);
  EXPECT_EQ(SetPixel(canvas.dc(), 1, 2, RGB(10, 20, 30)), RGB(10, 20, 30));
  EXPECT_EQ(GetPixel(canvas.dc(), 1, 2), RGB(10, 20, 30));
  EXPECT_EQ(SetPixel(canvas.dc(), 4, 0, RGB(0, 0, 0)), CLR_INVALID);
  EXPECT_EQ(GetPixel(canvas.dc(), -1, 0), CLR_INVALID);
}

TEST(Shapes, HugeShapesAreClippedWithoutCostInTheirSize) {
  MemoryDc canvas(16, 16);
  auto start = std::chrono::steady_clock::now();
  RECT huge{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  FillRect(canvas.dc(), &huge, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(canvas.pixel(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(canvas.pixel(15, 15), RGB(0, 0, 0));
  SelectObject(canvas.dc(), GetStockObject(WHITE_PEN));
  Ellipse(canvas.dc(), -1000000000, -1000000000, 1000000000, 1000000000);
  Rectangle(canvas.dc(), INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  MoveToEx(canvas.dc(), INT_MIN, INT_MIN, nullptr);
  LineTo(canvas.dc(), INT_MAX, INT_MAX);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_EQ(canvas.pixel(5, 5), RGB(255, 255, 255));  // the diagonal line crossed here
}

TEST(SurfaceDc, DrawsOnlyInsideItsClipAndReportsTheDamage) {
  auto surface = handheld::gdi::Surface::create(10, 10, handheld::gdi::PixelFormat::xrgb32());
  HDC dc = handheld::gdi::createSurfaceDC(surface, {2, 1}, {{2, 1, 6, 5}, {4, 3, 9, 8}});
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(handheld::gdi::surfaceDCDamage(dc).right, 0);
  RECT all{-5, -5, 50, 50};
  InvertRect(dc, &all);  // overlapping clip parts are inverted once
  EXPECT_EQ(picture(*surface, RGB(0, 0, 0)),
            (Picture{"..........", "..####....", "..####....", "..#######.", "..#######.",
                     "....#####.", "....#####.", "....#####.", "..........", ".........."}));
  RECT damage = handheld::gdi::surfaceDCDamage(dc);
  EXPECT_EQ(damage.left, 2);
  EXPECT_EQ(damage.top, 1);
  EXPECT_EQ(damage.right, 9);
  EXPECT_EQ(damage.bottom, 8);
  handheld::gdi::resetSurfaceDCDamage(dc);
  // Logical (0,0) is the origin (2,1).
  SetPixel(dc, 0, 0, RGB(255, 0, 0));
  EXPECT_EQ(surface->pixel(2, 1), 0xFF0000u);
  damage = handheld::gdi::surfaceDCDamage(dc);
  EXPECT_EQ(damage.left, 2);
  EXPECT_EQ(damage.right, 3);
  // A new clip and origin (a paint's update region).
  ASSERT_TRUE(handheld::gdi::setSurfaceDCClip(dc, {0, 0}, {{0, 9, 10, 10}}));
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(surface->pixel(0, 9), 0xFFFFFFu);
  EXPECT_EQ(surface->pixel(0, 8), 0u);
  EXPECT_FALSE(DeleteDC(dc));  // window DCs are released by the window code
  EXPECT_TRUE(handheld::gdi::releaseSurfaceDC(dc));
  EXPECT_EQ(SetPixel(dc, 0, 0, 0), CLR_INVALID);
}

TEST(SurfaceDc, ViewportOriginShiftsDrawing) {
  MemoryDc canvas(6, 6);
  SetViewportOrgEx(canvas.dc(), 2, 3, nullptr);
  SetPixel(canvas.dc(), 0, 0, RGB(0, 0, 0));
  EXPECT_EQ(canvas.pixel(2, 3), RGB(0, 0, 0));
  POINT origin{};
  GetViewportOrgEx(canvas.dc(), &origin);
  EXPECT_EQ(origin.x, 2);
  SetViewportOrgEx(canvas.dc(), 0, 0, nullptr);
}

TEST(Shapes, SceneMatchesGolden) {
  MemoryDc canvas(64, 48, RGB(240, 240, 240));
  HDC dc = canvas.dc();
  HBRUSH blue = CreateSolidBrush(RGB(0, 64, 200));
  HPEN red = CreatePen(PS_SOLID, 2, RGB(200, 0, 0));
  SelectObject(dc, red);
  SelectObject(dc, blue);
  Rectangle(dc, 2, 2, 30, 20);
  Ellipse(dc, 34, 2, 62, 22);
  SelectObject(dc, GetStockObject(BLACK_PEN));
  RoundRect(dc, 2, 24, 30, 46, 10, 10);
  const POINT star[] = {{46, 24}, {52, 46}, {36, 32}, {58, 32}, {40, 46}};
  SelectObject(dc, GetStockObject(GRAY_BRUSH));
  Polygon(dc, star, 5);
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(red);
  DeleteObject(blue);
  gdi_test::expectMatchesGolden(canvas.surface(), "shapes_scene");
}

TEST(Brushes, PatternBrushesTileFromTheOriginAndKeepTheirOwnCopy) {
  HBITMAP checker = CreateBitmap(2, 2, 1, 32, nullptr);  // black
  {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, checker);
    SetPixel(dc, 1, 0, RGB(255, 255, 255));
    SetPixel(dc, 0, 1, RGB(255, 255, 255));
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  HBRUSH brush = CreatePatternBrush(checker);
  DeleteObject(checker);  // the brush does not depend on the bitmap
  MemoryDc canvas(5, 3);
  RECT r{1, 0, 5, 3};
  FillRect(canvas.dc(), &r, brush);
  EXPECT_EQ(picture(canvas.surface()), (Picture{"..#.#", ".#.#.", "..#.#"}));
  DeleteObject(brush);

  // A monochrome pattern takes the DC's text colour for 0 bits and background for 1 bits.
  const uint8_t bits[4] = {0x80, 0, 0x00, 0};  // 2x2: top-left set
  HBITMAP mono = CreateBitmap(2, 2, 1, 1, bits);
  HBRUSH monoBrush = CreatePatternBrush(mono);
  SetTextColor(canvas.dc(), RGB(0, 0, 255));
  SetBkColor(canvas.dc(), RGB(255, 0, 0));
  RECT all{0, 0, 2, 2};
  FillRect(canvas.dc(), &all, monoBrush);
  EXPECT_EQ(canvas.pixel(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(canvas.pixel(1, 1), RGB(0, 0, 255));
  DeleteObject(monoBrush);
  DeleteObject(mono);
}

TEST(Shapes, DrawEdgeUsesTheThreeDimensionalColoursAndAdjusts) {
  MemoryDc canvas(6, 6);
  RECT r{0, 0, 6, 6};
  DrawEdge(canvas.dc(), &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  EXPECT_EQ(r.left, 2);
  EXPECT_EQ(r.bottom, 4);
  EXPECT_EQ(canvas.pixel(0, 2), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(canvas.pixel(5, 2), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(canvas.pixel(1, 2), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(canvas.pixel(4, 2), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(canvas.pixel(2, 2), RGB(255, 255, 255));
}
