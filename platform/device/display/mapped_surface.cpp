#include "display/mapped_surface.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>

#include "gdi/surface.h"

namespace handheld::device {

namespace {

uint64_t nextSurfaceId() {
  static uint64_t next = 0;  // the server's one thread maps surfaces
  return ++next;
}

bool sealedAgainstShrinking(int fd) {
  int seals = fcntl(fd, F_GET_SEALS);
  if (seals >= 0 && (seals & F_SEAL_SHRINK)) return true;
  return fcntl(fd, F_ADD_SEALS, F_SEAL_SHRINK) == 0;
}

}  // namespace

std::unique_ptr<MappedSurface> MappedSurface::map(int fd, int width, int height) {
  if (fd < 0 || width <= 0 || height <= 0 || width > gdi::Surface::kMaxDimension ||
      height > gdi::Surface::kMaxDimension)
    return nullptr;
  const size_t bytes = static_cast<size_t>(width) * 4 * static_cast<size_t>(height);
  if (bytes > gdi::Surface::kMaxBytes || !sealedAgainstShrinking(fd)) return nullptr;
  struct stat info {};
  if (fstat(fd, &info) != 0 || info.st_size < 0 || static_cast<size_t>(info.st_size) < bytes) return nullptr;
  void* address = mmap(nullptr, bytes, PROT_READ, MAP_SHARED, fd, 0);
  if (address == MAP_FAILED) return nullptr;
  return std::unique_ptr<MappedSurface>(
      new MappedSurface(static_cast<const uint8_t*>(address), bytes, width, height));
}

MappedSurface::MappedSurface(const uint8_t* pixels, size_t bytes, int width, int height)
    : pixels_(pixels), bytes_(bytes), width_(width), height_(height), id_(nextSurfaceId()) {}

MappedSurface::~MappedSurface() { munmap(const_cast<uint8_t*>(pixels_), bytes_); }

SceneLayer MappedSurface::layer(uint32_t window, const RECT& rect) const {
  SceneLayer layer;
  layer.window = window;
  layer.rect = rect;
  layer.pixels = pixels_;
  layer.width = width_;
  layer.height = height_;
  layer.stride = static_cast<size_t>(width_) * 4;
  layer.surfaceId = id_;
  return layer;
}

}  // namespace handheld::device
