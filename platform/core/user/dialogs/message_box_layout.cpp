// The buttons a message box type asks for, and the box laid out in the handheld's style: the
// screen's width, the title band on top, the icon left of the word-wrapped text, the buttons
// in a centred row at the bottom. Every figure grows with the screen's line width and font.
#include <algorithm>

#include "user/controls/control_support.h"
#include "user/dialogs/message_box.h"
#include "user/dialogs/title_band.h"

namespace handheld::user::dialogs {

namespace {

constexpr MessageBoxButton kOk{IDOK, u"OK"};
constexpr MessageBoxButton kCancel{IDCANCEL, u"Cancel"};
constexpr MessageBoxButton kAbort{IDABORT, u"&Abort"};
constexpr MessageBoxButton kRetry{IDRETRY, u"&Retry"};
constexpr MessageBoxButton kIgnore{IDIGNORE, u"&Ignore"};
constexpr MessageBoxButton kYes{IDYES, u"&Yes"};
constexpr MessageBoxButton kNo{IDNO, u"&No"};

// A button is never wider than this many dialog units, so that short answers stay buttons.
constexpr int kButtonWidthUnits = 50;

}  // namespace

std::optional<MessageBoxKind> messageBoxKind(UINT type) {
  MessageBoxKind kind;
  switch (type & MB_TYPEMASK) {
    // A box with only OK takes escape as OK: there is nothing else to answer.
    case MB_OK: kind.buttons = {kOk}; kind.escapeAnswer = IDOK; break;
    case MB_OKCANCEL: kind.buttons = {kOk, kCancel}; kind.escapeAnswer = IDCANCEL; break;
    case MB_ABORTRETRYIGNORE: kind.buttons = {kAbort, kRetry, kIgnore}; break;
    case MB_YESNOCANCEL: kind.buttons = {kYes, kNo, kCancel}; kind.escapeAnswer = IDCANCEL; break;
    case MB_YESNO: kind.buttons = {kYes, kNo}; break;
    case MB_RETRYCANCEL: kind.buttons = {kRetry, kCancel}; kind.escapeAnswer = IDCANCEL; break;
    default: return std::nullopt;
  }
  const UINT icon = type & MB_ICONMASK;
  if (icon > MB_ICONASTERISK) return std::nullopt;
  kind.icon = icon;
  const size_t wanted = (type & MB_DEFMASK) >> 8;
  kind.defaultIndex = wanted < kind.buttons.size() ? wanted : 0;
  return kind;
}

MessageBoxLayout layoutMessageBox(HDC hdc, const std::u16string& text, bool hasIcon, size_t buttonCount,
                                  SIZE baseUnits, int titleHeight) {
  const int unit = controls::lineWidth();
  const int margin = 6 * unit;
  const int width = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  const int iconSide = hasIcon ? GetSystemMetrics(SM_CXICON) : 0;
  const int buttonHeight = baseUnits.cy * 3 / 2 + 2 * unit;

  MessageBoxLayout layout;
  layout.title = {unit, unit, width - unit, unit + titleBandHeight(titleHeight)};
  const int bodyTop = layout.title.bottom + margin;
  int textLeft = unit + margin;
  if (hasIcon) {
    layout.icon = {textLeft, bodyTop, textLeft + iconSide, bodyTop + iconSide};
    textLeft = layout.icon.right + margin;
  }
  RECT measured{0, 0, std::max(width - unit - margin - textLeft, 1), 0};
  DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &measured,
            DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  // Whatever does not fit on the screen is cut off rather than pushing the buttons away.
  const int fixed = layout.title.bottom + 3 * margin + buttonHeight + unit;
  const int textHeight = std::clamp<int>(measured.bottom, baseUnits.cy, std::max(screenHeight - fixed, baseUnits.cy));
  const int bodyHeight = std::max(textHeight, iconSide);
  const int textTop = bodyTop + (bodyHeight - textHeight) / 2;
  layout.text = {textLeft, textTop, width - unit - margin, textTop + textHeight};

  const int height = std::min(fixed + bodyHeight, screenHeight);
  const int count = static_cast<int>(buttonCount);
  const int buttonWidth =
      count ? std::min(kButtonWidthUnits * baseUnits.cx / 4, (width - 2 * unit - (count + 1) * margin) / count) : 0;
  const int row = count * buttonWidth + std::max(count - 1, 0) * margin;
  const int buttonTop = height - unit - margin - buttonHeight;
  for (int i = 0, left = (width - row) / 2; i < count; ++i, left += buttonWidth + margin)
    layout.buttons.push_back({left, buttonTop, left + buttonWidth, buttonTop + buttonHeight});

  const int top = std::max((screenHeight - height) / 2, 0);
  layout.window = {0, top, width, top + height};
  return layout;
}

}  // namespace handheld::user::dialogs
