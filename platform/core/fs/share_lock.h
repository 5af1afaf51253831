// Share modes between opens of one file, within a process and across the device's processes.
//
// Every open with data access holds a whole-file flock for its life. An open that shares
// nothing (the usual one) conflicts with every other such open, so it takes the flock
// exclusively: the kernel's single test-and-take is the whole check. Any other open takes it
// shared, which fails only against an open that shares nothing, and then holds shared
// open-file-description locks (F_OFD_SETLK) on bytes far beyond any data: one byte per use it
// makes of the file (read, write, delete) and one per use it denies to others. It conflicts
// when another open denies a use it wants, or uses what it wants to deny. Its test and claim
// run under an exclusive flock of the device root (a short, device-wide section), so two such
// opens cannot both pass the test. Both kinds of lock belong to one open description, so they
// separate two opens in the same process as well as in two processes, and they vanish when
// the descriptor closes.
#pragma once

#include <windows.h>

namespace handheld::fs {

enum FileUse : unsigned { kUseRead = 1, kUseWrite = 2, kUseDelete = 4 };

unsigned usesOfAccess(DWORD desiredAccess);
unsigned deniesOfShareMode(DWORD shareMode);

// Tests and, when there is no conflict, records `uses` (not 0) and `denies` on `fd` until it
// closes: ERROR_SUCCESS or ERROR_SHARING_VIOLATION (or why the test could not run). After a
// failure the caller closes `fd`, which drops whatever was recorded. Deleting or renaming a
// file claims kUseDelete on a descriptor of its own and acts while holding it. On a host file
// system without these locks nothing conflicts.
DWORD claimSharing(int fd, unsigned uses, unsigned denies);

}  // namespace handheld::fs
