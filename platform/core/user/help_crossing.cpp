#include "user/device_link.h"

#include "user/input_focus.h"
#include "user/window.h"

namespace handheld::user {

LRESULT sendHelpToOtherProcess(HWND window, LPARAM lParam) {
  const auto* info = reinterpret_cast<const HELPINFO*>(lParam);
  if (!info || info->cbSize < sizeof(HELPINFO)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  ipc::HelpFields help{handleValue(window),
                       info->iContextType,
                       info->iCtrlId,
                       static_cast<uint64_t>(reinterpret_cast<uintptr_t>(info->hItemHandle)),
                       static_cast<uint32_t>(info->dwContextId),
                       static_cast<int32_t>(info->MousePos.x),
                       static_cast<int32_t>(info->MousePos.y)};
  deviceLink().notify(ipc::HelpSend{help});
  return TRUE;
}

void helpFromServer(const ipc::HelpDeliver& delivery) {
  HWND window = toHwnd(delivery.help.handle);
  runOnWindowThread(window, [window, help = delivery.help] {
    HELPINFO info{};
    info.cbSize = sizeof info;
    info.iContextType = help.contextType;
    info.iCtrlId = help.controlId;
    // Window handles mean the same in every process; a menu handle of the sender's does not.
    info.hItemHandle = help.contextType == HELPINFO_WINDOW
                           ? reinterpret_cast<HANDLE>(static_cast<uintptr_t>(help.item))
                           : nullptr;
    info.dwContextId = help.contextId;
    info.MousePos = {help.x, help.y};
    if (IsWindow(window)) SendMessageW(window, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
  });
}

}  // namespace handheld::user
