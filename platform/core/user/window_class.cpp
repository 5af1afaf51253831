#include "user/window_class.h"

#include <algorithm>

#include "ipc/protocol.h"
#include "strings/case_fold.h"
#include "user/window.h"

namespace handheld::user {

namespace {

constexpr size_t kMaxClasses = 4096;
constexpr int kMaxExtraBytes = 40 * 1024;

bool isAtom(LPCWSTR nameOrAtom) { return IS_INTRESOURCE(nameOrAtom); }
ATOM atomOf(LPCWSTR nameOrAtom) { return static_cast<ATOM>(reinterpret_cast<uintptr_t>(nameOrAtom)); }

bool names(const WindowClass& c, LPCWSTR nameOrAtom) {
  if (isAtom(nameOrAtom)) return c.atom == atomOf(nameOrAtom);
  return strings::equalNoCase(c.name, std::u16string_view(nameOrAtom));
}

}  // namespace

HINSTANCE normalizeInstance(HINSTANCE instance) {
  return instance ? instance : GetModuleHandleW(nullptr);
}

ClassRegistry& ClassRegistry::get() {
  // Outlives static destructors: threads may still run.
  static auto* registry = [] {
    auto* made = new ClassRegistry;
    addPlatformClasses(*made);
    return made;
  }();
  return *registry;
}

ATOM ClassRegistry::add(const WNDCLASSW& d, bool system, DWORD& error, ATOM fixedAtom) {
  if (!d.lpszClassName || !d.lpfnWndProc || d.cbClsExtra < 0 || d.cbWndExtra < 0 ||
      d.cbClsExtra > kMaxExtraBytes || d.cbWndExtra > kMaxExtraBytes) {
    error = ERROR_INVALID_PARAMETER;
    return 0;
  }
  if (isAtom(d.lpszClassName)) {
    error = ERROR_INVALID_PARAMETER;  // a new class needs a name
    return 0;
  }
  std::u16string_view name(d.lpszClassName);
  if (name.empty() || name.size() > ipc::kMaxClassNameLength) {
    error = ERROR_INVALID_PARAMETER;
    return 0;
  }
  HINSTANCE instance = system ? nullptr : normalizeInstance(d.hInstance);
  for (const auto& c : classes_) {
    if (c->system == system && c->instance == instance && names(*c, d.lpszClassName)) {
      error = ERROR_CLASS_ALREADY_EXISTS;
      return 0;
    }
  }
  if (classes_.size() >= kMaxClasses || nextAtom_ == 0xFFFF) {
    error = ERROR_NOT_ENOUGH_MEMORY;
    return 0;
  }
  auto c = std::make_shared<WindowClass>();
  c->name = std::u16string(name);
  c->atom = fixedAtom ? fixedAtom : nextAtom_++;
  c->instance = instance;
  c->system = system;
  c->style = d.style;
  c->procedure = d.lpfnWndProc;
  c->windowExtraBytes = d.cbWndExtra;
  c->icon = d.hIcon;
  c->cursor = d.hCursor;
  c->background = d.hbrBackground;
  if (d.lpszMenuName && !IS_INTRESOURCE(d.lpszMenuName)) {
    c->menuNameText = d.lpszMenuName;
    c->menuName = c->menuNameText.c_str();
  } else {
    c->menuName = d.lpszMenuName;
  }
  c->classExtra.assign(static_cast<size_t>(d.cbClsExtra), 0);
  classes_.push_back(c);
  return c->atom;
}

std::shared_ptr<WindowClass> ClassRegistry::findOwn(LPCWSTR nameOrAtom, HINSTANCE instance) const {
  if (!nameOrAtom) return nullptr;
  instance = normalizeInstance(instance);
  for (const auto& c : classes_)
    if (!c->system && c->instance == instance && names(*c, nameOrAtom)) return c;
  return nullptr;
}

std::shared_ptr<WindowClass> ClassRegistry::find(LPCWSTR nameOrAtom, HINSTANCE instance) const {
  if (!nameOrAtom) return nullptr;
  if (auto own = findOwn(nameOrAtom, instance)) return own;
  for (const auto& c : classes_)
    if (!c->system && (c->style & CS_GLOBALCLASS) && names(*c, nameOrAtom)) return c;
  for (const auto& c : classes_)
    if (c->system && names(*c, nameOrAtom)) return c;
  return nullptr;
}

bool ClassRegistry::remove(LPCWSTR nameOrAtom, HINSTANCE instance, DWORD& error) {
  auto c = findOwn(nameOrAtom, instance);
  if (!c) {
    error = ERROR_CLASS_DOES_NOT_EXIST;
    return false;
  }
  if (c->windows > 0) {
    error = ERROR_CLASS_HAS_WINDOWS;
    return false;
  }
  classes_.erase(std::find(classes_.begin(), classes_.end(), c));
  return true;
}

ATOM registerSystemClass(const WNDCLASSW& description) {
  DWORD error = 0;
  UserGuard guard(userLock());
  ATOM atom = ClassRegistry::get().add(description, true, error);
  if (!atom) SetLastError(error);
  return atom;
}

}  // namespace handheld::user
