// The device's own microphone and speaker for the control: wave-audio input for recording,
// PlaySound from memory for playback.
#pragma once

#include "ink_audio.h"

namespace handheld::inkx {

Audio makeDeviceAudio();

}  // namespace handheld::inkx
