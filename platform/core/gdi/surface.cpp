#include "gdi/surface.h"

namespace handheld::gdi {

namespace {

bool sizeInRange(int width, int height, size_t stride) {
  if (width <= 0 || height <= 0 || width > Surface::kMaxDimension ||
      height > Surface::kMaxDimension) {
    return false;
  }
  return stride <= Surface::kMaxBytes / static_cast<size_t>(height);
}

}  // namespace

Surface::Surface(int width, int height, PixelFormat format, size_t stride, bool bottomUp,
                 uint8_t* bits, std::vector<uint8_t> storage, std::shared_ptr<void> owner)
    : width_(width),
      height_(height),
      format_(std::move(format)),
      stride_(stride),
      bottomUp_(bottomUp),
      bits_(bits),
      storage_(std::move(storage)),
      owner_(std::move(owner)) {
  if (!storage_.empty()) bits_ = storage_.data();
}

std::shared_ptr<Surface> Surface::create(int width, int height, PixelFormat format,
                                         int alignBytes, bool bottomUp) {
  if (width <= 0 || width > kMaxDimension) return nullptr;
  size_t stride = format.rowBytes(width, alignBytes);
  if (!sizeInRange(width, height, stride)) return nullptr;
  std::vector<uint8_t> storage(stride * static_cast<size_t>(height));
  return std::make_shared<Surface>(width, height, std::move(format), stride, bottomUp, nullptr,
                                   std::move(storage), nullptr);
}

std::shared_ptr<Surface> Surface::wrap(int width, int height, PixelFormat format, uint8_t* bits,
                                       size_t stride, bool bottomUp,
                                       std::shared_ptr<void> owner) {
  if (!bits || width <= 0 || width > kMaxDimension) return nullptr;
  if (stride < format.rowBytes(width, 1) || !sizeInRange(width, height, stride)) return nullptr;
  return std::make_shared<Surface>(width, height, std::move(format), stride, bottomUp, bits,
                                   std::vector<uint8_t>{}, std::move(owner));
}

std::shared_ptr<Surface> Surface::clone() const {
  std::vector<uint8_t> storage(bits_, bits_ + byteSize());
  auto copy = std::make_shared<Surface>(width_, height_, format_, stride_, bottomUp_, nullptr,
                                        std::move(storage), nullptr);
  copy->setMonochrome(monochrome_);
  return copy;
}

}  // namespace handheld::gdi
