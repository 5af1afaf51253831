// What the recording tests look for in streamed content (the RIFF images in order, the pitch
// of their samples) and in the speaker's log (the play of an image from memory).
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace handheld::testing {

// Every RIFF image in the bytes, in the order found; each as long as its RIFF size says.
inline std::vector<std::vector<uint8_t>> riffImages(const std::vector<uint8_t>& bytes) {
  std::vector<std::vector<uint8_t>> images;
  const char* riff = "RIFF";
  for (auto at = std::search(bytes.begin(), bytes.end(), riff, riff + 4); bytes.end() - at >= 8;
       at = std::search(at + 4, bytes.end(), riff, riff + 4)) {
    const size_t size = 8 + (at[4] | at[5] << 8 | at[6] << 16 | static_cast<size_t>(at[7]) << 24);
    if (static_cast<size_t>(bytes.end() - at) < size) break;
    images.emplace_back(at, at + static_cast<long>(size));
  }
  return images;
}

// Sign changes: a tone of f Hz makes 2 f of them a second.
inline size_t zeroCrossings(const std::vector<int16_t>& samples) {
  size_t count = 0;
  for (size_t i = 1; i < samples.size(); ++i) count += (samples[i - 1] < 0) != (samples[i] < 0);
  return count;
}

// The speaker-log line of the play of a memory image of that many bytes; empty when none.
inline std::string memoryPlayLine(const std::string& log, size_t imageBytes) {
  const std::string source = "source=\"memory(" + std::to_string(imageBytes) + " bytes)\"";
  std::istringstream lines(log);
  std::string line;
  while (std::getline(lines, line))
    if (line.find(source) != std::string::npos) return line;
  return {};
}

// The seconds a log line gives as the sound's length; -1 without one.
inline double loggedLength(const std::string& line) {
  const size_t at = line.find(" length=");
  return at == std::string::npos ? -1 : std::strtod(line.c_str() + at + 8, nullptr);
}

}  // namespace handheld::testing
