// The edit in the handheld's look: the parent's field colours (read-only and disabled edits
// take the static's), the text line by line with the selection in the selection colours,
// and a one-line black frame for WS_BORDER.
#include <algorithm>

#include "user/controls/control_support.h"
#include "user/controls/edit/edit.h"

namespace handheld::user::controls {

namespace {

void drawBorder(HWND edit) {
  if (!(editStyle(edit) & WS_BORDER)) return;
  RECT window{};
  GetWindowRect(edit, &window);
  RECT r{0, 0, window.right - window.left, window.bottom - window.top};
  HDC hdc = GetWindowDC(edit);
  if (!hdc) return;
  HBRUSH brush = GetSysColorBrush(COLOR_WINDOWFRAME);
  for (int i = 0; i < lineWidth(); ++i) {
    FrameRect(hdc, &r, brush);
    InflateRect(&r, -1, -1);
  }
  ReleaseDC(edit, hdc);
}

struct LinePainter {
  HWND edit;
  HDC hdc;
  const EditState& state;
  bool password;
  size_t selectionStart, selectionEnd;
  COLORREF text;

  // Runs end at tabs (drawn as space) and at the selection's ends.
  void paint(size_t line, int y) const {
    const EditLine& l = state.lines[line];
    const POINT origin = pointOfPosition(edit, state, l.start);
    const RECT clip{state.format.left, y, state.format.right, y + state.lineHeight};
    size_t runStart = l.start;
    const size_t end = l.start + l.length;
    while (runStart < end) {
      const bool selected = runStart >= selectionStart && runStart < selectionEnd;
      size_t runEnd = runStart;
      std::u16string shown;
      while (runEnd < end) {
        const bool inSelection = runEnd >= selectionStart && runEnd < selectionEnd;
        if (inSelection != selected) break;
        size_t units = 1;
        const char32_t c = codePointAt(state.text, runEnd, &units);
        if (c == u'\t') {
          if (runEnd == runStart) runEnd += units;
          break;
        }
        if (password) shown.push_back(state.passwordChar);
        else shown.append(state.text, runEnd, units);
        runEnd += units;
      }
      const int left = origin.x + state.lines.xOf(state.text, line, runStart);
      const int right = origin.x + state.lines.xOf(state.text, line, runEnd);
      if (selected) {
        RECT band{std::max<int>(left, clip.left), y, std::min<int>(right, clip.right), y + state.lineHeight};
        if (band.right > band.left) FillRect(hdc, &band, GetSysColorBrush(COLOR_HIGHLIGHT));
      }
      SetTextColor(hdc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : text);
      if (!shown.empty()) ExtTextOutW(hdc, left, y, ETO_CLIPPED, &clip, shown.c_str(), static_cast<UINT>(shown.size()), nullptr);
      runStart = runEnd;
    }
  }
};

}  // namespace

void paintEdit(HWND edit, HDC hdc, const EditState& state) {
  drawBorder(edit);
  const LONG style = editStyle(edit);
  const bool enabled = IsWindowEnabled(edit);
  HGDIOBJ oldFont = SelectObject(hdc, fontOr(state.font));
  HBRUSH background = controlColors(edit, hdc, enabled && !(style & ES_READONLY) ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC);
  const COLORREF text = enabled ? GetTextColor(hdc) : GetSysColor(COLOR_GRAYTEXT);
  RECT client{};
  GetClientRect(edit, &client);
  FillRect(hdc, &client, background);
  SetBkMode(hdc, TRANSPARENT);
  // An edit without the focus hides its selection unless told not to.
  const bool showSelection = state.focused || (style & ES_NOHIDESEL);
  const LinePainter painter{edit, hdc, state, showsPassword(edit),
                            showSelection ? state.selectionStart() : 0, showSelection ? state.selectionEnd() : 0, text};
  const bool multi = isMultiLine(edit);
  const size_t last = multi ? state.lines.count() : 1;
  for (size_t line = multi ? state.firstLine : 0; line < last; ++line) {
    const int y = pointOfPosition(edit, state, state.lines[line].start).y;
    if (y >= client.bottom) break;
    painter.paint(line, y);
  }
  SelectObject(hdc, oldFont);
}

}  // namespace handheld::user::controls
