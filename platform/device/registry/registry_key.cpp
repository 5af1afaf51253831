#include "registry/registry_key.h"

#include <algorithm>
#include <utility>

#include "strings/case_fold.h"

namespace handheld::device::registry {

std::vector<std::unique_ptr<RegistryKey>>::const_iterator RegistryKey::lowerBound(
    std::u16string_view name) const {
  return std::lower_bound(subkeys_.begin(), subkeys_.end(), name,
                          [](const std::unique_ptr<RegistryKey>& key, std::u16string_view wanted) {
                            return strings::compareNoCase(key->name(), wanted) < 0;
                          });
}

RegistryKey* RegistryKey::findSubkey(std::u16string_view name) const {
  auto it = lowerBound(name);
  if (it == subkeys_.end() || !strings::equalNoCase((*it)->name(), name)) return nullptr;
  return it->get();
}

RegistryKey& RegistryKey::addSubkey(std::u16string name) {
  auto it = lowerBound(name);
  return **subkeys_.insert(it, std::make_unique<RegistryKey>(std::move(name)));
}

std::unique_ptr<RegistryKey> RegistryKey::takeSubkey(std::u16string_view name) {
  auto it = lowerBound(name);
  if (it == subkeys_.end() || !strings::equalNoCase((*it)->name(), name)) return nullptr;
  auto mutableIt = subkeys_.begin() + (it - subkeys_.cbegin());
  std::unique_ptr<RegistryKey> taken = std::move(*mutableIt);
  subkeys_.erase(mutableIt);
  return taken;
}

const RegistryValue* RegistryKey::findValue(std::u16string_view name) const {
  auto it = std::ranges::find_if(values_, [name](const RegistryValue& value) {
    return strings::equalNoCase(value.name, name);
  });
  return it == values_.end() ? nullptr : &*it;
}

RegistryValue* RegistryKey::findValue(std::u16string_view name) {
  return const_cast<RegistryValue*>(std::as_const(*this).findValue(name));
}

void RegistryKey::addValue(RegistryValue value) { values_.push_back(std::move(value)); }

bool RegistryKey::eraseValue(std::u16string_view name) {
  return std::erase_if(values_, [name](const RegistryValue& value) {
           return strings::equalNoCase(value.name, name);
         }) > 0;
}

}  // namespace handheld::device::registry
