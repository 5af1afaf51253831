#include "ink_audio.h"

#include "device_audio.h"

#include <mutex>

namespace handheld::inkx {
namespace {

std::mutex factoryLock;
AudioFactory& factory() {
  static AudioFactory current;
  return current;
}

}  // namespace

void setAudioFactory(AudioFactory replacement) {
  std::lock_guard lock(factoryLock);
  factory() = std::move(replacement);
}

Audio makeAudio() {
  std::lock_guard lock(factoryLock);
  return factory() ? factory()() : makeDeviceAudio();
}

}  // namespace handheld::inkx
