// Finding the hardware record button in the shell's button table, and the Today item's
// enabled state.
#include <windows.h>

#include "app/note_app.h"
#include "app/registry_key.h"
#include "pinnotes/registry_names.h"

namespace Names = RegistryNames;

namespace {

constexpr DWORD kSideButton5Key = 0xC1;
constexpr DWORD kButton5Key = 0xC5;
constexpr DWORD kRecordKey = 0xCF;

// The key code a button's "Name" stands for, or 0.
DWORD keyForButtonName(LPCWSTR name) {
  if (lstrcmpW(name, u"Side Button 5") == 0) return kSideButton5Key;
  if (lstrcmpW(name, u"Button 5") == 0) return kButton5Key;
  if (lstrcmpW(name, u"Record") == 0) return kRecordKey;
  return 0;
}

// 0 when the table cannot be opened, so that the next call looks again.
DWORD lookUpRecordButtonKey() {
  const RegistryKey keys = RegistryKey::open(Names::kShellKeysKey, KEY_READ);
  if (!keys.isOpen()) return 0;
  DWORD found = 0;
  for (DWORD index = 0; found == 0; ++index) {
    WCHAR subKey[MAX_PATH];
    DWORD length = MAX_PATH;
    if (RegEnumKeyExW(keys.get(), index, subKey, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    WCHAR path[2 * MAX_PATH];
    wsprintfW(path, u"%s\\%s", Names::kShellKeysKey, subKey);
    const RegistryKey button = RegistryKey::open(path, KEY_READ);
    WCHAR name[MAX_PATH];
    if (button.queryString(Names::kShellKeyName, name, MAX_PATH)) found = keyForButtonName(name);
  }
  // A device whose table names no record button has it on the fifth button.
  return found != 0 ? found : kButton5Key;
}

}  // namespace

DWORD NoteApp::RecordButtonKey() {
  if (recordButtonKey_ == 0) recordButtonKey_ = lookUpRecordButtonKey();
  return recordButtonKey_;
}

bool NoteApp::todayItemEnabled() {
  // Only looks: a missing registration is not created here.
  const RegistryKey key = RegistryKey::open(Names::kTodayItemKey, KEY_READ);
  const std::optional<DWORD> enabled = key.queryDword(Names::kTodayEnabled);
  return enabled && *enabled == 1;
}
