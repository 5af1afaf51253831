// The host's limit on open descriptors for this process.
#pragma once

#include <cstddef>

namespace handheld::os {

// Raises the soft limit to the hard one: the usual soft limit (1024) is a guard for programs
// that use select(), which nothing here does. Returns the limit now in force.
size_t raiseDescriptorLimit();
// The soft limit in force.
size_t descriptorLimit();

}  // namespace handheld::os
