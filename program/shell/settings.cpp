// The cached settings of NoteApp. A getter reads its registry value the first time it is
// asked and falls back to the value's default when the value is missing or unreadable; a
// setter writes the registry and the cache together (the cache changes even when the write
// fails).
#include <windows.h>

#include "pinnotes/registry_names.h"
#include "shell/note_app.h"
#include "shell/registry_key.h"

namespace Names = RegistryNames;

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

int NoteApp::cachedSetting(LONG& cache, LPCWSTR name, LONG defaultValue) {
  if (cache == kNotRead) {
    // A stored -1 cannot be told from "not read yet", so it counts as missing.
    const std::optional<DWORD> stored = readSetting(name);
    const LONG value = stored ? static_cast<LONG>(*stored) : kNotRead;
    cache = value == kNotRead ? defaultValue : value;
  }
  return cache;
}

void NoteApp::storeSetting(LONG& cache, LPCWSTR name, LONG value) {
  writeSetting(name, static_cast<DWORD>(value));
  cache = value;
}

int NoteApp::fontSize() { return cachedSetting(fontSize_, Names::kFontSize, 9); }
void NoteApp::setFontSize(int value) { storeSetting(fontSize_, Names::kFontSize, value); }
int NoteApp::menuCount() { return cachedSetting(menuCount_, Names::kMenuCount, 5); }
void NoteApp::setMenuCount(int value) { storeSetting(menuCount_, Names::kMenuCount, value); }
bool NoteApp::notify() { return cachedSetting(notify_, Names::kNotify, 1) != 0; }
void NoteApp::setNotify(int value) { storeSetting(notify_, Names::kNotify, lowByte(value)); }
bool NoteApp::turnOn() { return cachedSetting(turnOn_, Names::kTurnOn, 1) != 0; }
void NoteApp::setTurnOn(int value) { storeSetting(turnOn_, Names::kTurnOn, lowByte(value)); }
bool NoteApp::dontPlay() { return cachedSetting(dontPlay_, Names::kDontPlay, 0) != 0; }
void NoteApp::setDontPlay(int value) { storeSetting(dontPlay_, Names::kDontPlay, lowByte(value)); }
bool NoteApp::playRecording() {
  return cachedSetting(playRecording_, Names::kPlayRecording, 1) != 0;
}
void NoteApp::setPlayRecording(int value) {
  storeSetting(playRecording_, Names::kPlayRecording, lowByte(value));
}
bool NoteApp::playSound() { return cachedSetting(playSound_, Names::kPlaySound, 0) != 0; }
void NoteApp::setPlaySound(int value) {
  storeSetting(playSound_, Names::kPlaySound, lowByte(value));
}
int NoteApp::soundCount() { return cachedSetting(soundCount_, Names::kSoundCount, 1); }
void NoteApp::setSoundCount(int value) { storeSetting(soundCount_, Names::kSoundCount, value); }
bool NoteApp::recordButton() {
  return cachedSetting(recordButton_, Names::kRecordButton, 0) != 0;
}
void NoteApp::setRecordButton(int value) {
  storeSetting(recordButton_, Names::kRecordButton, value);
}
bool NoteApp::autoDelete() { return cachedSetting(autoDelete_, Names::kAutoDelete, 0) != 0; }
void NoteApp::setAutoDelete(int value) { storeSetting(autoDelete_, Names::kAutoDelete, value); }
int NoteApp::mode() { return cachedSetting(mode_, Names::kMode, 0); }
void NoteApp::setMode(int value) { storeSetting(mode_, Names::kMode, value); }
// A missing "Page" means page style 1, although the first run stores 0.
int NoteApp::page() { return cachedSetting(page_, Names::kPage, 1); }
void NoteApp::setPage(int value) { storeSetting(page_, Names::kPage, value); }
int NoteApp::zoom() { return cachedSetting(zoom_, Names::kZoom, 3); }
void NoteApp::setZoom(int value) { storeSetting(zoom_, Names::kZoom, value); }

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
