#include "registry/registry_store.h"

#include <algorithm>
#include <utility>

#include "registry/key_path.h"

namespace handheld::device::registry {
namespace {

std::size_t keyCost(std::u16string_view name) {
  return kEntryOverhead + name.size() * sizeof(char16_t);
}

std::size_t valueCost(std::u16string_view name, std::size_t dataSize) {
  return kEntryOverhead + name.size() * sizeof(char16_t) + dataSize;
}

std::size_t subtreeCost(const RegistryKey& key) {
  std::size_t cost = keyCost(key.name());
  for (const RegistryValue& value : key.values()) cost += valueCost(value.name, value.data.size());
  for (const auto& subkey : key.subkeys()) cost += subtreeCost(*subkey);
  return cost;
}

std::u16string joinComponents(std::span<const std::u16string_view> components) {
  std::u16string path;
  for (std::u16string_view component : components) path = joinKeyPath(path, component);
  return path;
}

// Whether a name (without its terminator) fits a buffer of `capacity` characters.
bool nameFits(std::size_t length, std::optional<DWORD> capacity) {
  return !capacity || length < *capacity;
}

bool dataFits(std::size_t size, std::optional<DWORD> capacity) {
  return !capacity || size <= *capacity;
}

}  // namespace

bool RegistryChange::touches(Root where, std::u16string_view path) const {
  if (root != where) return false;
  if (!path.empty() && path.front() == u'\\') path.remove_prefix(1);
  if (isSameOrBelow(keyPath, path)) return true;
  return kind == Kind::KeyDeleted && isSameOrBelow(path, keyPath);
}

RegistryStore::RegistryStore(RegistryLimits limits) : limits_(limits) {}

RegistryStore::Found RegistryStore::findKey(Root root, std::u16string_view path) const {
  SplitKeyPath split = splitKeyPath(path, limits_);
  if (split.status != ERROR_SUCCESS) return {split.status, nullptr};
  // The store hands out mutable keys to its own mutating members only.
  auto* key = const_cast<RegistryKey*>(&roots_[rootIndex(root)]);
  for (std::u16string_view component : split.components) {
    key = key->findSubkey(component);
    if (!key) return {ERROR_FILE_NOT_FOUND, nullptr};
  }
  return {ERROR_SUCCESS, key};
}

void RegistryStore::changed(RegistryChange::Kind kind, Root root, std::u16string_view path,
                            std::u16string_view valueName) {
  ++changeCount_;
  if (!listener_) return;
  if (!path.empty() && path.front() == u'\\') path.remove_prefix(1);
  listener_(RegistryChange{kind, root, std::u16string(path), std::u16string(valueName)});
}

CreateKeyResult RegistryStore::createKey(Root root, std::u16string_view path) {
  SplitKeyPath split = splitKeyPath(path, limits_);
  if (split.status != ERROR_SUCCESS) return {split.status, 0};
  RegistryKey* key = &roots_[rootIndex(root)];
  std::size_t existing = 0;
  for (; existing < split.components.size(); ++existing) {
    RegistryKey* next = key->findSubkey(split.components[existing]);
    if (!next) break;
    key = next;
  }
  if (existing == split.components.size()) return {ERROR_SUCCESS, REG_OPENED_EXISTING_KEY};

  std::span<const std::u16string_view> missing(split.components.begin() + existing,
                                                split.components.end());
  std::size_t cost = 0;
  for (std::u16string_view name : missing) cost += keyCost(name);
  if (key->subkeys().size() >= limits_.maxEntriesPerKey ||
      cost > limits_.maxTotalBytes - usedBytes_) {
    return {ERROR_NOT_ENOUGH_MEMORY, 0};
  }
  for (std::u16string_view name : missing) key = &key->addSubkey(std::u16string(name));
  usedBytes_ += cost;
  changed(RegistryChange::Kind::KeyCreated, root, joinComponents(split.components));
  return {ERROR_SUCCESS, REG_CREATED_NEW_KEY};
}

LONG RegistryStore::openKey(Root root, std::u16string_view path) const {
  return findKey(root, path).status;
}

LONG RegistryStore::deleteKey(Root root, std::u16string_view path) {
  SplitKeyPath split = splitKeyPath(path, limits_);
  if (split.status != ERROR_SUCCESS) return split.status;
  if (split.components.empty()) return ERROR_ACCESS_DENIED;
  std::span<const std::u16string_view> all(split.components);
  Found parent = findKey(root, joinComponents(all.first(all.size() - 1)));
  if (parent.status != ERROR_SUCCESS) return parent.status;
  std::unique_ptr<RegistryKey> removed = parent.key->takeSubkey(all.back());
  if (!removed) return ERROR_FILE_NOT_FOUND;
  usedBytes_ -= subtreeCost(*removed);
  changed(RegistryChange::Kind::KeyDeleted, root, joinComponents(all));
  return ERROR_SUCCESS;
}

LONG RegistryStore::setValue(Root root, std::u16string_view path, std::u16string_view name,
                             DWORD type, std::span<const uint8_t> data) {
  if (!isValidValueName(name, limits_)) return ERROR_INVALID_PARAMETER;
  if (type == REG_DWORD && data.size() != sizeof(DWORD)) return ERROR_INVALID_PARAMETER;
  if (data.size() > limits_.maxValueBytes) return ERROR_INVALID_PARAMETER;
  Found found = findKey(root, path);
  if (found.status != ERROR_SUCCESS) return found.status;

  const std::size_t available = limits_.maxTotalBytes - usedBytes_;
  if (RegistryValue* existing = found.key->findValue(name)) {
    const std::size_t oldSize = existing->data.size();
    if (data.size() > oldSize && data.size() - oldSize > available) return ERROR_NOT_ENOUGH_MEMORY;
    existing->type = type;
    existing->data.assign(data.begin(), data.end());
    usedBytes_ = usedBytes_ - oldSize + data.size();
  } else {
    const std::size_t cost = valueCost(name, data.size());
    if (found.key->values().size() >= limits_.maxEntriesPerKey || cost > available) {
      return ERROR_NOT_ENOUGH_MEMORY;
    }
    found.key->addValue({std::u16string(name), type, {data.begin(), data.end()}});
    usedBytes_ += cost;
  }
  changed(RegistryChange::Kind::ValueSet, root, path, name);
  return ERROR_SUCCESS;
}

QueryValueResult RegistryStore::queryValue(Root root, std::u16string_view path,
                                           std::u16string_view name,
                                           std::optional<DWORD> capacity) const {
  Found found = findKey(root, path);
  if (found.status != ERROR_SUCCESS) return {.status = found.status};
  const RegistryValue* value = std::as_const(*found.key).findValue(name);
  if (!value) return {.status = ERROR_FILE_NOT_FOUND};
  QueryValueResult result{.type = value->type, .size = static_cast<DWORD>(value->data.size())};
  if (dataFits(result.size, capacity)) {
    result.data = value->data;
  } else {
    result.status = ERROR_MORE_DATA;
  }
  return result;
}

LONG RegistryStore::deleteValue(Root root, std::u16string_view path, std::u16string_view name) {
  Found found = findKey(root, path);
  if (found.status != ERROR_SUCCESS) return found.status;
  const RegistryValue* value = std::as_const(*found.key).findValue(name);
  if (!value) return ERROR_FILE_NOT_FOUND;
  const std::size_t cost = valueCost(value->name, value->data.size());
  found.key->eraseValue(name);
  usedBytes_ -= cost;
  changed(RegistryChange::Kind::ValueDeleted, root, path, name);
  return ERROR_SUCCESS;
}

EnumKeyResult RegistryStore::enumKey(Root root, std::u16string_view path, DWORD index,
                                     std::optional<DWORD> nameCapacity) const {
  Found found = findKey(root, path);
  if (found.status != ERROR_SUCCESS) return {.status = found.status};
  auto subkeys = found.key->subkeys();
  if (index >= subkeys.size()) return {.status = ERROR_NO_MORE_ITEMS};
  const std::u16string& name = subkeys[index]->name();
  EnumKeyResult result{.nameLength = static_cast<DWORD>(name.size())};
  if (nameFits(name.size(), nameCapacity)) {
    result.name = name;
  } else {
    result.status = ERROR_MORE_DATA;
  }
  return result;
}

EnumValueResult RegistryStore::enumValue(Root root, std::u16string_view path, DWORD index,
                                         std::optional<DWORD> nameCapacity,
                                         std::optional<DWORD> dataCapacity) const {
  Found found = findKey(root, path);
  if (found.status != ERROR_SUCCESS) return {.status = found.status};
  auto values = found.key->values();
  if (index >= values.size()) return {.status = ERROR_NO_MORE_ITEMS};
  const RegistryValue& value = values[index];
  EnumValueResult result{.nameLength = static_cast<DWORD>(value.name.size()),
                         .type = value.type,
                         .size = static_cast<DWORD>(value.data.size())};
  if (!nameFits(value.name.size(), nameCapacity) || !dataFits(result.size, dataCapacity)) {
    result.status = ERROR_MORE_DATA;
    return result;
  }
  result.name = value.name;
  result.data = value.data;
  return result;
}

}  // namespace handheld::device::registry
