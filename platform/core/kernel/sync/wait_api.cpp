// WaitForSingleObject and WaitForMultipleObjects.
#include "kernel/sync/pseudo_handles.h"
#include "kernel/sync/thread_object.h"
#include "kernel/sync/wait.h"

namespace handheld::kernel {

bool resolveWaitHandles(std::span<const HANDLE> handles,
                        std::vector<std::shared_ptr<KernelObject>>& objects) {
  objects.clear();
  objects.reserve(handles.size());
  for (HANDLE handle : handles) {
    auto object =
        handle == currentThreadPseudoHandle() ? ThreadObject::current() : lookupHandle(handle);
    if (!object || object->waitFd() < 0) {
      SetLastError(ERROR_INVALID_HANDLE);
      return false;
    }
    objects.push_back(std::move(object));
  }
  return true;
}

}  // namespace handheld::kernel

using namespace handheld::kernel;

HANDHELD_API DWORD WINAPI WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll,
                                                 DWORD milliseconds) {
  if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || !handles) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  std::vector<std::shared_ptr<KernelObject>> objects;
  if (!resolveWaitHandles(std::span(handles, count), objects)) return WAIT_FAILED;
  return waitForObjects(objects, {}, waitAll != FALSE, milliseconds);
}

HANDHELD_API DWORD WINAPI WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  return WaitForMultipleObjects(1, &handle, FALSE, milliseconds);
}
