// The title of the system's own dialogs (message boxes, the open-file dialog): the device
// draws no captions, so these dialogs paint their caption in a band of the selection colours.
#pragma once

#include <windows.h>

#include <string>

namespace handheld::user::dialogs {

// The band's height for a title font of `fontHeight` pixels.
int titleBandHeight(int fontHeight);
// The bold dialog font titles use, for as long as the dialog lives.
class TitleFont {
 public:
  TitleFont();
  ~TitleFont();
  TitleFont(const TitleFont&) = delete;
  TitleFont& operator=(const TitleFont&) = delete;
  HFONT get() const;
  int height() const;  // pixels

 private:
  HFONT font_;
};
// Fills `band` and writes `caption` in it, left-aligned, on one line.
void paintTitleBand(HDC hdc, const RECT& band, const std::u16string& caption, HFONT font);

}  // namespace handheld::user::dialogs
