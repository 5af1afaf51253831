#include "kernel/handles.h"

#include <mutex>
#include <unordered_map>

#include "kernel/sync/pseudo_handles.h"

namespace handheld::kernel {

namespace {

struct HandleTable {
  std::mutex lock;
  std::unordered_map<uintptr_t, std::shared_ptr<KernelObject>> objects;
  // Handle values grow and are not reused soon, so a stale handle rarely names a new object.
  uintptr_t next = 0x1000;
};

HandleTable& table() {
  static HandleTable* instance = new HandleTable;  // outlives static destructors of callers
  return *instance;
}

}  // namespace

HANDLE insertHandle(std::shared_ptr<KernelObject> object) {
  auto& t = table();
  std::lock_guard guard(t.lock);
  uintptr_t value = 0;
  do {
    value = t.next;
    t.next += 4;
    if (t.next >= 0x7FFFFFF0) t.next = 0x1000;
  } while (t.objects.count(value));
  t.objects.emplace(value, std::move(object));
  return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> lookupHandle(HANDLE handle) {
  auto& t = table();
  std::lock_guard guard(t.lock);
  auto it = t.objects.find(reinterpret_cast<uintptr_t>(handle));
  return it == t.objects.end() ? nullptr : it->second;
}

std::shared_ptr<KernelObject> removeHandle(HANDLE handle) {
  auto& t = table();
  std::lock_guard guard(t.lock);
  auto it = t.objects.find(reinterpret_cast<uintptr_t>(handle));
  if (it == t.objects.end()) return nullptr;
  auto object = std::move(it->second);
  t.objects.erase(it);
  return object;
}

}  // namespace handheld::kernel

using namespace handheld::kernel;

static thread_local DWORD t_lastError = 0;

HANDHELD_API DWORD WINAPI GetLastError(void) { return t_lastError; }
HANDHELD_API void WINAPI SetLastError(DWORD code) { t_lastError = code; }

HANDHELD_API BOOL WINAPI CloseHandle(HANDLE handle) {
  // The current thread and process pseudo handles close successfully and stay valid.
  if (handle == currentThreadPseudoHandle() || handle == currentProcessPseudoHandle()) return TRUE;
  if (!removeHandle(handle)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
