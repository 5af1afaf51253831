#include "note_window_fixture.h"

#include "app/app_references.h"
#include "mainwindow/ink_library.h"

namespace handheld::testing {

namespace {
// The process-internal request every control answers with its state.
constexpr UINT kAutomationState = 0x03F0;
}  // namespace

void NoteWindowFixture::SetUp() {
  DeviceFixture::SetUp();
  startProgram();
}

void NoteWindowFixture::startProgram() {
  if (loadInk_) StartInkLibrary();
  app_.emplace();
  app_->setInstance(GetModuleHandleW(nullptr));
  theNoteApp = &*app_;
  theScreen = {GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER), GetSystemMetrics(SM_CXSCREEN),
               GetSystemMetrics(SM_CYSCREEN)};
}

void NoteWindowFixture::TearDown() {
  notes_.clear();
  pump();
  theNoteApp = nullptr;
  app_.reset();
  DeviceFixture::TearDown();
}

RecordingNoteWindow& NoteWindowFixture::open(bool existing, bool alarm, const NoteRecord& record) {
  notes_.push_back(std::make_unique<RecordingNoteWindow>());
  RecordingNoteWindow& note = *notes_.back();
  note.record() = record;
  EXPECT_NE(note.open(nullptr, existing, alarm), nullptr);
  pump();
  return note;
}

int NoteWindowFixture::ctlPumping(const std::string& arguments, std::string* out) {
  int code = -1;
  pump_.pumpWhile([&] { code = ctl(arguments, out); });
  pump();
  return code;
}

int NoteWindowFixture::type(const std::string& text) {
  // The focus and the foreground travel to the device apart from the keys.
  EXPECT_EQ(ctlPumping("wait-idle"), 0);
  const int code = ctlPumping("text " + text);
  // The keys reach this process after the command returns; wait until they were handled.
  EXPECT_EQ(ctlPumping("wait-idle"), 0);
  return code;
}

std::u16string NoteWindowFixture::className(HWND window) {
  WCHAR name[128] = {};
  const int length = GetClassNameW(window, name, 128);
  return std::u16string(name, static_cast<size_t>(std::max(length, 0)));
}

std::u16string NoteWindowFixture::text(HWND window) {
  WCHAR buffer[512] = {};
  const int length = GetWindowTextW(window, buffer, 512);
  return std::u16string(buffer, static_cast<size_t>(std::max(length, 0)));
}

RECT NoteWindowFixture::placeOf(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

HWND NoteWindowFixture::menuBarOf(HWND note) {
  struct Search {
    HWND note;
    HWND bar;
  } search = {note, nullptr};
  EnumWindows(
      [](HWND window, LPARAM lParam) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lParam);
        if (className(window) == u"HandheldMenuBar" && GetWindow(window, GW_OWNER) == s->note) {
          s->bar = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.bar;
}

nlohmann::json NoteWindowFixture::stateOf(HWND control) {
  nlohmann::json state = nlohmann::json::object();
  SendMessageW(control, kAutomationState, 0, reinterpret_cast<LPARAM>(&state));
  return state;
}

}  // namespace handheld::testing
