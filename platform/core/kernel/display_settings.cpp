#include "kernel/display_settings.h"

#include "ipc/client.h"

namespace handheld::kernel {

DisplaySettings displaySettings() {
  auto* device = ipc::DeviceClient::tryGet();
  if (!device) return {240, 320, 96, 1, 16};  // QVGA portrait when no device runs
  auto s = ipc::readSettings(device->info());
  return {s.screenWidth, s.screenHeight, s.dpi, s.border, s.smallIcon};
}

}  // namespace handheld::kernel
