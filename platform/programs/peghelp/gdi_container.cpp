#include "gdi_container.h"

#include <algorithm>

#include "strings/utf.h"

namespace handheld::peghelp {

namespace {

HFONT fontOf(litehtml::uint_ptr font) { return reinterpret_cast<HFONT>(font); }
COLORREF colorOf(const litehtml::web_color& color) { return RGB(color.red, color.green, color.blue); }

void fill(HDC hdc, int left, int top, int right, int bottom, COLORREF color) {
  if (right <= left || bottom <= top) return;
  RECT r{left, top, right, bottom};
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(hdc, &r, brush);
  DeleteObject(brush);
}

bool drawn(const litehtml::border& side) { return side.width > 0 && side.style > litehtml::border_style_hidden; }

}  // namespace

GdiContainer::GdiContainer(HWND view) : view_(view), measure_(CreateCompatibleDC(nullptr)) {
  HDC screen = GetDC(view_);
  dpi_ = std::max(GetDeviceCaps(screen, LOGPIXELSY), 1);
  ReleaseDC(view_, screen);
}

GdiContainer::~GdiContainer() { DeleteDC(measure_); }

int GdiContainer::scaled(int pixelsAt96Dpi) const { return pixelsAt96Dpi * dpi_ / 96; }

litehtml::uint_ptr GdiContainer::create_font(const litehtml::tchar_t* faceName, int size, int weight,
                                             litehtml::font_style italic, unsigned int decoration,
                                             litehtml::font_metrics* fm) {
  std::string faces = faceName ? faceName : "";
  for (char& c : faces) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  const bool mono = faces.find("mono") != std::string::npos || faces.find("courier") != std::string::npos;
  LOGFONTW log{};
  log.lfHeight = -std::clamp(size, 1, 400);
  log.lfWeight = weight;
  log.lfItalic = italic == litehtml::fontStyleItalic;
  log.lfUnderline = (decoration & litehtml::font_decoration_underline) != 0;
  log.lfStrikeOut = (decoration & litehtml::font_decoration_linethrough) != 0;
  log.lfCharSet = DEFAULT_CHARSET;
  const std::u16string_view face = mono ? u"Courier New" : u"Tahoma";
  std::copy(face.begin(), face.end(), log.lfFaceName);
  HFONT font = CreateFontIndirectW(&log);
  if (fm) {
    HGDIOBJ old = SelectObject(measure_, font);
    TEXTMETRICW tm{};
    GetTextMetricsW(measure_, &tm);
    SelectObject(measure_, old);
    fm->ascent = tm.tmAscent;
    fm->descent = tm.tmDescent;
    fm->height = tm.tmHeight;
    fm->x_height = tm.tmAscent / 2;
    fm->draw_spaces = italic == litehtml::fontStyleItalic || decoration != 0;
  }
  return reinterpret_cast<litehtml::uint_ptr>(font);
}

void GdiContainer::delete_font(litehtml::uint_ptr font) { DeleteObject(fontOf(font)); }

int GdiContainer::text_width(const litehtml::tchar_t* text, litehtml::uint_ptr font) {
  std::u16string wide = strings::fromUtf8(text ? text : "");
  HGDIOBJ old = SelectObject(measure_, fontOf(font));
  SIZE size{};
  GetTextExtentPoint32W(measure_, wide.c_str(), static_cast<int>(wide.size()), &size);
  SelectObject(measure_, old);
  return size.cx;
}

void GdiContainer::draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text, litehtml::uint_ptr font,
                             litehtml::web_color color, const litehtml::position& pos) {
  auto dc = reinterpret_cast<HDC>(hdc);
  std::u16string wide = strings::fromUtf8(text ? text : "");
  HGDIOBJ old = SelectObject(dc, fontOf(font));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colorOf(color));
  ExtTextOutW(dc, pos.x, pos.y, 0, nullptr, wide.c_str(), static_cast<UINT>(wide.size()), nullptr);
  SelectObject(dc, old);
}

int GdiContainer::pt_to_px(int pt) const { return pt * dpi_ / 72; }

int GdiContainer::get_default_font_size() const { return scaled(12); }

const litehtml::tchar_t* GdiContainer::get_default_font_name() const { return "Tahoma"; }

void GdiContainer::draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker) {
  auto dc = reinterpret_cast<HDC>(hdc);
  const auto& p = marker.pos;
  const COLORREF color = colorOf(marker.color);
  switch (marker.marker_type) {
    case litehtml::list_style_type_square:
      fill(dc, p.x, p.y, p.x + p.width, p.y + p.height, color);
      break;
    case litehtml::list_style_type_circle:
    case litehtml::list_style_type_disc: {
      HPEN pen = CreatePen(PS_SOLID, 1, color);
      HBRUSH brush = marker.marker_type == litehtml::list_style_type_disc ? CreateSolidBrush(color) : nullptr;
      HGDIOBJ oldPen = SelectObject(dc, pen);
      HGDIOBJ oldBrush = SelectObject(dc, brush ? static_cast<HGDIOBJ>(brush) : GetStockObject(NULL_BRUSH));
      Ellipse(dc, p.x, p.y, p.x + p.width, p.y + p.height);
      SelectObject(dc, oldBrush);
      SelectObject(dc, oldPen);
      if (brush) DeleteObject(brush);
      DeleteObject(pen);
      break;
    }
    default:
      break;  // numbers and letters come as text
  }
}

void GdiContainer::get_image_size(const litehtml::tchar_t*, const litehtml::tchar_t*, litehtml::size& size) {
  size.width = size.height = scaled(16);
}

void GdiContainer::draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& background) {
  auto dc = reinterpret_cast<HDC>(hdc);
  const auto& box = background.clip_box;
  if (!background.image.empty()) {
    // An image is not loaded: its place shows as a frame.
    const auto& b = background.border_box;
    HBRUSH brush = CreateSolidBrush(RGB(0x80, 0x80, 0x80));
    RECT r{b.x, b.y, b.x + b.width, b.y + b.height};
    FrameRect(dc, &r, brush);
    DeleteObject(brush);
    return;
  }
  if (background.color.alpha > 0) fill(dc, box.x, box.y, box.x + box.width, box.y + box.height, colorOf(background.color));
}

void GdiContainer::draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders,
                                const litehtml::position& box, bool) {
  auto dc = reinterpret_cast<HDC>(hdc);
  const int left = box.x, top = box.y, right = box.x + box.width, bottom = box.y + box.height;
  if (drawn(borders.top)) fill(dc, left, top, right, top + borders.top.width, colorOf(borders.top.color));
  if (drawn(borders.bottom))
    fill(dc, left, bottom - borders.bottom.width, right, bottom, colorOf(borders.bottom.color));
  if (drawn(borders.left)) fill(dc, left, top, left + borders.left.width, bottom, colorOf(borders.left.color));
  if (drawn(borders.right)) fill(dc, right - borders.right.width, top, right, bottom, colorOf(borders.right.color));
}

void GdiContainer::on_anchor_click(const litehtml::tchar_t* url, const litehtml::element::ptr&) {
  if (onLink_ && url) onLink_(url);
}

void GdiContainer::transform_text(litehtml::tstring& text, litehtml::text_transform transform) {
  bool wordStart = true;
  for (char& c : text) {
    const bool lower = c >= 'a' && c <= 'z', upper = c >= 'A' && c <= 'Z';
    if ((transform == litehtml::text_transform_uppercase || (transform == litehtml::text_transform_capitalize && wordStart)) && lower)
      c = static_cast<char>(c - 'a' + 'A');
    else if (transform == litehtml::text_transform_lowercase && upper)
      c = static_cast<char>(c - 'A' + 'a');
    wordStart = c == ' ' || c == '\t' || c == '\n';
  }
}

void GdiContainer::get_client_rect(litehtml::position& client) const {
  RECT r{};
  GetClientRect(view_, &r);
  client = litehtml::position(0, 0, r.right - r.left, r.bottom - r.top);
}

void GdiContainer::get_media_features(litehtml::media_features& media) const {
  litehtml::position client;
  get_client_rect(client);
  media.type = litehtml::media_type_screen;
  media.width = client.width;
  media.height = client.height;
  media.device_width = GetSystemMetrics(SM_CXSCREEN);
  media.device_height = GetSystemMetrics(SM_CYSCREEN);
  media.color = 8;
  media.monochrome = 0;
  media.color_index = 256;
  media.resolution = dpi_;
}

void GdiContainer::get_language(litehtml::tstring& language, litehtml::tstring& culture) const {
  language = "en";
  culture = "";
}

}  // namespace handheld::peghelp
