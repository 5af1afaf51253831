#include "gdi/gdi_objects.h"

namespace handheld::gdi {

namespace {

// GDI handle values live in their own range, apart from kernel handles, and stay below 2^31
// so that code keeping them in a 32-bit field still round-trips them. The range starts above
// the system colour indices plus one (up to SYS_COLOR_INDEX_FLAG | C_SYS_COLOR_TYPES), which
// FillRect and class backgrounds accept in place of a brush.
constexpr uintptr_t kFirstHandle = 0x41000000;
constexpr uintptr_t kLastHandle = 0x7FFFFFF0;

}  // namespace

GdiTable& GdiTable::instance() {
  static GdiTable* table = [] {
    auto* created = new GdiTable;  // outlives static destructors of callers
    created->next_ = kFirstHandle;
    return created;
  }();
  return *table;
}

HGDIOBJ GdiTable::insert(std::shared_ptr<GdiObject> object) {
  std::lock_guard guard(lock_);
  uintptr_t value = 0;
  do {
    value = next_;
    next_ = next_ + 4 > kLastHandle ? kFirstHandle : next_ + 4;
  } while (objects_.count(value));
  object->handle_ = reinterpret_cast<HGDIOBJ>(value);
  objects_.emplace(value, std::move(object));
  return reinterpret_cast<HGDIOBJ>(value);
}

HGDIOBJ GdiTable::insertStock(std::shared_ptr<GdiObject> object) {
  object->stock_ = true;
  return insert(std::move(object));
}

std::shared_ptr<GdiObject> GdiTable::lookup(HGDIOBJ handle) {
  std::lock_guard guard(lock_);
  auto it = objects_.find(reinterpret_cast<uintptr_t>(handle));
  if (it == objects_.end() || it->second->deletePending_) return nullptr;
  return it->second;
}

bool GdiTable::remove(HGDIOBJ handle) {
  std::lock_guard guard(lock_);
  auto it = objects_.find(reinterpret_cast<uintptr_t>(handle));
  if (it == objects_.end() || it->second->deletePending_) return false;
  GdiObject& object = *it->second;
  if (object.stock_) return true;
  if (object.kind() == GdiKind::DC) return false;  // DeleteDC's business
  if (object.selections_ > 0) {
    if (object.kind() == GdiKind::Bitmap) return false;
    object.deletePending_ = true;
    return true;
  }
  objects_.erase(it);
  return true;
}

bool GdiTable::removeDc(HGDIOBJ handle) {
  std::shared_ptr<GdiObject> removed;  // destroyed outside the lock: it deselects its objects
  std::lock_guard guard(lock_);
  auto it = objects_.find(reinterpret_cast<uintptr_t>(handle));
  if (it == objects_.end() || it->second->kind() != GdiKind::DC) return false;
  removed = std::move(it->second);
  objects_.erase(it);
  return true;
}

bool GdiTable::select(GdiObject& object) {
  std::lock_guard guard(lock_);
  if (object.deletePending_) return false;
  if (object.kind() == GdiKind::Bitmap && !object.stock_ && object.selections_ > 0) return false;
  ++object.selections_;
  return true;
}

void GdiTable::deselect(GdiObject& object) {
  std::lock_guard guard(lock_);
  if (object.selections_ > 0) --object.selections_;
  if (object.selections_ == 0 && object.deletePending_) {
    objects_.erase(reinterpret_cast<uintptr_t>(object.handle_));
  }
}

}  // namespace handheld::gdi
