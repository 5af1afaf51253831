// The process's handle table: every kernel object a HANDLE names (files, finds, events,
// threads, mappings, registry keys, processes, notifications).
#pragma once

#include <windows.h>

#include <memory>

namespace handheld::kernel {

enum class ObjectKind { File, Find, Event, Thread, Mapping, RegistryKey, Process, Notification };

class KernelObject {
 public:
  explicit KernelObject(ObjectKind kind) : kind_(kind) {}
  virtual ~KernelObject() = default;
  KernelObject(const KernelObject&) = delete;
  KernelObject& operator=(const KernelObject&) = delete;

  ObjectKind kind() const { return kind_; }
  // A descriptor that polls readable while the object is signalled; -1 when not waitable.
  virtual int waitFd() const { return -1; }
  // Called by a wait that the descriptor ended, to take the signal (auto-reset events).
  // Returns false when the object is no longer signalled (another waiter took the signal, or
  // it was reset) and the wait must go on.
  virtual bool consumeSignal() { return true; }
  // Gives back a signal consumeSignal took, when a wait for all objects could not take the
  // others' signals as well.
  virtual void restoreSignal() {}

 private:
  ObjectKind kind_;
};

// Inserts an object; the returned handle is never NULL or INVALID_HANDLE_VALUE.
HANDLE insertHandle(std::shared_ptr<KernelObject> object);
// The object a handle names, or null (bad, closed or of another kind: ERROR_INVALID_HANDLE).
std::shared_ptr<KernelObject> lookupHandle(HANDLE handle);
template <class T>
std::shared_ptr<T> lookupHandleAs(HANDLE handle, ObjectKind kind) {
  auto object = lookupHandle(handle);
  if (!object || object->kind() != kind) return nullptr;
  return std::static_pointer_cast<T>(object);
}
// Removes the handle; the object lives on while other holders keep it.
std::shared_ptr<KernelObject> removeHandle(HANDLE handle);

}  // namespace handheld::kernel
