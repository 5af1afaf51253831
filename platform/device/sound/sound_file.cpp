#include "sound/sound_file.h"

#include <sndfile.h>

#include <algorithm>
#include <cstring>

namespace handheld::device {

namespace {

// libsndfile reads from memory through these.
struct MemoryFile {
  std::span<const uint8_t> bytes;
  sf_count_t at = 0;
};

sf_count_t length(void* user) { return static_cast<sf_count_t>(static_cast<MemoryFile*>(user)->bytes.size()); }
sf_count_t seek(sf_count_t offset, int whence, void* user) {
  auto* f = static_cast<MemoryFile*>(user);
  const sf_count_t size = static_cast<sf_count_t>(f->bytes.size());
  const sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? f->at : size;
  f->at = std::clamp<sf_count_t>(base + offset, 0, size);
  return f->at;
}
sf_count_t read(void* destination, sf_count_t count, void* user) {
  auto* f = static_cast<MemoryFile*>(user);
  const sf_count_t n = std::clamp<sf_count_t>(count, 0, static_cast<sf_count_t>(f->bytes.size()) - f->at);
  std::memcpy(destination, f->bytes.data() + f->at, static_cast<size_t>(n));
  f->at += n;
  return n;
}
sf_count_t write(const void*, sf_count_t, void*) { return 0; }
sf_count_t tell(void* user) { return static_cast<MemoryFile*>(user)->at; }

}  // namespace

bool decodeSoundFile(std::span<const uint8_t> file, DecodedSound& out, std::string& error) {
  MemoryFile memory{file};
  SF_VIRTUAL_IO io{length, seek, read, write, tell};
  SF_INFO info{};
  SNDFILE* sound = sf_open_virtual(&io, SFM_READ, &info, &memory);
  if (!sound) {
    error = sf_strerror(nullptr);
    return false;
  }
  if (info.samplerate <= 0 || info.channels <= 0 || info.channels > 8) {
    sf_close(sound);
    error = "no usable rate or channel count";
    return false;
  }
  const sf_count_t most = static_cast<sf_count_t>(info.samplerate) * kMostDecodedSeconds;
  const sf_count_t frames = std::min(info.frames < 0 ? most : info.frames, most);
  out.rate = static_cast<uint32_t>(info.samplerate);
  out.channels = static_cast<uint16_t>(info.channels);
  out.samples.assign(static_cast<size_t>(frames) * static_cast<size_t>(info.channels), 0.0f);
  const sf_count_t got = sf_readf_float(sound, out.samples.data(), frames);
  sf_close(sound);
  out.samples.resize(static_cast<size_t>(std::max<sf_count_t>(got, 0)) * static_cast<size_t>(info.channels));
  if (out.samples.empty()) {
    error = "the file holds no samples";
    return false;
  }
  return true;
}

}  // namespace handheld::device
