// Image lists (commctrl.h): equally sized images with optional transparency, drawn into DCs.
#include <commctrl.h>

#include <mutex>
#include <unordered_map>
#include <utility>
#include <vector>

#include "gdi/color.h"
#include "gdi/device_context.h"
#include "gdi/system_colors.h"

namespace handheld::controls {

namespace {

using namespace handheld::gdi;

constexpr int kMaxImageSide = 1024;
constexpr size_t kMaxImages = 4096;

struct Image {
  std::vector<uint32_t> pixels;  // cx * cy, 0x00RRGGBB
  std::vector<bool> transparent;
};

class ImageList {
 public:
  ImageList(int cx, int cy, UINT flags) : cx_(cx), cy_(cy), flags_(flags) {}

  std::mutex& mutex() { return mutex_; }
  int cx() const { return cx_; }
  int cy() const { return cy_; }
  bool masked() const { return (flags_ & ILC_MASK) != 0; }
  std::vector<Image>& images() { return images_; }
  COLORREF background = CLR_NONE;

  // Slices the bitmap into images; isTransparent(x, y) decides per pixel of the strip.
  template <class Transparent>
  int add(const Surface& strip, Transparent&& isTransparent) {
    const int count = strip.width() / cx_;
    if (count <= 0 || images_.size() + static_cast<size_t>(count) > kMaxImages) return -1;
    const int first = static_cast<int>(images_.size());
    for (int i = 0; i < count; ++i) {
      Image image;
      image.pixels.assign(static_cast<size_t>(cx_) * static_cast<size_t>(cy_), 0);
      image.transparent.assign(image.pixels.size(), false);
      for (int y = 0; y < std::min(cy_, strip.height()); ++y) {
        for (int x = 0; x < cx_; ++x) {
          size_t at = static_cast<size_t>(y) * static_cast<size_t>(cx_) + static_cast<size_t>(x);
          int sx = i * cx_ + x;
          image.pixels[at] = strip.pixel(sx, y);
          image.transparent[at] = masked() && isTransparent(sx, y);
        }
      }
      images_.push_back(std::move(image));
    }
    return first;
  }

 private:
  std::mutex mutex_;
  int cx_;
  int cy_;
  UINT flags_;
  std::vector<Image> images_;
};

class ImageListTable {
 public:
  static ImageListTable& instance() {
    static auto* table = new ImageListTable;  // outlives static destructors of callers
    return *table;
  }
  HIMAGELIST insert(std::shared_ptr<ImageList> list) {
    std::lock_guard guard(mutex_);
    uintptr_t value = next_;
    next_ += 4;
    lists_.emplace(value, std::move(list));
    return reinterpret_cast<HIMAGELIST>(value);
  }
  std::shared_ptr<ImageList> lookup(HIMAGELIST handle) {
    std::lock_guard guard(mutex_);
    auto it = lists_.find(reinterpret_cast<uintptr_t>(handle));
    return it == lists_.end() ? nullptr : it->second;
  }
  bool remove(HIMAGELIST handle) {
    std::lock_guard guard(mutex_);
    return lists_.erase(reinterpret_cast<uintptr_t>(handle)) > 0;
  }

 private:
  std::mutex mutex_;
  std::unordered_map<uintptr_t, std::shared_ptr<ImageList>> lists_;
  uintptr_t next_ = 0x20000000;
};

std::shared_ptr<ImageList> lookupList(HIMAGELIST handle) {
  auto list = ImageListTable::instance().lookup(handle);
  if (!list) SetLastError(ERROR_INVALID_HANDLE);
  return list;
}

}  // namespace

}  // namespace handheld::controls

using namespace handheld::gdi;
using namespace handheld::controls;

HANDHELD_API HIMAGELIST WINAPI ImageList_Create(int cx, int cy, UINT flags, int initial,
                                                int grow) {
  (void)initial;  // storage grows as images arrive
  (void)grow;
  if (cx <= 0 || cy <= 0 || cx > kMaxImageSide || cy > kMaxImageSide) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return ImageListTable::instance().insert(std::make_shared<ImageList>(cx, cy, flags));
}

HANDHELD_API BOOL WINAPI ImageList_Destroy(HIMAGELIST list) {
  if (ImageListTable::instance().remove(list)) return TRUE;
  SetLastError(ERROR_INVALID_HANDLE);
  return FALSE;
}

HANDHELD_API int WINAPI ImageList_Add(HIMAGELIST handle, HBITMAP image, HBITMAP mask) {
  auto list = lookupList(handle);
  auto bitmap = lookupGdi<BitmapObject>(image, GdiKind::Bitmap);
  auto maskBitmap = mask ? lookupGdi<BitmapObject>(mask, GdiKind::Bitmap) : nullptr;
  if (!list || !bitmap || (mask && !maskBitmap)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return -1;
  }
  std::lock_guard guard(list->mutex());
  const Surface* maskSurface = maskBitmap ? maskBitmap->surface.get() : nullptr;
  return list->add(*bitmap->surface, [&](int x, int y) {
    return maskSurface && x < maskSurface->width() && y < maskSurface->height() &&
           maskSurface->pixel(x, y) != 0;
  });
}

HANDHELD_API int WINAPI ImageList_AddMasked(HIMAGELIST handle, HBITMAP image, COLORREF mask) {
  auto list = lookupList(handle);
  auto bitmap = lookupGdi<BitmapObject>(image, GdiKind::Bitmap);
  if (!list || !bitmap) {
    SetLastError(ERROR_INVALID_HANDLE);
    return -1;
  }
  std::lock_guard guard(list->mutex());
  const Surface& strip = *bitmap->surface;
  const uint32_t key = strip.format().quantize(toRgb(mask));
  return list->add(strip, [&](int x, int y) { return strip.pixel(x, y) == key; });
}

HANDHELD_API BOOL WINAPI ImageList_Draw(HIMAGELIST handle, int index, HDC hdc, int x, int y,
                                        UINT style) {
  auto list = lookupList(handle);
  if (!list) return FALSE;
  std::lock_guard guard(list->mutex());
  if (index < 0 || static_cast<size_t>(index) >= list->images().size()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  LockedDc dc(hdc);
  if (!dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  const Image& image = list->images()[static_cast<size_t>(index)];
  const bool drawMask = (style & ILD_MASK) != 0;
  // Transparent pixels show the destination unless a background colour is set and the
  // caller did not ask for transparency.
  const bool keepDestination = (style & ILD_TRANSPARENT) || list->background == CLR_NONE;
  const uint32_t background = toRgb(list->background);
  const uint32_t highlight = toRgb(sysColor(COLOR_HIGHLIGHT));
  const uint32_t blend = (style & ILD_BLEND50) ? 128 : (style & ILD_BLEND25) ? 64 : 0;
  POINT origin = dc->toSurface(x, y);
  Canvas canvas = dc->canvas();
  Surface& surface = canvas.surface();
  const RECT box{origin.x, origin.y, origin.x + list->cx(), origin.y + list->cy()};
  canvas.forEachPiece(box, [&](const RECT& piece) {
    canvas.addDamage(piece);
    for (int row = piece.top; row < piece.bottom; ++row) {
      for (int column = piece.left; column < piece.right; ++column) {
        size_t at = static_cast<size_t>(row - origin.y) * static_cast<size_t>(list->cx()) +
                    static_cast<size_t>(column - origin.x);
        bool transparent = image.transparent[at];
        uint32_t color = 0;
        if (drawMask) {
          color = transparent ? 0xFFFFFF : 0;
        } else if (transparent) {
          if (keepDestination) continue;
          color = background;
        } else {
          color = blend ? blendRgb(image.pixels[at], highlight, blend) : image.pixels[at];
        }
        surface.setPixel(column, row, color);
      }
    }
  });
  return TRUE;
}

HANDHELD_API int WINAPI ImageList_GetImageCount(HIMAGELIST handle) {
  auto list = lookupList(handle);
  if (!list) return 0;
  std::lock_guard guard(list->mutex());
  return static_cast<int>(list->images().size());
}

HANDHELD_API BOOL WINAPI ImageList_GetIconSize(HIMAGELIST handle, int* cx, int* cy) {
  auto list = lookupList(handle);
  if (!list) return FALSE;
  if (cx) *cx = list->cx();
  if (cy) *cy = list->cy();
  return TRUE;
}

HANDHELD_API BOOL WINAPI ImageList_Remove(HIMAGELIST handle, int index) {
  auto list = lookupList(handle);
  if (!list) return FALSE;
  std::lock_guard guard(list->mutex());
  auto& images = list->images();
  if (index == -1) {
    images.clear();
    return TRUE;
  }
  if (index < 0 || static_cast<size_t>(index) >= images.size()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  images.erase(images.begin() + index);
  return TRUE;
}

HANDHELD_API COLORREF WINAPI ImageList_SetBkColor(HIMAGELIST handle, COLORREF color) {
  auto list = lookupList(handle);
  if (!list) return CLR_NONE;
  std::lock_guard guard(list->mutex());
  return std::exchange(list->background, color == CLR_NONE ? CLR_NONE : color & 0xFFFFFF);
}

HANDHELD_API COLORREF WINAPI ImageList_GetBkColor(HIMAGELIST handle) {
  auto list = lookupList(handle);
  if (!list) return CLR_NONE;
  std::lock_guard guard(list->mutex());
  return list->background;
}

HANDHELD_API HIMAGELIST WINAPI ImageList_LoadImage(HINSTANCE instance, LPCWSTR name, int cx,
                                                   int grow, COLORREF mask, UINT type,
                                                   UINT flags) {
  if (type != IMAGE_BITMAP) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  HBITMAP bitmap = static_cast<HBITMAP>(
      LoadImageW(instance, name, IMAGE_BITMAP, 0, 0, flags & LR_LOADFROMFILE));
  if (!bitmap) return nullptr;
  auto object = lookupGdi<BitmapObject>(bitmap, GdiKind::Bitmap);
  const Surface& strip = *object->surface;
  if (mask == CLR_DEFAULT) mask = toColorref(strip.pixel(0, 0));
  const UINT listFlags = ILC_COLOR32 | (mask != CLR_NONE ? ILC_MASK : 0);
  HIMAGELIST list = ImageList_Create(cx, strip.height(), listFlags, 0, grow);
  if (list) {
    int added = mask != CLR_NONE ? ImageList_AddMasked(list, bitmap, mask)
                                 : ImageList_Add(list, bitmap, nullptr);
    if (added < 0) {
      ImageList_Destroy(list);
      list = nullptr;
      SetLastError(ERROR_INVALID_PARAMETER);
    }
  }
  DeleteObject(bitmap);
  return list;
}
