// Every way a note window ends and what it hands over: the close decision for new, existing
// and alarmed notes, the title it collects, the expired flag after an expiry change, "Clear
// all" on a kept note, the reopen message with the same, another or no path, and the commands
// that drop the note.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/commands.h"
#include "note_window_fixture.h"
#include "notewindow/title_list.h"

namespace handheld::testing {
namespace {

constexpr WORD kOneHourChoice = 114;
constexpr WORD kClearAll = 1143;

SYSTEMTIME timeAt(WORD year, WORD month, WORD day, WORD hour, WORD minute) {
  SYSTEMTIME t = {};
  t.wYear = year;
  t.wMonth = month;
  t.wDay = day;
  t.wHour = hour;
  t.wMinute = minute;
  return t;
}

void saveTitles(std::initializer_list<const char16_t*> texts) {
  TitleList titles;
  titles.clear();
  for (const char16_t* t : texts) titles.append(t);
  titles.save();
}

std::vector<std::u16string> savedTitles() {
  TitleList titles;
  std::vector<std::u16string> out;
  for (int i = 0; i < titles.count(); ++i) {
    WCHAR text[TitleList::kTitleCapacity] = {};
    titles.getAt(i, text);
    out.emplace_back(text);
  }
  return out;
}

class CloseDecision : public NoteWindowFixture {
 protected:
  void close(RecordingNoteWindow& note) {
    SendMessageW(note.window(), PNM_NOTE_CLOSE, 0, 0);
    pump();
  }
  // The content bytes of a note with typed text, as a closed window hands them over.
  std::vector<BYTE> typedContent(const std::string& typed) {
    app_->setMode(1);
    RecordingNoteWindow& writer = open();
    EXPECT_EQ(type(typed), 0);
    EXPECT_EQ(stateOf(child(writer.window(), 105))["text"], typed);
    close(writer);
    EXPECT_EQ(writer.finishes, std::vector<bool>{true});
    EXPECT_FALSE(writer.finished.content.empty());
    app_->setMode(0);
    return writer.finished.content;
  }
  NoteRecord existingRecord(const std::vector<BYTE>& content) {
    NoteRecord record;
    lstrcpynW(record.title, u"Old title", 64);
    record.expiryTime = timeAt(2026, 12, 24, 10, 0);
    record.content = content;
    record.zoom = 150;
    return record;
  }
};

TEST_F(CloseDecision, NewUntouchedNoteIsDroppedByOkCloseAndCommand101) {
  RecordingNoteWindow& byClose = open();
  HWND window = byClose.window();
  close(byClose);
  EXPECT_EQ(byClose.finishes, std::vector<bool>{false});
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(byClose.window(), nullptr);
  // Asking again after the end does nothing.
  byClose.requestClose();
  EXPECT_EQ(byClose.finishes.size(), 1u);

  RecordingNoteWindow& byOk = open();
  SendMessageW(byOk.window(), WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(byOk.finishes.empty());  // posted, not acted on at once
  pump();
  EXPECT_EQ(byOk.finishes, std::vector<bool>{false});

  RecordingNoteWindow& by101 = open();
  saveTitles({u"Shopping"});
  SendMessageW(by101.window(), WM_COMMAND, 101, 0);
  EXPECT_EQ(by101.finishes, std::vector<bool>{false});
}

TEST_F(CloseDecision, FocusedTitleBoxKeepsNewNoteWithTheFirstTitle) {
  saveTitles({u"Shopping", u"Work"});
  RecordingNoteWindow& note = open();
  SetFocus(child(note.window(), 102));
  pump();
  close(note);
  EXPECT_EQ(note.finishes, std::vector<bool>{true});
  EXPECT_EQ(std::u16string(note.finished.title), u"Shopping");
  EXPECT_TRUE(note.finished.content.empty());
  EXPECT_EQ(note.finished.zoom, 100);  // the "Zoom" setting's first-run index 3
  EXPECT_EQ(note.finished.expiryTime.wHour, 25);
  EXPECT_EQ(note.finished.expired, 0);
  EXPECT_EQ(savedTitles(), (std::vector<std::u16string>{u"Shopping", u"Work"}));
}

TEST_F(CloseDecision, EmptyTitleBoxGivesNoTitleWhichNeverEntersTheList) {
  saveTitles({});
  RecordingNoteWindow& note = open();
  SetFocus(child(note.window(), 102));
  pump();
  close(note);
  EXPECT_EQ(note.finishes, std::vector<bool>{true});
  EXPECT_EQ(std::u16string(note.finished.title), u"---no title---");
  EXPECT_TRUE(savedTitles().empty());
}

TEST_F(CloseDecision, TypedTitleMovesToTheFrontOfTheList) {
  saveTitles({u"Shopping", u"Work"});
  RecordingNoteWindow& note = open();
  SetFocus(child(note.window(), 102));
  SetWindowTextW(child(note.window(), 102), u"Work");
  pump();
  close(note);
  EXPECT_EQ(std::u16string(note.finished.title), u"Work");
  EXPECT_EQ(savedTitles(), (std::vector<std::u16string>{u"Work", u"Shopping"}));
}

TEST_F(CloseDecision, ExistingNotesAreDroppedOnlyWhenEmptyUnmodifiedAndNotAlarmed) {
  const std::vector<BYTE> content = typedContent("hello");

  RecordingNoteWindow& empty = open(true, false, existingRecord({}));
  close(empty);
  EXPECT_EQ(empty.finishes, std::vector<bool>{false});

  RecordingNoteWindow& written = open(true, false, existingRecord(content));
  EXPECT_EQ(text(child(written.window(), 102)), u"Old title");
  EXPECT_EQ(stateOf(child(written.window(), 105))["text"], "hello");
  close(written);
  EXPECT_EQ(written.finishes, std::vector<bool>{true});
  EXPECT_EQ(std::u16string(written.finished.title), u"Old title");
  EXPECT_EQ(written.finished.zoom, 150);
  EXPECT_FALSE(written.finished.content.empty());
  EXPECT_EQ(written.finished.expiryTime.wHour, 10);

  // Its file was removed when the alarm opened it: kept even when empty and untouched.
  RecordingNoteWindow& alarmed = open(true, true, existingRecord({}));
  close(alarmed);
  EXPECT_EQ(alarmed.finishes, std::vector<bool>{true});
}

TEST_F(CloseDecision, ExpiryChangedWhileExpiredClearsTheFlag) {
  const std::vector<BYTE> content = typedContent("due");
  NoteRecord expired = existingRecord(content);
  expired.expired = 1;

  RecordingNoteWindow& unchanged = open(true, false, expired);
  EXPECT_EQ(std::u16string(unchanged.expiryText()), u"Pinnote is expired");
  close(unchanged);
  EXPECT_EQ(unchanged.finishes, std::vector<bool>{true});
  EXPECT_EQ(unchanged.finished.expired, 1);
  EXPECT_EQ(unchanged.finished.expiryTime.wYear, 2026);
  EXPECT_EQ(unchanged.finished.expiryTime.wHour, 10);

  RecordingNoteWindow& changed = open(true, false, expired);
  SendMessageW(changed.window(), WM_COMMAND, kOneHourChoice, 0);
  EXPECT_NE(std::u16string(changed.expiryText()), u"Pinnote is expired");
  close(changed);
  EXPECT_EQ(changed.finishes, std::vector<bool>{true});
  EXPECT_EQ(changed.finished.expired, 0);
  EXPECT_NE(changed.finished.expiryTime.wHour, 25);
  EXPECT_FALSE(changed.finished.expiryTime.wYear == 2026 && changed.finished.expiryTime.wMonth == 12 &&
               changed.finished.expiryTime.wDay == 24 && changed.finished.expiryTime.wHour == 10);
}

TEST_F(CloseDecision, ChosenExpiryKeepsANewEmptyNote) {
  RecordingNoteWindow& note = open();
  SendMessageW(note.window(), WM_COMMAND, kOneHourChoice, 0);
  close(note);
  EXPECT_EQ(note.finishes, std::vector<bool>{true});
  // An all-zero record time never equals a timed expiry: the chosen one is taken.
  EXPECT_NE(note.finished.expiryTime.wYear, 0);
  EXPECT_NE(note.finished.expiryTime.wHour, 25);
}

TEST_F(CloseDecision, PickerChangeKeepsANewEmptyNote) {
  RecordingNoteWindow& note = open();
  SendMessageW(note.window(), PNM_NOTE_OPEN_PICKER, 0, 0);
  HWND popup = FindWindowW(u"DateTimePicker", nullptr);
  ASSERT_NE(popup, nullptr);
  HWND calendar = GetDlgItem(popup, 1005);
  ASSERT_NE(calendar, nullptr);
  // The calendar's "no date" notification: the note never expires, and that is a change.
  NMHDR header = {calendar, 1005, static_cast<UINT>(-745)};
  SendMessageW(popup, WM_NOTIFY, 1005, reinterpret_cast<LPARAM>(&header));
  pump();
  EXPECT_FALSE(IsWindow(popup));
  close(note);
  EXPECT_EQ(note.finishes, std::vector<bool>{true});
  EXPECT_EQ(note.finished.expiryTime.wHour, 25);
}

TEST_F(CloseDecision, ClearAllSavesAnEmptiedNoteEmpty) {
  const std::vector<BYTE> content = typedContent("gone");
  RecordingNoteWindow& note = open(true, false, existingRecord(content));
  SendMessageW(note.window(), WM_COMMAND, kClearAll, 0);
  EXPECT_EQ(stateOf(child(note.window(), 105))["text"], "");
  close(note);
  // Dropping it would leave the old content in its file.
  EXPECT_EQ(note.finishes, std::vector<bool>{true});
  EXPECT_TRUE(note.finished.content.empty());
}

TEST_F(CloseDecision, ReopenEndsOnlyForTheSamePathExactly) {
  RecordingNoteWindow& note = open();
  note.setPath(u"\\My Documents\\My Pinnotes\\Pinnote0.stk");
  const auto reopen = [&](const char16_t* path) {
    SendMessageW(note.window(), PNM_NOTE_REOPEN, 0, reinterpret_cast<LPARAM>(path));
  };
  reopen(u"\\My Documents\\My Pinnotes\\Pinnote1.stk");
  reopen(nullptr);
  reopen(u"\\My Documents\\My Pinnotes\\pinnote0.stk");
  EXPECT_TRUE(note.finishes.empty());
  ASSERT_TRUE(IsWindow(note.window()));
  HWND window = note.window();
  reopen(u"\\My Documents\\My Pinnotes\\Pinnote0.stk");
  EXPECT_EQ(note.finishes, std::vector<bool>{false});
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(CloseDecision, TitleIsInTheBoxAsSoonAsTheWindowIsOpen) {
  NoteRecord record;
  lstrcpynW(record.title, u"Old title", 64);
  RecordingNoteWindow note;
  note.record() = record;
  ASSERT_NE(note.open(nullptr, true, false), nullptr);
  // Sent, not posted: no message has been dispatched yet.
  EXPECT_EQ(text(child(note.window(), 102)), u"Old title");
  note.destroy();
}

// Without the ink library the window has no canvas: nothing can be read from it.
class WithoutCanvas : public CloseDecision {
 protected:
  WithoutCanvas() { loadInk_ = false; }
};

// The window's messages taken by their numbers, as another program would send them.
TEST_F(CloseDecision, MessagesAreTakenByTheirNumbers) {
  RecordingNoteWindow& note = open();
  HWND inner = reinterpret_cast<HWND>(SendMessageW(child(note.window(), 105), 1556, 0, 0));  // INKM_GET_INNER
  const auto zoom = [&] { return SendMessageW(inner, 1313, 0, 0); };                      // INKM_GET_ZOOM
  ASSERT_EQ(zoom(), 100);
  SendMessageW(note.window(), 2155, 0, 0);  // zoom in
  EXPECT_EQ(zoom(), 150);
  SendMessageW(note.window(), 2156, 0, 0);  // zoom out
  SendMessageW(note.window(), 2156, 0, 0);
  EXPECT_EQ(zoom(), 75);
  // The rest of the table, whose effects other tests show.
  EXPECT_EQ(PNM_NOTE_UNDO, 2158u);
  EXPECT_EQ(PNM_NOTE_TOGGLE_RECORD, 2157u);
  EXPECT_EQ(PNM_NOTE_EXPIRY_MENU, 1128u);
  EXPECT_EQ(PNM_NOTE_OPEN_PICKER, 1134u);
  EXPECT_EQ(PNM_NOTE_PICKER_CLOSED, 1524u);
  EXPECT_EQ(PNM_NOTE_REOPEN, 1126u);
  SendMessageW(note.window(), 1127, 0, 0);  // stop recording: nothing to stop
  EXPECT_TRUE(note.finishes.empty());
  SendMessageW(note.window(), 1125, 0, 0);  // discard
  EXPECT_EQ(note.finishes, std::vector<bool>{false});

  RecordingNoteWindow& second = open();
  SendMessageW(second.window(), 1124, 0, 0);  // the close decision: new and untouched
  pump();
  EXPECT_EQ(second.finishes, std::vector<bool>{false});
}

TEST_F(WithoutCanvas, AlarmedNoteKeepsItsContentWhenTheCanvasCannotGiveIt) {
  NoteRecord record;
  lstrcpynW(record.title, u"Due", 64);
  record.content = {1, 2, 3, 4};
  RecordingNoteWindow& note = open(true, true, record);
  EXPECT_EQ(child(note.window(), 105), nullptr);
  close(note);
  EXPECT_EQ(note.finishes, std::vector<bool>{true});
  EXPECT_EQ(note.finished.content, (std::vector<BYTE>{1, 2, 3, 4}));
  EXPECT_EQ(std::u16string(note.finished.title), u"Due");
}

}  // namespace
}  // namespace handheld::testing
