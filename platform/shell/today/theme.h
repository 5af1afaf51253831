// The Today screen's look, from HKLM\SOFTWARE\Microsoft\Today: "BackgroundColor", "TextColor",
// "HighlightColor", "HighlightTextColor" (DWORD COLORREFs) and "Watermark" (a .bmp device path
// tiled behind everything; none when missing or unreadable).
#pragma once

#include <windows.h>

namespace handheld::shell {

inline constexpr const char16_t* kTodayThemeKey = u"SOFTWARE\\Microsoft\\Today";

class TodayTheme {
 public:
  TodayTheme();  // reads the registry
  ~TodayTheme();
  TodayTheme(const TodayTheme&) = delete;
  TodayTheme& operator=(const TodayTheme&) = delete;

  COLORREF background() const { return background_; }
  COLORREF text() const { return text_; }
  COLORREF highlight() const { return highlight_; }
  COLORREF highlightText() const { return highlightText_; }
  // TODAYM_GETCOLOR: the colour of a TODAYCOLOR_ value; false for another value.
  bool color(WPARAM which, COLORREF& color) const;

  // Draws the background into `rect` of `hdc`, whose point (0, 0) lies at `origin` of the
  // Today screen, so that a watermark lines up across the items.
  void drawBackground(HDC hdc, const RECT& rect, POINT origin) const;

 private:
  COLORREF background_, text_, highlight_, highlightText_;
  HBITMAP watermark_ = nullptr;
  int watermarkWidth_ = 0, watermarkHeight_ = 0;
};

}  // namespace handheld::shell
