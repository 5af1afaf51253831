// DrawTextW: measuring, alignment, word breaks, prefixes, ellipsis.
#include <gtest/gtest.h>

#include "gdi_test_support.h"

using gdi_test::inkBounds;
using gdi_test::MemoryDc;

namespace {

class DrawTextTest : public ::testing::Test {
 protected:
  DrawTextTest() : canvas_(120, 80) {
    LOGFONTW log{};
    log.lfHeight = -12;
    std::char_traits<char16_t>::copy(log.lfFaceName, u"Tahoma", 7);
    font_ = CreateFontIndirectW(&log);
    old_ = SelectObject(canvas_.dc(), font_);
    SetBkMode(canvas_.dc(), TRANSPARENT);
    TEXTMETRICW tm{};
    GetTextMetricsW(canvas_.dc(), &tm);
    lineHeight_ = tm.tmHeight;
  }
  ~DrawTextTest() override {
    SelectObject(canvas_.dc(), old_);
    DeleteObject(font_);
  }

  int width(std::u16string_view text) {
    SIZE size{};
    GetTextExtentPoint32W(canvas_.dc(), text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
  }
  int draw(std::u16string_view text, RECT& rect, UINT format) {
    return DrawTextW(canvas_.dc(), text.data(), static_cast<int>(text.size()), &rect, format);
  }

  MemoryDc canvas_;
  HFONT font_;
  HGDIOBJ old_;
  int lineHeight_ = 0;
};

}  // namespace

TEST_F(DrawTextTest, CalcRectMeasuresLinesWithoutDrawing) {
  RECT r{10, 10, 10, 10};
  EXPECT_EQ(draw(u"Hello", r, DT_CALCRECT | DT_SINGLELINE), lineHeight_);
  EXPECT_EQ(r.right - r.left, width(u"Hello"));
  EXPECT_EQ(r.bottom - r.top, lineHeight_);
  RECT multi{0, 0, 0, 0};
  EXPECT_EQ(draw(u"one\r\ntwo lines\nthree", multi, DT_CALCRECT), 3 * lineHeight_);
  EXPECT_EQ(multi.right, width(u"two lines"));
  RECT breaks{0, 0, 0, 0};
  EXPECT_EQ(draw(u"a\n\rb\r\rc", breaks, DT_CALCRECT), 4 * lineHeight_);  // LF CR is one
  RECT single{0, 0, 0, 0};
  draw(u"a\r\nb", single, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(single.right, width(u"a  b"));  // each break shows as a space
  EXPECT_EQ(inkBounds(canvas_.surface()).right, 0);
  // A count of -1 reads up to the terminator.
  RECT terminated{0, 0, 0, 0};
  DrawTextW(canvas_.dc(), u"Hello", -1, &terminated, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(terminated.right, width(u"Hello"));
}

TEST_F(DrawTextTest, WordBreakWrapsAtSpacesWithinTheWidth) {
  const int limit = width(u"alpha beta") + 2;
  RECT r{0, 0, limit, 0};
  int height = draw(u"alpha beta  gamma", r, DT_CALCRECT | DT_WORDBREAK);
  EXPECT_EQ(height, 2 * lineHeight_);  // "alpha beta" / "gamma"
  EXPECT_EQ(r.right, width(u"alpha beta"));
  RECT narrow{0, 0, 5, 0};
  EXPECT_EQ(draw(u"unbreakable word", narrow, DT_CALCRECT | DT_WORDBREAK), 2 * lineHeight_);
  EXPECT_EQ(narrow.right, width(u"unbreakable"));  // a long word stays whole
}

TEST_F(DrawTextTest, HorizontalAndVerticalAlignment) {
  const int w = width(u"Mid");
  RECT box{0, 0, 120, 80};
  draw(u"Mid", box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  RECT ink = inkBounds(canvas_.surface());
  const int left = (120 - w) / 2;
  const int top = (80 - lineHeight_) / 2;
  EXPECT_GE(ink.left, left);
  EXPECT_LE(ink.right, left + w + 1);
  EXPECT_GE(ink.top, top);
  EXPECT_LE(ink.bottom, top + lineHeight_);

  MemoryDc right(120, 80);
  SelectObject(right.dc(), font_);
  SetBkColor(right.dc(), RGB(255, 0, 0));  // opaque: the ink is the cell
  RECT rbox{0, 0, 120, 80};
  EXPECT_EQ(DrawTextW(right.dc(), u"End", 3, &rbox, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE), 80);
  RECT cell = inkBounds(right.surface());
  EXPECT_EQ(cell.right, 120);
  EXPECT_EQ(cell.bottom, 80);
  EXPECT_EQ(cell.left, 120 - width(u"End"));
  SelectObject(right.dc(), GetStockObject(SYSTEM_FONT));
}

TEST_F(DrawTextTest, PrefixUnderlinesAndNoPrefixKeepsTheAmpersand) {
  RECT r{0, 0, 0, 0};
  draw(u"&File", r, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(r.right, width(u"File"));
  RECT literal{0, 0, 0, 0};
  draw(u"&File", literal, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(literal.right, width(u"&File"));
  RECT doubled{0, 0, 0, 0};
  draw(u"A&&B", doubled, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(doubled.right, width(u"A&B"));

  RECT box{0, 0, 120, 30};
  draw(u"&File", box, DT_SINGLELINE);
  TEXTMETRICW tm{};
  GetTextMetricsW(canvas_.dc(), &tm);
  // Below the baseline, an underline as wide as "F" and nothing under "ile".
  const int f = width(u"F");
  bool underlined = false;
  for (int y = tm.tmAscent; y < tm.tmHeight; ++y) {
    bool full = true;
    for (int x = 0; x < f; ++x) full = full && canvas_.pixel(x, y) == RGB(0, 0, 0);
    bool restClear = true;
    for (int x = f + 1; x < width(u"File"); ++x) restClear = restClear && canvas_.pixel(x, y) == RGB(255, 255, 255);
    underlined = underlined || (full && restClear);
  }
  EXPECT_TRUE(underlined);
}

TEST_F(DrawTextTest, EndEllipsisFitsTheLine) {
  const int limit = width(u"A long title") - 1;
  RECT r{0, 0, limit, 0};
  draw(u"A long title that does not fit", r, DT_CALCRECT | DT_SINGLELINE | DT_END_ELLIPSIS);
  EXPECT_LE(r.right, limit);
  EXPECT_GE(r.right, width(u"..."));
  RECT fits{0, 0, 200, 0};
  draw(u"Short", fits, DT_CALCRECT | DT_SINGLELINE | DT_END_ELLIPSIS);
  EXPECT_EQ(fits.right, width(u"Short"));
}

TEST_F(DrawTextTest, DrawingIsClippedToTheRectangleUnlessNoClip) {
  RECT box{10, 10, 30, 20};
  draw(u"Clipped text", box, DT_SINGLELINE);
  RECT ink = inkBounds(canvas_.surface());
  EXPECT_GE(ink.left, 10);
  EXPECT_LE(ink.right, 30);
  EXPECT_LE(ink.bottom, 20);
  RECT free{10, 40, 30, 50};
  draw(u"Clipped text", free, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_GT(inkBounds(canvas_.surface()).right, 30);
}

TEST_F(DrawTextTest, LayoutsMatchGolden) {
  MemoryDc layouts(120, 100);
  HDC dc = layouts.dc();
  HGDIOBJ old = SelectObject(dc, font_);
  SetBkMode(dc, TRANSPARENT);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  const UINT formats[] = {DT_LEFT | DT_WORDBREAK, DT_CENTER | DT_SINGLELINE | DT_VCENTER,
                          DT_RIGHT | DT_SINGLELINE | DT_END_ELLIPSIS};
  const char16_t* texts[] = {u"Word wrapped text in a box", u"&Centred",
                             u"An ellipsis ends this long line"};
  for (int i = 0; i < 3; ++i) {
    RECT box{4, 1 + 33 * i, 116, 32 + 33 * i};
    Rectangle(dc, box.left - 1, box.top - 1, box.right + 1, box.bottom + 1);
    DrawTextW(dc, texts[i], -1, &box, formats[i]);
  }
  SelectObject(dc, old);
  gdi_test::expectMatchesGolden(layouts.surface(), "draw_text_layouts", 48);
}
