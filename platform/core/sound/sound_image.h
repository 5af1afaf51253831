// Reading a sound for the speaker: a RIFF image from the caller's memory, or a device file.
#pragma once

#include <cstdint>
#include <vector>

#include "windef.h"

namespace handheld::sound {

// The device plays no image larger than this (the protocol carries up to 64 MiB).
inline constexpr size_t kMostImageBytes = 32 * 1024 * 1024;

// The image that starts at `memory`, as long as its RIFF header says (at most
// kMostImageBytes). Copied without trusting the size: where the caller's memory ends first,
// the copy ends there instead of faulting.
std::vector<uint8_t> copyImage(const void* memory);

// The file's bytes (at most kMostImageBytes); 0, or the error that kept it from being read.
DWORD readSoundFile(LPCWSTR devicePath, std::vector<uint8_t>& bytes);

}  // namespace handheld::sound
