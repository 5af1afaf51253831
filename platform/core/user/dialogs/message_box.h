// MessageBoxW's parts: which buttons a type asks for, where everything goes on the screen,
// and how the box's own face (title, icon, text) is drawn. The buttons are BUTTON controls
// of a "#32770" dialog, so keys and the stylus work as in every dialog.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace handheld::user::dialogs {

struct MessageBoxButton {
  int id;                 // IDOK ... IDNO, the answer the button gives
  const char16_t* text;   // with its '&' mnemonic
};

// What the MB_ bits of a type ask for.
struct MessageBoxKind {
  std::vector<MessageBoxButton> buttons;
  size_t defaultIndex = 0;  // MB_DEFBUTTONn beyond the buttons falls back to the first
  UINT icon = 0;            // MB_ICONHAND ... MB_ICONASTERISK, 0 for none
  int escapeAnswer = 0;     // what escape and WM_CLOSE answer; 0: they do nothing
};

// Nothing for a button set or icon the platform does not have.
std::optional<MessageBoxKind> messageBoxKind(UINT type);

// Pixels in the box's client area, and the box on the screen.
struct MessageBoxLayout {
  RECT window{};  // screen coordinates: the full screen width, centred vertically
  RECT title{};
  RECT icon{};    // empty without an icon
  RECT text{};
  std::vector<RECT> buttons;
};

// `hdc` measures with the dialog font selected; `titleHeight` is the title font's height.
MessageBoxLayout layoutMessageBox(HDC hdc, const std::u16string& text, bool hasIcon, size_t buttonCount,
                                  SIZE baseUnits, int titleHeight);

// The title band, the icon and the text; the buttons paint themselves.
void paintMessageBox(HDC hdc, const MessageBoxLayout& layout, const std::u16string& caption,
                     const std::u16string& text, UINT icon, HFONT textFont, HFONT titleFont);
// One of the four icons, drawn to fill `r` (a square).
void drawMessageBoxIcon(HDC hdc, const RECT& r, UINT icon);

}  // namespace handheld::user::dialogs
