#include "wave_image.h"

#include <sndfile.h>

#include <algorithm>
#include <cstring>

#include "byte_io.h"

namespace handheld::inkx {
namespace {

// libsndfile writes through these into a growing buffer.
struct MemoryFile {
  std::vector<uint8_t> bytes;
  sf_count_t at = 0;
};

sf_count_t memoryLength(void* user) { return static_cast<MemoryFile*>(user)->bytes.size(); }
sf_count_t memorySeek(sf_count_t offset, int whence, void* user) {
  auto& file = *static_cast<MemoryFile*>(user);
  sf_count_t base = whence == SEEK_CUR ? file.at : whence == SEEK_END ? static_cast<sf_count_t>(file.bytes.size()) : 0;
  if (base + offset < 0) return -1;
  file.at = base + offset;
  return file.at;
}
sf_count_t memoryRead(void* out, sf_count_t count, void* user) {
  auto& file = *static_cast<MemoryFile*>(user);
  sf_count_t size = static_cast<sf_count_t>(file.bytes.size());
  sf_count_t n = std::clamp<sf_count_t>(size - file.at, 0, count);
  if (n > 0) std::memcpy(out, file.bytes.data() + file.at, static_cast<size_t>(n));
  file.at += n;
  return n;
}
sf_count_t memoryWrite(const void* data, sf_count_t count, void* user) {
  auto& file = *static_cast<MemoryFile*>(user);
  size_t end = static_cast<size_t>(file.at + count);
  if (end > file.bytes.size()) file.bytes.resize(end);
  std::memcpy(file.bytes.data() + file.at, data, static_cast<size_t>(count));
  file.at += count;
  return count;
}
sf_count_t memoryTell(void* user) { return static_cast<MemoryFile*>(user)->at; }

}  // namespace

std::vector<uint8_t> makeWaveImage(std::span<const int16_t> samples, uint32_t sampleRate) {
  SF_VIRTUAL_IO io{memoryLength, memorySeek, memoryRead, memoryWrite, memoryTell};
  MemoryFile file;
  SF_INFO info{};
  info.samplerate = static_cast<int>(sampleRate);
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* sound = sf_open_virtual(&io, SFM_WRITE, &info, &file);
  if (!sound) return {};
  const auto written = sf_write_short(sound, samples.data(), static_cast<sf_count_t>(samples.size()));
  sf_close(sound);
  if (written != static_cast<sf_count_t>(samples.size())) return {};
  return std::move(file.bytes);
}

std::optional<WaveFormat> checkWaveImage(std::span<const uint8_t> image) {
  ByteReader in(image);
  uint32_t riffSize;
  if (!in.tag("RIFF") || !in.u32(riffSize) || riffSize != image.size() - 8 || !in.tag("WAVE")) return std::nullopt;
  WaveFormat format;
  bool haveFormat = false, haveData = false;
  while (in.left() >= 8) {
    std::span<const uint8_t> id, body;
    uint32_t size;
    if (!in.bytes(4, id) || !in.u32(size) || !in.bytes(size, body)) return std::nullopt;
    if (std::memcmp(id.data(), "fmt ", 4) == 0) {
      ByteReader f(body);
      uint16_t tag, blockAlign;
      uint32_t byteRate;
      if (!f.u16(tag) || !f.u16(format.channels) || !f.u32(format.sampleRate) || !f.u32(byteRate) ||
          !f.u16(blockAlign) || !f.u16(format.bitsPerSample))
        return std::nullopt;
      if (tag != 1 || format.channels == 0 || format.sampleRate == 0 ||
          (format.bitsPerSample != 8 && format.bitsPerSample != 16))
        return std::nullopt;
      haveFormat = true;
    } else if (std::memcmp(id.data(), "data", 4) == 0 && !haveData) {
      format.dataOffset = static_cast<size_t>(body.data() - image.data());
      format.dataSize = body.size();
      haveData = true;
    }
    std::span<const uint8_t> pad;
    if (size % 2 == 1 && in.left() > 0) in.bytes(1, pad);
  }
  if (in.left() != 0 || !haveFormat || !haveData) return std::nullopt;
  return format;
}

std::vector<int16_t> waveSamples(std::span<const uint8_t> image) {
  const auto format = checkWaveImage(image);
  if (!format || format->bitsPerSample != 16 || format->channels != 1) return {};
  std::vector<int16_t> samples(format->dataSize / 2);
  for (size_t i = 0; i < samples.size(); ++i) {
    const uint8_t* p = image.data() + format->dataOffset + 2 * i;
    samples[i] = static_cast<int16_t>(p[0] | (p[1] << 8));
  }
  return samples;
}

}  // namespace handheld::inkx
