// The canvas over the real ink control in this process on a device: how it makes and prepares
// the control, zoom, pages, the messages it passes on, streaming (and refusing a failed
// stream), making the control anew, the panel sizes, the background and the repaint timer.
#include <gtest/gtest.h>

#include <inkx.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/app_references.h"
#include "mainwindow/ink_library.h"
#include "notewindow/ink_canvas.h"
#include "support/device_fixture.h"
#include "support/message_recorder.h"
#include "user/controls/automation_state.h"

namespace handheld::testing {
namespace {

using Bytes = std::vector<BYTE>;

class Canvas : public DeviceFixture {
 protected:
  void SetUp() override {
    DeviceFixture::SetUp();
    StartInkLibrary();
    WNDCLASSW found{};
    ASSERT_NE(GetClassInfoW(nullptr, u"InkX", &found), 0) << "the ink library did not start";
    recorder_.registerClass(u"NoteParent");
    parent_ = CreateWindowExW(0, u"NoteParent", u"note", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(parent_, nullptr);
    theScreen.scaleX = 1;
    theScreen.scaleY = 1;
  }
  void TearDown() override {
    canvas_.destroy();
    if (IsWindow(parent_)) DestroyWindow(parent_);
    theScreen.scaleX = 1;
    theScreen.scaleY = 1;
    DeviceFixture::TearDown();
  }

  void create(bool bordered = true) { canvas_.create(parent_, 105, -1, 44, 242, 226, bordered); }

  nlohmann::json state() {
    nlohmann::json shown = nlohmann::json::object();
    SendMessageW(canvas_.control(), user::controls::WM_AUTOMATION_STATE, 0, reinterpret_cast<LPARAM>(&shown));
    return shown;
  }
  int controlZoom() { return static_cast<int>(SendMessageW(canvas_.inner(), 1313, 0, 0)); }  // INKM_GET_ZOOM
  void type(std::u16string_view text) {
    for (char16_t c : text) SendMessageW(canvas_.inner(), WM_CHAR, c, 0);
  }
  // The messages of `message` that reached `window`.
  std::vector<RecordedMessage> received(HWND window, UINT message) {
    std::vector<RecordedMessage> found;
    for (const RecordedMessage& m : recorder_.messages()) {
      if (m.window == window && m.message == message) found.push_back(m);
    }
    return found;
  }

  MessageRecorder recorder_;
  HWND parent_ = nullptr;
  InkCanvas canvas_;
};

// Items of a content stream by kind, with their payloads.
std::vector<std::pair<int, Bytes>> items(const Bytes& stream) {
  std::vector<std::pair<int, Bytes>> found;
  size_t at = 12;
  while (at + 8 <= stream.size()) {
    const int kind = stream[at] | stream[at + 1] << 8;
    uint32_t length = 0;
    std::memcpy(&length, &stream[at + 4], 4);
    at += 8;
    if (length > stream.size() - at) break;
    found.emplace_back(kind, Bytes(stream.begin() + static_cast<long>(at), stream.begin() + static_cast<long>(at + length)));
    at += length;
  }
  return found;
}

uint32_t word(const Bytes& bytes, size_t at, size_t size = 4) {
  uint32_t value = 0;
  std::memcpy(&value, &bytes[at], size);
  return value;
}

TEST_F(Canvas, MakesTheControlWithItsStyleAndPreparesIt) {
  create(true);
  HWND control = canvas_.control();
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE)), 0x50B000CCu);
  EXPECT_EQ(GetDlgCtrlID(control), 105);
  EXPECT_EQ(GetParent(control), parent_);
  WCHAR className[16] = {};
  GetClassNameW(control, className, 16);
  EXPECT_EQ(std::u16string(className), u"InkX");
  EXPECT_EQ(canvas_.inner(), reinterpret_cast<HWND>(SendMessageW(control, 1556, 0, 0)));  // INKM_GET_INNER
  EXPECT_EQ(canvas_.getZoom(), 200);
  EXPECT_EQ(controlZoom(), 200);
  EXPECT_EQ(state()["mode"], 0);
  EXPECT_EQ(canvas_.mode(), 0);
  EXPECT_FALSE(canvas_.canUndo());
  EXPECT_TRUE(canvas_.isEmpty());

  InkCanvas plain;
  plain.create(parent_, 7, 0, 0, 100, 100, false);
  ASSERT_NE(plain.control(), nullptr);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(plain.control(), GWL_STYLE)), 0x503000CCu);
  plain.destroy();
  EXPECT_EQ(plain.control(), nullptr);
}

// The pen words 15, 2, 200, 16, 0, 0: black strokes 2 pixels wide, black 16-pixel text.
TEST_F(Canvas, StrokesAndTextCarryThePen) {
  create();
  HWND inner = canvas_.inner();
  SendMessageW(inner, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  SendMessageW(inner, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(40, 30));
  SendMessageW(inner, WM_LBUTTONUP, 0, MAKELPARAM(40, 30));
  canvas_.setMode(1);
  type(u"a");
  Bytes stream;
  ASSERT_TRUE(canvas_.streamOut(stream));
  const auto found = items(stream);
  ASSERT_EQ(found.size(), 2u);
  ASSERT_EQ(found[0].first, 2);  // the stroke
  EXPECT_EQ(word(found[0].second, 0), 0u);         // colour
  EXPECT_EQ(word(found[0].second, 4, 2), 2u * 16);  // width in 1/16 pixel
  ASSERT_EQ(found[1].first, 3);  // the text
  EXPECT_EQ(word(found[1].second, 0), 16u);  // height
  EXPECT_EQ(word(found[1].second, 4), 0u);   // colour
}

TEST_F(Canvas, ZoomStepsTheirEndsAndClamping) {
  EXPECT_EQ(canvas_.getZoom(), 100);  // before the control exists
  create();
  struct Step {
    int from;
    bool in;
    int to;
    bool further;
  };
  const Step steps[] = {
      {300, true, 300, false}, {25, false, 25, false}, {200, true, 300, false}, {50, false, 25, false},
      {120, true, 120, true},  {120, false, 120, true}, {25, true, 50, true},    {50, true, 75, true},
      {75, true, 100, true},   {100, true, 150, true},  {150, true, 200, true},  {300, false, 200, true},
      {200, false, 150, true}, {150, false, 100, true}, {100, false, 75, true},  {75, false, 50, true},
  };
  for (const Step& s : steps) {
    canvas_.setZoom(s.from);
    const bool further = s.in ? canvas_.zoomIn() : canvas_.zoomOut();
    const std::string what = std::to_string(s.from) + (s.in ? " in" : " out");
    EXPECT_EQ(canvas_.getZoom(), s.to) << what;
    EXPECT_EQ(controlZoom(), s.to) << what;
    EXPECT_EQ(further, s.further) << what;
  }

  const std::pair<int, int> clamped[] = {{10, 25}, {500, 300}, {24, 25}, {301, 300}, {120, 120}};
  for (const auto& [asked, zoom] : clamped) {
    canvas_.setZoom(asked);
    EXPECT_EQ(canvas_.getZoom(), zoom) << asked;
    EXPECT_EQ(controlZoom(), zoom) << asked;
  }

  const std::pair<int, int> indexed[] = {{0, 25},  {1, 50}, {2, 75}, {3, 100}, {4, 150},
                                         {5, 200}, {6, 300}, {9, 100}, {7, 100}, {-1, 100}};
  for (const auto& [index, zoom] : indexed) {
    canvas_.setZoomIndex(index);
    EXPECT_EQ(canvas_.getZoom(), zoom) << index;
    EXPECT_EQ(controlZoom(), zoom) << index;
  }
}

TEST_F(Canvas, PageFlagsArePostedToTheControl) {
  create();
  recorder_.watch(canvas_.control());
  const std::pair<int, int> flags[] = {{0, 16}, {1, 4}, {2, 2}, {3, 32}, {4, 0}, {5, 1}, {6, 8}, {7, 16}, {-1, 16}};
  for (const auto& [style, expected] : flags) {
    canvas_.setPage(true, style);
    recorder_.pumpPending();
    EXPECT_EQ(state()["pageFlags"], expected) << style;
    EXPECT_TRUE(canvas_.pageShown());
    EXPECT_EQ(canvas_.pageStyle(), style);
  }
  canvas_.setPage(true, 4);
  recorder_.pumpPending();
  canvas_.setPage(false, 4);
  EXPECT_EQ(state()["pageFlags"], 0) << "applied before the queue ran";
  recorder_.pumpPending();
  EXPECT_EQ(state()["pageFlags"], 16);
  EXPECT_FALSE(canvas_.pageShown());
  EXPECT_EQ(canvas_.pageStyle(), 4);

  const auto pages = received(canvas_.control(), 1311);  // INKM_SET_PAGE
  ASSERT_EQ(pages.size(), std::size(flags) + 2);
  for (const RecordedMessage& m : pages) {
    EXPECT_TRUE(m.posted);
    EXPECT_EQ(m.lParam, 0);
  }
  EXPECT_EQ(pages.back().wParam, 16u);
}

// Recording, stopping, the content check and the clipboard reach the control window.
TEST_F(Canvas, ControlMessagesGoToTheControlWindow) {
  create();
  HWND control = canvas_.control();
  recorder_.watch(control);
  canvas_.recordNow();
  canvas_.stop();
  canvas_.cut();
  canvas_.copy();
  canvas_.paste();
  canvas_.isEmpty();
  std::vector<UINT> sent;
  for (const RecordedMessage& m : recorder_.messages()) {
    if (m.window == control && m.message >= 768) sent.push_back(m.message);
  }
  EXPECT_EQ(sent, (std::vector<UINT>{1561, 1565, 1561, 768, 769, 770, 1538}));

  recorder_.clear();
  EXPECT_FALSE(canvas_.recording());
  canvas_.toggleRecording();
  EXPECT_TRUE(canvas_.recording());
  EXPECT_EQ(state()["recordMode"], true);
  canvas_.toggleRecording();
  EXPECT_FALSE(canvas_.recording());
  EXPECT_EQ(state()["recordMode"], false);
  const auto modes = received(control, 1554);  // INKM_RECORD_MODE
  ASSERT_EQ(modes.size(), 2u);
  EXPECT_EQ(modes[0].wParam, 1u);
  EXPECT_EQ(modes[1].wParam, 0u);

  // A paste takes the clipboard's text at the caret in typing mode.
  canvas_.setMode(1);
  EXPECT_EQ(state()["mode"], 1);
  ASSERT_TRUE(OpenClipboard(parent_));
  EmptyClipboard();
  HLOCAL text = LocalAlloc(LMEM_FIXED, 3 * sizeof(char16_t));
  std::memcpy(text, u"xy", 3 * sizeof(char16_t));
  SetClipboardData(CF_UNICODETEXT, text);
  CloseClipboard();
  canvas_.paste();
  EXPECT_EQ(state()["text"], "xy");
  EXPECT_FALSE(canvas_.isEmpty());
}

TEST_F(Canvas, UndoBringsBackTheZoomOfTheChange) {
  create();
  canvas_.setZoom(150);
  canvas_.undo();  // nothing to undo: the zoom stays
  EXPECT_EQ(canvas_.getZoom(), 150);

  canvas_.setZoom(100);
  canvas_.setMode(1);
  type(u"ab");
  canvas_.setZoom(300);
  EXPECT_TRUE(canvas_.canUndo());
  canvas_.undo();
  EXPECT_EQ(canvas_.getZoom(), 100);
  EXPECT_EQ(controlZoom(), 100);
  EXPECT_TRUE(canvas_.isEmpty());
  EXPECT_FALSE(canvas_.canUndo());
}

TEST_F(Canvas, ContentStreamsOutAndBackIn) {
  create();
  Bytes bytes = {1, 2, 3};
  ASSERT_TRUE(canvas_.streamOut(bytes));
  EXPECT_TRUE(bytes.empty()) << "an empty canvas streams out length 0";

  canvas_.setMode(1);
  type(u"Hello");
  EXPECT_FALSE(canvas_.isEmpty());
  ASSERT_TRUE(canvas_.streamOut(bytes));
  ASSERT_GT(bytes.size(), 12u);
  EXPECT_EQ(std::memcmp(bytes.data(), "INKX", 4), 0);

  InkCanvas other;
  other.create(parent_, 106, 0, 0, 100, 100, false);
  // Bytes after the given length belong to someone else and are never read.
  Bytes longer = bytes;
  longer.insert(longer.end(), {'R', 'I', 'F', 'F', 0xFF, 0xFF, 0xFF, 0xFF});
  other.streamIn(std::span<const BYTE>(longer).first(bytes.size()));
  EXPECT_FALSE(other.isEmpty());
  Bytes again;
  ASSERT_TRUE(other.streamOut(again));
  EXPECT_EQ(again, bytes);

  // Nothing streamed in is an empty page.
  other.streamIn({});
  EXPECT_TRUE(other.isEmpty());
}

// The control's own procedure, replaced to stream out as a faulty control would.
WNDPROC g_controlProc = nullptr;
enum class Fault { errorWord, growing, shrinking } g_fault;
int g_streamOuts = 0;

LRESULT CALLBACK faultyControl(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != EM_STREAMOUT) return CallWindowProcW(g_controlProc, window, message, wParam, lParam);
  auto* stream = reinterpret_cast<EDITSTREAM*>(lParam);
  if (g_fault == Fault::errorWord) {
    stream->dwError = 5;
    return 0;
  }
  ++g_streamOuts;
  const int pieces = g_fault == Fault::growing ? g_streamOuts : 3 - g_streamOuts;
  BYTE piece[8] = {'p', 'i', 'e', 'c', 'e', 0, 0, 0};
  for (int i = 0; i < pieces; ++i) {
    LONG done = 0;
    stream->pfnCallback(stream->dwCookie, piece, sizeof piece, &done);
  }
  return pieces * static_cast<LRESULT>(sizeof piece);
}

TEST_F(Canvas, AFailedStreamLeavesTheBytesAlone) {
  const Bytes note = {'n', 'o', 't', 'e'};
  Bytes bytes = note;
  EXPECT_FALSE(canvas_.streamOut(bytes)) << "no control yet";
  EXPECT_EQ(bytes, note);
  EXPECT_TRUE(canvas_.isEmpty());
  canvas_.streamIn(note);  // goes nowhere
  EXPECT_FALSE(canvas_.canUndo());

  create();
  g_controlProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(canvas_.control(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&faultyControl)));
  for (Fault fault : {Fault::errorWord, Fault::growing, Fault::shrinking}) {
    g_fault = fault;
    g_streamOuts = 0;
    EXPECT_FALSE(canvas_.streamOut(bytes)) << static_cast<int>(fault);
    EXPECT_EQ(bytes, note) << static_cast<int>(fault);
  }
  SetWindowLongPtrW(canvas_.control(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_controlProc));
  ASSERT_TRUE(canvas_.streamOut(bytes));
  EXPECT_TRUE(bytes.empty());

  // The control going with its parent is forgotten, not reached.
  DestroyWindow(parent_);
  EXPECT_EQ(canvas_.control(), nullptr);
  bytes = note;
  EXPECT_FALSE(canvas_.streamOut(bytes));
  EXPECT_EQ(bytes, note);
  canvas_.setZoom(50);
  EXPECT_FALSE(canvas_.zoomOut());
}

TEST_F(Canvas, MadeAnewEmptyAtTwoHundredKeepingPageModeAndPanel) {
  create();
  canvas_.setZoom(75);
  canvas_.setPage(true, 3);
  canvas_.setMode(1);
  canvas_.setPanelUp(true);
  canvas_.toggleRecording();
  type(u"gone");
  HWND old = canvas_.control();

  canvas_.recreate(true);
  recorder_.pumpPending();
  EXPECT_FALSE(IsWindow(old));
  ASSERT_NE(canvas_.control(), nullptr);
  EXPECT_EQ(canvas_.getZoom(), 200);
  EXPECT_EQ(controlZoom(), 200);
  EXPECT_TRUE(canvas_.isEmpty());
  EXPECT_FALSE(canvas_.canUndo());
  Bytes bytes = {9};
  ASSERT_TRUE(canvas_.streamOut(bytes));
  EXPECT_TRUE(bytes.empty());
  EXPECT_TRUE(canvas_.pageShown());
  EXPECT_EQ(canvas_.pageStyle(), 3);
  EXPECT_EQ(state()["pageFlags"], 32);
  EXPECT_EQ(canvas_.mode(), 1);
  EXPECT_EQ(state()["mode"], 1);
  EXPECT_TRUE(canvas_.panelUp());
  RECT r;
  GetWindowRect(canvas_.control(), &r);
  EXPECT_EQ(r.bottom - r.top, 145);
  EXPECT_EQ(GetDlgCtrlID(canvas_.control()), 105);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(canvas_.control(), GWL_STYLE)), 0x50B000CCu);
  EXPECT_TRUE(canvas_.recording()) << "making the control anew leaves the recording mode alone";

  canvas_.recreate(false);
  recorder_.pumpPending();
  EXPECT_EQ(canvas_.getZoom(), 200);
  EXPECT_FALSE(canvas_.pageShown());
  EXPECT_EQ(canvas_.mode(), 0);
  EXPECT_FALSE(canvas_.panelUp());
  EXPECT_EQ(state()["pageFlags"], 16);
  EXPECT_EQ(state()["mode"], 0);
}

TEST_F(Canvas, PanelSizesInBorderUnitsKeepThePosition) {
  create();
  RECT before;
  GetWindowRect(canvas_.control(), &before);
  ShowWindow(canvas_.control(), SW_HIDE);
  const struct {
    int scaleX, scaleY;
    bool up;
    int width, height;
  } sizes[] = {{1, 1, true, 242, 145}, {1, 1, false, 242, 226}, {2, 2, true, 484, 290},
               {2, 2, false, 484, 452}, {1, 2, true, 242, 290}, {2, 1, false, 484, 226}};
  for (const auto& s : sizes) {
    theScreen.scaleX = s.scaleX;
    theScreen.scaleY = s.scaleY;
    canvas_.setPanelUp(s.up);
    EXPECT_EQ(canvas_.panelUp(), s.up);
    RECT r;
    GetWindowRect(canvas_.control(), &r);
    EXPECT_EQ(r.right - r.left, s.width);
    EXPECT_EQ(r.bottom - r.top, s.height);
    EXPECT_EQ(r.left, before.left);
    EXPECT_EQ(r.top, before.top);
    EXPECT_TRUE(IsWindowVisible(canvas_.control()));
  }
  canvas_.move(3, 4, 100, 90);
  RECT r;
  GetWindowRect(canvas_.control(), &r);
  EXPECT_EQ(r.left - before.left, 4);
  EXPECT_EQ(r.right - r.left, 100);
  EXPECT_EQ(r.bottom - r.top, 90);
}

TEST_F(Canvas, YellowBackgroundAndOneRepaintTwoSecondsAfterAKey) {
  create();
  HWND inner = canvas_.inner();
  HDC dc = GetDC(inner);
  EXPECT_EQ(SendMessageW(inner, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
  EXPECT_EQ(GetPixel(dc, 3, 3), RGB(255, 255, 0));
  ReleaseDC(inner, dc);

  recorder_.watch(inner);
  recorder_.ignore({WM_PAINT, WM_NCPAINT});
  const auto timers = [&] {
    size_t n = 0;
    for (const RecordedMessage& m : received(inner, WM_TIMER)) n += m.wParam == 666;
    return n;
  };
  const auto start = std::chrono::steady_clock::now();
  SendMessageW(inner, WM_KEYUP, 'A', 0);
  ASSERT_TRUE(recorder_.pumpUntil([&] { return timers() == 1; }, 4000));
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(1900));
  EXPECT_LT(waited, std::chrono::milliseconds(3500));
  // The repaint erases the whole window, right after the timer.
  const auto all = recorder_.messages();
  size_t timerAt = 0;
  for (size_t i = 0; i < all.size(); ++i) {
    if (all[i].window == inner && all[i].message == WM_TIMER) timerAt = i;
  }
  bool erased = false;
  for (size_t i = timerAt; i < all.size(); ++i) erased = erased || all[i].message == WM_ERASEBKGND;
  EXPECT_TRUE(erased);
  // Killed once it fired.
  EXPECT_FALSE(recorder_.pumpUntil([&] { return timers() > 1; }, 2600));
}

}  // namespace
}  // namespace handheld::testing
