// The device's registry: four roots of keys and values, with the platform's semantics for
// creating, opening, querying, setting, enumerating and deleting. Keys are addressed by a
// root and a path (see key_path.h); the caller keeps its own handle-to-path table.
//
// Answers are raw: type, bytes exactly as set, and sizes. Checking a query's expected type,
// terminating strings and the like is the client's job.
//
// Not thread-safe: one owner (the server's loop) calls it.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "registry/registry_key.h"
#include "registry/registry_limits.h"
#include "registry/registry_root.h"

namespace handheld::device::registry {

struct CreateKeyResult {
  LONG status = ERROR_SUCCESS;
  DWORD disposition = 0;  // REG_CREATED_NEW_KEY or REG_OPENED_EXISTING_KEY on success
};

struct QueryValueResult {
  LONG status = ERROR_SUCCESS;
  DWORD type = REG_NONE;        // set on success and on ERROR_MORE_DATA
  DWORD size = 0;               // bytes the data needs; set on success and on ERROR_MORE_DATA
  std::vector<uint8_t> data{};  // filled on success
};

struct EnumKeyResult {
  LONG status = ERROR_SUCCESS;
  DWORD nameLength = 0;   // characters, terminator excluded; set on success and ERROR_MORE_DATA
  std::u16string name{};  // filled on success
};

struct EnumValueResult {
  LONG status = ERROR_SUCCESS;
  DWORD nameLength = 0;  // as EnumKeyResult
  DWORD type = REG_NONE;
  DWORD size = 0;
  std::u16string name{};        // filled on success
  std::vector<uint8_t> data{};  // filled on success
};

// One successful change. keyPath is the path as the caller gave it, without a leading
// backslash; valueName is set for value changes.
struct RegistryChange {
  enum class Kind { KeyCreated, KeyDeleted, ValueSet, ValueDeleted };
  Kind kind;
  Root root;
  std::u16string keyPath;
  std::u16string valueName;

  // True when the change may alter what is under `path`: a change at or below it, or the
  // deletion of a key above it. The server uses this to refresh mirrored device settings.
  bool touches(Root where, std::u16string_view path) const;
};

using ChangeListener = std::function<void(const RegistryChange&)>;

class RegistryStore {
 public:
  explicit RegistryStore(RegistryLimits limits = {});

  // Creates the key and any missing keys above it. ERROR_INVALID_PARAMETER for a bad path,
  // ERROR_NOT_ENOUGH_MEMORY when a budget would be exceeded (nothing is created then).
  CreateKeyResult createKey(Root root, std::u16string_view path);
  // ERROR_SUCCESS or ERROR_FILE_NOT_FOUND (or ERROR_INVALID_PARAMETER for a bad path).
  LONG openKey(Root root, std::u16string_view path) const;
  // Deletes the key with all its values and subkeys, as RegDeleteKey on the device does.
  // A root cannot be deleted (ERROR_ACCESS_DENIED).
  LONG deleteKey(Root root, std::u16string_view path);

  // REG_DWORD data must be 4 bytes and no value may exceed maxValueBytes
  // (ERROR_INVALID_PARAMETER); any other type is stored as given. Replacing a value keeps
  // its place in the enumeration order and the case of its name.
  LONG setValue(Root root, std::u16string_view path, std::u16string_view name, DWORD type,
                std::span<const uint8_t> data);
  // A capacity is the size of the caller's buffer; none means any size. Data larger than the
  // capacity gives ERROR_MORE_DATA with the size needed.
  QueryValueResult queryValue(Root root, std::u16string_view path, std::u16string_view name,
                              std::optional<DWORD> capacity = std::nullopt) const;
  LONG deleteValue(Root root, std::u16string_view path, std::u16string_view name);

  // Name capacities count characters including the terminator, as the platform's name
  // buffers do. Past the last entry: ERROR_NO_MORE_ITEMS. A name or data that does not fit:
  // ERROR_MORE_DATA.
  EnumKeyResult enumKey(Root root, std::u16string_view path, DWORD index,
                        std::optional<DWORD> nameCapacity = std::nullopt) const;
  EnumValueResult enumValue(Root root, std::u16string_view path, DWORD index,
                            std::optional<DWORD> nameCapacity = std::nullopt,
                            std::optional<DWORD> dataCapacity = std::nullopt) const;

  // Read access to the tree (the hive writer walks it).
  const RegistryKey& rootKey(Root root) const { return roots_[rootIndex(root)]; }
  const RegistryLimits& limits() const { return limits_; }
  std::size_t usedBytes() const { return usedBytes_; }

  // Counts successful changes; the server saves when it differs from the count it saved at.
  uint64_t changeCount() const { return changeCount_; }
  // Called after every successful change, once the store is consistent again.
  void setChangeListener(ChangeListener listener) { listener_ = std::move(listener); }

 private:
  struct Found {
    LONG status = ERROR_SUCCESS;
    RegistryKey* key = nullptr;
  };
  Found findKey(Root root, std::u16string_view path) const;
  void changed(RegistryChange::Kind kind, Root root, std::u16string_view path,
               std::u16string_view valueName = {});

  RegistryLimits limits_;
  std::array<RegistryKey, kAllRoots.size()> roots_;
  std::size_t usedBytes_ = 0;
  uint64_t changeCount_ = 0;
  ChangeListener listener_;
};

}  // namespace handheld::device::registry
