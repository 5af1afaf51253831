// The inner writing window: the stylus, the keys and the painting of the page.
#include <algorithm>

#include "ink_control_parts.h"

namespace handheld::inkx {
namespace {

// A tap on a recording's icon plays it.
const Recording* recordingAt(const InkControl& ink, InkPoint at) {
  for (const auto& r : ink.editor.document().recordings)
    if (at.x >= r.at.x && at.x < r.at.x + kIconSize * kSubUnits && at.y >= r.at.y &&
        at.y < r.at.y + kIconSize * kSubUnits)
      return &r;
  return nullptr;
}

size_t textIndexAt(const InkControl& ink, InkPoint at) {
  return layoutOf(ink).indexAt(static_cast<double>(at.x) / kSubUnits, static_cast<double>(at.y) / kSubUnits);
}

// The page takes the colour that the window's erase paints (white unless a host that
// subclassed the window erases it in a colour of its own), read from one probed pixel.
uint32_t paperColour(HWND window, HDC hdc) {
  uint32_t paper = 0xFFFFFF;
  HDC probe = CreateCompatibleDC(hdc);
  HBITMAP pixel = probe ? CreateCompatibleBitmap(hdc, 1, 1) : nullptr;
  if (pixel) {
    HGDIOBJ old = SelectObject(probe, pixel);
    SetPixel(probe, 0, 0, RGB(255, 255, 255));
    SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(probe), 0);
    const COLORREF c = GetPixel(probe, 0, 0);
    if (c != CLR_INVALID) paper = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    SelectObject(probe, old);
    DeleteObject(pixel);
  }
  if (probe) DeleteDC(probe);
  return paper;
}

void paint(InkControl& ink, HWND window) {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(window, &ps);
  const uint32_t paper = paperColour(window, hdc);
  if (paper != ink.paper) {
    ink.paper = paper;
    ink.stale = true;
  }
  const View view = viewOf(ink);
  // A buffer made anew holds nothing yet.
  const bool fresh = ink.surface.width() != view.width || ink.surface.height() != view.height;
  if (ink.surface.ensure(view.width, view.height)) {
    if (ink.stale || fresh) {
      Overlay overlay;
      overlay.caret = ink.mode == INKMODE_TYPING && GetFocus() == window;
      overlay.band = ink.band;
      overlay.paper = ink.paper;
      renderPage(ink.surface.cairo(), ink.editor, layoutOf(ink), view, overlay);
      cairo_surface_flush(cairo_get_target(ink.surface.cairo()));
      ink.stale = false;
    }
    BitBlt(hdc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
           ps.rcPaint.bottom - ps.rcPaint.top, ink.surface.dc(), ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
  }
  EndPaint(window, &ps);
}

void pressDown(InkControl& ink, HWND window, int x, int y) {
  SetFocus(window);
  SetCapture(window);
  const InkPoint at = toDocument(viewOf(ink), x, y);
  ink.pressing = true;
  ink.pressAt = at;
  if (recordingAt(ink, at)) return;  // played when the stylus comes up on it
  switch (ink.mode) {
    case INKMODE_WRITING: ink.editor.beginStroke(at); break;
    case INKMODE_TYPING: ink.editor.setCaret(textIndexAt(ink, at), GetKeyState(VK_SHIFT) < 0); break;
    case INKMODE_SELECTING: ink.band = {at, at}; break;
    case INKMODE_ERASING: {
      const Change change = ink.editor.eraseAt(at, true);
      refresh(ink);
      notifyChange(ink.control, change);
      return;
    }
  }
  refresh(ink);
}

void pressMove(InkControl& ink, int x, int y) {
  const InkPoint at = toDocument(viewOf(ink), x, y);
  switch (ink.mode) {
    case INKMODE_WRITING:
      if (!ink.editor.drawing()) return;
      ink.editor.extendStroke(at);
      if (!ink.stale && ink.surface.cairo()) {
        // Only the new piece is drawn at once; the whole page waits for the stroke's end.
        const auto r = renderLastSegment(ink.surface.cairo(), ink.editor.strokeInProgress(), viewOf(ink));
        const RECT damage{r[0], r[1], r[2], r[3]};
        InvalidateRect(ink.inner, &damage, FALSE);
      } else {
        refresh(ink);
      }
      return;
    case INKMODE_TYPING: ink.editor.setCaret(textIndexAt(ink, at), true); break;
    case INKMODE_SELECTING:
      if (ink.band) ink.band->second = at;
      break;
    case INKMODE_ERASING: {
      const Change change = ink.editor.eraseAt(at, false);
      refresh(ink);
      notifyChange(ink.control, change);
      return;
    }
  }
  refresh(ink);
}

void pressUp(InkControl& ink, int x, int y) {
  if (!ink.pressing) return;
  ink.pressing = false;
  const InkPoint at = toDocument(viewOf(ink), x, y);
  Change change = Change::none;
  if (const Recording* r = recordingAt(ink, ink.pressAt); r && r == recordingAt(ink, at)) {
    if (ink.audio.player) ink.audio.player->play(r->image);
  } else if (ink.mode == INKMODE_WRITING) {
    ink.editor.extendStroke(at);
    change = ink.editor.endStroke();
  } else if (ink.mode == INKMODE_SELECTING && ink.band) {
    ink.editor.selectStrokesIn(ink.band->first, at);
    ink.band.reset();
  }
  if (GetCapture() == ink.inner) ReleaseCapture();
  refresh(ink);
  notifyChange(ink.control, change);
}

Change typeChar(InkControl& ink, char16_t c) {
  switch (c) {
    case 0x08: return ink.editor.backspace();
    case 0x03: SendMessageW(ink.control, WM_COPY, 0, 0); return Change::none;
    case 0x16: SendMessageW(ink.control, WM_PASTE, 0, 0); return Change::none;
    case 0x18: SendMessageW(ink.control, WM_CUT, 0, 0); return Change::none;
    case 0x1A: SendMessageW(ink.control, INKM_UNDO, 0, 0); return Change::none;
    case u'\r':
    case u'\n': return ink.editor.insertText(u"\r", true);
    default:
      if (c < 0x20 && c != u'\t') return Change::none;
      return ink.editor.insertText(std::u16string_view(&c, 1), true);
  }
}

void keyDown(InkControl& ink, WPARAM key) {
  auto& editor = ink.editor;
  const bool extend = GetKeyState(VK_SHIFT) < 0;
  const TextLayout layout = layoutOf(ink);
  size_t line;
  const double x = layout.xOf(editor.caret(), &line);
  const auto& lines = layout.lines();
  Change change = Change::none;
  switch (key) {
    case VK_LEFT: editor.setCaret(editor.caret() > 0 ? editor.caret() - 1 : 0, extend); break;
    case VK_RIGHT: editor.setCaret(editor.caret() + 1, extend); break;
    case VK_HOME: editor.setCaret(lines[line].start, extend); break;
    case VK_END: editor.setCaret(lines[line].end, extend); break;
    case VK_UP:
      if (line > 0) editor.setCaret(layout.indexAt(x, lines[line - 1].y + 1), extend);
      break;
    case VK_DOWN:
      if (line + 1 < lines.size()) editor.setCaret(layout.indexAt(x, lines[line + 1].y + 1), extend);
      break;
    case VK_DELETE: change = editor.deleteForward(); break;
    default: return;
  }
  refresh(ink);
  ensureCaretVisible(ink);
  notifyChange(ink.control, change);
}

}  // namespace

LRESULT CALLBACK innerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    return DefWindowProcW(window, message, wParam, lParam);
  }
  InkControl* ink = controlOf(window);
  if (!ink || message == WM_NCDESTROY) {
    if (ink) SetWindowLongPtrW(window, 0, 0);
    return DefWindowProcW(window, message, wParam, lParam);
  }
  LRESULT result = 0;
  if (handleInkMessage(*ink, message, wParam, lParam, result)) return result;
  switch (message) {
    case INKM_RECORD_MODE:
    case INKM_RECORD:
    case INKM_STOP: return SendMessageW(ink->control, message, wParam, lParam);
    case WM_ERASEBKGND: return 1;  // the page covers everything
    case WM_PAINT: paint(*ink, window); return 0;
    case WM_SIZE: refresh(*ink); return 0;
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      refresh(*ink);  // the caret shows only with the focus
      notifyFocus(ink->control, message == WM_SETFOCUS ? INKN_SETFOCUS : INKN_KILLFOCUS);
      return 0;
    case WM_LBUTTONDOWN: pressDown(*ink, window, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;
    case WM_MOUSEMOVE:
      if (ink->pressing && (wParam & MK_LBUTTON)) pressMove(*ink, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONUP: pressUp(*ink, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;
    case WM_CAPTURECHANGED:
      // Losing the stylus keeps what was written so far.
      if (ink->pressing && reinterpret_cast<HWND>(lParam) != window) {
        ink->pressing = false;
        ink->band.reset();
        const Change change = ink->editor.endStroke();
        refresh(*ink);
        notifyChange(ink->control, change);
      }
      return 0;
    case WM_CHAR: {
      if (ink->mode != INKMODE_TYPING) return 0;
      const Change change = typeChar(*ink, static_cast<char16_t>(wParam));
      refresh(*ink);
      ensureCaretVisible(*ink);
      notifyChange(ink->control, change);
      return 0;
    }
    case WM_KEYDOWN:
      if (ink->mode == INKMODE_TYPING) keyDown(*ink, wParam);
      return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace handheld::inkx
