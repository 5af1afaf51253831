// The note store with the real main window, note windows and list window on a headless
// device whose clock stands still: saving, opening, alarms, deleting and expiring, each
// checked in the list, in the files and in what the Today item is told.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/app_references.h"
#include "app/note_app.h"
#include "mainwindow/ink_library.h"
#include "mainwindow/main_window.h"
#include "notes/note_file.h"
#include "notes/note_store.h"
#include "pinnotes/crossing_names.h"
#include "support/device_fixture.h"
#include "support/message_recorder.h"

namespace handheld::testing {
namespace {

using Titles = std::vector<std::string>;

constexpr UINT kAutomationState = 0x03F0;  // a control's state as json
constexpr UINT kListChanged = 1324;        // to the Today item's window
constexpr UINT kOpenMappedNote = 1125;
const std::string kFolder = "My Documents/My Pinnotes/";

SYSTEMTIME at(WORD hour, WORD minute, WORD second = 0, WORD day = 7) {
  SYSTEMTIME time = {};
  time.wYear = 2026;
  time.wMonth = 12;
  time.wDay = day;
  time.wHour = hour;
  time.wMinute = minute;
  time.wSecond = second;
  return time;
}

SYSTEMTIME never() {
  SYSTEMTIME time = at(0, 0);
  time.wHour = 25;
  return time;
}

std::string narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

// The store with its list open to the test.
class InspectedStore : public NoteStore {
 public:
  using NoteStore::NoteStore;
  Titles titles() {
    std::lock_guard lock(noteLock_);
    Titles out;
    for (const NoteEntry& entry : notes_) out.push_back(narrow(entry.title));
    return out;
  }
  std::optional<NoteEntry> entry(const std::string& title) {
    std::lock_guard lock(noteLock_);
    for (const NoteEntry& entry : notes_) {
      if (narrow(entry.title) == title) return entry;
    }
    return std::nullopt;
  }
};

class Store : public DeviceFixture {
 protected:
  void SetUp() override {
    DeviceFixture::SetUp();
    ASSERT_EQ(ctl("clock freeze '2026-12-07 10:00:00'"), 0);
    app_.emplace();
    theNoteApp = &*app_;
    app_->setInstance(GetModuleHandleW(nullptr));
    // The main window's own check at creation stays out of the way; each test runs it.
    app_->setNotify(0);
    ASSERT_EQ(ctl("reg set 'HKLM\\SOFTWARE\\Microsoft\\Today\\Items\\VORLA Pinnotes' Enabled dword 0"), 0);
    StartInkLibrary();
    today_.registerClass(CrossingNames::kTodayWindowClass);
    todayWindow_ = CreateWindowExW(0, CrossingNames::kTodayWindowClass, CrossingNames::kWindowTitle, 0, 0,
                                   0, 10, 10, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  void TearDown() override {
    store_.reset();
    if (main_) DestroyWindow(main_);
    if (todayWindow_) DestroyWindow(todayWindow_);
    theNoteStore = nullptr;
    theMainWindow = nullptr;
    theNoteApp = nullptr;
    app_.reset();
    DeviceFixture::TearDown();
  }

  static std::u16string path(int number) {
    return u"\\My Documents\\My Pinnotes\\Pinnote" + std::u16string(narrowToWide(std::to_string(number))) + u".stk";
  }
  static std::u16string narrowToWide(const std::string& text) { return std::u16string(text.begin(), text.end()); }
  std::filesystem::path hostNote(int number) { return hostPath(kFolder + "Pinnote" + std::to_string(number) + ".stk"); }

  void writeNote(int number, const std::string& title, const SYSTEMTIME& expiry, BYTE expired = 0) {
    NoteRecord record;
    const std::u16string wide = narrowToWide(title);
    lstrcpynW(record.title, wide.c_str(), NoteFileLayout::kTitleUnits);
    record.expiryTime = expiry;
    record.expired = expired;
    ASSERT_TRUE(WriteNoteFile(path(number).c_str(), record));
  }
  std::optional<NoteRecord> readNote(int number) {
    NoteRecord record;
    if (!ReadNoteFile(path(number).c_str(), record)) return std::nullopt;
    return record;
  }

  // The program's objects as the start-up makes them: the store scans, the main window
  // finds the Today item's window.
  void start() {
    store_.emplace(*app_);
    theNoteStore = &*store_;
    MainWindow::registerClass(GetModuleHandleW(nullptr));
    BYTE alarmed = 0;
    main_ = MainWindow::create(GetModuleHandleW(nullptr), &alarmed);
    ASSERT_NE(main_, nullptr);
    theMainWindow = main_;
    pump();
  }
  void pump() { today_.pumpPending(); }

  // Shows the list window and selects exactly `rows`.
  void select(const std::vector<int>& rows) {
    store_->showAll();
    pump();
    HWND list = GetDlgItem(store_->window(), 1);
    ASSERT_NE(list, nullptr);
    LVITEMW none = {};
    none.stateMask = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    for (int row : rows) {
      LVITEMW item = {};
      item.stateMask = LVIS_SELECTED;
      item.state = LVIS_SELECTED;
      SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    }
    ASSERT_EQ(store_->selectedIndices(), rows);
  }

  struct Box {
    std::string caption;
    std::string text;
    HWND owner = nullptr;
  };
  // Runs `work`; every message box it shows is read and answered with `answer`, after
  // `inside` ran in the box's loop.
  // A box shown on a thread of its own may come after `work` returned: up to 5 s are given
  // for `atLeast` boxes.
  std::vector<Box> answering(int answer, const std::function<void()>& work,
                             const std::function<void()>& inside = {}, std::size_t atLeast = 0) {
    std::vector<Box> boxes;
    std::vector<HWND> answered;
    today_.react(WM_APP, [&](HWND, WPARAM, LPARAM) -> std::optional<LRESULT> {
      HWND box = FindWindowW(u"#32770", nullptr);
      if (!box || std::find(answered.begin(), answered.end(), box) != answered.end()) return 0;
      answered.push_back(box);
      nlohmann::json state = nlohmann::json::object();
      SendMessageW(box, kAutomationState, 0, reinterpret_cast<LPARAM>(&state));
      WCHAR caption[64] = {};
      GetWindowTextW(box, caption, 64);
      boxes.push_back({narrow(caption), state.value("text", ""), GetWindow(box, GW_OWNER)});
      if (inside && boxes.size() == 1) inside();
      // A box with one button is a notice: it is acknowledged.
      const bool notice = state.contains("buttons") && state["buttons"].size() == 1;
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(notice ? IDOK : answer, BN_CLICKED), 0);
      return 0;
    });
    pumping_ = true;
    // The boxes' own loops dispatch these.
    std::thread poster([this] {
      while (pumping_) {
        PostMessageW(todayWindow_, WM_APP, 0, 0);
        Sleep(50);
      }
    });
    work();
    for (int i = 0; i < 250 && boxes.size() < atLeast; ++i) {
      pump();
      Sleep(20);
    }
    pumping_ = false;
    poster.join();
    pump();
    today_.react(WM_APP, nullptr);
    today_.clear();
    return boxes;
  }

  // The PNM_LIST_CHANGED messages the Today item's window got since the last call.
  int listChangedPosts() {
    pump();
    int count = 0;
    for (const RecordedMessage& message : today_.messages()) {
      if (message.message != kListChanged) continue;
      EXPECT_TRUE(message.posted);
      EXPECT_EQ(message.wParam, 0u);
      EXPECT_EQ(message.lParam, 0);
      ++count;
    }
    today_.clear();
    return count;
  }

  static BOOL CALLBACK collectNote(HWND window, LPARAM found) {
    WCHAR className[32] = {};
    GetClassNameW(window, className, 32);
    if (lstrcmpW(className, u"PinnoteWndClass") == 0 && IsWindowVisible(window)) {
      reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    }
    return TRUE;
  }
  std::vector<HWND> noteWindows() {
    std::vector<HWND> found;
    EnumWindows(collectNote, reinterpret_cast<LPARAM>(&found));
    return found;
  }
  int noteFiles() {
    int count = 0;
    for (const auto& file : std::filesystem::directory_iterator(hostPath(kFolder))) {
      if (file.path().extension() == ".stk") ++count;
    }
    return count;
  }

  std::optional<NoteApp> app_;
  std::optional<InspectedStore> store_;
  MessageRecorder today_;
  HWND todayWindow_ = nullptr;
  HWND main_ = nullptr;
  std::atomic<bool> pumping_ = false;
};

// ---- the list: scan, save, sort ----

TEST_F(Store, ScanListsEveryReadableNoteFile) {
  writeNote(0, "zero", at(11, 0));
  writeNote(1, "one", never());
  std::ofstream(hostNote(2), std::ios::binary) << "short";  // shorter than a header
  std::ofstream(hostPath(kFolder + "notes.txt")) << "not a note";
  start();
  Titles titles = store_->titles();
  std::sort(titles.begin(), titles.end());
  EXPECT_EQ(titles, (Titles{"one", "zero"}));
  EXPECT_EQ(store_->entry("zero")->path, u"\\My Documents\\My Pinnotes\\Pinnote0.stk");
  EXPECT_EQ(listChangedPosts(), 1);  // the main window's creation
}

// A note set aside for an alarm comes back at the next start; a second start, which builds a
// store too while the first still shows that alarm, leaves it aside.
TEST_F(Store, AnAlarmedNoteIsRestoredOnlyWhenNoOtherStartRuns) {
  writeNote(0, "aside", at(9, 0), 1);
  std::filesystem::rename(hostNote(0), hostPath(kFolder + "Pinnote0.stk.alarm"));
  MessageRecorder first;
  first.registerClass(CrossingNames::kMainWindowClass);
  HWND running = CreateWindowExW(0, CrossingNames::kMainWindowClass, CrossingNames::kWindowTitle, 0, 0, 0, 0, 0,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(running, nullptr);
  {
    InspectedStore second(*app_);
    EXPECT_TRUE(second.titles().empty());
  }
  EXPECT_TRUE(std::filesystem::exists(hostPath(kFolder + "Pinnote0.stk.alarm")));
  DestroyWindow(running);
  UnregisterClassW(CrossingNames::kMainWindowClass, GetModuleHandleW(nullptr));
  start();
  EXPECT_EQ(store_->titles(), (Titles{"aside"}));
  EXPECT_TRUE(std::filesystem::exists(hostNote(0)));
}

TEST_F(Store, SavedNotesMoveToTheirPlaceAndNewOnesAreAdded) {
  writeNote(0, "nine", at(9, 0));
  writeNote(1, "ten", at(10, 30));
  writeNote(2, "eleven", at(11, 0));
  start();
  store_->sortNotes(0);
  EXPECT_EQ(store_->titles(), (Titles{"nine", "ten", "eleven"}));
  listChangedPosts();

  writeNote(1, "twelve", at(12, 0));
  store_->noteSaved(false, path(1).c_str());
  EXPECT_EQ(store_->titles(), (Titles{"nine", "eleven", "twelve"}));
  EXPECT_GE(listChangedPosts(), 1);

  writeNote(3, "half past nine", at(9, 30));
  store_->noteSaved(true, path(3).c_str());
  EXPECT_EQ(store_->titles(), (Titles{"nine", "half past nine", "eleven", "twelve"}));
  EXPECT_GE(listChangedPosts(), 1);

  // A save whose file cannot be read adds nothing.
  store_->noteSaved(true, u"\\My Documents\\My Pinnotes\\Pinnote9.stk");
  EXPECT_EQ(store_->titles().size(), 4u);
}

TEST_F(Store, SortByColumnsReversesAndKeeps) {
  writeNote(0, "b", at(9, 0));
  writeNote(1, "c", at(8, 0));
  writeNote(2, "a", at(10, 0));
  start();
  store_->sortNotes(-2);  // nothing chosen yet: time ascending
  EXPECT_EQ(store_->titles(), (Titles{"c", "b", "a"}));
  store_->sortNotes(0);
  EXPECT_EQ(store_->titles(), (Titles{"a", "b", "c"}));
  store_->sortNotes(1);
  EXPECT_EQ(store_->titles(), (Titles{"a", "b", "c"}));
  store_->sortNotes(1);
  EXPECT_EQ(store_->titles(), (Titles{"c", "b", "a"}));
  store_->sortNotes(-2);
  EXPECT_EQ(store_->titles(), (Titles{"c", "b", "a"}));
  store_->sortNotes(-1);
  EXPECT_EQ(store_->titles(), (Titles{"c", "b", "a"}));  // time ascending again
  store_->sortNotes(0);
  EXPECT_EQ(store_->titles(), (Titles{"a", "b", "c"}));
}

// ---- opening ----

TEST_F(Store, OpeningTheOpenNoteAgainSavesAndReopensIt) {
  writeNote(0, "first", at(11, 0));
  writeNote(1, "second", at(12, 0));
  start();
  store_->sortNotes(0);
  store_->openNoteAt(0);
  pump();
  ASSERT_EQ(noteWindows().size(), 1u);
  // The close saves the entry that the open was walking to and re-sorts the list.
  store_->openNoteAt(0);
  pump();
  EXPECT_EQ(noteWindows().size(), 1u);
  EXPECT_EQ(store_->titles(), (Titles{"first", "second"}));
  store_->openNoteByPath(path(1).c_str());
  store_->openNoteByPath(u"\\My Documents\\My Pinnotes\\Pinnote7.stk");  // none: the open note stays
  store_->openNoteByPath(nullptr);
  pump();
  EXPECT_EQ(noteWindows().size(), 1u);
  EXPECT_TRUE(store_->closeNoteWindow());
  pump();
  EXPECT_EQ(noteWindows().size(), 0u);
  EXPECT_EQ(store_->titles(), (Titles{"first", "second"}));
  store_->openNoteAt(-1);
  store_->openNoteAt(2);
  pump();
  EXPECT_EQ(noteWindows().size(), 0u);
}

// A note whose save fails is shown again: it stays the open note, and neither the next open
// nor an alarm nor the end goes past it.
TEST_F(Store, ANoteWhoseSaveFailsStaysOpenAndNothingFollowsItsClose) {
  writeNote(0, "first", at(11, 0));
  writeNote(1, "second", at(9, 0));
  start();
  store_->sortNotes(0);
  store_->openNoteAt(1);  // "first"
  pump();
  ASSERT_EQ(noteWindows().size(), 1u);
  SendMessageW(noteWindows()[0], WM_COMMAND, 1143, 0);  // "Clear all": an edit to keep
  // Its file becomes a folder with something in it: the rewrite cannot replace it.
  std::filesystem::remove(hostNote(0));
  std::filesystem::create_directories(hostNote(0) / "inside");
  const auto shownTitle = [&] {
    const std::vector<HWND> open = noteWindows();
    WCHAR text[64] = {};
    if (open.size() == 1) GetWindowTextW(GetDlgItem(open[0], 102), text, 64);
    return narrow(text);
  };
  std::vector<Box> boxes = answering(IDOK, [&] { store_->openNoteAt(0); }, {}, 1);
  EXPECT_EQ(boxes.size(), 1u);  // the failure, told once
  EXPECT_EQ(shownTitle(), "first");
  const auto editAgain = [&] {
    ASSERT_EQ(noteWindows().size(), 1u);
    SendMessageW(noteWindows()[0], WM_COMMAND, 1143, 0);
  };
  editAgain();
  boxes = answering(IDOK, [&] { EXPECT_FALSE(store_->ExpiryCheck(false)); }, {}, 1);
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_EQ(shownTitle(), "first");
  EXPECT_TRUE(store_->entry("second"));  // not raised behind the unsaved note
  editAgain();
  boxes = answering(IDOK, [&] { SendMessageW(main_, WM_CLOSE, 0, 0); }, {}, 1);
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(IsWindow(main_));
  EXPECT_EQ(shownTitle(), "first");
}

// ---- alarms ----

TEST_F(Store, ANoteIsDueAtExactlyItsTimeAndNeverWithoutOne) {
  writeNote(0, "never", never());
  writeNote(1, "later", at(10, 5));
  writeNote(2, "old", at(9, 0), 1);
  start();
  EXPECT_FALSE(store_->ExpiryCheck(false));
  EXPECT_FALSE(store_->ExpiryCheck(true));  // none within the minute
  EXPECT_EQ(noteWindows().size(), 0u);

  writeNote(3, "now", at(10, 0, 0));
  store_->noteSaved(true, path(3).c_str());
  EXPECT_TRUE(store_->ExpiryCheck(false));
  pump();
  EXPECT_EQ(noteWindows().size(), 1u);
  EXPECT_FALSE(store_->entry("now"));
  EXPECT_FALSE(std::filesystem::exists(hostNote(3)));  // set aside while its alarm shows
  EXPECT_TRUE(store_->entry("old"));
  EXPECT_EQ(readNote(2)->expired, 1);  // an expired note is not raised again
}

TEST_F(Store, FallbackRaisesOnlyTheNoteDueWithinTheMinute) {
  writeNote(0, "half a minute", at(10, 0, 30));
  writeNote(1, "a minute and a second", at(10, 1, 1));
  start();
  EXPECT_FALSE(store_->ExpiryCheck(false));
  EXPECT_TRUE(store_->ExpiryCheck(true));
  EXPECT_FALSE(store_->entry("half a minute"));
  EXPECT_TRUE(store_->entry("a minute and a second"));
  EXPECT_FALSE(store_->ExpiryCheck(true));
}

TEST_F(Store, TwoDueTogetherAreBothRaisedAndTheLaterStaysOpen) {
  writeNote(0, "first", at(9, 0));
  writeNote(1, "second", at(9, 30));
  start();
  store_->sortNotes(0);
  EXPECT_TRUE(store_->ExpiryCheck(false));
  pump();
  ASSERT_EQ(noteWindows().size(), 1u);
  // The first was written back, expired, under a free name when the second opened.
  EXPECT_EQ(store_->titles(), (Titles{"first"}));
  EXPECT_EQ(store_->entry("first")->expired, 1);
  EXPECT_FALSE(std::filesystem::exists(hostNote(1)));
  EXPECT_TRUE(store_->closeNoteWindow());
  pump();
  EXPECT_EQ(store_->titles(), (Titles{"first", "second"}));
  EXPECT_EQ(store_->entry("second")->expired, 1);
  EXPECT_EQ(noteFiles(), 2);
}

TEST_F(Store, AHundredDueAtOnceAreAllRaisedNoneLost) {
  for (int i = 0; i < 100; ++i) writeNote(i, "note " + std::to_string(i), at(9, static_cast<WORD>(i % 60)));
  start();
  EXPECT_TRUE(store_->ExpiryCheck(false));
  pump();
  EXPECT_EQ(noteWindows().size(), 1u);
  EXPECT_EQ(store_->titles().size(), 99u);
  EXPECT_FALSE(store_->ExpiryCheck(false));
  EXPECT_TRUE(store_->closeNoteWindow());
  pump();
  const Titles titles = store_->titles();
  ASSERT_EQ(titles.size(), 100u);
  for (int i = 0; i < 100; ++i) {
    const auto entry = store_->entry("note " + std::to_string(i));
    ASSERT_TRUE(entry) << i;
    EXPECT_EQ(entry->expired, 1) << i;
  }
  EXPECT_EQ(noteFiles(), 100);
}

TEST_F(Store, ANoteThatCannotBeReadKeepsItsEntryAndItsFile) {
  writeNote(0, "due", at(9, 0));
  start();
  std::filesystem::resize_file(hostNote(0), 10);
  EXPECT_FALSE(store_->ExpiryCheck(true));
  pump();
  EXPECT_TRUE(store_->entry("due"));
  EXPECT_EQ(std::filesystem::file_size(hostNote(0)), 10u);
  EXPECT_EQ(noteWindows().size(), 0u);
}

TEST_F(Store, ANoteThatCannotBeReadIsNotOpenedAndTheUserIsTold) {
  writeNote(0, "damaged", at(11, 0));
  start();
  std::filesystem::resize_file(hostNote(0), 10);
  store_->openNoteAt(0);
  pump();
  EXPECT_EQ(noteWindows().size(), 0u);
  EXPECT_EQ(std::filesystem::file_size(hostNote(0)), 10u);
  // The box runs on a thread of its own.
  HWND box = nullptr;
  for (int i = 0; i < 200 && !box; ++i) {
    box = FindWindowW(u"#32770", u"VORLA Pinnotes");
    if (!box) Sleep(20);
  }
  ASSERT_NE(box, nullptr);
  nlohmann::json state = nlohmann::json::object();
  SendMessageW(box, kAutomationState, 0, reinterpret_cast<LPARAM>(&state));
  EXPECT_EQ(state.value("text", ""), "The pinnote could not be opened: its file is damaged or cannot be read.");
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  for (int i = 0; i < 200 && IsWindow(box); ++i) Sleep(20);
  EXPECT_FALSE(IsWindow(box));
}

TEST_F(Store, AnAlarmClosesTheOpenNoteEvenWhenItIsTheDueOne) {
  writeNote(0, "due", at(9, 0));
  writeNote(1, "other", at(12, 0));
  start();
  store_->sortNotes(0);
  store_->openNoteAt(0);  // the due note itself, opened as an existing note
  pump();
  ASSERT_EQ(noteWindows().size(), 1u);
  EXPECT_TRUE(store_->ExpiryCheck(false));
  pump();
  EXPECT_EQ(noteWindows().size(), 1u);
  EXPECT_EQ(store_->titles(), (Titles{"other"}));
}

// ---- delete and set expired ----

TEST_F(Store, DeletingRowsZeroAndOneOfThreeLeavesRowTwo) {
  writeNote(0, "a", at(11, 0));
  writeNote(1, "b", at(12, 0));
  writeNote(2, "c", at(13, 0));
  start();
  store_->sortNotes(0);
  select({0, 1});
  // The list is re-sorted while the box is up: the selected notes are still the ones deleted.
  const auto boxes = answering(IDYES, [&] { store_->deleteSelectedNotes(); },
                               [&] {
                                 store_->sortNotes(0);
                                 store_->refill();
                               });
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Warning!");
  EXPECT_EQ(boxes[0].text, "Do you really want to delete selected pinnotes?");
  EXPECT_EQ(store_->titles(), (Titles{"c"}));
  EXPECT_FALSE(std::filesystem::exists(hostNote(0)));
  EXPECT_FALSE(std::filesystem::exists(hostNote(1)));
  EXPECT_TRUE(std::filesystem::exists(hostNote(2)));

  select({0});
  const auto kept = answering(IDNO, [&] { store_->deleteSelectedNotes(); });
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].text, "Do you really want to delete selected pinnote?");
  EXPECT_EQ(store_->titles(), (Titles{"c"}));
}

TEST_F(Store, OnlyAFileAlreadyGoneCountsAsDeleted) {
  writeNote(0, "gone", at(11, 0));
  writeNote(1, "stuck", at(12, 0));
  start();
  store_->sortNotes(0);
  select({0, 1});
  std::filesystem::remove(hostNote(0));
  // A directory in the file's place cannot be deleted as a file.
  std::filesystem::remove(hostNote(1));
  std::filesystem::create_directories(hostNote(1) / "inside");
  const auto boxes = answering(IDYES, [&] { store_->deleteSelectedNotes(); });
  EXPECT_EQ(store_->titles(), (Titles{"stuck"}));
  ASSERT_EQ(boxes.size(), 2u);  // the question, then the failure
  EXPECT_EQ(boxes[1].caption, "Warning!");
  EXPECT_NE(boxes[1].text.find("could not be deleted"), std::string::npos);
}

TEST_F(Store, SettingAsExpiredSkipsNotesThatNeverExpire) {
  writeNote(0, "timed", at(11, 0));
  writeNote(1, "never", never());
  start();
  store_->sortNotes(0);
  const auto before = std::filesystem::last_write_time(hostNote(1));
  select({0, 1});
  store_->setSelectedNotesExpired();
  EXPECT_EQ(store_->entry("timed")->expired, 1);
  EXPECT_EQ(readNote(0)->expired, 1);
  EXPECT_EQ(store_->entry("never")->expired, 0);
  EXPECT_EQ(readNote(1)->expired, 0);
  EXPECT_EQ(std::filesystem::last_write_time(hostNote(1)), before);
}

// ---- requests from other threads and processes ----

// The Today item sends PNM_OPEN_MAPPED_NOTE and waits; the store closes the open note inside
// that send, and the note's save notice must still be taken.
TEST_F(Store, ANoteClosedForAnotherThreadsOrProcesssRequestIsListed) {
  writeNote(0, "wanted", at(12, 0));
  start();
  HANDLE map = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                  CrossingNames::kNoteStateMapBytes, CrossingNames::kNoteStateMap);
  ASSERT_NE(map, nullptr);
  auto* block = static_cast<WCHAR*>(MapViewOfFile(map, FILE_MAP_ALL_ACCESS, 0, 0, 0));
  ASSERT_NE(block, nullptr);
  lstrcpyW(block, path(0).c_str());

  const auto newTouchedNote = [&] {
    HWND note = store_->newNote(FALSE);
    ASSERT_NE(note, nullptr);
    SendMessageW(note, WM_COMMAND, 1143, 0);  // "Clear all": touched, so it is kept
  };
  newTouchedNote();
  std::atomic<bool> answered = false;
  std::thread today([&] {
    SendMessageW(main_, kOpenMappedNote, 0, 0);
    answered = true;
    PostMessageW(main_, WM_NULL, 0, 0);
  });
  EXPECT_TRUE(today_.pumpUntil([&] { return answered.load(); }, 10000));
  today.join();
  pump();
  EXPECT_EQ(store_->titles().size(), 2u);  // the new note was written and listed
  EXPECT_EQ(noteWindows().size(), 1u);

  newTouchedNote();
  std::atomic<int> sent = -1;
  std::thread ctlSend([&] {
    char handle[32];
    std::snprintf(handle, sizeof handle, "0x%08lx", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(main_)));
    sent = ctl(std::string("send ") + handle + " 1125 0 0");
    PostMessageW(main_, WM_NULL, 0, 0);
  });
  EXPECT_TRUE(today_.pumpUntil([&] { return sent.load() != -1; }, 15000));
  ctlSend.join();
  EXPECT_EQ(sent.load(), 0);
  pump();
  EXPECT_EQ(store_->titles().size(), 3u);
  EXPECT_EQ(noteFiles(), 3);
  UnmapViewOfFile(block);
  CloseHandle(map);
}

}  // namespace
}  // namespace handheld::testing
