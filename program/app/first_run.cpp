// The settings a first start writes, and the Today item's registration with the shell.
#include <windows.h>

#include <string>

#include "app/note_app.h"
#include "app/registry_key.h"
#include "pinnotes/registry_names.h"
#include "pinnotes/settings_table.h"

namespace Names = RegistryNames;

namespace {

struct FirstRunValue {
  LPCWSTR name;
  DWORD value;
};

constexpr FirstRunValue kTodayItemValues[] = {
    {Names::kTodayFlags, 0}, {Names::kTodayOptions, 1}, {Names::kTodayEnabled, 1},
    {Names::kTodayOrder, 0}, {Names::kTodayType, 4},
};

constexpr std::u16string_view kProgramFile = u"Pinnotes.exe";
constexpr std::u16string_view kTodayLibraryFile = u"VPinnotes.dll";

std::u16string moduleFileName() {
  WCHAR path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

// The Today item library lies beside the program: its path is the program's with the file
// name exchanged. A program under another name registers its own path.
std::u16string todayLibraryPath() {
  std::u16string path = moduleFileName();
  if (path.size() > kProgramFile.size() && path.ends_with(kProgramFile)) {
    path.replace(path.size() - kProgramFile.size(), kProgramFile.size(), kTodayLibraryFile);
  }
  return path;
}

void writeValues(const RegistryKey& key, const auto& values) {
  for (const FirstRunValue& entry : values) key.setDword(entry.name, entry.value);
}

void writeSettings(const RegistryKey& key) {
  for (const SettingsTable::DwordSetting& setting : SettingsTable::kFirstRunOrder) {
    key.setDword(setting.name, setting.firstRunValue);
  }
}

bool writeSettingsOnFirstRun(LPCWSTR notesFolder) {
  if (RegistryKey existing = RegistryKey::open(Names::kSettingsKey, RegistryKey::kReadWrite);
      existing.isOpen()) {
    // The notes folder is recorded anew at every start for the Today item.
    existing.setString(Names::kNotesFolder, notesFolder);
    return true;
  }
  RegistryKey key = RegistryKey::createOrOpen(Names::kSettingsKey);
  if (!key.isOpen()) return false;
  key.setString(Names::kNotesFolder, notesFolder);
  key.setString(Names::kProgramPath, moduleFileName().c_str());
  const std::u16string sound = std::u16string(notesFolder) + u"\\notify.wav";
  key.setString(Names::kSound, sound.c_str());
  writeSettings(key);
  return true;
}

void registerTodayItem() {
  // A registration that exists, also one the user changed, stays as it is.
  if (RegistryKey::open(Names::kTodayItemKeyForCreate, KEY_ALL_ACCESS).isOpen()) return;
  RegistryKey key = RegistryKey::createOrOpen(Names::kTodayItemKeyForCreate);
  if (!key.isOpen()) return;
  key.setString(Names::kTodayLibrary, todayLibraryPath().c_str());
  writeValues(key, kTodayItemValues);
}

}  // namespace

void NoteApp::initialiseSettingsOnFirstRun() const {
  if (writeSettingsOnFirstRun(notesFolder_)) registerTodayItem();
}
