// SystemParametersInfoW: the work area, the input panel, and what kind of device this is.
#include <windows.h>

#include <cstring>
#include <string_view>

#include "ipc/protocol/input_panel.h"
#include "kernel/display_settings.h"
#include "shellsvc/input_panel.h"

namespace {

constexpr std::u16string_view kPlatformType = u"PocketPC";
constexpr std::u16string_view kOemInfo = u"Handheld";

BOOL fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

// A string with its terminator into a buffer of `bytes` bytes.
BOOL copyString(std::u16string_view text, UINT bytes, PVOID value) {
  if (!value) return fail(ERROR_INVALID_PARAMETER);
  const size_t needed = (text.size() + 1) * sizeof(char16_t);
  if (bytes < needed) return fail(ERROR_INSUFFICIENT_BUFFER);
  auto* out = static_cast<char16_t*>(value);
  std::memcpy(out, text.data(), text.size() * sizeof(char16_t));
  out[text.size()] = u'\0';
  return TRUE;
}

}  // namespace

HANDHELD_API BOOL WINAPI SystemParametersInfoW(UINT action, UINT param, PVOID value, UINT) {
  switch (action) {
    case SPI_GETWORKAREA: {
      if (!value) return fail(ERROR_INVALID_PARAMETER);
      const auto screen = handheld::kernel::displaySettings();
      const auto area = handheld::ipc::panelLayout(screen.width, screen.height, screen.border).workArea;
      *static_cast<RECT*>(value) = RECT{area.left, area.top, area.right, area.bottom};
      return TRUE;
    }
    case SPI_GETSIPINFO: return handheld::shellsvc::getPanelInfo(value);
    case SPI_SETSIPINFO: return handheld::shellsvc::setPanelInfo(value);
    case SPI_GETPLATFORMTYPE: return copyString(kPlatformType, param, value);
    case SPI_GETOEMINFO: return copyString(kOemInfo, param, value);
    default: return fail(ERROR_INVALID_PARAMETER);
  }
}
