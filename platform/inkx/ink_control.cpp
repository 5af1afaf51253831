#include <algorithm>
#include <cmath>

#include "ink_control_parts.h"
#include "wave_image.h"

namespace handheld::inkx {
namespace {

// The recording bar's height in pixels at QVGA; doubled at VGA like every figure.
constexpr int kBarHeight = 24;

int barHeight(const InkControl& ink) { return ink.recordBar ? kBarHeight * GetSystemMetrics(SM_CXBORDER) : 0; }

void layoutInner(InkControl& ink) {
  RECT client;
  GetClientRect(ink.control, &client);
  const int bar = barHeight(ink);
  MoveWindow(ink.inner, 0, bar, client.right, std::max<LONG>(0, client.bottom - bar), TRUE);
  refresh(ink);
}

void paintBar(InkControl& ink, HDC hdc) {
  const int bar = barHeight(ink);
  RECT client;
  GetClientRect(ink.control, &client);
  RECT strip{0, 0, client.right, bar};
  FillRect(hdc, &strip, GetSysColorBrush(COLOR_BTNFACE));
  const int pad = bar / 6;
  HBRUSH red = CreateSolidBrush(RGB(220, 0, 0));
  HGDIOBJ oldBrush = SelectObject(hdc, ink.recording ? GetStockObject(GRAY_BRUSH) : red);
  Ellipse(hdc, pad, pad, bar - pad, bar - pad);  // record
  SelectObject(hdc, GetStockObject(BLACK_BRUSH));
  Rectangle(hdc, bar + pad, pad, 2 * bar - pad, bar - pad);  // stop
  SelectObject(hdc, oldBrush);
  DeleteObject(red);
  RECT label{2 * bar + pad, 0, client.right, bar};
  SetBkMode(hdc, TRANSPARENT);
  const char16_t* text = ink.recording ? u"Recording..." : ink.audio.recorder ? u"Ready" : u"No microphone";
  DrawTextW(hdc, text, -1, &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

void scrollMessage(InkControl& ink, int bar, WORD code) {
  SCROLLINFO info{sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(ink.control, bar, &info);
  const int line = 16 * GetSystemMetrics(SM_CXBORDER);
  int pos = bar == SB_HORZ ? ink.scrollX : ink.scrollY;
  switch (code) {
    case SB_LINEUP: pos -= line; break;
    case SB_LINEDOWN: pos += line; break;
    case SB_PAGEUP: pos -= static_cast<int>(info.nPage); break;
    case SB_PAGEDOWN: pos += static_cast<int>(info.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = info.nTrackPos; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = info.nMax; break;
    default: return;
  }
  if (bar == SB_HORZ)
    scrollTo(ink, pos, ink.scrollY);
  else
    scrollTo(ink, ink.scrollX, pos);
}

LRESULT CALLBACK controlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* ink = new InkControl{};
    ink->control = window;
    ink->audio = makeAudio();
    SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(ink));
    return DefWindowProcW(window, message, wParam, lParam);
  }
  InkControl* ink = controlOf(window);
  if (!ink) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    if (ink->recording) ink->audio.recorder->stop();
    if (ink->audio.player) ink->audio.player->stop();
    SetWindowLongPtrW(window, 0, 0);
    delete ink;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  LRESULT result = 0;
  if (handleInkMessage(*ink, message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_CREATE:
      ink->inner = CreateWindowExW(0, kInnerClass, u"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window, nullptr,
                                   nullptr, ink);
      if (!ink->inner) return -1;
      layoutInner(*ink);
      return 0;
    case WM_SIZE: layoutInner(*ink); return 0;
    case WM_SETFOCUS: SetFocus(ink->inner); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC hdc = BeginPaint(window, &ps);
      if (ink->recordBar) paintBar(*ink, hdc);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN: {
      const int bar = barHeight(*ink), x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
      if (y >= bar) return 0;
      if (x < bar) return SendMessageW(window, INKM_RECORD, 0, 0);
      if (x < 2 * bar) return SendMessageW(window, INKM_STOP, 0, 0);
      return 0;
    }
    case WM_HSCROLL: scrollMessage(*ink, SB_HORZ, LOWORD(wParam)); return 0;
    case WM_VSCROLL: scrollMessage(*ink, SB_VERT, LOWORD(wParam)); return 0;
    case INKM_RECORD_MODE:
      ink->recordBar = wParam != 0;
      layoutInner(*ink);
      InvalidateRect(window, nullptr, TRUE);
      return TRUE;
    case INKM_RECORD:
      if (ink->recording || !ink->audio.recorder || !ink->audio.recorder->start()) return FALSE;
      if (ink->audio.player) ink->audio.player->stop();
      ink->recording = true;
      InvalidateRect(window, nullptr, FALSE);
      return TRUE;
    case INKM_STOP: {
      if (ink->audio.player) ink->audio.player->stop();
      if (!ink->recording) return FALSE;
      ink->recording = false;
      InvalidateRect(window, nullptr, FALSE);
      const auto samples = ink->audio.recorder->stop();
      const auto& recordings = ink->editor.document().recordings;
      // Icons stack down the page's right edge in the order they were made.
      const InkPoint at{(kPageWidth - kIconSize - 2) * kSubUnits,
                        static_cast<int32_t>(2 + recordings.size() * (kIconSize + 4)) * kSubUnits};
      const Change change = ink->editor.addRecording(at, makeWaveImage(samples, ink->audio.recorder->sampleRate()));
      refresh(*ink);
      notifyChange(window, change);
      return TRUE;
    }
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

InkControl* controlOf(HWND window) { return reinterpret_cast<InkControl*>(GetWindowLongPtrW(window, 0)); }

View viewOf(const InkControl& ink) {
  View view;
  view.zoom = ink.editor.zoom;
  view.scrollX = ink.scrollX;
  view.scrollY = ink.scrollY;
  RECT client{};
  if (ink.inner) GetClientRect(ink.inner, &client);
  view.width = client.right;
  view.height = client.bottom;
  view.pageFlags = ink.pageFlags;
  view.density = std::max(1, GetSystemMetrics(SM_CXBORDER));
  view.pageHeight = pageHeight(ink.editor.document(), layoutOf(ink).bottom());
  return view;
}

TextLayout layoutOf(const InkControl& ink) {
  const auto& text = ink.editor.document().text;
  return TextLayout(text, textFrame(ink.pageFlags, text.chars.empty() ? ink.editor.pen.textHeight : text.height));
}

void refresh(InkControl& ink) {
  ink.stale = true;
  scrollTo(ink, ink.scrollX, ink.scrollY);
  if (ink.inner) InvalidateRect(ink.inner, nullptr, FALSE);
}

void scrollTo(InkControl& ink, int x, int y) {
  const View view = viewOf(ink);
  const int contentWidth = static_cast<int>(std::ceil(kPageWidth * view.scale()));
  const int contentHeight = static_cast<int>(std::ceil(view.pageHeight * view.scale()));
  x = std::clamp(x, 0, std::max(0, contentWidth - view.width));
  y = std::clamp(y, 0, std::max(0, contentHeight - view.height));
  if (x != ink.scrollX || y != ink.scrollY) {
    ink.scrollX = x;
    ink.scrollY = y;
    ink.stale = true;
    if (ink.inner) InvalidateRect(ink.inner, nullptr, FALSE);
  }
  const LONG style = GetWindowLongW(ink.control, GWL_STYLE);
  SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
  if (style & WS_HSCROLL) {
    info.nMax = contentWidth - 1;
    info.nPage = static_cast<UINT>(view.width);
    info.nPos = ink.scrollX;
    SetScrollInfo(ink.control, SB_HORZ, &info, TRUE);
  }
  if (style & WS_VSCROLL) {
    info.nMax = contentHeight - 1;
    info.nPage = static_cast<UINT>(view.height);
    info.nPos = ink.scrollY;
    SetScrollInfo(ink.control, SB_VERT, &info, TRUE);
  }
}

void ensureCaretVisible(InkControl& ink) {
  const TextLayout layout = layoutOf(ink);
  const View view = viewOf(ink);
  size_t line;
  const double s = view.scale();
  const double x = layout.xOf(ink.editor.caret(), &line) * s, top = layout.lines()[line].y * s;
  const double bottom = top + layout.frame().lineHeight * s;
  int sx = ink.scrollX, sy = ink.scrollY;
  if (x < sx) sx = static_cast<int>(x) - 8;
  if (x > sx + view.width - 4) sx = static_cast<int>(x) - view.width + 8;
  if (top < sy) sy = static_cast<int>(top);
  if (bottom > sy + view.height) sy = static_cast<int>(std::ceil(bottom)) - view.height;
  scrollTo(ink, sx, sy);
}

void setZoom(InkControl& ink, int zoom) {
  zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
  // The page point at the top-left corner stays there.
  const double ratio = static_cast<double>(zoom) / ink.editor.zoom;
  ink.editor.zoom = zoom;
  ink.scrollX = static_cast<int>(std::lround(ink.scrollX * ratio));
  ink.scrollY = static_cast<int>(std::lround(ink.scrollY * ratio));
  refresh(ink);
}

void notifyChange(HWND control, Change change) {
  if (change == Change::none) return;
  const WORD id = change == Change::ink ? INKN_INK_CHANGED : INKN_CONTENT_CHANGED;
  SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(id, 0), reinterpret_cast<LPARAM>(control));
}

void notifyFocus(HWND control, WORD code) {
  const int id = GetDlgCtrlID(control);
  SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

bool registerInkClasses() {
  WNDCLASSW control{};
  control.style = CS_GLOBALCLASS | CS_DBLCLKS;
  control.lpfnWndProc = controlProc;
  control.cbWndExtra = sizeof(void*);
  control.hCursor = nullptr;
  control.lpszClassName = INKX_CLASS;
  WNDCLASSW inner = control;
  inner.lpfnWndProc = innerProc;
  inner.lpszClassName = kInnerClass;
  WNDCLASSW existing;
  const bool haveControl = GetClassInfoW(nullptr, INKX_CLASS, &existing) || RegisterClassW(&control);
  const bool haveInner = GetClassInfoW(nullptr, kInnerClass, &existing) || RegisterClassW(&inner);
  return haveControl && haveInner;
}

}  // namespace handheld::inkx
