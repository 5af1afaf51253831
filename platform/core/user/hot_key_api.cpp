// RegisterHotKey, UnregisterHotKey: the server keeps the table and takes the key from the
// input stream, so a hot key works whichever window has the focus.
#include "ipc/protocol.h"
#include "user/device_link.h"
#include "user/window.h"

using namespace handheld;
using namespace handheld::user;

namespace {

BOOL changeHotKey(HWND window, int id, UINT modifiers, UINT key, bool add) {
  if (classifyHandle(window) != HandleKind::Own || !IsWindow(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  auto reply = deviceLink().call<ipc::HotKeyChange>(
      {handleValue(window), static_cast<int32_t>(id), static_cast<uint32_t>(modifiers), static_cast<uint32_t>(key), add});
  const DWORD error = reply ? reply->error : ERROR_INVALID_WINDOW_HANDLE;
  if (error) {
    SetLastError(error);
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HANDHELD_API BOOL WINAPI RegisterHotKey(HWND window, int id, UINT modifiers, UINT virtualKey) {
  return changeHotKey(window, id, modifiers, virtualKey, true);
}

HANDHELD_API BOOL WINAPI UnregisterHotKey(HWND window, int id) { return changeHotKey(window, id, 0, 0, false); }
