// Small RIFF WAVE images for the canvas tests: mono 16-bit PCM at 8000 Hz.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace handheld::testing {

inline void putLittleEndian(std::vector<BYTE>& to, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) to.push_back(static_cast<BYTE>(value >> (8 * i)));
}

// `samples` frames of a quiet square wave.
inline std::vector<BYTE> WaveImage(uint32_t samples) {
  std::vector<BYTE> image = {'R', 'I', 'F', 'F'};
  putLittleEndian(image, 36 + samples * 2, 4);
  for (char c : {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '}) image.push_back(static_cast<BYTE>(c));
  putLittleEndian(image, 16, 4);
  putLittleEndian(image, 1, 2);     // PCM
  putLittleEndian(image, 1, 2);     // mono
  putLittleEndian(image, 8000, 4);  // frames a second
  putLittleEndian(image, 16000, 4);
  putLittleEndian(image, 2, 2);
  putLittleEndian(image, 16, 2);
  for (char c : {'d', 'a', 't', 'a'}) image.push_back(static_cast<BYTE>(c));
  putLittleEndian(image, samples * 2, 4);
  for (uint32_t i = 0; i < samples; ++i) putLittleEndian(image, (i / 8) % 2 ? 0x0800 : 0xF800, 2);
  return image;
}

}  // namespace handheld::testing
