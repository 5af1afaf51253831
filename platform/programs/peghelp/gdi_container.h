// What litehtml asks of its host, answered with the platform's GDI: fonts from
// CreateFontIndirectW, text with ExtTextOutW, boxes, borders and list markers as rectangles and
// ellipses. Images are not loaded; an image shows as a framed box of its size.
#pragma once

#include <litehtml/litehtml.h>

#include <windows.h>

#include <functional>
#include <string>

namespace handheld::peghelp {

class GdiContainer final : public litehtml::document_container {
 public:
  // `view`: the window whose client area is the page (its width, the screen's dpi).
  explicit GdiContainer(HWND view);
  ~GdiContainer();
  GdiContainer(const GdiContainer&) = delete;
  GdiContainer& operator=(const GdiContainer&) = delete;

  // Called when a link is tapped; the page is laid out still, so the handler only records it.
  void onLink(std::function<void(const std::string& href)> handler) { onLink_ = std::move(handler); }
  // The <title> of the document last parsed.
  const std::string& caption() const { return caption_; }
  // Pixels of the screen at `points` (the dpi's share of an inch).
  int scaled(int pixelsAt96Dpi) const;

  litehtml::uint_ptr create_font(const litehtml::tchar_t* faceName, int size, int weight, litehtml::font_style italic,
                                 unsigned int decoration, litehtml::font_metrics* fm) override;
  void delete_font(litehtml::uint_ptr font) override;
  int text_width(const litehtml::tchar_t* text, litehtml::uint_ptr font) override;
  void draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text, litehtml::uint_ptr font,
                 litehtml::web_color color, const litehtml::position& pos) override;
  int pt_to_px(int pt) const override;
  int get_default_font_size() const override;
  const litehtml::tchar_t* get_default_font_name() const override;
  void draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker) override;
  void load_image(const litehtml::tchar_t*, const litehtml::tchar_t*, bool) override {}
  void get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl, litehtml::size& size) override;
  void draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& background) override;
  void draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders, const litehtml::position& box,
                    bool root) override;
  void set_caption(const litehtml::tchar_t* caption) override { caption_ = caption ? caption : ""; }
  void set_base_url(const litehtml::tchar_t*) override {}
  void link(const std::shared_ptr<litehtml::document>&, const litehtml::element::ptr&) override {}
  void on_anchor_click(const litehtml::tchar_t* url, const litehtml::element::ptr&) override;
  void set_cursor(const litehtml::tchar_t*) override {}
  void transform_text(litehtml::tstring& text, litehtml::text_transform transform) override;
  // Style sheets outside the file are not read.
  void import_css(litehtml::tstring&, const litehtml::tstring&, litehtml::tstring&) override {}
  // No clipping regions on this platform: overflow shows.
  void set_clip(const litehtml::position&, const litehtml::border_radiuses&, bool, bool) override {}
  void del_clip() override {}
  void get_client_rect(litehtml::position& client) const override;
  std::shared_ptr<litehtml::element> create_element(const litehtml::tchar_t*, const litehtml::string_map&,
                                                    const std::shared_ptr<litehtml::document>&) override {
    return nullptr;
  }
  void get_media_features(litehtml::media_features& media) const override;
  void get_language(litehtml::tstring& language, litehtml::tstring& culture) const override;

 private:
  HWND view_;
  HDC measure_;  // a memory DC that measures text
  int dpi_;
  std::string caption_;
  std::function<void(const std::string&)> onLink_;
};

}  // namespace handheld::peghelp
