#include "user/describe.h"

#include <algorithm>

#include "user/device_link.h"
#include "user/menus/open_menus.h"
#include "user/top_level_sync.h"
#include "user/user_lock.h"
#include "user/window_handle.h"
#include "user/window_table.h"

namespace handheld::user {

namespace {

void appendTree(const Window& window, std::vector<ipc::WindowRecord>& out) {
  out.push_back(recordOf(window));
  for (HWND child : window.children)
    if (auto c = WindowTable::get().find(child)) appendTree(*c, out);
}

}  // namespace

void describeQueried(const ipc::DescribeQuery& query) {
  ipc::DescribeAnswer answer{query.queryId, 0, {}, {}};
  {
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
        answer.windows.push_back(recordOf(*w));
      }
    } else {
      answer.error = ERROR_INVALID_WINDOW_HANDLE;
    }
  }
  answer.menuItems = openMenuItems(answer.windows);
  deviceLink().notify(answer);
}

}  // namespace handheld::user
