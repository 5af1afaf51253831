// Testing message sequences: a window procedure that records every message it receives
// (window, message, parameters, and whether it came through the message loop or was sent),
// and comparison with an expected sequence written as a table whose entries may be optional.
//
//   MessageRecorder recorder;                  // one per test; its procedure records into it
//   recorder.registerClass(u"Recorded");       // a class whose procedure is the recorder's
//   HWND w = CreateWindowExW(0, u"Recorded", ...);
//   EXPECT_TRUE(recorder.matches({{WM_NCCREATE}, {WM_CREATE}, {WM_SIZE, kOptional}, ...}));
//
// Controls: watch(control) records a control of a platform class (its procedure is wrapped)
// together with its parent, a window of the recorded class. A named sequence states both in
// one order, the parent's entries flagged kParent:
//
//   const NamedSequence kClickSeq = {"click", {{WM_LBUTTONDOWN, kSent}, ...,
//                                              {WM_COMMAND, kParent | kWParam, MAKEWPARAM(1, BN_CLICKED)}}};
//   EXPECT_TRUE(recorder.matches(kClickSeq, button));
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace handheld::testing {

enum ExpectFlags : unsigned {
  kSent = 1 << 0,      // must have been sent (the default when neither is given: either)
  kPosted = 1 << 1,    // must have come through the message loop
  kOptional = 1 << 2,  // may be missing
  kWParam = 1 << 3,    // wParam must equal the entry's
  kLParam = 1 << 4,    // lParam must equal the entry's
  kParent = 1 << 5,    // to the control's parent (named sequences; otherwise to the control)
  kDefWinProc = 1 << 6,  // sent while default processing (DefWindowProcW, or the watched
                         // control's own procedure) ran
};

struct ExpectedMessage {
  UINT message;
  unsigned flags = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  HWND window = nullptr;  // null: any window
};

struct RecordedMessage {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool posted;
  bool defWinProc = false;
};

// The messages of a control and its parent in the order one action produces them, with the
// name failures print.
struct NamedSequence {
  const char* name;
  std::vector<ExpectedMessage> messages;
};

class MessageRecorder {
 public:
  using Reaction = std::function<std::optional<LRESULT>(HWND, WPARAM, LPARAM)>;

  MessageRecorder();
  ~MessageRecorder();
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  // The recording procedure: records, then gives the message to the reaction registered for
  // it, else to DefWindowProcW.
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // Registers a class of the program's module with the recording procedure.
  void registerClass(const char16_t* name, HBRUSH background = nullptr, UINT style = 0);

  // Records the control's messages too (then its own procedure handles them) until it is
  // destroyed.
  void watch(HWND control);

  // Messages not to record at all.
  void ignore(std::initializer_list<UINT> messages);
  // What the procedure does with a message instead of DefWindowProcW (nullopt: call it).
  void react(UINT message, Reaction reaction);
  void clear();
  std::vector<RecordedMessage> messages() const;

  // Dispatches what waits in the calling thread's queue, without waiting.
  void pumpPending();
  // Runs `work` on another thread while this one dispatches what arrives, until it is done.
  void pumpWhile(const std::function<void()>& work);
  // Dispatches messages until done() holds; false when timeoutMs passes first. Waits on the
  // queue between messages, never spinning.
  bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);

  // Compares the recording (only the messages of `window` when one is given) with the table.
  ::testing::AssertionResult matches(const std::vector<ExpectedMessage>& expected,
                                     HWND window = nullptr) const;
  // Compares the messages of `control` and its parent with a named sequence.
  ::testing::AssertionResult matches(const NamedSequence& sequence, HWND control) const;

 private:
  LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  ::testing::AssertionResult compare(const std::vector<RecordedMessage>& actual,
                                     const std::vector<ExpectedMessage>& expected, HWND parent,
                                     const char* name) const;
  void dispatch(const MSG& message);

  mutable std::mutex lock_;
  std::vector<RecordedMessage> messages_;
  std::set<UINT> ignored_;
  std::map<UINT, Reaction> reactions_;
  std::map<HWND, WNDPROC> watched_;  // control -> its own procedure
};

// "WM_CREATE" and the like, for failure messages.
std::string messageName(UINT message);

}  // namespace handheld::testing
