// The help viewer's pages through litehtml, as the viewer lays them out: any bytes as a help
// file, cut to the whole topic, laid out at the width of the screen, drawn and tapped. The
// host draws nothing and measures every character 6 pixels wide. Nothing may crash, and no
// page may take long (libFuzzer's time-out): the layout of nested tables grows exponentially.
#include <litehtml/litehtml.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "help_style.h"
#include "help_text.h"
#include "help_topic.h"

namespace {

using namespace litehtml;

class MeasuringOnly final : public document_container {
 public:
  uint_ptr create_font(const tchar_t*, int size, int, font_style, unsigned int, font_metrics* fm) override {
    if (fm) {
      fm->ascent = size;
      fm->descent = size / 4;
      fm->height = size + size / 4;
      fm->x_height = size / 2;
    }
    return 1;
  }
  void delete_font(uint_ptr) override {}
  int text_width(const tchar_t* t, uint_ptr) override { return int(strlen(t)) * 6; }
  void draw_text(uint_ptr, const tchar_t*, uint_ptr, web_color, const position&) override {}
  int pt_to_px(int pt) const override { return pt * 96 / 72; }
  int get_default_font_size() const override { return 12; }
  const tchar_t* get_default_font_name() const override { return "Tahoma"; }
  void draw_list_marker(uint_ptr, const list_marker&) override {}
  void load_image(const tchar_t*, const tchar_t*, bool) override {}
  void get_image_size(const tchar_t*, const tchar_t*, size& s) override { s.width = s.height = 16; }
  void draw_background(uint_ptr, const background_paint&) override {}
  void draw_borders(uint_ptr, const borders&, const position&, bool) override {}
  void set_caption(const tchar_t*) override {}
  void set_base_url(const tchar_t*) override {}
  void link(const std::shared_ptr<document>&, const element::ptr&) override {}
  void on_anchor_click(const tchar_t*, const element::ptr&) override {}
  void set_cursor(const tchar_t*) override {}
  void transform_text(tstring&, text_transform) override {}
  void import_css(tstring&, const tstring&, tstring&) override {}
  void set_clip(const position&, const border_radiuses&, bool, bool) override {}
  void del_clip() override {}
  void get_client_rect(position& c) const override { c = position(0, 0, 240, 270); }
  std::shared_ptr<element> create_element(const tchar_t*, const string_map&,
                                          const std::shared_ptr<document>&) override {
    return nullptr;
  }
  void get_media_features(media_features& m) const override {
    m.type = media_type_screen;
    m.width = m.device_width = 240;
    m.height = 270;
    m.device_height = 320;
    m.color = 8;
    m.resolution = 96;
  }
  void get_language(tstring& l, tstring& c) const override { l = "en"; c = ""; }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static context* ctx = [] {
    auto* c = new context;
    c->load_master_stylesheet(handheld::peghelp::kHelpStyleSheet);
    return c;
  }();
  std::string_view in(reinterpret_cast<const char*>(data), size);
  auto text = handheld::peghelp::decodeHelpBytes(in);
  if (!text.refusal.empty()) return 0;
  auto topic = handheld::peghelp::extractTopic(text.utf8, "");
  if (!topic.refusal.empty()) return 0;
  MeasuringOnly container;
  auto doc = document::createFromUTF8(topic.html.c_str(), &container, ctx);
  doc->render(240);
  position clip(0, 0, 240, 270);
  doc->draw(0, 0, 0, &clip);
  position::vector r;
  doc->on_lbutton_down(20, 20, 20, 20, r);
  doc->on_lbutton_up(20, 20, 20, 20, r);
  return 0;
}
