// Owners of the platform's kernel and search handles, closed when they go out of scope. Both
// "no handle" spellings count as none: null (events, mappings) and INVALID_HANDLE_VALUE
// (files, searches).
#pragma once

#include <windows.h>

#include <utility>

template <BOOL(WINAPI* Close)(HANDLE)>
class BasicUniqueHandle {
 public:
  BasicUniqueHandle() = default;
  explicit BasicUniqueHandle(HANDLE handle) : handle_(handle) {}
  BasicUniqueHandle(BasicUniqueHandle&& other) noexcept : handle_(other.release()) {}
  BasicUniqueHandle& operator=(BasicUniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  BasicUniqueHandle(const BasicUniqueHandle&) = delete;
  BasicUniqueHandle& operator=(const BasicUniqueHandle&) = delete;
  ~BasicUniqueHandle() { reset(); }

  bool isOpen() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  HANDLE release() { return std::exchange(handle_, nullptr); }
  void reset(HANDLE handle = nullptr) {
    if (isOpen()) Close(handle_);
    handle_ = handle;
  }

 private:
  HANDLE handle_ = nullptr;
};

using UniqueHandle = BasicUniqueHandle<CloseHandle>;
using UniqueFindHandle = BasicUniqueHandle<FindClose>;
