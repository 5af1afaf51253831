#include "help_view.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "help_file.h"
#include "help_style.h"
#include "strings/utf.h"
#include "user/controls/automation_state.h"
#include "viewer_request.h"

namespace handheld::peghelp {

namespace {

constexpr const char16_t* kPageClass = u"HelpViewerPage";
constexpr int kBackId = 100;

HelpViewer* viewerOf(HWND window) { return reinterpret_cast<HelpViewer*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

void remember(HWND window, LPARAM lParam) {
  auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
}

std::string trimmed(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t\r\n"), end = text.find_last_not_of(" \t\r\n");
  return begin == std::string::npos ? std::string() : text.substr(begin, end - begin + 1);
}

bool isHeading(const litehtml::element::ptr& element) {
  const char* tag = element->get_tagName();
  return tag && tag[0] == 'h' && tag[1] >= '1' && tag[1] <= '6' && tag[2] == '\0';
}

// The words an element shows, which inline elements hold rather than are.
void collectWords(const litehtml::element::ptr& element, std::vector<litehtml::position>& words) {
  const size_t count = element->get_children_count();
  if (count == 0) {
    litehtml::position box = element->get_placement();
    if (box.width > 0 && box.height > 0) words.push_back(box);
    return;
  }
  for (size_t i = 0; i < count; ++i) collectWords(element->get_child(static_cast<int>(i)), words);
}

// Where a link shows on its first line, so that a tap at the box's middle lands on it.
litehtml::position firstLineBox(const litehtml::element::ptr& element) {
  std::vector<litehtml::position> words;
  collectWords(element, words);
  if (words.empty()) return element->get_placement();
  litehtml::position box = words.front();
  for (const auto& word : words) {
    if (word.y != words.front().y) continue;
    const int right = std::max(box.right(), word.right()), bottom = std::max(box.bottom(), word.bottom());
    box.x = std::min(box.x, word.x);
    box.width = right - box.x;
    box.height = bottom - box.y;
  }
  return box;
}

void forEachElement(const litehtml::element::ptr& element, const std::function<void(const litehtml::element::ptr&)>& visit) {
  visit(element);
  for (size_t i = 0; i < element->get_children_count(); ++i) forEachElement(element->get_child(static_cast<int>(i)), visit);
}

}  // namespace

RECT helpWorkArea() {
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

void logLine(const std::string& line) {
  // A device program's stderr is the device log.
  std::fprintf(stderr, "PegHelp: %s\n", line.c_str());
  std::fflush(stderr);
}

HelpViewer::HelpViewer(HINSTANCE instance, const RECT& area) : context_(std::make_unique<litehtml::context>()) {
  WNDCLASSW frame{};
  frame.lpfnWndProc = frameProc;
  frame.hInstance = instance;
  frame.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  frame.lpszClassName = kViewerClass;
  RegisterClassW(&frame);
  WNDCLASSW page{};
  page.lpfnWndProc = pageProc;
  page.hInstance = instance;
  page.lpszClassName = kPageClass;
  RegisterClassW(&page);
  context_->load_master_stylesheet(kHelpStyleSheet);

  frame_ = CreateWindowExW(0, kViewerClass, u"Help", WS_VISIBLE, area.left, area.top, area.right - area.left,
                           area.bottom - area.top, nullptr, nullptr, instance, this);
  page_ = CreateWindowExW(0, kPageClass, u"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0, 0, 1, 1, frame_, nullptr,
                          instance, this);
  backButton_ = CreateWindowExW(0, u"BUTTON", u"Back", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 1, 1, frame_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kBackId)), instance, nullptr);
  container_ = std::make_unique<GdiContainer>(page_);
  container_->onLink([this](const std::string& href) { tappedLink_ = href; });
  placeChildren();
  EnableWindow(backButton_, FALSE);
  SetFocus(page_);
}

HelpViewer::~HelpViewer() {
  document_.reset();  // its fonts go back to the container first
  if (IsWindow(frame_)) DestroyWindow(frame_);
}

int HelpViewer::barHeight() const { return GetSystemMetrics(SM_CYMENU) + 4; }

void HelpViewer::placeChildren() {
  RECT client{};
  GetClientRect(frame_, &client);
  const int bar = barHeight();
  MoveWindow(page_, 0, 0, client.right, std::max<int>(client.bottom - bar, 1), TRUE);
  MoveWindow(backButton_, 2, client.bottom - bar + 2, container_ ? container_->scaled(56) : 56, bar - 4, TRUE);
}

void HelpViewer::openCommandLine(std::u16string_view commandLine) {
  if (auto address = parseHelpCommandLine(commandLine))
    open(*address);
  else
    showMessage("No help file was named: the viewer takes \"file:NAME#TOPIC\".");
}

void HelpViewer::open(const HelpAddress& address) {
  if (current_ || !message_.empty()) history_.push_back({current_.value_or(HelpAddress{}), scroll_});
  show(address, 0);
}

void HelpViewer::showMessage(const std::string& message) {
  logLine(message);
  LoadedTopic page = messagePage(message);
  load(page.html, page.title, page.message);
  scrollTo(0);
}

void HelpViewer::show(const HelpAddress& address, int scroll) {
  current_ = address;
  LoadedTopic topic = loadTopic(address);
  if (!topic.message.empty()) logLine(topic.message);
  load(topic.html, topic.title, topic.message);
  scrollTo(scroll);
}

void HelpViewer::load(const std::string& html, const std::string& title, const std::string& message) {
  tappedLink_.reset();
  document_ = litehtml::document::createFromUTF8(html.c_str(), container_.get(), context_.get());
  title_ = title;
  message_ = message;
  SetWindowTextW(frame_, title.empty() ? u"Help" : strings::fromUtf8(title).c_str());
  EnableWindow(backButton_, !history_.empty());
  layOut();
}

void HelpViewer::back() {
  if (history_.empty()) return;
  Visit visit = std::move(history_.back());
  history_.pop_back();
  if (visit.address.file.empty()) {
    current_.reset();  // the message shown before the first topic
    showMessage("No help file was named: the viewer takes \"file:NAME#TOPIC\".");
    return;
  }
  show(visit.address, visit.scroll);
}

void HelpViewer::follow(const std::string& href) {
  if (!current_) return;
  logLine("link " + href);
  LinkTarget target = resolveHelpLink(strings::fromUtf8(href), *current_);
  if (target.kind == LinkTarget::Kind::External) {
    std::u16string commandLine = target.url;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(u"\\Windows\\iexplore.exe", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       nullptr, &process)) {
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
    } else {
      logLine("the browser did not start for " + href + ": " + std::to_string(GetLastError()));
    }
    return;
  }
  if (target.kind == LinkTarget::Kind::Invalid) {
    history_.push_back({*current_, scroll_});
    showMessage("The link \"" + href + "\" leads to no help file.");
    return;
  }
  auto found = std::find_if(target.candidates.begin(), target.candidates.end(),
                            [](const HelpAddress& a) { return helpFileExists(a.file); });
  open(found != target.candidates.end() ? *found : target.candidates.front());
}

void HelpViewer::layOut() {
  RECT client{};
  GetClientRect(page_, &client);
  pageHeight_ = 0;
  if (document_) {
    document_->render(std::max<int>(client.right, 1));
    pageHeight_ = document_->height();
  }
  scrollTo(scroll_);
}

void HelpViewer::scrollTo(int y) {
  RECT client{};
  GetClientRect(page_, &client);
  scroll_ = std::clamp(y, 0, std::max<int>(pageHeight_ - client.bottom, 0));
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  info.nMax = std::max(pageHeight_ - 1, 0);
  info.nPage = static_cast<UINT>(client.bottom);
  info.nPos = scroll_;
  SetScrollInfo(page_, SB_VERT, &info, TRUE);
  InvalidateRect(page_, nullptr, FALSE);
}

void HelpViewer::paint() {
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(page_, &ps);
  FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (document_) {
    litehtml::position clip(ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
                            ps.rcPaint.bottom - ps.rcPaint.top);
    document_->draw(reinterpret_cast<litehtml::uint_ptr>(dc), 0, -scroll_, &clip);
  }
  EndPaint(page_, &ps);
}

void HelpViewer::tap(int x, int y) {
  if (!document_) return;
  litehtml::position::vector redraw;
  document_->on_lbutton_down(x, y + scroll_, x, y, redraw);
  document_->on_lbutton_up(x, y + scroll_, x, y, redraw);
  // The document is left before it is replaced.
  if (auto href = std::exchange(tappedLink_, std::nullopt)) follow(*href);
}

void HelpViewer::describe(nlohmann::json& state) const {
  using nlohmann::json;
  state["file"] = current_ ? json(strings::toUtf8(current_->file)) : json(nullptr);
  state["anchor"] = current_ && !current_->anchor.empty() ? json(strings::toUtf8(current_->anchor)) : json(nullptr);
  state["title"] = title_;
  state["message"] = message_.empty() ? json(nullptr) : json(message_);
  state["canGoBack"] = !history_.empty();
  state["scroll"] = scroll_;
  state["pageHeight"] = pageHeight_;
  json headings = json::array(), links = json::array();
  if (document_) {
    RECT client{};
    GetClientRect(page_, &client);
    POINT origin{0, 0};
    ClientToScreen(page_, &origin);
    auto visible = [&](const litehtml::position& box) {
      return box.bottom() > scroll_ && box.y < scroll_ + client.bottom && box.height > 0;
    };
    forEachElement(document_->root(), [&](const litehtml::element::ptr& element) {
      if (isHeading(element)) {
        if (!visible(element->get_placement())) return;
        litehtml::tstring text;
        element->get_text(text);
        headings.push_back(trimmed(text));
      } else if (const char* tag = element->get_tagName(); tag && std::string_view(tag) == "a") {
        const char* href = element->get_attr("href");
        litehtml::position box = firstLineBox(element);
        if (!href || !visible(box)) return;
        litehtml::tstring text;
        element->get_text(text);
        links.push_back({{"text", trimmed(text)},
                         {"href", href},
                         {"rect", {origin.x + box.x, origin.y + box.y - scroll_, box.width, box.height}}});
      }
    });
  }
  state["headings"] = std::move(headings);
  state["links"] = std::move(links);
}

LRESULT CALLBACK HelpViewer::frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) remember(window, lParam);
  HelpViewer* viewer = viewerOf(window);
  if (!viewer || !viewer->page_) return DefWindowProcW(window, message, wParam, lParam);
  return viewer->onFrame(message, wParam, lParam);
}

LRESULT CALLBACK HelpViewer::pageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) remember(window, lParam);
  HelpViewer* viewer = viewerOf(window);
  if (!viewer || !viewer->container_) return DefWindowProcW(window, message, wParam, lParam);
  return viewer->onPage(message, wParam, lParam);
}

LRESULT HelpViewer::onFrame(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == openRequestMessage()) {
    auto commandLine = takeForwardedCommandLine(wParam);
    if (!commandLine) return 0;
    logLine("command line \"" + strings::toUtf8(*commandLine) + "\" from another start");
    openCommandLine(*commandLine);
    SetForegroundWindow(frame_);
    return 1;
  }
  switch (message) {
    case WM_SIZE:
      placeChildren();
      return 0;
    case WM_SETFOCUS:
      SetFocus(page_);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kBackId && HIWORD(wParam) == BN_CLICKED) {
        back();
        SetFocus(page_);
      }
      return 0;
    case WM_SETTINGCHANGE: {
      const RECT area = helpWorkArea();
      MoveWindow(frame_, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
      return 0;
    }
    case user::controls::WM_AUTOMATION_STATE:
      describe(user::controls::automationStateOf(lParam));
      return 0;
    case WM_CLOSE:
      DestroyWindow(frame_);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(frame_, message, wParam, lParam);
  }
}

LRESULT HelpViewer::onPage(UINT message, WPARAM wParam, LPARAM lParam) {
  RECT client{};
  GetClientRect(page_, &client);
  const int line = container_->scaled(16), page = std::max<int>(client.bottom - line, line);
  switch (message) {
    case WM_PAINT:
      paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT
    case WM_SIZE:
      layOut();
      return 0;
    case WM_VSCROLL:
      switch (LOWORD(wParam)) {
        case SB_LINEUP: scrollTo(scroll_ - line); break;
        case SB_LINEDOWN: scrollTo(scroll_ + line); break;
        case SB_PAGEUP: scrollTo(scroll_ - page); break;
        case SB_PAGEDOWN: scrollTo(scroll_ + page); break;
        case SB_TOP: scrollTo(0); break;
        case SB_BOTTOM: scrollTo(pageHeight_); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
          SCROLLINFO info{};
          info.cbSize = sizeof info;
          info.fMask = SIF_TRACKPOS;
          GetScrollInfo(page_, SB_VERT, &info);
          scrollTo(info.nTrackPos);
          break;
        }
        default: break;
      }
      return 0;
    case WM_KEYDOWN:
      switch (wParam) {
        case VK_UP: scrollTo(scroll_ - line); break;
        case VK_DOWN: scrollTo(scroll_ + line); break;
        case VK_PRIOR: scrollTo(scroll_ - page); break;
        case VK_NEXT: scrollTo(scroll_ + page); break;
        case VK_HOME: scrollTo(0); break;
        case VK_END: scrollTo(pageHeight_); break;
        case VK_BACK: back(); break;
        default: break;
      }
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(page_);
      SetCapture(page_);
      pressed_ = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      pressedScroll_ = scroll_;
      pressing_ = true;
      dragging_ = false;
      return 0;
    case WM_MOUSEMOVE:
      if (pressing_) {
        const int dy = GET_Y_LPARAM(lParam) - pressed_.y, dx = GET_X_LPARAM(lParam) - pressed_.x;
        // A tap wobbles a little; beyond that the stylus drags the page.
        if (!dragging_ && std::max(std::abs(dx), std::abs(dy)) > container_->scaled(4)) dragging_ = true;
        if (dragging_) scrollTo(pressedScroll_ - dy);
      }
      return 0;
    case WM_LBUTTONUP:
      if (pressing_) {
        pressing_ = false;
        ReleaseCapture();
        if (!dragging_) tap(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      }
      return 0;
    case WM_CAPTURECHANGED:
      pressing_ = false;
      return 0;
    default:
      return DefWindowProcW(page_, message, wParam, lParam);
  }
}

}  // namespace handheld::peghelp
