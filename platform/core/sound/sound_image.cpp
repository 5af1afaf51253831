#include "sound/sound_image.h"

#include <sys/uio.h>
#include <unistd.h>
#include <windows.h>

#include <algorithm>

namespace handheld::sound {

namespace {

constexpr size_t kRiffHeader = 8;  // "RIFF" and the size of what follows

// Copies from this process's own memory as far as it is mapped: the kernel reports a bad
// address as a short copy where a plain copy would crash the caller.
size_t copyMapped(const void* from, uint8_t* to, size_t bytes) {
  size_t done = 0;
  while (done < bytes) {
    iovec local{to + done, bytes - done};
    iovec remote{const_cast<uint8_t*>(static_cast<const uint8_t*>(from)) + done, bytes - done};
    const ssize_t n = process_vm_readv(getpid(), &local, 1, &remote, 1, 0);
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  return done;
}

}  // namespace

std::vector<uint8_t> copyImage(const void* memory) {
  std::vector<uint8_t> image(kRiffHeader);
  image.resize(copyMapped(memory, image.data(), kRiffHeader));
  if (image.size() < kRiffHeader || !std::equal(image.begin(), image.begin() + 4, "RIFF")) return image;
  const uint64_t declared = kRiffHeader + (image[4] | (image[5] << 8) | (image[6] << 16) |
                                           (static_cast<uint64_t>(image[7]) << 24));
  image.resize(static_cast<size_t>(std::min<uint64_t>(declared, kMostImageBytes)));
  const size_t copied = copyMapped(static_cast<const uint8_t*>(memory) + kRiffHeader, image.data() + kRiffHeader,
                                   image.size() - kRiffHeader);
  image.resize(kRiffHeader + copied);
  return image;
}

DWORD readSoundFile(LPCWSTR devicePath, std::vector<uint8_t>& bytes) {
  HANDLE file = CreateFileW(devicePath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError();
  DWORD error = 0;
  const DWORD size = GetFileSize(file, nullptr);
  bytes.resize(std::min<size_t>(size == INVALID_FILE_SIZE ? 0 : size, kMostImageBytes));
  DWORD read = 0;
  if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) error = GetLastError();
  bytes.resize(read);
  CloseHandle(file);
  return error;
}

}  // namespace handheld::sound
