// The help viewer's window: the page (laid out by litehtml, scrolled by its bar, the stylus
// and the keys) above a strip with the Back button. Taps on links follow them; Back returns
// to the topic before, where it was scrolled to.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "gdi_container.h"
#include "help_address.h"

namespace handheld::peghelp {

// The viewer's top-level window class; a second start finds the first by it.
inline constexpr const char16_t* kViewerClass = u"HelpViewer";

// The screen below the navigation bar.
RECT helpWorkArea();
// A line in the device log.
void logLine(const std::string& line);

class HelpViewer {
 public:
  // Creates the window over `area` (the screen below the navigation bar).
  HelpViewer(HINSTANCE instance, const RECT& area);
  ~HelpViewer();
  HelpViewer(const HelpViewer&) = delete;
  HelpViewer& operator=(const HelpViewer&) = delete;

  HWND window() const { return frame_; }
  // Shows a topic, the one shown so far going to the Back list.
  void open(const HelpAddress& address);
  // A command line as the program takes it ("file:NAME#ANCHOR"); one that names no file
  // shows a message.
  void openCommandLine(std::u16string_view commandLine);

 private:
  struct Visit {
    HelpAddress address;
    int scroll = 0;
  };

  static LRESULT CALLBACK frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK pageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT onFrame(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT onPage(UINT message, WPARAM wParam, LPARAM lParam);

  void showMessage(const std::string& message);
  void show(const HelpAddress& address, int scroll);
  void load(const std::string& html, const std::string& title, const std::string& message);
  void back();
  void follow(const std::string& href);
  void layOut();
  void scrollTo(int y);
  void paint();
  void tap(int x, int y);
  void describe(nlohmann::json& state) const;
  void placeChildren();
  int barHeight() const;

  HWND frame_ = nullptr;
  HWND page_ = nullptr;
  HWND backButton_ = nullptr;
  std::unique_ptr<GdiContainer> container_;
  std::unique_ptr<litehtml::context> context_;
  std::shared_ptr<litehtml::document> document_;
  std::optional<HelpAddress> current_;
  std::string title_;
  std::string message_;
  std::vector<Visit> history_;
  int scroll_ = 0;
  int pageHeight_ = 0;
  // The stylus: where it went down and whether it has dragged the page since.
  POINT pressed_{};
  int pressedScroll_ = 0;
  bool pressing_ = false;
  bool dragging_ = false;
  std::optional<std::string> tappedLink_;
};

}  // namespace handheld::peghelp
