// CreatePropertySheetPageW, DestroyPropertySheetPage and the pages' windows.
#include <algorithm>
#include <cstring>
#include <mutex>
#include <set>

#include "controls/propsheet/property_sheet.h"
#include "resources/resource_access.h"
#include "user/dialogs/dialogs.h"

using namespace handheld;

namespace {

// A description with more than this appended is refused: no page needs it.
constexpr DWORD kMaxPageBytes = 64 * 1024;

std::mutex& pagesLock() {
  static std::mutex lock;
  return lock;
}
std::set<HPROPSHEETPAGE>& livePages() {
  static std::set<HPROPSHEETPAGE> pages;
  return pages;
}

// A page is a child dialog without a frame of its own, at the sheet's page area.
resources::DialogTemplate asChild(resources::DialogTemplate t) {
  const DWORD frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_BORDER | WS_DLGFRAME | WS_VISIBLE |
                      DS_MODALFRAME | DS_CENTER | DS_ABSALIGN;
  t.style = (t.style & ~frame) | WS_CHILD | DS_CONTROL;
  t.x = t.y = 0;
  return t;
}

}  // namespace

namespace handheld::controls {

std::u16string stringOrResource(HINSTANCE instance, LPCWSTR text) {
  if (!text) return {};
  if (!IS_INTRESOURCE(text)) return text;
  LPCWSTR loaded = nullptr;
  const int length = LoadStringW(instance, static_cast<UINT>(reinterpret_cast<ULONG_PTR>(text)),
                                 reinterpret_cast<LPWSTR>(&loaded), 0);
  return length > 0 && loaded ? std::u16string(loaded, static_cast<size_t>(length)) : std::u16string();
}

bool isLivePage(HPROPSHEETPAGE page) {
  std::lock_guard guard(pagesLock());
  return livePages().count(page) != 0;
}

HWND pageWindow(Sheet& sheet, int index) {
  if (index < 0 || index >= static_cast<int>(sheet.pages.size())) return nullptr;
  SheetPage& page = sheet.pages[index];
  if (page.window || page.failed) return page.window;
  PROPSHEETPAGEW* description = page.handle->description();
  if ((description->dwFlags & PSP_USECALLBACK) && description->pfnCallback &&
      description->pfnCallback(nullptr, PSPCB_CREATE, description) == 0) {
    page.failed = true;
    return nullptr;
  }
  HWND sheetWindow = sheet.window;
  HWND made = user::dialogs::createDialog(description->hInstance, asChild(page.handle->dialog), sheetWindow,
                                          description->pfnDlgProc, reinterpret_cast<LPARAM>(description), false);
  // The page's WM_INITDIALOG may have ended the sheet.
  if (!IsWindow(sheetWindow)) return nullptr;
  page.window = made;
  page.failed = made == nullptr;
  if (made) {
    const RECT area = pageArea(sheetWindow, sheet.tab);
    SetWindowPos(made, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return made;
}

void releasePages(Sheet& sheet) {
  for (auto& page : sheet.pages) {
    if (page.handle) DestroyPropertySheetPage(page.handle);
    page.handle = nullptr;
    page.window = nullptr;
  }
}

}  // namespace handheld::controls

HANDHELD_API HPROPSHEETPAGE WINAPI CreatePropertySheetPageW(LPCPROPSHEETPAGEW page) {
  if (!page || page->dwSize < sizeof(PROPSHEETPAGEW) || page->dwSize > kMaxPageBytes) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::optional<resources::DialogTemplate> dialog =
      (page->dwFlags & PSP_DLGINDIRECT) ? user::dialogs::decodeIndirect(page->pResource)
                                        : resources::loadDialog(page->hInstance, page->pszTemplate);
  if (!dialog) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  auto* made = new _PSP{};
  made->bytes.resize(page->dwSize);
  std::memcpy(made->bytes.data(), page, page->dwSize);
  made->dialog = std::move(*dialog);
  made->title = (page->dwFlags & PSP_USETITLE) ? controls::stringOrResource(page->hInstance, page->pszTitle)
                                                : made->dialog.caption;
  if ((page->dwFlags & PSP_USEREFPARENT) && page->pcRefParent) ++*page->pcRefParent;
  std::lock_guard guard(pagesLock());
  livePages().insert(made);
  return made;
}

HANDHELD_API BOOL WINAPI DestroyPropertySheetPage(HPROPSHEETPAGE page) {
  {
    std::lock_guard guard(pagesLock());
    if (!livePages().erase(page)) {
      SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
  }
  PROPSHEETPAGEW* description = page->description();
  if ((description->dwFlags & PSP_USECALLBACK) && description->pfnCallback)
    description->pfnCallback(nullptr, PSPCB_RELEASE, description);
  if ((description->dwFlags & PSP_USEREFPARENT) && description->pcRefParent && *description->pcRefParent > 0)
    --*description->pcRefParent;
  delete page;
  return TRUE;
}
