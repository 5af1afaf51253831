#include "notes/alarm_sound.h"

#include <mmsystem.h>

namespace {

// A stop between the thread's check and its next play misses that play; the stop is sent
// again after this long until the thread has ended.
constexpr DWORD kStopRepeatMs = 50;

}  // namespace

bool AlarmSound::start(LPCWSTR path, int count) {
  stop();
  if (count < 1) return true;
  playing_ = std::make_unique<Playing>();
  playing_->path = path;
  playing_->count = count;
  thread_.reset(CreateThread(nullptr, 0, run, playing_.get(), 0, nullptr));
  if (thread_.isOpen()) return true;
  playing_.reset();
  return false;
}

void AlarmSound::requestStop() {
  if (playing_) playing_->stopping = true;
}

void AlarmSound::stop() {
  if (thread_.isOpen()) {
    requestStop();
    // The process has one sound; stopping it ends only this alarm's play, since a note's
    // recording waits for this thread before it starts.
    while (WaitForSingleObject(thread_.get(), 0) == WAIT_TIMEOUT) {
      PlaySoundW(nullptr, nullptr, 0);
      if (WaitForSingleObject(thread_.get(), kStopRepeatMs) != WAIT_TIMEOUT) break;
    }
    thread_.reset();
  }
  playing_.reset();
}

DWORD WINAPI AlarmSound::run(LPVOID parameter) {
  const auto& playing = *static_cast<const Playing*>(parameter);
  for (int i = 0; i < playing.count && !playing.stopping; ++i) {
    // A missing or unplayable file fails silently, each time.
    PlaySoundW(playing.path.c_str(), nullptr, SND_FILENAME | SND_SYNC | SND_NODEFAULT);
  }
  return 0;
}
