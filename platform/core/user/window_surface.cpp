#include "user/window_surface.h"

#include <sys/mman.h>

namespace handheld::user {

namespace {

class Mapping {
 public:
  Mapping(void* address, size_t size) : address_(address), size_(size) {}
  Mapping(const Mapping&) = delete;
  Mapping& operator=(const Mapping&) = delete;
  ~Mapping() { munmap(address_, size_); }

 private:
  void* address_;
  size_t size_;
};

}  // namespace

std::shared_ptr<WindowSurface> WindowSurface::create(int width, int height) {
  if (width <= 0 || height <= 0 || width > gdi::Surface::kMaxDimension ||
      height > gdi::Surface::kMaxDimension)
    return nullptr;
  const size_t stride = static_cast<size_t>(width) * 4;
  const size_t size = stride * static_cast<size_t>(height);
  if (size > gdi::Surface::kMaxBytes) return nullptr;
  auto surface = std::make_shared<WindowSurface>();
  surface->memory_.reset(memfd_create("handheld-window", MFD_CLOEXEC | MFD_ALLOW_SEALING));
  if (!surface->memory_ || ftruncate(surface->memory_.get(), static_cast<off_t>(size)) != 0)
    return nullptr;
  void* address = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, surface->memory_.get(), 0);
  if (address == MAP_FAILED) return nullptr;
  auto mapping = std::make_shared<Mapping>(address, size);
  surface->pixels_ = gdi::Surface::wrap(width, height, gdi::PixelFormat::xrgb32(),
                                        static_cast<uint8_t*>(address), stride, false, mapping);
  return surface->pixels_ ? surface : nullptr;
}

}  // namespace handheld::user
