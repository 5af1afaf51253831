// Share modes between opens of one file, within a process and across the device's processes.
//
// Each open with data access holds shared open-file-description locks (F_OFD_SETLK) on bytes
// far beyond any data: one byte per use it makes of the file (read, write, delete) and one per
// use it denies to others. An open conflicts when another open denies a use it wants, or uses
// what it wants to deny. OFD locks belong to one open description, so they separate two opens
// in the same process as well as in two processes, and they vanish when the descriptor closes.
// The test and the claim run under a whole-file flock, so two opens cannot both pass the test.
#pragma once

#include <windows.h>

namespace handheld::fs {

enum FileUse : unsigned { kUseRead = 1, kUseWrite = 2, kUseDelete = 4 };

unsigned usesOfAccess(DWORD desiredAccess);
unsigned deniesOfShareMode(DWORD shareMode);

// Holds the file's claim lock for a test-then-act sequence (DeleteFileW between its test and
// the unlink). Waits (blocking, never spinning) while another open is claiming.
class ShareGuard {
 public:
  explicit ShareGuard(int fd);
  ~ShareGuard();
  ShareGuard(const ShareGuard&) = delete;
  ShareGuard& operator=(const ShareGuard&) = delete;

 private:
  int fd_;
  bool held_;
};

// Whether an open of `fd` that uses `uses` and denies `denies` conflicts with another open
// (call under a ShareGuard). On a host file system without these locks nothing conflicts.
bool sharingConflicts(int fd, unsigned uses, unsigned denies);

// Tests and, when there is no conflict, records `uses` and `denies` on `fd` until it closes.
// ERROR_SUCCESS or ERROR_SHARING_VIOLATION.
DWORD claimSharing(int fd, unsigned uses, unsigned denies);

}  // namespace handheld::fs
