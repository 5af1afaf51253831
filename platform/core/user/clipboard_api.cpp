// The clipboard: its data lives in the device server. This process keeps the blocks the
// clipboard owns here (given to SetClipboardData, or made by GetClipboardData) and frees them
// when the clipboard is closed or emptied.
#include <algorithm>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "ipc/client.h"
#include "user/window.h"

using namespace handheld;
using namespace handheld::user;

namespace {

class HeldBlocks {
 public:
  static HeldBlocks& get() {
    static auto* held = new HeldBlocks;  // used until the process ends
    return *held;
  }
  void keep(HLOCAL block) {
    std::lock_guard guard(mutex_);
    if (std::find(blocks_.begin(), blocks_.end(), block) == blocks_.end()) blocks_.push_back(block);
  }
  HLOCAL taken(UINT format) {
    std::lock_guard guard(mutex_);
    auto it = taken_.find(format);
    return it == taken_.end() ? nullptr : it->second;
  }
  void setTaken(UINT format, HLOCAL block) {
    std::lock_guard guard(mutex_);
    if (block) {
      taken_[format] = block;
    } else {
      taken_.erase(format);
    }
  }
  void releaseAll() {
    std::vector<HLOCAL> blocks;
    {
      std::lock_guard guard(mutex_);
      blocks.swap(blocks_);
      taken_.clear();
    }
    for (HLOCAL block : blocks) LocalFree(block);
  }

 private:
  std::mutex mutex_;
  std::vector<HLOCAL> blocks_;
  std::unordered_map<UINT, HLOCAL> taken_;  // what GetClipboardData gave per format
};

template <class T>
T fail(DWORD error, T value = T{}) {
  SetLastError(error);
  return value;
}

// The server's error for a request, or ERROR_INVALID_PARAMETER when it refused it outright.
template <class M>
DWORD ask(const typename M::Request& request, typename M::Reply* reply = nullptr) {
  auto answer = ipc::DeviceClient::get().call<M>(request);
  if (!answer) return ERROR_INVALID_PARAMETER;
  if (reply) *reply = std::move(*answer);
  if constexpr (requires { answer->error; }) return answer->error;
  return 0;
}

uint32_t thisThread() { return GetCurrentThreadId(); }

ipc::ClipboardState::Reply state() {
  ipc::ClipboardState::Reply reply;
  ask<ipc::ClipboardState>({thisThread()}, &reply);
  return reply;
}

}  // namespace

HANDHELD_API BOOL WINAPI OpenClipboard(HWND owner) {
  if (owner) {
    UserGuard guard(userLock());
    if (classifyHandle(owner) != HandleKind::Own || !findOwnWindow(owner))
      return fail<BOOL>(ERROR_INVALID_WINDOW_HANDLE);
  }
  DWORD error = ask<ipc::ClipboardOpen>({thisThread(), handleValue(owner)});
  return error ? fail<BOOL>(error) : TRUE;
}

HANDHELD_API BOOL WINAPI CloseClipboard(void) {
  DWORD error = ask<ipc::ClipboardClose>({thisThread()});
  if (error) return fail<BOOL>(error);
  HeldBlocks::get().releaseAll();
  return TRUE;
}

HANDHELD_API BOOL WINAPI EmptyClipboard(void) {
  DWORD error = ask<ipc::ClipboardEmpty>({thisThread()});
  if (error) return fail<BOOL>(error);
  HeldBlocks::get().releaseAll();
  return TRUE;
}

HANDHELD_API HANDLE WINAPI SetClipboardData(UINT format, HANDLE memory) {
  if (!memory || format == 0) return fail<HANDLE>(ERROR_INVALID_PARAMETER);  // no delayed rendering
  SetLastError(ERROR_SUCCESS);
  const SIZE_T size = LocalSize(memory);
  if (size == 0 && GetLastError() == ERROR_INVALID_HANDLE) return nullptr;
  if (size > ipc::kMaxClipboardFormatBytes) return fail<HANDLE>(ERROR_NOT_ENOUGH_QUOTA);
  const auto* bytes = static_cast<const uint8_t*>(memory);
  DWORD error = ask<ipc::ClipboardPut>({thisThread(), format, ipc::Bytes(bytes, bytes + size)});
  if (error) return fail<HANDLE>(error);  // the block stays the caller's
  HeldBlocks::get().keep(memory);
  HeldBlocks::get().setTaken(format, nullptr);
  return memory;
}

HANDHELD_API HANDLE WINAPI GetClipboardData(UINT format) {
  if (HLOCAL known = HeldBlocks::get().taken(format)) return known;
  ipc::ClipboardTake::Reply reply;
  DWORD error = ask<ipc::ClipboardTake>({thisThread(), format}, &reply);
  if (error) return fail<HANDLE>(error);
  if (reply.data.size() > ipc::kMaxClipboardFormatBytes) return fail<HANDLE>(ERROR_INVALID_DATA);
  // Two zero bytes past the end, outside the block's size: text from another process that
  // lacks its terminator still ends there for a reader that looks for one.
  const SIZE_T size = reply.data.size();
  HLOCAL block = LocalAlloc(LPTR, size + sizeof(WCHAR));
  if (!block) return nullptr;
  std::memcpy(block, reply.data.data(), size);
  block = LocalReAlloc(block, size, 0);  // shrinks in place
  HeldBlocks::get().keep(block);
  HeldBlocks::get().setTaken(format, block);
  return block;
}

HANDHELD_API BOOL WINAPI IsClipboardFormatAvailable(UINT format) {
  auto formats = state().formats;
  return std::find(formats.begin(), formats.end(), format) != formats.end();
}

HANDHELD_API int WINAPI CountClipboardFormats(void) { return static_cast<int>(state().formats.size()); }

HANDHELD_API UINT WINAPI EnumClipboardFormats(UINT format) {
  auto now = state();
  if (!now.openByCaller) return fail<UINT>(ERROR_CLIPBOARD_NOT_OPEN);
  auto next = now.formats.begin();
  if (format != 0) {
    next = std::find(now.formats.begin(), now.formats.end(), format);
    if (next != now.formats.end()) ++next;
  }
  return next == now.formats.end() ? fail<UINT>(ERROR_SUCCESS) : *next;
}

HANDHELD_API HWND WINAPI GetClipboardOwner(void) { return toHwnd(state().owner); }

// Formats and window messages share one table of names, as on the device.
HANDHELD_API UINT WINAPI RegisterClipboardFormatW(LPCWSTR name) { return RegisterWindowMessageW(name); }
