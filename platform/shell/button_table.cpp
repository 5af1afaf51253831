#include "button_table.h"

namespace handheld::shell {

namespace {

constexpr DWORD kMaxValueChars = 260;

std::u16string readString(UINT key, const char16_t* valueName) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, buttonKey(key).c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return {};
  char16_t buffer[kMaxValueChars + 1] = {};
  DWORD type = 0, size = sizeof(buffer) - sizeof(char16_t);
  const LONG status = RegQueryValueExW(handle, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(handle);
  if (status != ERROR_SUCCESS || type != REG_SZ) return {};
  // The stored string may lack its terminator; the buffer's last unit is always zero.
  return std::u16string(buffer, std::char_traits<char16_t>::length(buffer));
}

}  // namespace

std::u16string buttonKey(UINT key) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string path = u"SOFTWARE\\Microsoft\\Shell\\Keys\\40";
  path += kDigits[(key >> 4) & 0xF];
  path += kDigits[key & 0xF];
  return path;
}

std::u16string buttonAction(UINT key) { return readString(key, nullptr); }

std::u16string buttonName(UINT key) {
  std::u16string name = readString(key, u"Name");
  if (name.empty()) name = u"Button " + std::u16string(1, static_cast<char16_t>(u'1' + (key - kFirstButton)));
  return name;
}

LONG setButtonAction(UINT key, const std::u16string& action) {
  if (action.size() > kMaxValueChars) return ERROR_INVALID_PARAMETER;
  HKEY handle = nullptr;
  DWORD disposition = 0;
  LONG status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, buttonKey(key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle,
                                &disposition);
  if (status != ERROR_SUCCESS) return status;
  status = RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(action.c_str()),
                          static_cast<DWORD>((action.size() + 1) * sizeof(char16_t)));
  RegCloseKey(handle);
  return status;
}

}  // namespace handheld::shell
