// A key of HKEY_LOCAL_MACHINE, closed when it goes out of scope, with the value reads and
// writes the settings need. Reads never trust what they find: a value of another type or
// size counts as missing, and a string is always terminated within its buffer.
#pragma once

#include <windows.h>

#include <optional>

class RegistryKey {
 public:
  // Read and write access, as every settings key is opened.
  static constexpr REGSAM kReadWrite = KEY_READ | KEY_WRITE;

  // Opens the key, creating it when it is missing; newlyCreated() tells which happened.
  static RegistryKey createOrOpen(LPCWSTR path);
  static RegistryKey open(LPCWSTR path, REGSAM access);

  RegistryKey(RegistryKey&& other) noexcept;
  RegistryKey& operator=(RegistryKey&&) = delete;
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  ~RegistryKey();

  bool isOpen() const { return key_ != nullptr; }
  bool newlyCreated() const { return newlyCreated_; }
  HKEY get() const { return key_; }

  // Whether the key holds a value of that name, of any type and size.
  bool hasValue(LPCWSTR name) const;
  std::optional<DWORD> queryDword(LPCWSTR name) const;
  // Reads a string into `text` (capacity in characters); empty and false when it is missing.
  bool queryString(LPCWSTR name, WCHAR* text, DWORD capacity) const;
  LONG setDword(LPCWSTR name, DWORD value) const;
  LONG setString(LPCWSTR name, LPCWSTR text) const;

 private:
  RegistryKey(HKEY key, bool newlyCreated) : key_(key), newlyCreated_(newlyCreated) {}

  HKEY key_;
  bool newlyCreated_;
};
