// The outcome of a device file system operation: a value, or the platform error code that
// the API reports through SetLastError.
#pragma once

#include <windows.h>

#include <utility>
#include <variant>

namespace handheld::fs {

struct Error {
  DWORD code;
};

template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::move(value)) {}
  Result(Error error) : state_(error) {}

  explicit operator bool() const { return std::holds_alternative<T>(state_); }
  DWORD error() const { return std::get<Error>(state_).code; }
  T& operator*() { return std::get<T>(state_); }
  const T& operator*() const { return std::get<T>(state_); }
  T* operator->() { return &std::get<T>(state_); }
  const T* operator->() const { return &std::get<T>(state_); }

 private:
  std::variant<T, Error> state_;
};

}  // namespace handheld::fs
