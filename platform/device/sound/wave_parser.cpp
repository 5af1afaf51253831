#include "sound/wave_parser.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <optional>

namespace handheld::device {

namespace {

constexpr size_t kRiffHeader = 12;  // "RIFF", size, "WAVE"
constexpr size_t kChunkHeader = 8;  // id, size
constexpr size_t kPcmFormatBytes = 16;
constexpr uint16_t kPcmTag = 1;
// Chunks past this many are not looked at: an image of empty chunks would keep us walking.
constexpr size_t kMostChunks = 4096;

uint32_t read32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
bool isId(const uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

WaveParse refuse(std::string why) {
  WaveParse result;
  result.refusal = std::move(why);
  return result;
}

}  // namespace

std::string describeFormat(const WaveFormat& f) {
  return "pcm" + std::to_string(f.bits) + (f.channels == 1 ? "/mono/" : f.channels == 2 ? "/stereo/" : "/" + std::to_string(f.channels) + "ch/") +
         std::to_string(f.rate);
}

WaveParse parseWave(std::span<const uint8_t> image) {
  if (image.size() < kRiffHeader) return refuse("too short for a RIFF header");
  const uint8_t* bytes = image.data();
  if (!isId(bytes, "RIFF") || !isId(bytes + 8, "WAVE")) return refuse("not a RIFF WAVE image");

  WaveParse result;
  const uint64_t declaredEnd = uint64_t{read32(bytes + 4)} + 8;
  if (declaredEnd != image.size())
    result.notes.push_back("RIFF size says " + std::to_string(declaredEnd) + " bytes, " +
                           std::to_string(image.size()) + " present");

  std::optional<WaveFormat> format;
  std::optional<std::pair<size_t, size_t>> data;  // offset, bytes present
  size_t at = kRiffHeader;
  for (size_t chunks = 0; at + kChunkHeader <= image.size() && chunks < kMostChunks && !(format && data); ++chunks) {
    const uint8_t* chunk = bytes + at;
    const uint64_t declared = read32(chunk + 4);
    const size_t body = at + kChunkHeader;
    const size_t present = static_cast<size_t>(std::min<uint64_t>(declared, image.size() - body));
    if (isId(chunk, "fmt ")) {
      if (declared < kPcmFormatBytes || present < kPcmFormatBytes) return refuse("format chunk too short");
      const uint8_t* f = bytes + body;
      if (read16(f) != kPcmTag) return refuse("not PCM (format tag " + std::to_string(read16(f)) + ")");
      WaveFormat parsed{read32(f + 4), read16(f + 2), read16(f + 14)};
      if (!playable(parsed))
        return refuse("unplayable format: " + std::to_string(parsed.channels) + " channels, " +
                      std::to_string(parsed.bits) + " bits, " + std::to_string(parsed.rate) + " Hz");
      if (read16(f + 12) != parsed.frameBytes())
        result.notes.push_back("block size " + std::to_string(read16(f + 12)) + " taken as " +
                               std::to_string(parsed.frameBytes()));
      format = parsed;
    } else if (isId(chunk, "data") && !data) {
      if (present < declared)
        result.notes.push_back("data chunk says " + std::to_string(declared) + " bytes, " + std::to_string(present) +
                               " present");
      data = std::pair{body, present};
    }
    // Bodies are padded to an even length; a size past the end ends the walk.
    const uint64_t next = uint64_t{body} + declared + (declared & 1);
    if (next > image.size()) break;
    at = static_cast<size_t>(next);
  }
  if (!format) return refuse("no format chunk");
  if (!data) return refuse("no data chunk");
  const size_t whole = data->second - data->second % format->frameBytes();
  if (whole == 0) return refuse("no sound data");
  if (whole != data->second) result.notes.push_back("a partial frame at the end left out");
  result.ok = true;
  result.wave = {*format, data->first, whole};
  return result;
}

}  // namespace handheld::device
