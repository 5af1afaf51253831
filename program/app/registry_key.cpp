#include "app/registry_key.h"

RegistryKey RegistryKey::createOrOpen(LPCWSTR path) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, REG_OPTION_NON_VOLATILE, kReadWrite,
                      nullptr, &key, &disposition) != ERROR_SUCCESS) {
    return RegistryKey(nullptr, false);
  }
  return RegistryKey(key, disposition == REG_CREATED_NEW_KEY);
}

RegistryKey RegistryKey::open(LPCWSTR path, REGSAM access) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, access, &key) != ERROR_SUCCESS) key = nullptr;
  return RegistryKey(key, false);
}

RegistryKey::RegistryKey(RegistryKey&& other) noexcept
    : key_(other.key_), newlyCreated_(other.newlyCreated_) {
  other.key_ = nullptr;
}

RegistryKey::~RegistryKey() {
  if (key_) RegCloseKey(key_);
}

std::optional<DWORD> RegistryKey::queryDword(LPCWSTR name) const {
  DWORD value = 0;
  DWORD type = REG_NONE;
  DWORD size = sizeof(value);
  if (!key_ ||
      RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof(value)) {
    return std::nullopt;
  }
  return value;
}

bool RegistryKey::hasValue(LPCWSTR name) const {
  return key_ && RegQueryValueExW(key_, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool RegistryKey::queryString(LPCWSTR name, WCHAR* text, DWORD capacity) const {
  if (capacity == 0) return false;
  text[0] = 0;
  DWORD type = REG_NONE;
  DWORD size = capacity * sizeof(WCHAR);
  if (!key_ ||
      RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ) {
    text[0] = 0;
    return false;
  }
  // The stored text need not carry its terminator.
  const DWORD units = size / sizeof(WCHAR);
  text[units < capacity ? units : capacity - 1] = 0;
  return true;
}

LONG RegistryKey::setDword(LPCWSTR name, DWORD value) const {
  if (!key_) return ERROR_INVALID_HANDLE;
  return RegSetValueExW(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                        sizeof(value));
}

LONG RegistryKey::setString(LPCWSTR name, LPCWSTR text) const {
  if (!key_) return ERROR_INVALID_HANDLE;
  const DWORD bytes = static_cast<DWORD>((lstrlenW(text) + 1) * sizeof(WCHAR));
  return RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
}
