// The main window's creation steps and its whole message table, against the recording
// double of the note store: each message must become exactly the one call it stands for.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/app_references.h"
#include "app/commands.h"
#include "app/note_app.h"
#include "mainwindow/main_window.h"
#include "notes/note_store.h"
#include "pinnotes/crossing_names.h"
#include "pinnotes/registry_names.h"
#include "recording_note_store.h"
#include "support/device_fixture.h"
#include "support/message_recorder.h"

namespace handheld::testing {
namespace {

using Calls = std::vector<std::string>;
constexpr UINT kAutomationState = 0x03F0;  // a control's state as json

class MainWindowTable : public DeviceFixture {
 protected:
  void SetUp() override {
    DeviceFixture::SetUp();
    recording().clear();
    recording().expiryCheckAlarms = false;
    recording().newNoteWindow = nullptr;
    recording().noteStaysOpen = false;
    instance_ = GetModuleHandleW(nullptr);
  }
  void TearDown() override {
    if (window_) DestroyWindow(window_);
    theNoteStore = nullptr;
    theNoteApp = nullptr;
    DeviceFixture::TearDown();
  }
  static StoreRecording& recording() { return StoreRecording::instance(); }

  // The program's objects and its main window, as the start-up makes them.
  void createMainWindow() {
    app_.emplace();
    store_.emplace(*app_);
    theNoteApp = &*app_;
    theNoteStore = &*store_;
    MainWindow::registerClass(instance_);
    window_ = MainWindow::create(instance_, &alarmed_);
    ASSERT_NE(window_, nullptr);
  }
  // The calls one message makes.
  Calls callsOf(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    recording().clear();
    EXPECT_EQ(SendMessageW(window_, message, wParam, lParam), 0);
    return recording().calls();
  }
  void setTodayEnabled(DWORD value) {
    ASSERT_EQ(ctl("reg set 'HKLM\\SOFTWARE\\Microsoft\\Today\\Items\\VORLA Pinnotes' Enabled dword " +
                  std::to_string(value)),
              0);
  }

  HINSTANCE instance_ = nullptr;
  std::optional<NoteApp> app_;
  std::optional<NoteStore> store_;
  HWND window_ = nullptr;
  BYTE alarmed_ = 0xFF;
};

TEST_F(MainWindowTable, CreationFindsTheTodayItemAndRunsTheCheck) {
  MessageRecorder today;
  today.registerClass(CrossingNames::kTodayWindowClass);
  HWND todayWindow = CreateWindowExW(0, CrossingNames::kTodayWindowClass, CrossingNames::kWindowTitle, 0, 0, 0,
                                     10, 10, nullptr, nullptr, instance_, nullptr);
  recording().expiryCheckAlarms = true;
  createMainWindow();
  EXPECT_EQ(recording().calls(), (Calls{"listChanged", "ExpiryCheck(0)"}));
  EXPECT_EQ(recording().mainWindow, window_);
  EXPECT_EQ(recording().todayWindow, todayWindow);
  EXPECT_EQ(alarmed_, 1);
  EXPECT_FALSE(IsWindowVisible(window_));
  EXPECT_NE(GetClassLongPtrW(window_, GCLP_HICON), 0u);  // icon 101
  DestroyWindow(todayWindow);
}

TEST_F(MainWindowTable, CreationChecksOnlyWithNotifyOnOrTheTodayItemEnabled) {
  ASSERT_EQ(ctl("reg set 'HKLM\\SOFTWARE\\VORLA\\Pinnotes' Notify dword 0"), 0);
  setTodayEnabled(0);
  recording().expiryCheckAlarms = true;
  createMainWindow();
  EXPECT_EQ(recording().calls(), (Calls{"listChanged"}));
  EXPECT_EQ(recording().todayWindow, nullptr);
  EXPECT_EQ(alarmed_, 0);
  // A due-note message still runs it, with the fallback.
  EXPECT_EQ(callsOf(PNM_NOTE_DUE), (Calls{"ExpiryCheck(1)"}));

  DestroyWindow(window_);
  setTodayEnabled(1);
  recording().clear();
  recording().expiryCheckAlarms = false;
  window_ = MainWindow::create(instance_, &alarmed_);
  EXPECT_EQ(recording().calls(), (Calls{"listChanged", "ExpiryCheck(0)"}));
  EXPECT_EQ(alarmed_, 0);
}

TEST_F(MainWindowTable, EveryMessageIsOneCallOnTheStore) {
  createMainWindow();
  const std::u16string saved = u"\\My Documents\\My Pinnotes\\Pinnote4.stk";
  struct Row {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    Calls calls;
  };
  const Row rows[] = {
      {WM_COMMAND, 1224, 0, {"newNote(0)"}},
      {WM_COMMAND, 1225, 0, {"showAll"}},
      {WM_COMMAND, 1226, 0, {}},
      {WM_COMMAND, 1228, 0, {"openOptions(main window)"}},
      {WM_COMMAND, 1230, 0, {"openNoteAt(0)"}},
      {WM_COMMAND, 1231, 0, {"openNoteAt(1)"}},
      {WM_COMMAND, MAKEWPARAM(1231, 1), 0, {}},
      {WM_COMMAND, MAKEWPARAM(1224, 0x300), 0, {}},
      {WM_HOTKEY, 0, 0xC1 << 16, {}},
      {1023, 0, 0, {"closeAll"}},
      {1025, 1, reinterpret_cast<LPARAM>(saved.c_str()), {}},  // not announced
      {1026, 0, 0, {"showAll", "noteWindowClosed"}},
      {1027, 0, 0, {"showAll"}},
      {1326, 0, 0, {"showAll"}},
      {1327, 0, 0, {"ExpiryCheck(1)"}},
      {1328, 0, 0, {"newNote(0)"}},
      {1424, 0, 0, {"applyOptions"}},
      {WM_USER + 999, 0, 0, {}},
  };
  // The numbers are the table's own, so a wrong constant in the program fails here.
  for (const Row& row : rows) {
    EXPECT_EQ(callsOf(row.message, row.wParam, row.lParam), row.calls)
        << messageName(row.message) << " wParam " << row.wParam;
  }

  // The settings message also tells the Today item.
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, CrossingNames::kChangeEvent);
  ResetEvent(event);
  callsOf(PNM_SETTINGS_CHANGED);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
  CloseHandle(event);
}

TEST_F(MainWindowTable, RecordButtonMakesARecordingNoteInFront) {
  createMainWindow();
  MessageRecorder noteWindows;
  noteWindows.registerClass(u"NoteDouble");
  HWND note = CreateWindowExW(0, u"NoteDouble", u"note", WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                              instance_, nullptr);
  HWND other = CreateWindowExW(0, u"NoteDouble", u"other", WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                               instance_, nullptr);
  SetForegroundWindow(other);
  recording().newNoteWindow = note;
  EXPECT_EQ(callsOf(WM_HOTKEY, 0, 0xC5 << 16), (Calls{"newNote(1)"}));
  EXPECT_EQ(GetForegroundWindow(), note);
  DestroyWindow(note);
  DestroyWindow(other);
}

TEST_F(MainWindowTable, PathsAreTakenOnlyFromTrustedSenders) {
  createMainWindow();
  // The start-up's own command line, and nothing else.
  const std::u16string own = u"\\My Documents\\My Pinnotes\\Pinnote1.stk";
  const std::u16string foreign = u"\\elsewhere.stk";
  MainWindow::acceptPathMessage(own.c_str());
  EXPECT_EQ(callsOf(1127, reinterpret_cast<WPARAM>(own.c_str())),
            (Calls{"openNoteByPath(\\My Documents\\My Pinnotes\\Pinnote1.stk)"}));
  EXPECT_EQ(callsOf(1127, reinterpret_cast<WPARAM>(foreign.c_str())), Calls{});
  EXPECT_EQ(callsOf(PNM_NOTE_SAVED, 1, 0), Calls{});
  MainWindow::acceptPathMessage(nullptr);

  // A saved-note message sent from another thread carries no path of ours.
  recording().clear();
  std::atomic<bool> sent = false;
  std::thread sender([&] {
    SendMessageW(window_, PNM_NOTE_SAVED, 1, reinterpret_cast<LPARAM>(foreign.c_str()));
    sent = true;
    PostMessageW(window_, WM_NULL, 0, 0);
  });
  MessageRecorder pump;
  EXPECT_TRUE(pump.pumpUntil([&] { return sent.load(); }));
  sender.join();
  EXPECT_EQ(recording().calls(), Calls{});
}

// A saved note's path is taken only as the pointer its note window announced, once, also
// when the message arrives while the main thread answers another thread's request (the store
// closing a note on behalf of the Today item).
TEST_F(MainWindowTable, SavedNotesAreTakenOnlyForTheAnnouncedPath) {
  createMainWindow();
  const std::u16string saved = u"\\My Documents\\My Pinnotes\\Pinnote4.stk";
  const std::u16string other = saved;
  const auto pathOf = [](const std::u16string& path) { return reinterpret_cast<LPARAM>(path.c_str()); };

  MainWindow::acceptSavedPath(saved.c_str());
  EXPECT_EQ(callsOf(1025, 1, pathOf(other)), Calls{});
  EXPECT_EQ(callsOf(1025, 1, pathOf(saved)),
            Calls{"noteSaved(1, \\My Documents\\My Pinnotes\\Pinnote4.stk)"});
  EXPECT_EQ(callsOf(1025, 1, pathOf(saved)), Calls{});  // once only

  // Nested: another thread's request is answered by a window of the main thread whose
  // handling saves a note, so the saved message arrives inside a cross-thread send.
  WNDCLASSW closer = {};
  closer.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message != WM_USER + 7) return DefWindowProcW(window, message, wParam, lParam);
    const auto* path = reinterpret_cast<const std::u16string*>(lParam);
    MainWindow::acceptSavedPath(path->c_str());
    SendMessageW(reinterpret_cast<HWND>(wParam), 1025, 0, reinterpret_cast<LPARAM>(path->c_str()));
    return InSendMessage() ? 1 : 0;
  };
  closer.hInstance = instance_;
  closer.lpszClassName = u"NestedSaveCloser";
  RegisterClassW(&closer);
  HWND closerWindow = CreateWindowExW(0, u"NestedSaveCloser", u"", 0, 0, 0, 0, 0, nullptr, nullptr,
                                      instance_, nullptr);
  ASSERT_NE(closerWindow, nullptr);
  recording().clear();
  std::atomic<LRESULT> answer = -1;
  std::thread requester([&] {
    answer = SendMessageW(closerWindow, WM_USER + 7, reinterpret_cast<WPARAM>(window_),
                         reinterpret_cast<LPARAM>(&saved));
    PostMessageW(window_, WM_NULL, 0, 0);
  });
  MessageRecorder pump;
  EXPECT_TRUE(pump.pumpUntil([&] { return answer.load() != -1; }));
  requester.join();
  EXPECT_EQ(answer.load(), 1);  // it was inside the other thread's send
  EXPECT_EQ(recording().calls(), Calls{"noteSaved(0, \\My Documents\\My Pinnotes\\Pinnote4.stk)"});
  DestroyWindow(closerWindow);
}

TEST_F(MainWindowTable, MappedNotePathIsReadWithinTheBlock) {
  createMainWindow();
  HANDLE map = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                  CrossingNames::kNoteStateMapBytes, CrossingNames::kNoteStateMap);
  ASSERT_NE(map, nullptr);
  auto* block = static_cast<WCHAR*>(MapViewOfFile(map, FILE_MAP_ALL_ACCESS, 0, 0, 0));
  ASSERT_NE(block, nullptr);
  lstrcpyW(block, u"\\My Documents\\My Pinnotes\\Pinnote7.stk");
  EXPECT_EQ(callsOf(PNM_OPEN_MAPPED_NOTE, 0x1234),
            (Calls{"openNoteByPath(\\My Documents\\My Pinnotes\\Pinnote7.stk)"}));
  // A block without a terminator gives at most MAX_PATH - 1 units.
  for (int i = 0; i < 260; ++i) block[i] = u'n';
  EXPECT_EQ(callsOf(PNM_OPEN_MAPPED_NOTE), (Calls{"openNoteByPath(" + std::string(259, 'n') + ")"}));
  UnmapViewOfFile(block);
  CloseHandle(map);
  // Without a block there is nothing to open.
  EXPECT_EQ(callsOf(PNM_OPEN_MAPPED_NOTE), (Calls{"openNoteByPath()"}));
}

// Every end (WM_CLOSE from a program manager or Ctrl+Q, and the exit command 1229) first
// closes an open note as its "ok" would, so that it is saved, and then destroys the window.
TEST_F(MainWindowTable, CloseAndExitSaveTheOpenNoteThenQuitWithZero) {
  for (WPARAM command : {WPARAM{0}, WPARAM{1229}}) {
    createMainWindow();
    recording().clear();
    if (command == 0) {
      SendMessageW(window_, WM_CLOSE, 0, 0);
    } else {
      SendMessageW(window_, WM_COMMAND, command, 0);
    }
    EXPECT_EQ(recording().calls(), (Calls{"closeNoteWindow"}));
    EXPECT_FALSE(IsWindow(window_));
    window_ = nullptr;
    MSG quit;
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
  }
  // A note whose save failed is shown again: the program goes on rather than lose it.
  createMainWindow();
  recording().noteStaysOpen = true;
  for (WPARAM command : {WPARAM{0}, WPARAM{1229}}) {
    recording().clear();
    SendMessageW(window_, command == 0 ? WM_CLOSE : WM_COMMAND, command, 0);
    EXPECT_EQ(recording().calls(), (Calls{"closeNoteWindow"}));
    EXPECT_TRUE(IsWindow(window_));
  }
  MSG quit;
  EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// The about command (1227, posted by the list's "About...") shows the program's name and
// version over the program's own window in front; a foreign window in front is no owner.
TEST_F(MainWindowTable, AboutShowsNameAndVersionOverTheProgramsWindow) {
  createMainWindow();
  MessageRecorder front;
  front.registerClass(u"FrontDouble");
  HWND own = CreateWindowExW(0, u"FrontDouble", u"front", WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                             instance_, nullptr);
  SetForegroundWindow(own);
  std::string shownText;
  HWND shownOwner = nullptr;
  front.react(WM_APP, [&](HWND, WPARAM, LPARAM) -> std::optional<LRESULT> {
    HWND box = FindWindowW(u"#32770", u"About");
    EXPECT_NE(box, nullptr);
    if (!box) return 0;
    shownOwner = GetWindow(box, GW_OWNER);
    nlohmann::json state = nlohmann::json::object();
    SendMessageW(box, kAutomationState, 0, reinterpret_cast<LPARAM>(&state));
    shownText = state.value("text", "");
    PostMessageW(box, WM_CLOSE, 0, 0);
    return 0;
  });
  PostMessageW(own, WM_APP, 0, 0);
  EXPECT_EQ(callsOf(WM_COMMAND, 1227), Calls{});
  EXPECT_EQ(shownText, "VORLA Pinnotes v2.51");
  EXPECT_EQ(shownOwner, own);
  DestroyWindow(own);
}

}  // namespace
}  // namespace handheld::testing
