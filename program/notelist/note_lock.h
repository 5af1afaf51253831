// Holds the note lock (the store's re-entrant critical section) for one scope.
#pragma once

#include <windows.h>

class NoteLock {
 public:
  explicit NoteLock(CRITICAL_SECTION& lock) : lock_(lock) { EnterCriticalSection(&lock_); }
  ~NoteLock() { LeaveCriticalSection(&lock_); }
  NoteLock(const NoteLock&) = delete;
  NoteLock& operator=(const NoteLock&) = delete;

 private:
  CRITICAL_SECTION& lock_;
};
