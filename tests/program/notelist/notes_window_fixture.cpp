#include "notes_window_fixture.h"

#include <utility>

#include "app/app_references.h"

namespace handheld::testing {

HWND RecordingNotes::newNote(BOOL startRecording) {
  calls_.push_back("newNote(" + std::to_string(startRecording) + ")");
  return nullptr;
}
void RecordingNotes::deleteSelectedNotes() { calls_.push_back("deleteSelectedNotes"); }
void RecordingNotes::openNoteAt(int index) { calls_.push_back("openNoteAt(" + std::to_string(index) + ")"); }
void RecordingNotes::setSelectedNotesExpired() { calls_.push_back("setSelectedNotesExpired"); }
void RecordingNotes::sortNotes(int column) {
  calls_.push_back("sortNotes(" + std::to_string(column) + ")");
  if (onSort) onSort(column);
}
void RecordingNotes::applyOptions() {
  calls_.push_back("applyOptions");
  if (onApplyOptions) onApplyOptions();
}
void RecordingNotes::openOptions(HWND owner) {
  calls_.push_back(owner && owner == window() ? "openOptions(list window)" : "openOptions(other)");
}
void RecordingNotes::about() { calls_.push_back("about"); }
void RecordingNotes::closeAndExit() {
  calls_.push_back("closeAndExit");
  closeAll();
}
void RecordingNotes::activated() { calls_.push_back("activated"); }

void RecordingNotes::addNote(const std::u16string& title, const SYSTEMTIME& expiry, BYTE expired) {
  NoteEntry note;
  note.title = title;
  note.expiryTime = expiry;
  note.expired = expired;
  note.path = u"\\My Documents\\My Pinnotes\\" + title + u".stk";
  notes_.push_back(std::move(note));
}

Calls RecordingNotes::takeCalls() { return std::exchange(calls_, {}); }

void NotesWindowTest::SetUp() {
  DeviceFixture::SetUp();
  readScreen();
  app_.emplace();
  theNoteApp = &*app_;
  notes_.emplace();
}

void NotesWindowTest::TearDown() {
  notes_.reset();
  theNoteApp = nullptr;
  app_.reset();
  DeviceFixture::TearDown();
}

void NotesWindowTest::readScreen() {
  theScreen.scaleX = GetSystemMetrics(SM_CXBORDER);
  theScreen.scaleY = GetSystemMetrics(SM_CYBORDER);
  theScreen.width = GetSystemMetrics(SM_CXSCREEN);
  theScreen.height = GetSystemMetrics(SM_CYSCREEN);
}

void NotesWindowTest::showWithNotes(int count) {
  for (int i = 0; i < count; ++i) notes_->addNote(u"Note " + std::u16string(1, u'0' + i % 10), Time(2030, 1, 2, 3, 4));
  notes_->showAll();
  ASSERT_NE(notes_->window(), nullptr);
  pump();
  notes_->takeCalls();
}

std::vector<int> NotesWindowTest::selectedRows() const { return notes_->selectedIndices(); }

int NotesWindowTest::focusedRow() const {
  return static_cast<int>(SendMessageW(list(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

int NotesWindowTest::mark() const { return static_cast<int>(SendMessageW(list(), LVM_GETSELECTIONMARK, 0, 0)); }

LPARAM NotesWindowTest::rowPoint(int row) const {
  RECT bounds{};
  bounds.left = LVIR_BOUNDS;
  SendMessageW(list(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&bounds));
  return MAKELPARAM(40, (bounds.top + bounds.bottom) / 2);
}

LPARAM NotesWindowTest::belowRows() const {
  RECT client{};
  GetClientRect(list(), &client);
  return MAKELPARAM(40, client.bottom - 4);
}

void NotesWindowTest::pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void NotesWindowTest::pressKey(const std::string& key) {
  ASSERT_EQ(ctl("key down " + key), 0);
  pump();
}

void NotesWindowTest::releaseKey(const std::string& key) {
  ASSERT_EQ(ctl("key up " + key), 0);
  pump();
}

SYSTEMTIME Time(WORD year, WORD month, WORD day, WORD hour, WORD minute) {
  SYSTEMTIME time{};
  time.wYear = year;
  time.wMonth = month;
  time.wDay = day;
  time.wHour = hour;
  time.wMinute = minute;
  return time;
}

SYSTEMTIME NeverTime() {
  SYSTEMTIME time = Time(2030, 1, 2, 25, 0);
  return time;
}

}  // namespace handheld::testing
