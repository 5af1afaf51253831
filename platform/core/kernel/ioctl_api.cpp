// Kernel I/O control: the processor information request.
#include <windows.h>

#include <cstring>

#include "ipc/client.h"

using namespace handheld;

namespace {
template <size_t N>
void copyText(WCHAR (&field)[N], std::u16string_view text) {
  size_t n = std::min(text.size(), N - 1);
  std::memcpy(field, text.data(), n * sizeof(WCHAR));
  field[n] = 0;
}
}  // namespace

HANDHELD_API BOOL WINAPI KernelIoControl(DWORD code, LPVOID, DWORD, LPVOID out, DWORD outSize,
                                         LPDWORD returned) {
  if (code != IOCTL_PROCESSOR_INFORMATION) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
  }
  if (!out || outSize < sizeof(PROCESSOR_INFO)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  ipc::DeviceSettingsBlock settings;
  if (auto* device = ipc::DeviceClient::tryGet()) settings = ipc::readSettings(device->info());
  PROCESSOR_INFO info{};
  info.wVersion = 1;
  copyText(info.szProcessorCore, u"ARM");
  copyText(info.szProcessorName, settings.processorName[0] ? settings.processorName : u"Handheld ARM");
  copyText(info.szVendor, u"Handheld");
  info.dwClockSpeed = 400000000;
  std::memcpy(out, &info, sizeof info);
  if (returned) *returned = sizeof info;
  return TRUE;
}
