#include "notewindow/title_list.h"

#include <algorithm>

#include "app/registry_key.h"
#include "pinnotes/registry_names.h"

namespace {

std::u16string titleValueName(int index) {
  std::u16string name = u"Title";
  for (char digit : std::to_string(index)) name.push_back(static_cast<char16_t>(digit));
  return name;
}

}  // namespace

TitleList::TitleList() { load(); }

bool TitleList::isReserved(LPCWSTR text) { return !text || !*text || lstrcmpW(text, kNoTitle) == 0; }

void TitleList::addUnique(LPCWSTR text) {
  if (isReserved(text)) return;
  if (std::find(titles_.begin(), titles_.end(), text) != titles_.end()) return;
  append(text);
}

void TitleList::moveToFront(LPCWSTR text) {
  if (isReserved(text)) return;
  auto found = std::find(titles_.begin(), titles_.end(), text);
  if (found == titles_.end()) {
    append(text);
    found = titles_.end() - 1;
  }
  std::rotate(titles_.begin(), found, found + 1);
}

void TitleList::getAt(int index, WCHAR* buffer) const {
  if (index < 0 || index >= count()) return;
  lstrcpynW(buffer, titles_[static_cast<size_t>(index)].c_str(), static_cast<int>(kTitleCapacity));
}

void TitleList::load() {
  clear();
  RegistryKey key = RegistryKey::createOrOpen(RegistryNames::kSettingsKey);
  if (!key.isOpen() || key.newlyCreated()) return;
  const DWORD stored = key.queryDword(RegistryNames::kTitlesCount).value_or(0);
  for (DWORD index = 0; index < stored; ++index) {
    const std::u16string name = titleValueName(static_cast<int>(index));
    if (!key.hasValue(name.c_str())) break;
    WCHAR text[kTitleCapacity];
    if (key.queryString(name.c_str(), text, kTitleCapacity)) append(text);
  }
}

void TitleList::save() const {
  RegistryKey key = RegistryKey::createOrOpen(RegistryNames::kSettingsKey);
  if (!key.isOpen()) return;
  key.setDword(RegistryNames::kTitlesCount, static_cast<DWORD>(titles_.size()));
  for (size_t index = 0; index < titles_.size(); ++index) {
    key.setString(titleValueName(static_cast<int>(index)).c_str(), titles_[index].c_str());
  }
}
