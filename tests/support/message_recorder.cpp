#include "support/message_recorder.h"

#include <cstdio>
#include <sstream>
#include <thread>

namespace handheld::testing {

namespace {

MessageRecorder* g_recorder = nullptr;
// The message the calling thread's pump is dispatching, and how deep inside the recording
// procedure the thread is: the outermost call for that very message came through the loop.
thread_local const MSG* t_dispatching = nullptr;
thread_local int t_depth = 0;
// How deep the thread is in default processing (DefWindowProcW or a watched control's own
// procedure).
thread_local int t_defaultDepth = 0;

std::string describe(const RecordedMessage& m) {
  char text[160];
  std::snprintf(text, sizeof text, "%s %s%s window %p wParam 0x%llx lParam 0x%llx", messageName(m.message).c_str(),
                m.posted ? "posted" : "sent", m.defWinProc ? " defwinproc" : "", static_cast<void*>(m.window),
                static_cast<unsigned long long>(m.wParam), static_cast<unsigned long long>(m.lParam));
  return text;
}

std::string describe(const ExpectedMessage& e) {
  std::string text = messageName(e.message);
  if (e.flags & kSent) text += " sent";
  if (e.flags & kPosted) text += " posted";
  if (e.flags & kParent) text += " parent";
  if (e.flags & kDefWinProc) text += " defwinproc";
  if (e.flags & kOptional) text += " (optional)";
  if (e.flags & kWParam) text += " wParam " + std::to_string(e.wParam);
  if (e.flags & kLParam) text += " lParam " + std::to_string(e.lParam);
  return text;
}

bool fits(const ExpectedMessage& e, const RecordedMessage& m, HWND parent) {
  if (parent && ((e.flags & kParent) != 0) != (m.window == parent)) return false;
  if ((e.flags & kDefWinProc) && !m.defWinProc) return false;
  return e.message == m.message && (!e.window || e.window == m.window) &&
         !((e.flags & kSent) && m.posted) && !((e.flags & kPosted) && !m.posted) &&
         !((e.flags & kWParam) && e.wParam != m.wParam) && !((e.flags & kLParam) && e.lParam != m.lParam);
}

}  // namespace

std::string messageName(UINT message) {
  static const std::map<UINT, const char*> kNames = {
      {WM_NULL, "WM_NULL"}, {WM_CREATE, "WM_CREATE"}, {WM_DESTROY, "WM_DESTROY"},
      {WM_MOVE, "WM_MOVE"}, {WM_SIZE, "WM_SIZE"}, {WM_ACTIVATE, "WM_ACTIVATE"},
      {WM_SETFOCUS, "WM_SETFOCUS"}, {WM_KILLFOCUS, "WM_KILLFOCUS"}, {WM_ENABLE, "WM_ENABLE"},
      {WM_SETTEXT, "WM_SETTEXT"}, {WM_GETTEXT, "WM_GETTEXT"}, {WM_GETTEXTLENGTH, "WM_GETTEXTLENGTH"},
      {WM_PAINT, "WM_PAINT"}, {WM_CLOSE, "WM_CLOSE"}, {WM_QUIT, "WM_QUIT"},
      {WM_ERASEBKGND, "WM_ERASEBKGND"}, {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
      {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"}, {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
      {WM_NCCREATE, "WM_NCCREATE"}, {WM_NCDESTROY, "WM_NCDESTROY"}, {WM_KEYDOWN, "WM_KEYDOWN"},
      {WM_KEYUP, "WM_KEYUP"}, {WM_CHAR, "WM_CHAR"}, {WM_COMMAND, "WM_COMMAND"}, {WM_TIMER, "WM_TIMER"},
      {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"}, {WM_USER, "WM_USER"}, {WM_APP, "WM_APP"},
      {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"}, {WM_LBUTTONUP, "WM_LBUTTONUP"}, {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
      {WM_SETFONT, "WM_SETFONT"}, {WM_GETFONT, "WM_GETFONT"}, {WM_INITDIALOG, "WM_INITDIALOG"},
      {WM_GETDLGCODE, "WM_GETDLGCODE"}, {WM_DRAWITEM, "WM_DRAWITEM"}, {WM_NEXTDLGCTL, "WM_NEXTDLGCTL"},
      {WM_CTLCOLORBTN, "WM_CTLCOLORBTN"}, {WM_CTLCOLORSTATIC, "WM_CTLCOLORSTATIC"},
      {WM_CTLCOLORDLG, "WM_CTLCOLORDLG"}, {WM_STYLECHANGING, "WM_STYLECHANGING"},
      {WM_STYLECHANGED, "WM_STYLECHANGED"}, {BM_GETCHECK, "BM_GETCHECK"}, {BM_SETCHECK, "BM_SETCHECK"},
      {BM_GETSTATE, "BM_GETSTATE"}, {BM_SETSTATE, "BM_SETSTATE"}, {BM_SETSTYLE, "BM_SETSTYLE"},
      {BM_CLICK, "BM_CLICK"}, {STM_SETIMAGE, "STM_SETIMAGE"}, {STM_GETIMAGE, "STM_GETIMAGE"},
      {DM_GETDEFID, "DM_GETDEFID"}, {DM_SETDEFID, "DM_SETDEFID"},
  };
  auto it = kNames.find(message);
  if (it != kNames.end()) return it->second;
  char text[32];
  if (message > WM_APP) {
    std::snprintf(text, sizeof text, "WM_APP+%u", message - WM_APP);
  } else if (message > WM_USER) {
    std::snprintf(text, sizeof text, "WM_USER+%u", message - WM_USER);
  } else {
    std::snprintf(text, sizeof text, "0x%04x", message);
  }
  return text;
}

MessageRecorder::MessageRecorder() { g_recorder = this; }
MessageRecorder::~MessageRecorder() { g_recorder = nullptr; }

LRESULT CALLBACK MessageRecorder::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!g_recorder) return DefWindowProcW(window, message, wParam, lParam);
  return g_recorder->handle(window, message, wParam, lParam);
}

LRESULT MessageRecorder::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const bool posted = t_depth == 0 && t_dispatching && t_dispatching->hwnd == window &&
                      t_dispatching->message == message && t_dispatching->wParam == wParam &&
                      t_dispatching->lParam == lParam;
  Reaction reaction;
  {
    std::lock_guard guard(lock_);
    if (!ignored_.count(message))
      messages_.push_back({window, message, wParam, lParam, posted, t_defaultDepth > 0});
    auto it = reactions_.find(message);
    if (it != reactions_.end()) reaction = it->second;
  }
  ++t_depth;
  std::optional<LRESULT> result;
  if (reaction) result = reaction(window, wParam, lParam);
  LRESULT answer = 0;
  if (result) {
    answer = *result;
  } else {
    WNDPROC own = nullptr;
    {
      std::lock_guard guard(lock_);
      auto it = watched_.find(window);
      if (it != watched_.end()) own = it->second;
    }
    ++t_defaultDepth;
    answer = own ? CallWindowProcW(own, window, message, wParam, lParam)
                 : DefWindowProcW(window, message, wParam, lParam);
    --t_defaultDepth;
  }
  if (message == WM_NCDESTROY) {
    std::lock_guard guard(lock_);
    watched_.erase(window);
  }
  --t_depth;
  return answer;
}

void MessageRecorder::watch(HWND control) {
  auto own = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_WNDPROC));
  ASSERT_NE(own, nullptr) << "no window to watch";
  {
    std::lock_guard guard(lock_);
    watched_[control] = own;
  }
  SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&procedure));
}

void MessageRecorder::registerClass(const char16_t* name, HBRUSH background, UINT style) {
  WNDCLASSW windowClass{};
  windowClass.style = style;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hbrBackground = background;
  windowClass.lpszClassName = name;
  ASSERT_NE(RegisterClassW(&windowClass), 0) << "cannot register the recorded class";
}

void MessageRecorder::ignore(std::initializer_list<UINT> messages) {
  std::lock_guard guard(lock_);
  ignored_.insert(messages.begin(), messages.end());
}

void MessageRecorder::react(UINT message, Reaction reaction) {
  std::lock_guard guard(lock_);
  reactions_[message] = std::move(reaction);
}

void MessageRecorder::clear() {
  std::lock_guard guard(lock_);
  messages_.clear();
}

std::vector<RecordedMessage> MessageRecorder::messages() const {
  std::lock_guard guard(lock_);
  return messages_;
}

void MessageRecorder::dispatch(const MSG& message) {
  const MSG* outer = t_dispatching;
  const int outerDepth = t_depth;
  t_dispatching = &message;
  t_depth = 0;
  TranslateMessage(&message);
  DispatchMessageW(&message);
  t_dispatching = outer;
  t_depth = outerDepth;
}

void MessageRecorder::pumpWhile(const std::function<void()>& work) {
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread worker([&] {
    work();
    SetEvent(done);
  });
  while (MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) pumpPending();
  worker.join();
  CloseHandle(done);
}

void MessageRecorder::pumpPending() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));  // leave it for the test to see
      return;
    }
    dispatch(message);
  }
}

bool MessageRecorder::pumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    pumpPending();
    if (done()) return true;
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
  }
}

::testing::AssertionResult MessageRecorder::matches(const std::vector<ExpectedMessage>& expected,
                                                    HWND window) const {
  std::vector<RecordedMessage> actual;
  for (const auto& m : messages())
    if (!window || m.window == window) actual.push_back(m);
  return compare(actual, expected, nullptr, nullptr);
}

::testing::AssertionResult MessageRecorder::matches(const NamedSequence& sequence, HWND control) const {
  HWND parent = GetParent(control);
  std::vector<RecordedMessage> actual;
  for (const auto& m : messages())
    if (m.window == control || (parent && m.window == parent)) actual.push_back(m);
  return compare(actual, sequence.messages, parent, sequence.name);
}

::testing::AssertionResult MessageRecorder::compare(const std::vector<RecordedMessage>& actual,
                                                    const std::vector<ExpectedMessage>& expected, HWND parent,
                                                    const char* name) const {
  size_t next = 0;
  std::string problem;
  for (size_t i = 0; i < expected.size() && problem.empty(); ++i) {
    if (next < actual.size() && fits(expected[i], actual[next], parent)) {
      ++next;
    } else if (!(expected[i].flags & kOptional)) {
      problem = "expected " + describe(expected[i]) + " at entry " + std::to_string(i) + ", got " +
                (next < actual.size() ? describe(actual[next]) : std::string("nothing"));
    }
  }
  if (problem.empty() && next < actual.size()) problem = "unexpected " + describe(actual[next]);
  if (problem.empty()) return ::testing::AssertionSuccess();
  std::ostringstream out;
  if (name) out << "sequence \"" << name << "\": ";
  out << problem << "\nrecorded:\n";
  for (const auto& m : actual) out << "  " << describe(m) << "\n";
  out << "expected:\n";
  for (const auto& e : expected) out << "  " << describe(e) << "\n";
  return ::testing::AssertionFailure() << out.str();
}

}  // namespace handheld::testing
