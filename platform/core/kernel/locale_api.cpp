// Locale answers from the device settings (date order and clock), as short strings.
#include <windows.h>

#include <string>

#include "ipc/client.h"

using namespace handheld;

namespace {

ipc::DeviceSettingsBlock settings() {
  if (auto* device = ipc::DeviceClient::tryGet()) return ipc::readSettings(device->info());
  return ipc::DeviceSettingsBlock{};
}

std::u16string answer(LCTYPE type) {
  auto s = settings();
  switch (type) {
    case LOCALE_ILDATE:
    case LOCALE_IDATE: return std::u16string(1, static_cast<char16_t>(u'0' + s.dateOrder));
    case LOCALE_ITIME: return std::u16string(1, static_cast<char16_t>(u'0' + s.timeFormat));
    case LOCALE_SDATE: return u".";
    case LOCALE_STIME: return u":";
    case LOCALE_S1159: return u"AM";
    case LOCALE_S2359: return u"PM";
    default: return {};
  }
}

}  // namespace

HANDHELD_API int WINAPI GetLocaleInfoW(LCID, LCTYPE type, LPWSTR data, int size) {
  std::u16string text = answer(type);
  if (text.empty()) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  int needed = static_cast<int>(text.size()) + 1;
  if (size == 0) return needed;
  if (!data || size < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (size < needed) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::copy(text.begin(), text.end(), data);
  data[text.size()] = 0;
  return needed;
}
