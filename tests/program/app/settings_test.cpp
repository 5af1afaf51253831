// NoteApp's settings against a device registry: the first run, the cache, defaults for
// missing and unreadable values, the Today item's state and the record button lookup.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/note_app.h"
#include "pinnotes/registry_names.h"
#include "support/device_fixture.h"

namespace handheld::testing {
namespace {

namespace Names = RegistryNames;

struct Value {
  std::u16string name;
  DWORD type;
  std::u16string text;  // REG_SZ
  DWORD number;         // REG_DWORD
  bool operator==(const Value&) const = default;
};

Value sz(std::u16string name, std::u16string text) { return {std::move(name), REG_SZ, std::move(text), 0}; }
Value dw(std::u16string name, DWORD number) { return {std::move(name), REG_DWORD, u"", number}; }

std::vector<Value> valuesOf(LPCWSTR keyPath) {
  std::vector<Value> values;
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
  for (DWORD index = 0;; ++index) {
    WCHAR name[MAX_PATH];
    DWORD nameLength = MAX_PATH;
    BYTE data[1024] = {};
    DWORD size = sizeof data;
    DWORD type = 0;
    if (RegEnumValueW(key, index, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
    if (type == REG_DWORD) {
      DWORD number;
      std::memcpy(&number, data, 4);
      values.push_back(dw(name, number));
    } else {
      values.push_back(sz(name, reinterpret_cast<const WCHAR*>(data)));
    }
  }
  RegCloseKey(key);
  return values;
}

class Settings : public DeviceFixture {
 protected:
  static void setDword(LPCWSTR keyPath, LPCWSTR name, DWORD value) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
    RegCloseKey(key);
  }
  static void setString(LPCWSTR keyPath, LPCWSTR name, const std::u16string& text) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * 2));
    RegCloseKey(key);
  }
  static void deleteValue(LPCWSTR keyPath, LPCWSTR name) {
    HKEY key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    RegDeleteValueW(key, name);
    RegCloseKey(key);
  }
  static std::u16string moduleName() {
    WCHAR path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
  }
};

TEST_F(Settings, FirstRunWritesEveryValueWithItsTypeInOrder) {
  NoteApp app;
  const std::u16string folder = u"\\My Documents\\My Pinnotes";
  EXPECT_EQ(std::u16string(app.notesFolder()), folder);
  EXPECT_EQ(std::u16string(app.noteFileExtension()), u".stk");
  EXPECT_NE(GetFileAttributesW(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);

  const std::vector<Value> expected = {
      sz(u"Pinnotes", folder), sz(u"Path", moduleName()), sz(u"Snd", folder + u"\\notify.wav"),
      dw(u"SndCount", 1), dw(u"DontPlay", 0), dw(u"PlayRec", 1), dw(u"PlaySnd", 0), dw(u"TurnOn", 1),
      dw(u"Notify", 1), dw(u"MenuCount", 5), dw(u"FontSize", 9), dw(u"LockPos", 0), dw(u"PosX", 147),
      dw(u"PosY", 5), dw(u"RecBtn", 0), dw(u"AutoDel", 0), dw(u"TitlesCount", 0), dw(u"Mode", 0),
      dw(u"Page", 0), dw(u"Zoom", 3), dw(u"TodayShowToday", 1), dw(u"TodayExpired", 1),
      dw(u"TodayFontSize", 9), dw(u"TodayCount", 4)};
  EXPECT_EQ(valuesOf(Names::kSettingsKey), expected);

  // This test's module name does not end in "Pinnotes.exe": it registers itself.
  const std::vector<Value> today = {sz(u"DLL", moduleName()), dw(u"Flags", 0), dw(u"Options", 1),
                                    dw(u"Enabled", 1), dw(u"Order", 0), dw(u"Type", 4)};
  EXPECT_EQ(valuesOf(Names::kTodayItemKey), today);
  EXPECT_TRUE(NoteApp::todayItemEnabled());
}

TEST_F(Settings, LaterStartsRecordTheFolderAndLeaveTheRestAlone) {
  setDword(Names::kSettingsKey, Names::kNotify, 0);
  setString(Names::kSettingsKey, Names::kNotesFolder, u"\\elsewhere");
  setDword(Names::kTodayItemKey, Names::kTodayEnabled, 2);
  NoteApp app;
  const std::vector<Value> settings = {dw(u"Notify", 0), sz(u"Pinnotes", u"\\My Documents\\My Pinnotes")};
  EXPECT_EQ(valuesOf(Names::kSettingsKey), settings);
  EXPECT_EQ(valuesOf(Names::kTodayItemKey), std::vector<Value>{dw(u"Enabled", 2)});
  EXPECT_FALSE(app.notify());
  EXPECT_FALSE(NoteApp::todayItemEnabled());  // only 1 counts
}

TEST_F(Settings, GettersCacheAndFallBackToTheirDefaults) {
  NoteApp first;
  EXPECT_EQ(first.fontSize(), 9);
  deleteValue(Names::kSettingsKey, Names::kFontSize);
  EXPECT_EQ(first.fontSize(), 9);  // cached
  setDword(Names::kSettingsKey, Names::kFontSize, 14);
  EXPECT_EQ(first.fontSize(), 9);

  deleteValue(Names::kSettingsKey, Names::kPage);
  setDword(Names::kSettingsKey, Names::kSoundCount, 0xFFFFFFFF);
  setString(Names::kSettingsKey, Names::kZoom, u"7");  // wrong type
  setDword(Names::kSettingsKey, Names::kPlaySound, 0x100);
  NoteApp next;
  EXPECT_EQ(next.fontSize(), 14);
  EXPECT_EQ(next.page(), 1);
  EXPECT_EQ(next.soundCount(), 1);
  EXPECT_EQ(next.zoom(), 3);
  EXPECT_TRUE(next.playSound());
  EXPECT_TRUE(next.notify());
  EXPECT_TRUE(next.playRecording());
  EXPECT_TRUE(next.turnOn());
  EXPECT_FALSE(next.dontPlay());
  EXPECT_FALSE(next.recordButton());
  EXPECT_FALSE(next.autoDelete());
  EXPECT_EQ(next.menuCount(), 5);
  EXPECT_EQ(next.mode(), 0);

  // With the key gone, a getter makes it anew and finds nothing in it.
  ASSERT_EQ(ctl("reg delete 'HKLM\\SOFTWARE\\VORLA\\Pinnotes'"), 0);
  EXPECT_EQ(first.page(), 1);
  HKEY key;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, Names::kSettingsKey, 0, KEY_READ, &key), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(valuesOf(Names::kSettingsKey), std::vector<Value>{});
}

// Every value missing after a first run: each getter gives its own default, not what the
// first run wrote (Page differs) and not a neighbour's.
TEST_F(Settings, EveryGetterHasItsDefaultWhenTheValueIsMissing) {
  { NoteApp first; }
  for (LPCWSTR name : {u"SndCount", u"DontPlay", u"PlayRec", u"PlaySnd", u"TurnOn", u"Notify",
                       u"MenuCount", u"FontSize", u"RecBtn", u"AutoDel", u"Mode", u"Page", u"Zoom"}) {
    deleteValue(Names::kSettingsKey, name);
  }
  NoteApp app;
  EXPECT_EQ(app.soundCount(), 1);
  EXPECT_FALSE(app.dontPlay());
  EXPECT_TRUE(app.playRecording());
  EXPECT_FALSE(app.playSound());
  EXPECT_TRUE(app.turnOn());
  EXPECT_TRUE(app.notify());
  EXPECT_EQ(app.menuCount(), 5);
  EXPECT_EQ(app.fontSize(), 9);
  EXPECT_FALSE(app.recordButton());
  EXPECT_FALSE(app.autoDelete());
  EXPECT_EQ(app.mode(), 0);
  EXPECT_EQ(app.page(), 1);
  EXPECT_EQ(app.zoom(), 3);
}

// The on/off settings keep the low byte of what they are given; the others are written whole.
TEST_F(Settings, OnOffSettersKeepTheLowByteAndTheOthersTheWholeValue) {
  NoteApp app;
  app.setNotify(0x101);
  app.setTurnOn(0x100);
  app.setDontPlay(0x1FF);
  app.setPlayRecording(0x200);
  app.setPlaySound(0x102);
  app.setRecordButton(0x100);
  app.setAutoDelete(0x100);
  app.setMode(0x102);
  app.setZoom(0x103);
  app.setSoundCount(0x104);
  app.setMenuCount(0x105);
  const auto values = valuesOf(Names::kSettingsKey);
  for (const Value& expected : {dw(u"Notify", 1), dw(u"TurnOn", 0), dw(u"DontPlay", 0xFF),
                                dw(u"PlayRec", 0), dw(u"PlaySnd", 2), dw(u"RecBtn", 0x100),
                                dw(u"AutoDel", 0x100), dw(u"Mode", 0x102), dw(u"Zoom", 0x103),
                                dw(u"SndCount", 0x104), dw(u"MenuCount", 0x105)}) {
    EXPECT_NE(std::find(values.begin(), values.end(), expected), values.end())
        << std::string(expected.name.begin(), expected.name.end());
  }
  EXPECT_TRUE(app.recordButton());
  EXPECT_FALSE(app.turnOn());
}

TEST_F(Settings, SettersWriteTheRegistryAndTheCache) {
  NoteApp app;
  app.setNotify(0x100);  // only the low byte counts
  app.setFontSize(0x1234);
  app.setPage(0);
  EXPECT_FALSE(app.notify());
  EXPECT_EQ(app.fontSize(), 0x1234);
  EXPECT_EQ(app.page(), 0);
  const auto values = valuesOf(Names::kSettingsKey);
  EXPECT_NE(std::find(values.begin(), values.end(), dw(u"Notify", 0)), values.end());
  EXPECT_NE(std::find(values.begin(), values.end(), dw(u"FontSize", 0x1234)), values.end());

  // The sound path is read anew until it has been set once.
  WCHAR sound[MAX_PATH];
  app.sound(sound, MAX_PATH);
  EXPECT_EQ(std::u16string(sound), u"\\My Documents\\My Pinnotes\\notify.wav");
  setString(Names::kSettingsKey, Names::kSound, u"\\Windows\\alarm.wav");
  app.sound(sound, MAX_PATH);
  EXPECT_EQ(std::u16string(sound), u"\\Windows\\alarm.wav");
  app.setSound(u"\\Mine.wav");
  setString(Names::kSettingsKey, Names::kSound, u"\\Changed.wav");
  app.sound(sound, MAX_PATH);
  EXPECT_EQ(std::u16string(sound), u"\\Mine.wav");
  WCHAR small[4];
  app.sound(small, 4);
  EXPECT_EQ(std::u16string(small), u"\\Mi");
}

TEST_F(Settings, RecordButtonComesFromTheShellsButtonTable) {
  const std::u16string keys = Names::kShellKeysKey;
  {
    NoteApp app;  // the device's own table: "Button 5"
    EXPECT_EQ(app.RecordButtonKey(), 0xC5u);
  }
  setString((keys + u"\\40C5").c_str(), Names::kShellKeyName, u"Camera");
  setString((keys + u"\\40CF").c_str(), Names::kShellKeyName, u"Record");
  {
    NoteApp app;
    EXPECT_EQ(app.RecordButtonKey(), 0xCFu);
    setString((keys + u"\\40CF").c_str(), Names::kShellKeyName, u"Side Button 5");
    EXPECT_EQ(app.RecordButtonKey(), 0xCFu);  // looked up once
  }
  {
    NoteApp app;
    EXPECT_EQ(app.RecordButtonKey(), 0xC1u);
  }
  setString((keys + u"\\40CF").c_str(), Names::kShellKeyName, u"Button 6");
  {
    NoteApp app;  // no button carries a known name
    EXPECT_EQ(app.RecordButtonKey(), 0xC5u);
  }
  ASSERT_EQ(ctl("reg delete 'HKLM\\SOFTWARE\\Microsoft\\Shell\\Keys'"), 0);
  {
    NoteApp app;  // no table at all: unknown, and looked for again next time
    EXPECT_EQ(app.RecordButtonKey(), 0u);
    setString((keys + u"\\40C3").c_str(), Names::kShellKeyName, u"Record");
    EXPECT_EQ(app.RecordButtonKey(), 0xCFu);
  }
}

}  // namespace
}  // namespace handheld::testing
