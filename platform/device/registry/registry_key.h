// One key of the tree: its subkeys in case-insensitive alphabetical order and its values in
// the order they were created. Names compare ignoring case and keep the case first given.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace handheld::device::registry {

struct RegistryValue {
  std::u16string name;  // empty: the key's unnamed (default) value
  DWORD type = REG_NONE;
  std::vector<uint8_t> data;  // exactly as set
};

class RegistryKey {
 public:
  explicit RegistryKey(std::u16string name = {}) : name_(std::move(name)) {}

  const std::u16string& name() const { return name_; }
  std::span<const std::unique_ptr<RegistryKey>> subkeys() const { return subkeys_; }
  std::span<const RegistryValue> values() const { return values_; }

  RegistryKey* findSubkey(std::u16string_view name) const;
  // The caller has checked that no subkey of that name exists.
  RegistryKey& addSubkey(std::u16string name);
  std::unique_ptr<RegistryKey> takeSubkey(std::u16string_view name);

  const RegistryValue* findValue(std::u16string_view name) const;
  RegistryValue* findValue(std::u16string_view name);
  // The caller has checked that no value of that name exists.
  void addValue(RegistryValue value);
  bool eraseValue(std::u16string_view name);

 private:
  std::vector<std::unique_ptr<RegistryKey>>::const_iterator lowerBound(
      std::u16string_view name) const;

  std::u16string name_;
  std::vector<std::unique_ptr<RegistryKey>> subkeys_;
  std::vector<RegistryValue> values_;
};

}  // namespace handheld::device::registry
