// The ink control in this process on a device: the messages a note window sends, the
// notifications it gets back, zoom, undo, streaming, the clipboard and recordings.
#include <gtest/gtest.h>

#include <inkx.h>
#include <mmsystem.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <thread>

#include <nlohmann/json.hpp>

#include "ink_audio.h"
#include "ink_control.h"
#include "platform/controls/controls_fixture.h"
#include "recording_checks.h"
#include "wave_image.h"

namespace handheld::testing {
namespace {

using inkx::Recorder;

// The control's own messages and values, as the program that hosts it uses them.
static_assert(INKM_GET_INNER == 1556 && INKM_SET_PEN == 1356 && INKM_SET_MODE == 1353 &&
              INKM_SET_ZOOM == 1314 && INKM_GET_ZOOM == 1313 && INKM_UNDO == 1258 &&
              INKM_SET_PAGE == 1311 && INKM_HAS_CONTENT == 1538 && INKM_RECORD_MODE == 1554 &&
              INKM_RECORD == 1565 && INKM_STOP == 1561);
static_assert(EM_CANUNDO == 198 && EM_EMPTYUNDOBUFFER == 205 && EM_STREAMIN == 1097 && EM_STREAMOUT == 1098);
static_assert(WM_CUT == 768 && WM_COPY == 769 && WM_PASTE == 770);
static_assert(INK_STREAM_FORMAT == 0x10802);
static_assert(INKN_SETFOCUS == 256 && INKN_KILLFOCUS == 512 && INKN_INK_CHANGED == 10003 &&
              INKN_CONTENT_CHANGED == 10006);
static_assert(INKPAGE_BLANK == 16 && INKPAGE_GRID == 4 && INKPAGE_RULED == 2 && INKPAGE_DOTTED == 32 &&
              INKPAGE_LEFT_MARGIN == 0 && INKPAGE_TOP_MARGIN == 1 && INKPAGE_LEFT_TOP_MARGIN == 8);
static_assert(sizeof(INKPEN) == 6 * 4 && sizeof(EDITSTREAM) == 24);

std::vector<int16_t> tone(double hertz) {
  std::vector<int16_t> samples(800);
  for (size_t i = 0; i < samples.size(); ++i)
    samples[i] = static_cast<int16_t>(std::lround(6000 * std::sin(2 * M_PI * hertz * static_cast<double>(i) / 8000)));
  return samples;
}

// A microphone that hears one tone, a different one each recording, and a speaker that
// remembers what it was given.
struct TestAudio {
  std::vector<double> tones{440, 1000};
  size_t next = 0;
  std::vector<std::shared_ptr<const std::vector<uint8_t>>> played;
};
TestAudio* g_audio = nullptr;

class ToneRecorder : public Recorder {
 public:
  bool start() override { return true; }
  std::vector<int16_t> stop() override { return tone(g_audio->tones[g_audio->next++ % g_audio->tones.size()]); }
  uint32_t sampleRate() const override { return 8000; }
};
class RememberingPlayer : public inkx::Player {
 public:
  void play(std::shared_ptr<const std::vector<uint8_t>> image) override { g_audio->played.push_back(image); }
  void stop() override {}
};

// The two-pass stream-out a host does: count, then copy into a block of that size.
struct StreamBlock {
  std::vector<uint8_t> bytes;
  size_t size = 0, cursor = 0;
  bool counting = true;
};
DWORD CALLBACK outPiece(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
  auto& block = *reinterpret_cast<StreamBlock*>(cookie);
  if (block.counting) {
    block.size += static_cast<size_t>(count);
  } else {
    const size_t n = std::min(static_cast<size_t>(count), block.size - block.cursor);
    std::memcpy(block.bytes.data() + block.cursor, buffer, n);
    block.cursor += n;
  }
  *done = count;
  return 0;
}
DWORD CALLBACK inPiece(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
  auto& block = *reinterpret_cast<StreamBlock*>(cookie);
  const size_t n = std::min(static_cast<size_t>(count), block.bytes.size() - block.cursor);
  if (n > 0) std::memcpy(buffer, block.bytes.data() + block.cursor, n);
  block.cursor += n;
  *done = static_cast<LONG>(n);
  return 0;
}
DWORD CALLBACK failingPiece(DWORD_PTR, LPBYTE, LONG, LONG*) { return 77; }

class InkControlTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    ASSERT_TRUE(inkx::registerInkClasses());
    g_audio = &audio;
    inkx::setAudioFactory([] { return inkx::Audio{std::make_unique<ToneRecorder>(), std::make_unique<RememberingPlayer>()}; });
    ink = make(105);
    inner = reinterpret_cast<HWND>(SendMessageW(ink, INKM_GET_INNER, 0, 0));
  }
  void TearDown() override {
    inkx::setAudioFactory({});
    ControlsTest::TearDown();
    g_audio = nullptr;
  }

  // As a note window makes its canvas: bordered style, the pen words 15, 2, 200, 16, 0, 0.
  HWND make(int id, RECT r = {0, 0, 200, 180}) {
    HWND control = CreateWindowExW(0, u"InkX", u"", 0x50B000CC, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                   parent, reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
    EXPECT_NE(control, nullptr);
    const DWORD pen[6] = {15, 2, 200, 16, 0, 0};
    HWND writing = reinterpret_cast<HWND>(SendMessageW(control, INKM_GET_INNER, 0, 0));
    EXPECT_NE(SendMessageW(writing, INKM_SET_PEN, 0, reinterpret_cast<LPARAM>(pen)), 0);
    return control;
  }

  std::vector<uint8_t> streamOut(HWND control) {
    StreamBlock block;
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&block), 0, outPiece};
    SendMessageW(control, EM_STREAMOUT, INK_STREAM_FORMAT, reinterpret_cast<LPARAM>(&stream));
    block.bytes.resize(block.size);
    block.counting = false;
    SendMessageW(control, EM_STREAMOUT, INK_STREAM_FORMAT, reinterpret_cast<LPARAM>(&stream));
    EXPECT_EQ(block.cursor, block.size);
    return block.bytes;
  }
  DWORD streamIn(HWND control, std::vector<uint8_t> bytes) {
    StreamBlock block;
    block.bytes = std::move(bytes);
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&block), 0, inPiece};
    SendMessageW(control, EM_STREAMIN, INK_STREAM_FORMAT, reinterpret_cast<LPARAM>(&stream));
    return stream.dwError;
  }

  nlohmann::json state(HWND window) {
    nlohmann::json out = nlohmann::json::object();
    SendMessageW(window, 0x03F0, 0, reinterpret_cast<LPARAM>(&out));
    return out;
  }

  void stroke(HWND writing, std::initializer_list<POINT> points) {
    auto it = points.begin();
    SendMessageW(writing, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(it->x, it->y));
    for (++it; it != points.end(); ++it) SendMessageW(writing, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(it->x, it->y));
    --it;
    SendMessageW(writing, WM_LBUTTONUP, 0, MAKELPARAM(it->x, it->y));
  }

  // The WM_COMMAND words the parent received, as (wParam, lParam).
  std::vector<std::pair<WPARAM, LPARAM>> commands() {
    std::vector<std::pair<WPARAM, LPARAM>> out;
    for (const auto& m : recorder.messages())
      if (m.window == parent && m.message == WM_COMMAND) out.emplace_back(m.wParam, m.lParam);
    return out;
  }

  // Whether ink shows at a point, or at one of its neighbours (anti-aliasing shares a thin
  // line between two rows).
  bool dark(HWND window, int x, int y) {
    UpdateWindow(window);
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const COLORREF c = pixel(window, x + dx, y + dy);
        if (GetRValue(c) < 160 && GetGValue(c) < 160 && GetBValue(c) < 160) return true;
      }
    return false;
  }

  TestAudio audio;
  HWND ink = nullptr, inner = nullptr;
};

TEST_F(InkControlTest, AnswersTheMessagesAHostRelies) {
  EXPECT_TRUE(inkx::registerInkClasses());  // a second start-up call finds the classes there
  char16_t name[16];
  GetClassNameW(ink, name, 16);
  EXPECT_EQ(std::u16string(name), u"InkX");
  ASSERT_TRUE(IsWindow(inner));
  EXPECT_EQ(GetParent(inner), ink);
  EXPECT_EQ(SendMessageW(inner, INKM_GET_ZOOM, 0, 0), 100);
  SendMessageW(inner, INKM_SET_ZOOM, 0, 200);
  EXPECT_EQ(SendMessageW(inner, INKM_GET_ZOOM, 0, 0), 200);
  SendMessageW(inner, INKM_SET_ZOOM, 0, 10);
  EXPECT_EQ(SendMessageW(inner, INKM_GET_ZOOM, 0, 0), 25);
  SendMessageW(inner, INKM_SET_ZOOM, 0, 500);
  EXPECT_EQ(SendMessageW(inner, INKM_GET_ZOOM, 0, 0), 300);
  EXPECT_EQ(SendMessageW(inner, EM_CANUNDO, 0, 0), 0);
  EXPECT_EQ(SendMessageW(inner, INKM_UNDO, 0, 0), 0);
  EXPECT_EQ(SendMessageW(ink, INKM_HAS_CONTENT, 0, 0), 0);
  EXPECT_TRUE(streamOut(ink).empty());
  EXPECT_NE(SendMessageW(inner, INKM_SET_MODE, 1, 0), 0);
  EXPECT_EQ(state(ink)["mode"], 1);
  SendMessageW(inner, WM_CHAR, 'x', 0);
  EXPECT_NE(SendMessageW(ink, INKM_HAS_CONTENT, 0, 0), 0);  // text alone is content
  EXPECT_NE(SendMessageW(inner, INKM_UNDO, 0, 0), 0);
  EXPECT_EQ(SendMessageW(ink, INKM_HAS_CONTENT, 0, 0), 0);
  EXPECT_EQ(SendMessageW(inner, INKM_SET_MODE, 7, 0), 0);  // no such mode: unchanged
  EXPECT_EQ(state(ink)["mode"], 1);
  PostMessageW(ink, INKM_SET_PAGE, 4, 0);
  recorder.pumpPending();
  EXPECT_EQ(state(ink)["pageFlags"], 4);
  EXPECT_EQ(SendMessageW(ink, INKM_SET_PEN, 0, 0), 0);  // no pen given
  // A stream of another format is not this control's: nothing is handed over.
  StreamBlock block;
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&block), 0, outPiece};
  stroke(inner, {{10, 10}, {30, 30}});
  EXPECT_EQ(SendMessageW(ink, EM_STREAMOUT, 1, reinterpret_cast<LPARAM>(&stream)), 0);
  EXPECT_EQ(block.size, 0u);
}

TEST_F(InkControlTest, NotifiesFocusAndEveryChangeToItsParent) {
  recorder.clear();
  SetFocus(inner);
  SetFocus(parent);
  const LPARAM from = reinterpret_cast<LPARAM>(ink);
  std::vector<std::pair<WPARAM, LPARAM>> expected{{MAKEWPARAM(105, 256), from}, {MAKEWPARAM(105, 512), from}};
  EXPECT_EQ(commands(), expected);
  recorder.clear();
  stroke(inner, {{10, 10}, {40, 40}});  // a stroke: 10003
  SendMessageW(inner, INKM_SET_MODE, 1, 0);
  SendMessageW(inner, WM_CHAR, 'a', 0);  // text: 10006
  SendMessageW(inner, INKM_UNDO, 0, 0);  // undo: 10006
  auto got = commands();
  std::erase_if(got, [](auto& c) { return HIWORD(c.first) == 256 || HIWORD(c.first) == 512; });
  expected = {{10003, from}, {10006, from}, {10006, from}};
  EXPECT_EQ(got, expected);
}

TEST_F(InkControlTest, StrokesScaleWithEveryZoomAndKeepTheirDocumentCoordinates) {
  stroke(inner, {{20, 20}, {40, 20}, {60, 20}});
  EXPECT_NE(SendMessageW(ink, INKM_HAS_CONTENT, 0, 0), 0);
  const auto bytes = streamOut(ink);
  for (int zoom : {25, 50, 75, 100, 150, 200, 300}) {
    SendMessageW(inner, INKM_SET_ZOOM, 0, zoom);
    // The middle of the stroke lands where the zoom puts it, and not where 100 % would.
    EXPECT_TRUE(dark(inner, 40 * zoom / 100, 20 * zoom / 100)) << zoom;
    if (zoom != 100) EXPECT_FALSE(dark(inner, 40, 20)) << zoom;
    EXPECT_EQ(streamOut(ink), bytes) << zoom;
  }
  EXPECT_FALSE(dark(inner, 150, 150));
}

TEST_F(InkControlTest, UndoTakesBackStrokesTextAndRecordingsOneByOne) {
  stroke(inner, {{10, 10}, {50, 50}});
  SendMessageW(inner, INKM_SET_MODE, 1, 0);
  for (char c : std::string("Hi")) SendMessageW(inner, WM_CHAR, static_cast<WPARAM>(c), 0);
  SendMessageW(ink, INKM_RECORD, 0, 0);
  SendMessageW(ink, INKM_STOP, 0, 0);
  auto s = state(ink);
  EXPECT_EQ(s["strokes"], 1);
  EXPECT_EQ(s["text"], "Hi");
  EXPECT_EQ(s["recordings"], 1);
  EXPECT_NE(SendMessageW(inner, EM_CANUNDO, 0, 0), 0);
  SendMessageW(inner, INKM_UNDO, 0, 0);
  EXPECT_EQ(state(ink)["recordings"], 0);
  SendMessageW(inner, INKM_UNDO, 0, 0);
  EXPECT_EQ(state(ink)["text"], "");
  EXPECT_EQ(state(ink)["strokes"], 1);
  SendMessageW(inner, INKM_UNDO, 0, 0);
  EXPECT_EQ(SendMessageW(ink, INKM_HAS_CONTENT, 0, 0), 0);
  EXPECT_EQ(SendMessageW(inner, EM_CANUNDO, 0, 0), 0);
  stroke(inner, {{10, 10}, {50, 50}});
  SendMessageW(inner, EM_EMPTYUNDOBUFFER, 0, 0);
  EXPECT_EQ(SendMessageW(inner, EM_CANUNDO, 0, 0), 0);
}

TEST_F(InkControlTest, StreamsOutAndInByteForByteAndLoadsWhatIsSoundOfDamage) {
  stroke(inner, {{10, 10}, {50, 30}, {90, 10}});
  SendMessageW(inner, INKM_SET_MODE, 1, 0);
  SendMessageW(inner, WM_CHAR, 'x', 0);
  SendMessageW(ink, INKM_RECORD, 0, 0);
  SendMessageW(ink, INKM_STOP, 0, 0);
  const auto bytes = streamOut(ink);
  ASSERT_FALSE(bytes.empty());
  HWND other = make(106, {0, 0, 100, 100});
  EXPECT_EQ(streamIn(other, bytes), 0u);
  EXPECT_EQ(streamOut(other), bytes);
  // Cut inside the text item: strokes and recording stand, the error word says so.
  EXPECT_EQ(streamIn(other, {bytes.begin(), bytes.end() - 1}), static_cast<DWORD>(INK_STREAM_DAMAGED));
  EXPECT_EQ(state(other)["strokes"], 1);
  EXPECT_EQ(state(other)["recordings"], 1);
  EXPECT_EQ(state(other)["text"], "");
  // A callback that fails leaves the content as it was and hands its code over.
  StreamBlock block;
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&block), 0, failingPiece};
  SendMessageW(ink, EM_STREAMIN, INK_STREAM_FORMAT, reinterpret_cast<LPARAM>(&stream));
  EXPECT_EQ(stream.dwError, 77u);
  EXPECT_EQ(streamOut(ink), bytes);
  // Streaming in nothing empties the control.
  EXPECT_EQ(streamIn(other, {}), 0u);
  EXPECT_EQ(SendMessageW(other, INKM_HAS_CONTENT, 0, 0), 0);
}

TEST_F(InkControlTest, CutCopyAndPasteStrokesAndTextThroughTheClipboard) {
  stroke(inner, {{20, 60}, {60, 80}});
  SendMessageW(inner, INKM_SET_MODE, 2, 0);  // select with a band
  stroke(inner, {{5, 40}, {100, 100}});
  EXPECT_EQ(state(ink)["selectedStrokes"], 1);
  const auto before = streamOut(ink);
  SendMessageW(ink, WM_CUT, 0, 0);
  EXPECT_EQ(SendMessageW(ink, INKM_HAS_CONTENT, 0, 0), 0);
  HWND other = make(106, {0, 0, 100, 100});
  SendMessageW(other, WM_PASTE, 0, 0);
  EXPECT_EQ(streamOut(other), before);
  // Text: typed, selected with the stylus, copied as plain text too.
  HWND otherInner = reinterpret_cast<HWND>(SendMessageW(other, INKM_GET_INNER, 0, 0));
  SendMessageW(otherInner, INKM_SET_MODE, 1, 0);
  SendMessageW(otherInner, WM_KEYDOWN, VK_END, 0);
  for (char c : std::string("abc")) SendMessageW(otherInner, WM_CHAR, static_cast<WPARAM>(c), 0);
  stroke(otherInner, {{0, 12}, {99, 12}});
  SendMessageW(other, WM_COPY, 0, 0);
  ASSERT_TRUE(OpenClipboard(parent));
  const auto* text = static_cast<const char16_t*>(GetClipboardData(CF_UNICODETEXT));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::u16string(text), u"abc");
  CloseClipboard();
  SendMessageW(inner, INKM_SET_MODE, 1, 0);
  SendMessageW(ink, WM_PASTE, 0, 0);
  EXPECT_EQ(state(ink)["text"], "abc");
}

TEST_F(InkControlTest, RecordingsAreRiffImagesOfWhatTheMicrophoneHeardInOrder) {
  EXPECT_NE(SendMessageW(ink, INKM_RECORD_MODE, 1, 0), 0);
  EXPECT_EQ(state(ink)["recordMode"], true);
  recorder.clear();
  EXPECT_NE(SendMessageW(ink, INKM_RECORD, 0, 0), 0);
  EXPECT_EQ(state(ink)["recording"], true);
  EXPECT_NE(SendMessageW(ink, INKM_STOP, 0, 0), 0);
  EXPECT_EQ(commands(), (std::vector<std::pair<WPARAM, LPARAM>>{{10006, reinterpret_cast<LPARAM>(ink)}}));
  EXPECT_NE(SendMessageW(ink, INKM_HAS_CONTENT, 0, 0), 0);  // a recording alone is content
  EXPECT_EQ(SendMessageW(ink, INKM_STOP, 0, 0), 0);  // nothing left to stop
  SendMessageW(ink, INKM_RECORD, 0, 0);
  SendMessageW(ink, INKM_STOP, 0, 0);
  const auto images = riffImages(streamOut(ink));
  ASSERT_EQ(images.size(), 2u);
  EXPECT_EQ(inkx::waveSamples(images[0]), tone(440));
  EXPECT_EQ(inkx::waveSamples(images[1]), tone(1000));
  // A tap on the first icon (top right of the page) plays the first recording.
  SendMessageW(inner, INKM_SET_ZOOM, 0, 100);
  stroke(inner, {{240 - 12, 10}, {240 - 12, 10}});
  ASSERT_EQ(audio.played.size(), 1u);
  EXPECT_EQ(*audio.played[0], images[0]);
}

TEST_F(InkControlTest, WithoutAMicrophoneRecordingIsRefused) {
  inkx::setAudioFactory([] { return inkx::Audio{}; });
  HWND silent = make(107, {0, 0, 100, 100});
  EXPECT_EQ(SendMessageW(silent, INKM_RECORD, 0, 0), 0);
  EXPECT_EQ(SendMessageW(silent, INKM_STOP, 0, 0), 0);
  EXPECT_EQ(SendMessageW(silent, INKM_HAS_CONTENT, 0, 0), 0);
}

// The device's own microphone and speaker, as a control gets them by default.
TEST_F(InkControlTest, RecordsTheDeviceMicrophoneAndPlaysTheRecordingFromMemory) {
  inkx::setAudioFactory({});
  // A control that played nothing leaves the process's own sound alone when it goes.
  const std::vector<int16_t> longTone(16000, 1000);
  const auto own = inkx::makeWaveImage(longTone, 8000);
  ASSERT_NE(PlaySoundW(reinterpret_cast<LPCWSTR>(own.data()), nullptr, SND_MEMORY | SND_ASYNC), 0);
  DestroyWindow(make(109));
  std::string log;
  ASSERT_EQ(ctl("speaker-log", &log), 0);
  EXPECT_NE(log.find("result=playing"), std::string::npos) << log;
  PlaySoundW(nullptr, nullptr, 0);

  HWND device = make(108);
  HWND writing = reinterpret_cast<HWND>(SendMessageW(device, INKM_GET_INNER, 0, 0));
  const auto record = [&](const std::string& pitch, int milliseconds) {
    ASSERT_EQ(ctl("mic tone " + pitch), 0);
    ASSERT_NE(SendMessageW(device, INKM_RECORD, 0, 0), 0);
    EXPECT_EQ(SendMessageW(device, INKM_RECORD, 0, 0), 0);  // one recording at a time
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    ASSERT_NE(SendMessageW(device, INKM_STOP, 0, 0), 0);
  };
  record("440", 500);
  record("1000", 300);
  ASSERT_EQ(ctl("mic silence"), 0);

  const auto images = riffImages(streamOut(device));
  ASSERT_EQ(images.size(), 2u);
  std::vector<std::pair<double, double>> heard;  // (seconds, hertz) of each recording
  for (const auto& image : images) {
    const auto format = inkx::checkWaveImage(image);
    ASSERT_TRUE(format);
    EXPECT_EQ(format->channels, 1);
    EXPECT_EQ(format->bitsPerSample, 16);
    const auto samples = inkx::waveSamples(image);
    const double seconds = static_cast<double>(samples.size()) / format->sampleRate;
    heard.emplace_back(seconds, static_cast<double>(zeroCrossings(samples)) / (2 * seconds));
  }
  // What was heard while recording, the last part-filled buffer included: at least the time
  // between start and stop, less the microphone's start.
  EXPECT_NEAR(heard[0].first, 0.55, 0.08);
  EXPECT_NEAR(heard[1].first, 0.35, 0.08);
  EXPECT_NEAR(heard[0].second, 440, 440 * 0.03);
  EXPECT_NEAR(heard[1].second, 1000, 1000 * 0.03);

  // A tap on the first icon plays the first image from memory, for as long as it lasts.
  SendMessageW(writing, INKM_SET_ZOOM, 0, 100);
  stroke(writing, {{240 - 12, 10}, {240 - 12, 10}});
  // The line of that play in the speaker's log.
  const auto playLine = [&] {
    std::string text;
    EXPECT_EQ(ctl("speaker-log", &text), 0);
    const std::string line = memoryPlayLine(text, images[0].size());
    EXPECT_FALSE(line.empty()) << text;
    return line;
  };
  const std::string played = playLine();
  EXPECT_NE(played.find("format=pcm16/mono/"), std::string::npos) << played;
  EXPECT_NEAR(loggedLength(played), heard[0].first, 0.0011) << played;  // in milliseconds
  EXPECT_NE(played.find("result=playing"), std::string::npos) << played;
  SendMessageW(device, INKM_STOP, 0, 0);
  EXPECT_NE(playLine().find("result=stopped"), std::string::npos);
}

// A host that subclasses the writing window and erases it in a colour of its own (a note's
// yellow) sees its page in that colour; the strokes are drawn over it. Unsubclassed, white.
WNDPROC g_writingProc = nullptr;
LRESULT CALLBACK yellowErase(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) {
    RECT r;
    GetClientRect(window, &r);
    HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 0));
    FillRect(reinterpret_cast<HDC>(wParam), &r, yellow);
    DeleteObject(yellow);
    return 1;
  }
  return CallWindowProcW(g_writingProc, window, message, wParam, lParam);
}

TEST_F(InkControlTest, ThePageTakesTheColourTheWritingWindowIsErasedIn) {
  SendMessageW(ink, INKM_SET_PAGE, INKPAGE_BLANK, 0);
  UpdateWindow(inner);
  EXPECT_EQ(pixel(inner, 150, 150), RGB(255, 255, 255));

  g_writingProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(inner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&yellowErase)));
  InvalidateRect(inner, nullptr, TRUE);
  UpdateWindow(inner);
  EXPECT_EQ(pixel(inner, 150, 150), RGB(255, 255, 0));
  stroke(inner, {{20, 40}, {120, 40}});
  EXPECT_TRUE(dark(inner, 70, 40));
  EXPECT_EQ(pixel(inner, 150, 150), RGB(255, 255, 0));
  SetWindowLongPtrW(inner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_writingProc));
}

}  // namespace
}  // namespace handheld::testing
