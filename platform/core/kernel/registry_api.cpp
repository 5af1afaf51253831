// The registry functions: keys are kept client-side as root + path; every operation asks the
// device server, which holds the one registry of the device.
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>

#include "ipc/client.h"
#include "kernel/handles.h"

using namespace handheld;

namespace {

class RegistryKeyObject : public kernel::KernelObject {
 public:
  RegistryKeyObject(uint32_t keyRoot, std::u16string keyPath)
      : KernelObject(kernel::ObjectKind::RegistryKey), root(keyRoot), path(std::move(keyPath)) {}
  uint32_t root;
  std::u16string path;
};

struct KeyName {
  uint32_t root = 0;
  std::u16string path;
};

bool isPredefined(HKEY key) {
  auto value = reinterpret_cast<uintptr_t>(key);
  return value >= 0x80000000u && value <= 0x80000003u;
}

// The root and full path of `key` followed by `subKey` (which may start with a backslash).
std::optional<KeyName> resolve(HKEY key, LPCWSTR subKey) {
  KeyName name;
  if (isPredefined(key)) {
    name.root = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(key));
  } else {
    auto object = kernel::lookupHandleAs<RegistryKeyObject>(key, kernel::ObjectKind::RegistryKey);
    if (!object) return std::nullopt;
    name.root = object->root;
    name.path = object->path;
  }
  if (subKey && *subKey) {
    std::u16string_view sub(subKey);
    if (!name.path.empty()) name.path += u'\\';
    if (!name.path.empty() && sub.front() == u'\\') sub.remove_prefix(1);
    name.path += sub;
  }
  return name;
}

HKEY insertKey(const KeyName& name) {
  return static_cast<HKEY>(kernel::insertHandle(std::make_shared<RegistryKeyObject>(name.root, name.path)));
}

std::u16string valueName(LPCWSTR name) { return name ? std::u16string(name) : std::u16string(); }

LONG openOrCreate(HKEY key, LPCWSTR subKey, bool create, PHKEY result, LPDWORD disposition) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  auto name = resolve(key, subKey);
  if (!name) return ERROR_INVALID_HANDLE;
  auto reply = ipc::DeviceClient::get().call<ipc::RegistryCreateKey>({name->root, name->path, create});
  if (!reply) return ERROR_INVALID_PARAMETER;
  if (reply->error != ERROR_SUCCESS) return static_cast<LONG>(reply->error);
  if (disposition) *disposition = reply->disposition;
  *result = insertKey(*name);
  return ERROR_SUCCESS;
}

// Copies a name into a caller's buffer whose size counts characters with the terminator.
LONG copyName(const std::u16string& name, LPWSTR buffer, LPDWORD length) {
  if (!buffer || !length) return ERROR_INVALID_PARAMETER;
  if (name.size() + 1 > *length) {
    *length = static_cast<DWORD>(name.size() + 1);
    return ERROR_MORE_DATA;
  }
  std::memcpy(buffer, name.data(), name.size() * sizeof(WCHAR));
  buffer[name.size()] = 0;
  *length = static_cast<DWORD>(name.size());
  return ERROR_SUCCESS;
}

// Hands value data to a caller as the platform does: no buffer asks for the size only; a
// buffer too small gets ERROR_MORE_DATA and the size needed.
LONG copyData(const ipc::Bytes& data, LPBYTE buffer, LPDWORD size) {
  if (!size) return buffer ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS;
  if (!buffer) {
    *size = static_cast<DWORD>(data.size());
    return ERROR_SUCCESS;
  }
  if (data.size() > *size) {
    *size = static_cast<DWORD>(data.size());
    return ERROR_MORE_DATA;
  }
  if (!data.empty()) std::memcpy(buffer, data.data(), data.size());
  *size = static_cast<DWORD>(data.size());
  return ERROR_SUCCESS;
}

}  // namespace

HANDHELD_API LONG WINAPI RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD, LPWSTR, DWORD, REGSAM,
                                         LPSECURITY_ATTRIBUTES, PHKEY result, LPDWORD disposition) {
  return openOrCreate(key, subKey, true, result, disposition);
}

HANDHELD_API LONG WINAPI RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD, REGSAM, PHKEY result) {
  return openOrCreate(key, subKey, false, result, nullptr);
}

HANDHELD_API LONG WINAPI RegCloseKey(HKEY key) {
  if (isPredefined(key)) return ERROR_SUCCESS;
  if (!kernel::lookupHandleAs<RegistryKeyObject>(key, kernel::ObjectKind::RegistryKey))
    return ERROR_INVALID_HANDLE;
  kernel::removeHandle(key);
  return ERROR_SUCCESS;
}

HANDHELD_API LONG WINAPI RegQueryValueExW(HKEY key, LPCWSTR name, LPDWORD, LPDWORD type, LPBYTE data,
                                          LPDWORD dataSize) {
  if (data && !dataSize) return ERROR_INVALID_PARAMETER;
  auto k = resolve(key, nullptr);
  if (!k) return ERROR_INVALID_HANDLE;
  auto reply = ipc::DeviceClient::get().call<ipc::RegistryQuery>({k->root, k->path, valueName(name)});
  if (!reply) return ERROR_INVALID_PARAMETER;
  if (reply->error != ERROR_SUCCESS) return static_cast<LONG>(reply->error);
  if (type) *type = reply->type;
  return copyData(reply->data, data, dataSize);
}

HANDHELD_API LONG WINAPI RegSetValueExW(HKEY key, LPCWSTR name, DWORD, DWORD type, const BYTE* data,
                                        DWORD dataSize) {
  if (!data && dataSize) return ERROR_INVALID_PARAMETER;
  auto k = resolve(key, nullptr);
  if (!k) return ERROR_INVALID_HANDLE;
  ipc::Bytes bytes(data, data + (data ? dataSize : 0));
  auto reply = ipc::DeviceClient::get().call<ipc::RegistrySet>({k->root, k->path, valueName(name), type, bytes});
  return reply ? static_cast<LONG>(reply->error) : ERROR_INVALID_PARAMETER;
}

HANDHELD_API LONG WINAPI RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength,
                                       LPDWORD, LPWSTR keyClass, LPDWORD classLength,
                                       PFILETIME lastWriteTime) {
  auto k = resolve(key, nullptr);
  if (!k) return ERROR_INVALID_HANDLE;
  auto reply = ipc::DeviceClient::get().call<ipc::RegistryEnumKey>({k->root, k->path, index});
  if (!reply) return ERROR_INVALID_PARAMETER;
  if (reply->error != ERROR_SUCCESS) return static_cast<LONG>(reply->error);
  if (keyClass && classLength && *classLength) keyClass[0] = 0;
  if (classLength) *classLength = 0;
  if (lastWriteTime) *lastWriteTime = FILETIME{0, 0};
  return copyName(reply->name, name, nameLength);
}

HANDHELD_API LONG WINAPI RegEnumValueW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength,
                                       LPDWORD, LPDWORD type, LPBYTE data, LPDWORD dataSize) {
  auto k = resolve(key, nullptr);
  if (!k) return ERROR_INVALID_HANDLE;
  auto reply = ipc::DeviceClient::get().call<ipc::RegistryEnumValue>({k->root, k->path, index});
  if (!reply) return ERROR_INVALID_PARAMETER;
  if (reply->error != ERROR_SUCCESS) return static_cast<LONG>(reply->error);
  if (LONG status = copyName(reply->name, name, nameLength); status != ERROR_SUCCESS) return status;
  if (type) *type = reply->type;
  return copyData(reply->data, data, dataSize);
}

HANDHELD_API LONG WINAPI RegDeleteValueW(HKEY key, LPCWSTR name) {
  auto k = resolve(key, nullptr);
  if (!k) return ERROR_INVALID_HANDLE;
  auto reply = ipc::DeviceClient::get().call<ipc::RegistryDeleteValue>({k->root, k->path, valueName(name)});
  return reply ? static_cast<LONG>(reply->error) : ERROR_INVALID_PARAMETER;
}

HANDHELD_API LONG WINAPI RegDeleteKeyW(HKEY key, LPCWSTR subKey) {
  if (!subKey || !*subKey) return ERROR_INVALID_PARAMETER;  // never the key itself or a root
  auto k = resolve(key, subKey);
  if (!k) return ERROR_INVALID_HANDLE;
  auto reply = ipc::DeviceClient::get().call<ipc::RegistryDeleteKey>({k->root, k->path});
  return reply ? static_cast<LONG>(reply->error) : ERROR_INVALID_PARAMETER;
}

// The device saves its registry shortly after every change; this writes it before returning,
// and says so when the disk refuses (e.g. ERROR_DISK_FULL).
HANDHELD_API LONG WINAPI RegFlushKey(HKEY key) {
  if (!isPredefined(key) && !kernel::lookupHandle(key)) return ERROR_INVALID_HANDLE;
  auto reply = ipc::DeviceClient::get().call<ipc::RegistryFlush>({});
  return reply ? static_cast<LONG>(reply->error) : ERROR_INVALID_PARAMETER;
}
