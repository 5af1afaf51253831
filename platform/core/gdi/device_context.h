// A device context: where drawing goes (a window surface or the bitmap selected into a
// memory DC), the origin and clip list inside that surface, and the drawing attributes.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "gdi/canvas.h"
#include "gdi/gdi_objects.h"

namespace handheld::gdi {

// What SaveDC keeps and RestoreDC brings back.
struct DcAttributes {
  std::shared_ptr<PenObject> pen;
  std::shared_ptr<BrushObject> brush;
  std::shared_ptr<FontObject> font;
  std::shared_ptr<BitmapObject> bitmap;  // memory DCs only
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF backgroundColor = RGB(255, 255, 255);
  int backgroundMode = OPAQUE;
  int rop2 = R2_COPYPEN;
  UINT textAlign = TA_LEFT | TA_TOP;
  POINT position{};
  POINT viewportOrigin{};
};

class DeviceContext : public GdiObject {
 public:
  explicit DeviceContext(bool memory) : GdiObject(GdiKind::DC), memory_(memory) {}
  ~DeviceContext() override;

  bool memory() const { return memory_; }
  std::mutex& mutex() { return mutex_; }

  // The caller holds mutex() for everything below.
  Surface& surface() { return *surface_; }
  const std::shared_ptr<Surface>& sharedSurface() const { return surface_; }
  DcAttributes& attributes() { return attributes_; }
  const DcAttributes& attributes() const { return attributes_; }

  // The window code's view: a target surface, the window origin in it, the visible clip.
  void setTarget(std::shared_ptr<Surface> surface, POINT origin, const std::vector<RECT>& clip);
  RECT damage() const { return damage_; }
  void resetDamage() { damage_ = {}; }

  // Logical coordinates to surface pixels, saturating far outside any surface.
  POINT toSurface(long long x, long long y) const;
  RECT toSurface(const RECT& logical) const;
  POINT surfaceOffset() const;

  Canvas canvas() { return Canvas(*surface_, clip_, damage_); }
  // A canvas clipped further to limit (surface coordinates); storage holds the clip list.
  Canvas canvasWithin(const RECT& limit, std::vector<RECT>& storage);
  std::span<const RECT> clip() const { return clip_; }
  Paint brushPaint() const { return paintFor(*attributes_.brush); }
  Paint paintFor(const BrushObject& brush) const;
  Paint penPaint() const;
  uint32_t textRgb() const;
  uint32_t backgroundRgb() const;

  // Selection keeps the table's selection counts; false when the object cannot be selected.
  bool selectPen(std::shared_ptr<PenObject> pen);
  bool selectBrush(std::shared_ptr<BrushObject> brush);
  bool selectFont(std::shared_ptr<FontObject> font);
  bool selectBitmap(std::shared_ptr<BitmapObject> bitmap);  // memory DCs only

  int save();
  bool restore(int level);

 private:
  template <class T>
  bool swapSelected(std::shared_ptr<T>& slot, std::shared_ptr<T> incoming);
  void releaseSelections();

  const bool memory_;
  std::mutex mutex_;
  std::shared_ptr<Surface> surface_;
  POINT origin_{};
  std::vector<RECT> clip_;
  RECT damage_{};
  DcAttributes attributes_;
  std::vector<DcAttributes> saved_;
};

// A DC looked up by handle and locked for the duration of one call.
class LockedDc {
 public:
  explicit LockedDc(HDC hdc);
  explicit operator bool() const { return dc_ != nullptr; }
  DeviceContext* operator->() const { return dc_.get(); }
  DeviceContext& operator*() const { return *dc_; }

 private:
  std::shared_ptr<DeviceContext> dc_;
  std::unique_lock<std::mutex> lock_;
};

// Two DCs (possibly the same) locked together without lock-order deadlocks.
class LockedDcPair {
 public:
  LockedDcPair(HDC first, HDC second);
  DeviceContext* first() const { return first_.get(); }
  DeviceContext* second() const { return second_.get(); }

 private:
  std::shared_ptr<DeviceContext> first_;
  std::shared_ptr<DeviceContext> second_;
  std::unique_lock<std::mutex> firstLock_;
  std::unique_lock<std::mutex> secondLock_;
};

std::shared_ptr<DeviceContext> lookupDc(HDC hdc);

}  // namespace handheld::gdi
