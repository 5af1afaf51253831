// Window classes: registered per module instance, plus the platform's own classes (controls,
// dialogs) that every module finds. All access happens under userLock().
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace handheld::user {

struct WindowClass {
  std::u16string name;
  ATOM atom = 0;
  HINSTANCE instance = nullptr;  // null for the platform's own classes
  bool system = false;
  UINT style = 0;
  WNDPROC procedure = nullptr;
  int windowExtraBytes = 0;
  HICON icon = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  LPCWSTR menuName = nullptr;  // a resource number, or points into menuNameText
  std::u16string menuNameText;
  std::vector<uint8_t> classExtra;
  size_t windows = 0;  // windows of the class that exist
};

class ClassRegistry {
 public:
  static ClassRegistry& get();

  // Registers a class; 0 with the error in `error` (ERROR_CLASS_ALREADY_EXISTS, ...). A
  // platform class may come with the atom the platform gives it (WC_DIALOG is 0x8002).
  ATOM add(const WNDCLASSW& description, bool system, DWORD& error, ATOM fixedAtom = 0);
  // The class a name or atom names for windows of `instance`: the instance's own class, a
  // global one, then the platform's.
  std::shared_ptr<WindowClass> find(LPCWSTR nameOrAtom, HINSTANCE instance) const;
  // The instance's own class only (UnregisterClassW, GetClassInfoW).
  std::shared_ptr<WindowClass> findOwn(LPCWSTR nameOrAtom, HINSTANCE instance) const;
  bool remove(LPCWSTR nameOrAtom, HINSTANCE instance, DWORD& error);

 private:
  ClassRegistry() = default;
  std::vector<std::shared_ptr<WindowClass>> classes_;
  ATOM nextAtom_ = 0xC000;
};

// NULL stands for the program's own module.
HINSTANCE normalizeInstance(HINSTANCE instance);

// For later parts of the platform: a class every module finds ("Button", "#32770", ...).
ATOM registerSystemClass(const WNDCLASSW& description);
// The platform's own classes, in every process from the start (system_classes.cpp).
void addPlatformClasses(ClassRegistry& registry);

}  // namespace handheld::user
