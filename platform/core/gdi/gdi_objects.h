// The process's GDI objects and their handle table (separate from kernel handles): pens,
// brushes, fonts, bitmaps and device contexts. A bad or deleted handle looks up as null.
#pragma once

#include <windows.h>

#include <memory>
#include <mutex>
#include <unordered_map>

#include "gdi/surface.h"

namespace handheld::gdi {

struct ResolvedFont;

enum class GdiKind { Pen, Brush, Font, Bitmap, DC, Icon };

class GdiObject {
 public:
  explicit GdiObject(GdiKind kind) : kind_(kind) {}
  virtual ~GdiObject() = default;
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  GdiKind kind() const { return kind_; }
  HGDIOBJ handle() const { return handle_; }
  bool stock() const { return stock_; }

 private:
  friend class GdiTable;
  GdiKind kind_;
  HGDIOBJ handle_ = nullptr;
  bool stock_ = false;
  // Guarded by the table's lock.
  int selections_ = 0;
  bool deletePending_ = false;
};

struct PenObject : GdiObject {
  explicit PenObject(const LOGPEN& logPen) : GdiObject(GdiKind::Pen), log(logPen) {}
  LOGPEN log;
  int width() const { return log.lopnWidth.x < 1 ? 1 : log.lopnWidth.x; }
  bool null() const { return log.lopnStyle == PS_NULL; }
};

struct BrushObject : GdiObject {
  BrushObject(const LOGBRUSH& logBrush, std::shared_ptr<const Surface> patternSurface)
      : GdiObject(GdiKind::Brush), log(logBrush), pattern(std::move(patternSurface)) {}
  LOGBRUSH log;
  std::shared_ptr<const Surface> pattern;  // BS_PATTERN: a private copy of the bitmap
  bool null() const { return log.lbStyle == BS_NULL; }
};

class FontObject : public GdiObject {
 public:
  explicit FontObject(const LOGFONTW& log) : GdiObject(GdiKind::Font), log_(log) {}
  const LOGFONTW& log() const { return log_; }
  // The face at its size with its metrics, resolved on first use at the display's density;
  // null when no font file is usable.
  std::shared_ptr<const ResolvedFont> resolved();

 private:
  LOGFONTW log_;
  std::once_flag resolveOnce_;
  std::shared_ptr<const ResolvedFont> resolved_;
};

struct BitmapObject : GdiObject {
  explicit BitmapObject(std::shared_ptr<Surface> pixels)
      : GdiObject(GdiKind::Bitmap), surface(std::move(pixels)) {}
  std::shared_ptr<Surface> surface;
  bool dibSection = false;
  BITMAPINFOHEADER dibHeader{};  // for GetObjectW of a DIB section
};

// The handle table. One per process; thread-safe.
class GdiTable {
 public:
  static GdiTable& instance();

  HGDIOBJ insert(std::shared_ptr<GdiObject> object);
  HGDIOBJ insertStock(std::shared_ptr<GdiObject> object);
  std::shared_ptr<GdiObject> lookup(HGDIOBJ handle);
  template <class T>
  std::shared_ptr<T> lookupAs(HGDIOBJ handle, GdiKind kind) {
    auto object = lookup(handle);
    if (!object || object->kind() != kind) return nullptr;
    return std::static_pointer_cast<T>(object);
  }

  // DeleteObject: stock objects are kept (success); a selected pen, brush or font is deleted
  // when the last DC lets it go; a selected bitmap is refused, as on the platform.
  bool remove(HGDIOBJ handle);
  // DeleteDC and the window code's release: the DC object lives on while a call holds it.
  bool removeDc(HGDIOBJ handle);

  // Selection into a DC. A non-stock bitmap can be selected into one DC at a time.
  bool select(GdiObject& object);
  void deselect(GdiObject& object);

 private:
  GdiTable() = default;
  std::mutex lock_;
  std::unordered_map<uintptr_t, std::shared_ptr<GdiObject>> objects_;
  uintptr_t next_;
};

template <class T>
std::shared_ptr<T> lookupGdi(HGDIOBJ handle, GdiKind kind) {
  return GdiTable::instance().lookupAs<T>(handle, kind);
}

// Stock objects by GetStockObject index; null for an unknown index.
std::shared_ptr<GdiObject> stockObject(int index);
// The 1x1 monochrome bitmap every memory DC starts with.
std::shared_ptr<BitmapObject> defaultBitmap();

}  // namespace handheld::gdi
