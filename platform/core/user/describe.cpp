#include "user/device_link.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

#include "user/controls/automation_state.h"
#include "user/menus/open_menus.h"
#include "user/messages.h"
#include "user/window.h"

namespace handheld::user {

namespace {

// How long a window's thread may take to describe its controls; a thread that does not answer
// in time (hung, or busy) is asked nothing more in that answer.
constexpr auto kStateAnswerTime = std::chrono::milliseconds(500);
// A state larger than this is left out rather than sent (a list view of 10000 rows).
constexpr size_t kMaxStateBytes = 1 << 20;

// Under the lock.
ipc::WindowRecord describedRecord(const Window& window) {
  auto record = recordOf(window);
  auto queue = QueueTable::get().find(window.threadId);
  record.focused = queue && queue->focus == window.handle;
  return record;
}

void appendTree(const Window& window, std::vector<ipc::WindowRecord>& out) {
  out.push_back(describedRecord(window));
  for (HWND child : window.children)
    if (auto c = WindowTable::get().find(child)) appendTree(*c, out);
}

ipc::DescribeAnswer recordsFor(const ipc::DescribeQuery& query) {
  ipc::DescribeAnswer answer{query.queryId, 0, {}, {}};
  UserGuard guard(userLock());
  if (query.handle == 0) {
    std::vector<std::shared_ptr<Window>> topLevel;
    for (const auto& [value, w] : WindowTable::get().all())
      if (!w->isChild()) topLevel.push_back(w);
    std::sort(topLevel.begin(), topLevel.end(),
              [](const auto& a, const auto& b) { return handleValue(a->handle) < handleValue(b->handle); });
    for (const auto& w : topLevel) appendTree(*w, answer.windows);
  } else if (auto w = WindowTable::get().find(toHwnd(query.handle))) {
    if (query.tree) {
      appendTree(*w, answer.windows);
    } else {
      answer.windows.push_back(describedRecord(*w));
    }
  } else {
    answer.error = ERROR_INVALID_WINDOW_HANDLE;
  }
  return answer;
}

DWORD threadOf(uint32_t handle) {
  UserGuard guard(userLock());
  auto w = WindowTable::get().find(toHwnd(handle));
  return w ? w->threadId : 0;
}

// Asks each window for its state on its own thread. The object a late answer writes into is
// left to it, so a thread that answers after the deadline writes into memory that still exists.
void addStates(std::vector<ipc::WindowRecord>& windows) {
  std::set<DWORD> silent;
  for (auto& record : windows) {
    const DWORD thread = threadOf(record.handle);
    if (thread == 0 || silent.contains(thread)) continue;
    auto state = std::make_unique<nlohmann::json>(nlohmann::json::object());
    auto answered = sendOwnMessageBy(toHwnd(record.handle), controls::WM_AUTOMATION_STATE, 0,
                                     reinterpret_cast<LPARAM>(state.get()), Clock::now() + kStateAnswerTime);
    if (!answered) {
      silent.insert(thread);
      (void)state.release();
      continue;
    }
    if (state->empty()) continue;
    std::string text = state->dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    if (text.size() <= kMaxStateBytes) record.state = std::move(text);
  }
}

void describe(const ipc::DescribeQuery& query) {
  auto answer = recordsFor(query);
  addStates(answer.windows);
  answer.menuItems = openMenuItems(answer.windows);
  deviceLink().notify(answer);
}

// The thread that answers: states come from the windows' own threads, which may be busy, so
// the link's reader never waits for them. It waits on its queue like any thread, so it counts
// as idle.
class Describer {
 public:
  static Describer& get() {
    static auto* describer = new Describer;  // its thread runs until the process ends
    return *describer;
  }
  void ask(const ipc::DescribeQuery& query) {
    auto record = std::make_shared<SentMessage>();
    record->origin = SentMessage::Origin::Internal;
    record->notify = true;
    record->action = [query] { describe(query); };
    UserGuard guard(userLock());
    if (queue_) enqueueSent(*queue_, std::move(record));
  }

 private:
  Describer() {
    std::thread([this] { run(); }).detach();
    std::unique_lock lock(startMutex_);
    started_.wait(lock, [this] { return ready_; });
  }
  void run() {
    auto queue = currentQueue();
    {
      std::lock_guard lock(startMutex_);
      {
        UserGuard guard(userLock());
        queue_ = queue;
      }
      ready_ = true;
    }
    started_.notify_one();
    if (!queue) return;  // no descriptor for its queue: questions go unanswered
    for (;;) {
      queue->drainWake();
      processPendingSentMessages(*queue);
      waitOnQueue(*queue, std::nullopt);
    }
  }

  std::mutex startMutex_;
  std::condition_variable started_;
  bool ready_ = false;
  std::shared_ptr<ThreadQueue> queue_;  // under the user lock
};

}  // namespace

void describeQueried(const ipc::DescribeQuery& query) { Describer::get().ask(query); }

}  // namespace handheld::user
