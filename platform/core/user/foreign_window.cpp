#include "user/device_link.h"

#include "user/window.h"

namespace handheld::user {

std::optional<ipc::WindowRecord> describeForeign(HWND window) {
  auto reply = deviceLink().call<ipc::WindowDescribe>({handleValue(window), 0, false});
  if (!reply || reply->error || reply->windows.size() != 1 ||
      reply->windows.front().handle != handleValue(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return std::nullopt;
  }
  return std::move(reply->windows.front());
}

}  // namespace handheld::user
