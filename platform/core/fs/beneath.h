// Opening a relative host path beneath a folder in one call: the kernel refuses a link
// anywhere on the way (the last name included) and any step out of the folder (openat2 with
// RESOLVE_NO_SYMLINKS | RESOLVE_BENEATH). It finds exact spellings only; a caller falls back
// to its own name-by-name walk when this fails for any reason.
#pragma once

#include <sys/types.h>

#include "os/unique_fd.h"

namespace handheld::fs {

// Invalid with errno set when the open fails; ENOSYS where the host kernel has no openat2,
// which is then not asked again.
os::UniqueFd openBeneath(int folderFd, const char* relativePath, int flags,
                         mode_t mode = 0);

}  // namespace handheld::fs
