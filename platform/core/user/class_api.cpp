// RegisterClassW, UnregisterClassW, GetClassInfoW, GetClassNameW, Get/SetClassLong(Ptr)W,
// RegisterWindowMessageW.
#include <algorithm>
#include <cstring>

#include "user/device_link.h"
#include "user/window.h"
#include "user/window_class.h"

using namespace handheld;
using namespace handheld::user;

namespace {

template <class T>
bool readClassExtra(const WindowClass& c, int index, T& value) {
  if (index < 0 || static_cast<size_t>(index) + sizeof(T) > c.classExtra.size()) return false;
  std::memcpy(&value, c.classExtra.data() + index, sizeof(T));
  return true;
}

bool readClassValue(const WindowClass& c, int index, ULONG_PTR& value) {
  switch (index) {
    case GCL_STYLE: value = c.style; return true;
    case GCL_CBWNDEXTRA: value = static_cast<ULONG_PTR>(c.windowExtraBytes); return true;
    case GCL_CBCLSEXTRA: value = c.classExtra.size(); return true;
    case GCLP_WNDPROC: value = reinterpret_cast<ULONG_PTR>(c.procedure); return true;
    case GCLP_HBRBACKGROUND: value = reinterpret_cast<ULONG_PTR>(c.background); return true;
    case GCLP_HCURSOR: value = reinterpret_cast<ULONG_PTR>(c.cursor); return true;
    case GCLP_HICON: value = reinterpret_cast<ULONG_PTR>(c.icon); return true;
    case GCLP_HMODULE: value = reinterpret_cast<ULONG_PTR>(c.instance); return true;
    case GCLP_MENUNAME: value = reinterpret_cast<ULONG_PTR>(c.menuName); return true;
    default: return readClassExtra(c, index, value);
  }
}

// Values that can be changed; the sizes of the extra bytes and the menu name cannot.
bool writeClassValue(WindowClass& c, int index, ULONG_PTR value) {
  switch (index) {
    case GCL_STYLE: c.style = static_cast<UINT>(value); return true;
    case GCLP_WNDPROC: c.procedure = reinterpret_cast<WNDPROC>(value); return true;
    case GCLP_HBRBACKGROUND: c.background = reinterpret_cast<HBRUSH>(value); return true;
    case GCLP_HCURSOR: c.cursor = reinterpret_cast<HCURSOR>(value); return true;
    case GCLP_HICON: c.icon = reinterpret_cast<HICON>(value); return true;
    default:
      if (index < 0 || static_cast<size_t>(index) + sizeof(value) > c.classExtra.size()) return false;
      std::memcpy(c.classExtra.data() + index, &value, sizeof(value));
      return true;
  }
}

// Indexes of pointers, which the 32-bit functions cannot carry. Brush handles stay below 2^31.
bool isPointerClassIndex(int index) {
  return index == GCLP_WNDPROC || index == GCLP_HCURSOR || index == GCLP_HICON ||
         index == GCLP_HMODULE || index == GCLP_MENUNAME;
}

std::shared_ptr<WindowClass> classOfWindow(HWND window) {
  auto w = findOwnWindow(window);
  return w ? w->windowClass : nullptr;
}

}  // namespace

HANDHELD_API ATOM WINAPI RegisterClassW(const WNDCLASSW* windowClass) {
  if (!windowClass) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  DWORD error = 0;
  UserGuard guard(userLock());
  ATOM atom = ClassRegistry::get().add(*windowClass, false, error);
  if (!atom) SetLastError(error);
  return atom;
}

HANDHELD_API BOOL WINAPI UnregisterClassW(LPCWSTR className, HINSTANCE instance) {
  DWORD error = 0;
  UserGuard guard(userLock());
  if (ClassRegistry::get().remove(className, instance, error)) return TRUE;
  SetLastError(error);
  return FALSE;
}

HANDHELD_API BOOL WINAPI GetClassInfoW(HINSTANCE instance, LPCWSTR className, LPWNDCLASSW out) {
  UserGuard guard(userLock());
  auto c = ClassRegistry::get().find(className, instance);
  if (!c || !out) {
    SetLastError(c ? ERROR_INVALID_PARAMETER : ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  *out = WNDCLASSW{c->style,       c->procedure, static_cast<int>(c->classExtra.size()),
                   c->windowExtraBytes, c->instance, c->icon, c->cursor, c->background,
                   c->menuName,    c->name.c_str()};
  return TRUE;
}

HANDHELD_API int WINAPI GetClassNameW(HWND window, LPWSTR className, int maxCount) {
  if (!className || maxCount <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::u16string name;
  if (classifyHandle(window) == HandleKind::Foreign) {
    auto record = describeForeign(window);
    if (!record) return 0;
    name = std::move(record->className);
  } else {
    UserGuard guard(userLock());
    auto c = classOfWindow(window);
    if (!c) return 0;
    name = c->name;
  }
  size_t count = std::min(name.size(), static_cast<size_t>(maxCount) - 1);
  std::copy_n(name.data(), count, className);
  className[count] = 0;
  return static_cast<int>(count);
}

HANDHELD_API ULONG_PTR WINAPI GetClassLongPtrW(HWND window, int index) {
  UserGuard guard(userLock());
  auto c = classOfWindow(window);
  ULONG_PTR value = 0;
  if (c && !readClassValue(*c, index, value)) SetLastError(ERROR_INVALID_INDEX);
  return value;
}

HANDHELD_API ULONG_PTR WINAPI SetClassLongPtrW(HWND window, int index, LONG_PTR value) {
  UserGuard guard(userLock());
  auto c = classOfWindow(window);
  if (!c) return 0;
  ULONG_PTR old = 0;
  if (!readClassValue(*c, index, old) || !writeClassValue(*c, index, static_cast<ULONG_PTR>(value))) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  return old;
}

HANDHELD_API DWORD WINAPI GetClassLongW(HWND window, int index) {
  if (isPointerClassIndex(index)) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  if (index >= 0) {
    UserGuard guard(userLock());
    auto c = classOfWindow(window);
    DWORD value = 0;
    if (c && !readClassExtra(*c, index, value)) SetLastError(ERROR_INVALID_INDEX);
    return value;
  }
  return static_cast<DWORD>(GetClassLongPtrW(window, index));
}

HANDHELD_API DWORD WINAPI SetClassLongW(HWND window, int index, LONG value) {
  if (isPointerClassIndex(index)) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  if (index >= 0) {
    UserGuard guard(userLock());
    auto c = classOfWindow(window);
    DWORD old = 0;
    if (c && readClassExtra(*c, index, old)) {
      std::memcpy(c->classExtra.data() + index, &value, sizeof value);
    } else if (c) {
      SetLastError(ERROR_INVALID_INDEX);
    }
    return old;
  }
  // A brush handle is a positive 32-bit number: widen it without sign extension.
  return static_cast<DWORD>(SetClassLongPtrW(window, index, static_cast<LONG_PTR>(static_cast<DWORD>(value))));
}

HANDHELD_API UINT WINAPI RegisterWindowMessageW(LPCWSTR name) {
  if (!name || !*name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto reply = deviceLink().call<ipc::MessageNameRegister>({name});
  UINT message = reply ? reply->message : 0;
  if (!message) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return message;
}
