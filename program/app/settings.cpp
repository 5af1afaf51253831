// The cached settings of NoteApp. A getter reads its registry value the first time it is
// asked and falls back to the value's default when the value is missing or unreadable; a
// setter writes the registry and the cache together (the cache changes even when the write
// fails).
#include <windows.h>

#include "app/note_app.h"
#include "app/registry_key.h"
#include "pinnotes/registry_names.h"
#include "pinnotes/settings_table.h"

namespace Names = RegistryNames;
namespace Table = SettingsTable;

namespace {

// Reading creates the settings key when it is missing; a key made just now holds nothing.
std::optional<DWORD> readSetting(LPCWSTR name) {
  RegistryKey key = RegistryKey::createOrOpen(Names::kSettingsKey);
  if (!key.isOpen() || key.newlyCreated()) return std::nullopt;
  return key.queryDword(name);
}

void writeSetting(LPCWSTR name, DWORD value) {
  RegistryKey::createOrOpen(Names::kSettingsKey).setDword(name, value);
}

// The on/off settings keep only the low byte of what they are given.
LONG lowByte(int value) { return static_cast<LONG>(value & 0xFF); }

}  // namespace

int NoteApp::cachedSetting(LONG& cache, const SettingsTable::DwordSetting& setting) {
  if (cache == kNotRead) {
    // A stored -1 cannot be told from "not read yet", so it counts as missing.
    const std::optional<DWORD> stored = readSetting(setting.name);
    const LONG value = stored ? static_cast<LONG>(*stored) : kNotRead;
    cache = value == kNotRead ? setting.whenMissing.value_or(0) : value;
  }
  return cache;
}

void NoteApp::storeSetting(LONG& cache, const SettingsTable::DwordSetting& setting, LONG value) {
  writeSetting(setting.name, static_cast<DWORD>(value));
  cache = value;
}

int NoteApp::fontSize() { return cachedSetting(fontSize_, Table::kFontSize); }
void NoteApp::setFontSize(int value) { storeSetting(fontSize_, Table::kFontSize, value); }
int NoteApp::menuCount() { return cachedSetting(menuCount_, Table::kMenuCount); }
void NoteApp::setMenuCount(int value) { storeSetting(menuCount_, Table::kMenuCount, value); }
bool NoteApp::notify() { return cachedSetting(notify_, Table::kNotify) != 0; }
void NoteApp::setNotify(int value) { storeSetting(notify_, Table::kNotify, lowByte(value)); }
bool NoteApp::turnOn() { return cachedSetting(turnOn_, Table::kTurnOn) != 0; }
void NoteApp::setTurnOn(int value) { storeSetting(turnOn_, Table::kTurnOn, lowByte(value)); }
bool NoteApp::dontPlay() { return cachedSetting(dontPlay_, Table::kDontPlay) != 0; }
void NoteApp::setDontPlay(int value) { storeSetting(dontPlay_, Table::kDontPlay, lowByte(value)); }
bool NoteApp::playRecording() {
  return cachedSetting(playRecording_, Table::kPlayRecording) != 0;
}
void NoteApp::setPlayRecording(int value) {
  storeSetting(playRecording_, Table::kPlayRecording, lowByte(value));
}
bool NoteApp::playSound() { return cachedSetting(playSound_, Table::kPlaySound) != 0; }
void NoteApp::setPlaySound(int value) {
  storeSetting(playSound_, Table::kPlaySound, lowByte(value));
}
int NoteApp::soundCount() { return cachedSetting(soundCount_, Table::kSoundCount); }
void NoteApp::setSoundCount(int value) { storeSetting(soundCount_, Table::kSoundCount, value); }
bool NoteApp::recordButton() {
  return cachedSetting(recordButton_, Table::kRecordButton) != 0;
}
void NoteApp::setRecordButton(int value) {
  storeSetting(recordButton_, Table::kRecordButton, value);
}
bool NoteApp::autoDelete() { return cachedSetting(autoDelete_, Table::kAutoDelete) != 0; }
void NoteApp::setAutoDelete(int value) { storeSetting(autoDelete_, Table::kAutoDelete, value); }
int NoteApp::mode() { return cachedSetting(mode_, Table::kMode); }
void NoteApp::setMode(int value) { storeSetting(mode_, Table::kMode, value); }
int NoteApp::page() { return cachedSetting(page_, Table::kPage); }
void NoteApp::setPage(int value) { storeSetting(page_, Table::kPage, value); }
int NoteApp::zoom() { return cachedSetting(zoom_, Table::kZoom); }
void NoteApp::setZoom(int value) { storeSetting(zoom_, Table::kZoom, value); }

void NoteApp::sound(LPWSTR path, int capacity) const {
  if (capacity <= 0) return;
  if (lstrcmpW(sound_, kSoundNotSet) != 0) {
    lstrcpynW(path, sound_, capacity);
    return;
  }
  // Until a setter fills the cache, every call reads the registry.
  RegistryKey key = RegistryKey::createOrOpen(Names::kSettingsKey);
  if (!key.isOpen() || key.newlyCreated()) {
    path[0] = 0;
    return;
  }
  key.queryString(Names::kSound, path, static_cast<DWORD>(capacity));
}

void NoteApp::setSound(LPCWSTR path) {
  RegistryKey::createOrOpen(Names::kSettingsKey).setString(Names::kSound, path);
  lstrcpynW(sound_, path, MAX_PATH);
}
