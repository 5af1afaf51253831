// The alarm's sound file, played a number of times one after the other on a thread of its
// own. The thread works on its own copy of the path and count and writes nowhere, so it never
// reaches into the note window; the owner stops and joins it before going.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "pinnotes/unique_handle.h"

class AlarmSound {
 public:
  AlarmSound() = default;
  ~AlarmSound() { stop(); }
  AlarmSound(const AlarmSound&) = delete;
  AlarmSound& operator=(const AlarmSound&) = delete;

  // Plays `path` `count` times, each play synchronous; a count below 1 plays nothing and
  // starts no thread. False when the thread cannot be made (the alarm goes on silently).
  bool start(LPCWSTR path, int count);
  // The running thread, for a playback that is to follow the sound; null when none.
  HANDLE thread() const { return thread_.get(); }
  // No further play starts; the one sounding goes on.
  void requestStop();
  // Ends the play sounding, then waits for the thread and releases it.
  void stop();

 private:
  struct Playing {
    std::u16string path;
    int count = 0;
    std::atomic<bool> stopping{false};
  };
  static DWORD WINAPI run(LPVOID parameter);

  std::unique_ptr<Playing> playing_;
  UniqueHandle thread_;
};
