#include "gdi/device_context.h"

#include <algorithm>

#include "gdi/color.h"

namespace handheld::gdi {

namespace {

// Beyond this no surface exists; keeps coordinate arithmetic far from overflow.
constexpr long long kCoordinateLimit = 1 << 29;

LONG saturate(long long value) {
  return static_cast<LONG>(std::clamp(value, -kCoordinateLimit, kCoordinateLimit));
}

}  // namespace

DeviceContext::~DeviceContext() { releaseSelections(); }

void DeviceContext::releaseSelections() {
  auto& table = GdiTable::instance();
  if (attributes_.pen) table.deselect(*attributes_.pen);
  if (attributes_.brush) table.deselect(*attributes_.brush);
  if (attributes_.font) table.deselect(*attributes_.font);
  if (attributes_.bitmap) table.deselect(*attributes_.bitmap);
}

void DeviceContext::setTarget(std::shared_ptr<Surface> surface, POINT origin,
                              const std::vector<RECT>& clip) {
  surface_ = std::move(surface);
  origin_ = origin;
  clip_ = surface_ ? disjointRects(clip, surface_->bounds()) : std::vector<RECT>{};
}

POINT DeviceContext::surfaceOffset() const {
  return {origin_.x + attributes_.viewportOrigin.x, origin_.y + attributes_.viewportOrigin.y};
}

POINT DeviceContext::toSurface(long long x, long long y) const {
  POINT offset = surfaceOffset();
  return {saturate(x + offset.x), saturate(y + offset.y)};
}

RECT DeviceContext::toSurface(const RECT& logical) const {
  POINT topLeft = toSurface(logical.left, logical.top);
  POINT bottomRight = toSurface(logical.right, logical.bottom);
  return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

Canvas DeviceContext::canvasWithin(const RECT& limit, std::vector<RECT>& storage) {
  storage.clear();
  for (const RECT& r : clip_) {
    RECT piece = intersect(r, limit);
    if (!isEmpty(piece)) storage.push_back(piece);
  }
  return Canvas(*surface_, storage, damage_);
}

uint32_t DeviceContext::textRgb() const { return toRgb(attributes_.textColor); }
uint32_t DeviceContext::backgroundRgb() const { return toRgb(attributes_.backgroundColor); }

Paint DeviceContext::paintFor(const BrushObject& brush) const {
  Paint paint = Paint::solid(toRgb(brush.log.lbColor));
  if (brush.pattern) {
    paint.pattern = brush.pattern.get();
    paint.origin = origin_;
    paint.foreground = textRgb();
    paint.background = backgroundRgb();
  }
  return paint;
}

Paint DeviceContext::penPaint() const { return Paint::solid(toRgb(attributes_.pen->log.lopnColor)); }

template <class T>
bool DeviceContext::swapSelected(std::shared_ptr<T>& slot, std::shared_ptr<T> incoming) {
  if (slot == incoming) return true;
  auto& table = GdiTable::instance();
  if (!table.select(*incoming)) return false;
  if (slot) table.deselect(*slot);
  slot = std::move(incoming);
  return true;
}

bool DeviceContext::selectPen(std::shared_ptr<PenObject> pen) {
  return swapSelected(attributes_.pen, std::move(pen));
}

bool DeviceContext::selectBrush(std::shared_ptr<BrushObject> brush) {
  return swapSelected(attributes_.brush, std::move(brush));
}

bool DeviceContext::selectFont(std::shared_ptr<FontObject> font) {
  return swapSelected(attributes_.font, std::move(font));
}

bool DeviceContext::selectBitmap(std::shared_ptr<BitmapObject> bitmap) {
  if (!memory_) return false;
  auto surface = bitmap->surface;
  if (!swapSelected(attributes_.bitmap, std::move(bitmap))) return false;
  setTarget(surface, {0, 0}, {surface->bounds()});
  return true;
}

int DeviceContext::save() {
  saved_.push_back(attributes_);
  return static_cast<int>(saved_.size());
}

bool DeviceContext::restore(int level) {
  // Negative: relative to the most recent save.
  int count = static_cast<int>(saved_.size());
  int index = level < 0 ? count + level : level - 1;
  if (index < 0 || index >= count) return false;
  DcAttributes target = saved_[static_cast<size_t>(index)];
  saved_.resize(static_cast<size_t>(index));
  // An object deleted since the save is not brought back; the current one stays.
  swapSelected(attributes_.pen, target.pen);
  swapSelected(attributes_.brush, target.brush);
  swapSelected(attributes_.font, target.font);
  if (memory_ && target.bitmap && target.bitmap != attributes_.bitmap) {
    if (!selectBitmap(target.bitmap)) target.bitmap = attributes_.bitmap;
  }
  target.pen = attributes_.pen;
  target.brush = attributes_.brush;
  target.font = attributes_.font;
  target.bitmap = attributes_.bitmap;
  attributes_ = std::move(target);
  return true;
}

LockedDc::LockedDc(HDC hdc) : dc_(lookupDc(hdc)) {
  if (dc_) lock_ = std::unique_lock(dc_->mutex());
}

LockedDcPair::LockedDcPair(HDC first, HDC second)
    : first_(lookupDc(first)), second_(lookupDc(second)) {
  if (first_ && second_ && first_ != second_) {
    firstLock_ = std::unique_lock(first_->mutex(), std::defer_lock);
    secondLock_ = std::unique_lock(second_->mutex(), std::defer_lock);
    std::lock(firstLock_, secondLock_);
  } else if (first_) {
    firstLock_ = std::unique_lock(first_->mutex());
  } else if (second_) {
    secondLock_ = std::unique_lock(second_->mutex());
  }
}

std::shared_ptr<DeviceContext> lookupDc(HDC hdc) {
  return GdiTable::instance().lookupAs<DeviceContext>(hdc, GdiKind::DC);
}

}  // namespace handheld::gdi
