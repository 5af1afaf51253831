// Text: deterministic metrics and extents, surrogate pairs, ExtTextOutW options, goldens.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "gdi_test_support.h"

using gdi_test::inkBounds;
using gdi_test::MemoryDc;

namespace {

HFONT makeFont(LONG height, LONG weight = FW_NORMAL, bool italic = false, bool underline = false,
               const char16_t* face = u"Tahoma") {
  LOGFONTW log{};
  log.lfHeight = height;
  log.lfWeight = weight;
  log.lfItalic = italic;
  log.lfUnderline = underline;
  std::char_traits<char16_t>::copy(log.lfFaceName, face, std::char_traits<char16_t>::length(face));
  return CreateFontIndirectW(&log);
}

// Selects a font for the lifetime of the object.
class WithFont {
 public:
  WithFont(HDC dc, HFONT font) : dc_(dc), font_(font), old_(SelectObject(dc, font)) {}
  ~WithFont() {
    SelectObject(dc_, old_);
    DeleteObject(font_);
  }
  WithFont(const WithFont&) = delete;
  WithFont& operator=(const WithFont&) = delete;

 private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ old_;
};

SIZE extent(HDC dc, std::u16string_view text) {
  SIZE size{};
  EXPECT_TRUE(GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size));
  return size;
}

TEXTMETRICW metrics(HDC dc) {
  TEXTMETRICW tm{};
  EXPECT_TRUE(GetTextMetricsW(dc, &tm));
  return tm;
}

}  // namespace

TEST(FontMetrics, HeightKeepsItsPlatformMeaning) {
  MemoryDc canvas(1, 1);
  {
    WithFont font(canvas.dc(), makeFont(-12));
    TEXTMETRICW tm = metrics(canvas.dc());
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 12);  // character height
    EXPECT_EQ(tm.tmHeight, 15);                         // DejaVu Sans at 12 pixels
    EXPECT_EQ(tm.tmAscent, 12);
  }
  {
    WithFont font(canvas.dc(), makeFont(20));
    EXPECT_EQ(metrics(canvas.dc()).tmHeight, 20);  // cell height
  }
  {
    WithFont font(canvas.dc(), makeFont(0));
    EXPECT_EQ(metrics(canvas.dc()).tmHeight - metrics(canvas.dc()).tmInternalLeading, 12);
  }
  {
    WithFont font(canvas.dc(), makeFont(-12, FW_BOLD, true, true));
    TEXTMETRICW tm = metrics(canvas.dc());
    EXPECT_EQ(tm.tmWeight, FW_BOLD);
    EXPECT_EQ(tm.tmItalic, 1);
    EXPECT_EQ(tm.tmUnderlined, 1);
  }
  {
    WithFont font(canvas.dc(), makeFont(-12, FW_NORMAL, false, false, u"Courier New"));
    EXPECT_EQ(extent(canvas.dc(), u"iiii").cx, extent(canvas.dc(), u"MMMM").cx);  // monospace
    EXPECT_EQ(metrics(canvas.dc()).tmPitchAndFamily & TMPF_FIXED_PITCH, 0);
  }
}

TEST(TextExtents, AreSumsOfWholePixelAdvancesAndStable) {
  MemoryDc canvas(1, 1);
  WithFont font(canvas.dc(), makeFont(-12));
  SIZE whole = extent(canvas.dc(), u"Hello, world");
  int sum = 0;
  for (char16_t c : std::u16string(u"Hello, world")) sum += extent(canvas.dc(), {&c, 1}).cx;
  EXPECT_EQ(whole.cx, sum);
  EXPECT_EQ(whole.cy, metrics(canvas.dc()).tmHeight);
  EXPECT_EQ(extent(canvas.dc(), u"Hello, world").cx, whole.cx);
  EXPECT_GT(whole.cx, 50);
  EXPECT_LT(whole.cx, 100);
  EXPECT_EQ(extent(canvas.dc(), u"").cx, 0);
  int fit = -1;
  int partial[5] = {};
  SIZE size{};
  ASSERT_TRUE(GetTextExtentExPointW(canvas.dc(), u"abcde", 5, extent(canvas.dc(), u"abc").cx,
                                    &fit, partial, &size));
  EXPECT_EQ(fit, 3);
  EXPECT_EQ(partial[2], extent(canvas.dc(), u"abc").cx);
  EXPECT_EQ(partial[4], size.cx);
}

TEST(TextExtents, BoldAndLargerFontsAreWider) {
  MemoryDc canvas(1, 1);
  int normal = 0;
  {
    WithFont font(canvas.dc(), makeFont(-12));
    normal = extent(canvas.dc(), u"Pinnotes").cx;
  }
  {
    WithFont font(canvas.dc(), makeFont(-12, FW_BOLD));
    EXPECT_GT(extent(canvas.dc(), u"Pinnotes").cx, normal);
  }
  {
    WithFont font(canvas.dc(), makeFont(-24));
    EXPECT_GT(extent(canvas.dc(), u"Pinnotes").cx, normal * 3 / 2);
  }
}

TEST(Surrogates, PairsAreOneCharacterAndNeverSplit) {
  MemoryDc canvas(40, 20);
  WithFont font(canvas.dc(), makeFont(-12));
  const std::u16string pair = u"\U0001F600";  // not in the font: the missing-glyph box
  ASSERT_EQ(pair.size(), 2u);
  const int box = extent(canvas.dc(), pair).cx;
  EXPECT_GT(box, 0);
  EXPECT_EQ(box, extent(canvas.dc(), u"\U0001F601").cx);
  std::u16string text = u"a" + pair + u"b";
  int fit = 0;
  int partial[4] = {};
  SIZE size{};
  const int a = extent(canvas.dc(), u"a").cx;
  ASSERT_TRUE(GetTextExtentExPointW(canvas.dc(), text.data(), 4, a + box / 2, &fit, partial, &size));
  EXPECT_EQ(fit, 1);  // half a pair does not fit
  EXPECT_EQ(partial[1], a + box);
  EXPECT_EQ(partial[2], a + box);
  SetBkMode(canvas.dc(), TRANSPARENT);
  ExtTextOutW(canvas.dc(), 0, 0, 0, nullptr, pair.data(), 2, nullptr);
  EXPECT_GT(inkBounds(canvas.surface()).right, 0);  // the box is drawn
  // A lone surrogate reads as the replacement character.
  EXPECT_EQ(extent(canvas.dc(), u"\xD800").cx, extent(canvas.dc(), u"\uFFFD").cx);
}

TEST(ExtTextOut, OpaqueModeFillsExactlyTheTextCell) {
  MemoryDc canvas(80, 30);
  WithFont font(canvas.dc(), makeFont(-12));
  SetBkColor(canvas.dc(), RGB(255, 255, 0));
  ExtTextOutW(canvas.dc(), 5, 4, 0, nullptr, u"Note", 4, nullptr);
  SIZE size = extent(canvas.dc(), u"Note");
  RECT ink = inkBounds(canvas.surface());
  EXPECT_EQ(ink.left, 5);
  EXPECT_EQ(ink.top, 4);
  EXPECT_EQ(ink.right, 5 + size.cx);
  EXPECT_EQ(ink.bottom, 4 + size.cy);
}

TEST(ExtTextOut, AlignmentClippingAndOpaqueRectangle) {
  MemoryDc canvas(100, 40);
  WithFont font(canvas.dc(), makeFont(-16));
  SetBkMode(canvas.dc(), TRANSPARENT);
  SetTextAlign(canvas.dc(), TA_RIGHT | TA_BASELINE);
  ExtTextOutW(canvas.dc(), 90, 30, 0, nullptr, u"Wide", 4, nullptr);
  RECT ink = inkBounds(canvas.surface());
  EXPECT_LE(ink.right, 90);
  EXPECT_GE(ink.right, 85);
  EXPECT_LE(ink.bottom, 31);  // glyphs sit on the baseline
  SetTextAlign(canvas.dc(), TA_LEFT | TA_TOP);

  MemoryDc clipped(100, 40);
  WithFont font2(clipped.dc(), makeFont(-16));
  SetBkColor(clipped.dc(), RGB(0, 255, 0));
  RECT r{10, 10, 20, 20};
  ExtTextOutW(clipped.dc(), 0, 0, ETO_OPAQUE | ETO_CLIPPED, &r, u"Clipped", 7, nullptr);
  RECT clippedInk = inkBounds(clipped.surface());
  EXPECT_EQ(clippedInk.left, 10);
  EXPECT_EQ(clippedInk.top, 10);
  EXPECT_EQ(clippedInk.right, 20);
  EXPECT_EQ(clippedInk.bottom, 20);
}

TEST(ExtTextOut, UnderlineRunsUnderTheWholeText) {
  MemoryDc canvas(80, 30);
  WithFont font(canvas.dc(), makeFont(-12, FW_NORMAL, false, true));
  SetBkMode(canvas.dc(), TRANSPARENT);
  ExtTextOutW(canvas.dc(), 2, 2, 0, nullptr, u"a b", 3, nullptr);
  const int width = extent(canvas.dc(), u"a b").cx;
  const TEXTMETRICW tm = metrics(canvas.dc());
  bool found = false;
  for (int y = 2 + tm.tmAscent; y < 2 + tm.tmHeight && !found; ++y) {
    bool full = true;
    for (int x = 2; x < 2 + width; ++x) full = full && canvas.pixel(x, y) == RGB(0, 0, 0);
    found = full;
  }
  EXPECT_TRUE(found);
}

TEST(ExtTextOut, ConcurrentDrawingGivesIdenticalPixels) {
  constexpr int kThreads = 4;
  std::vector<std::vector<uint32_t>> results(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &results] {
      MemoryDc canvas(120, 20);
      WithFont font(canvas.dc(), makeFont(-11 - (t % 2)));
      for (int i = 0; i < 20; ++i) {
        ExtTextOutW(canvas.dc(), 0, 0, 0, nullptr, u"Threads \u00e9\u00df\u0416", 11, nullptr);
      }
      for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 120; ++x) results[t].push_back(canvas.surface().pixel(x, y));
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(results[0], results[2]);
  EXPECT_EQ(results[1], results[3]);
}

// Anti-aliased text is compared with a tolerance of 48 per channel, so that a FreeType update
// that moves coverage slightly does not fail; shapes and placement are pinned exactly by the
// extent tests above.
TEST(TextGolden, SizesWeightsAndDecorations) {
  MemoryDc canvas(160, 96);
  HDC dc = canvas.dc();
  SetBkMode(dc, TRANSPARENT);
  struct Sample {
    LONG height;
    LONG weight;
    bool italic;
    bool underline;
    const char16_t* face;
    const char16_t* text;
  };
  const Sample samples[] = {
      {-11, FW_NORMAL, false, false, u"Tahoma", u"Tahoma 11 px"},
      {-12, FW_BOLD, false, false, u"MS Sans Serif", u"Bold 12 px"},
      {-14, FW_NORMAL, true, false, u"System", u"Oblique 14 px"},
      {-12, FW_NORMAL, false, true, u"Tahoma", u"Underlined"},
      {-12, FW_NORMAL, false, false, u"Courier New", u"Mono 0123"},
      {20, FW_NORMAL, false, false, u"Unknown Face", u"Cell 20"},
  };
  int y = 0;
  for (const Sample& s : samples) {
    WithFont font(dc, makeFont(s.height, s.weight, s.italic, s.underline, s.face));
    SetTextColor(dc, s.weight == FW_BOLD ? RGB(0, 0, 160) : RGB(0, 0, 0));
    ExtTextOutW(dc, 2, y, 0, nullptr, s.text, static_cast<UINT>(std::char_traits<char16_t>::length(s.text)), nullptr);
    y += metrics(dc).tmHeight;
  }
  gdi_test::expectMatchesGolden(canvas.surface(), "text_samples", 48);
}

// NONANTIALIASED_QUALITY (3) draws only whole pixels; ClearType qualities (5, and 6 as the
// program asks for it) draw like the default, anti-aliased in grey.
TEST(FontQuality, NonAntialiasedDrawsWholePixelsAndClearTypeDrawsAsTheDefault) {
  auto draw = [](BYTE quality, MemoryDc& canvas) {
    LOGFONTW log{};
    log.lfHeight = -14;
    log.lfQuality = quality;
    WithFont font(canvas.dc(), CreateFontIndirectW(&log));
    SetTextColor(canvas.dc(), RGB(0, 0, 0));
    SetBkMode(canvas.dc(), TRANSPARENT);
    EXPECT_TRUE(ExtTextOutW(canvas.dc(), 2, 2, 0, nullptr, u"Sawgrass 8", 10, nullptr));
  };
  auto greys = [](const MemoryDc& canvas) {
    int count = 0;
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 120; ++x) {
        COLORREF c = canvas.pixel(x, y);
        if (c != RGB(0, 0, 0) && c != RGB(255, 255, 255)) ++count;
      }
    return count;
  };
  MemoryDc plain(120, 24), solid(120, 24), clearType(120, 24), compat(120, 24);
  draw(0, plain);
  draw(3, solid);
  draw(5, clearType);
  draw(6, compat);
  EXPECT_GT(greys(plain), 0);
  EXPECT_EQ(greys(solid), 0);
  RECT ink = inkBounds(solid.surface());
  EXPECT_FALSE(IsRectEmpty(&ink));
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 120; ++x) {
      ASSERT_EQ(clearType.pixel(x, y), plain.pixel(x, y)) << x << "," << y;
      ASSERT_EQ(compat.pixel(x, y), plain.pixel(x, y)) << x << "," << y;
    }
}
