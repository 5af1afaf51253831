#include "foreground.h"

#include <mutex>

#include "ipc/client.h"
#include "ipc/protocol.h"

namespace handheld::shell {

namespace {

std::mutex g_lock;
ForegroundWindow g_current;  // under g_lock

}  // namespace

void watchForeground(HWND notify, UINT message) {
  auto& client = ipc::DeviceClient::get();
  // The push arrives on the client's reader thread; the window thread reads the copy.
  client.onPush<ipc::ShellForeground>([notify, message](ipc::ShellForeground& pushed) {
    {
      std::lock_guard guard(g_lock);
      g_current.window = reinterpret_cast<HWND>(static_cast<uintptr_t>(pushed.handle));
      g_current.pid = pushed.pid;
      g_current.title = pushed.title;
      g_current.doneButton = pushed.state & ipc::kShellDoneButton;
      g_current.taskBarHidden = pushed.state & ipc::kShellTaskBarHidden;
      g_current.sipButtonHidden = pushed.state & ipc::kShellSipButtonHidden;
      g_current.startIconHidden = pushed.state & ipc::kShellStartIconHidden;
    }
    PostMessageW(notify, message, 0, 0);
  });
  client.notify(ipc::ShellAttach{});
}

ForegroundWindow currentForeground() {
  std::lock_guard guard(g_lock);
  return g_current;
}

}  // namespace handheld::shell
