#include "kernel/display_settings.h"

namespace handheld::kernel {

// Until the device info page is wired: QVGA portrait.
DisplaySettings displaySettings() { return {240, 320, 96, 1, 16}; }

}  // namespace handheld::kernel
