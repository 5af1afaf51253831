// PropertySheetW: the pages, the callback's questions and the sheet's dialog, modal or not.
#include <memory>

#include "controls/propsheet/property_sheet.h"

using namespace handheld::controls;

namespace {

constexpr UINT kMaxPages = 100;

// The sheet's own template: a popup without items; it sizes itself to the screen.
std::vector<WORD> sheetTemplate(const std::u16string& caption, bool visible) {
  const DWORD style = WS_POPUP | WS_CLIPCHILDREN | (visible ? WS_VISIBLE : 0);
  std::vector<WORD> words = {LOWORD(style), HIWORD(style), 0, 0, 0, 0, 0, 0, 0, 0, 0};
  words.insert(words.end(), caption.begin(), caption.end());
  words.push_back(0);
  return words;
}

int startPage(const PROPSHEETHEADERW& header, const Sheet& sheet) {
  if (header.dwFlags & PSH_USEPSTARTPAGE) {
    const std::u16string wanted = stringOrResource(header.hInstance, header.pStartPage);
    for (size_t i = 0; i < sheet.pages.size(); ++i)
      if (sheet.pages[i].handle->title == wanted) return static_cast<int>(i);
    return 0;
  }
  return header.nStartPage < sheet.pages.size() ? static_cast<int>(header.nStartPage) : 0;
}

INT_PTR fail(Sheet& sheet, bool ownPages) {
  if (ownPages) releasePages(sheet);
  SetLastError(ERROR_INVALID_PARAMETER);
  return -1;
}

}  // namespace

HANDHELD_API INT_PTR WINAPI PropertySheetW(LPCPROPSHEETHEADERW header) {
  if (!header || header->dwSize < sizeof(PROPSHEETHEADERW) || header->nPages == 0 || header->nPages > kMaxPages ||
      (header->hwndParent && !IsWindow(header->hwndParent))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  auto sheet = std::make_unique<Sheet>();
  const bool ownPages = header->dwFlags & PSH_PROPSHEETPAGE;
  if (ownPages ? !header->ppsp : !header->phpage) return fail(*sheet, false);
  // Descriptions follow each other at their own dwSize.
  const auto* at = reinterpret_cast<const uint8_t*>(header->ppsp);
  for (UINT i = 0; i < header->nPages; ++i) {
    HPROPSHEETPAGE page = nullptr;
    if (ownPages) {
      const auto* description = reinterpret_cast<LPCPROPSHEETPAGEW>(at);
      page = CreatePropertySheetPageW(description);
      if (page) at += description->dwSize;
    } else if (isLivePage(header->phpage[i])) {
      page = header->phpage[i];
    }
    if (!page) return fail(*sheet, ownPages);
    sheet->pages.push_back({page});
  }
  sheet->flags = header->dwFlags;
  sheet->instance = header->hInstance;
  sheet->caption = stringOrResource(header->hInstance, header->pszCaption);
  sheet->startPage = startPage(*header, *sheet);
  sheet->modal = !(header->dwFlags & PSH_MODELESS);
  if ((header->dwFlags & PSH_USECALLBACK) && header->pfnCallback) sheet->callback = header->pfnCallback;
  // Every sheet has the handheld's look, whichever version the program names.
  if (sheet->callback) sheet->callback(nullptr, PSCB_GETVERSION, 0);
  std::vector<WORD> bytes = sheetTemplate(sheet->caption, !sheet->modal);
  auto* dialogTemplate = reinterpret_cast<LPDLGTEMPLATEW>(bytes.data());
  if (sheet->callback) sheet->callback(nullptr, PSCB_PRECREATE, reinterpret_cast<LPARAM>(dialogTemplate));

  if (sheet->modal) {
    DialogBoxIndirectParamW(header->hInstance, dialogTemplate, header->hwndParent, sheetProc,
                            reinterpret_cast<LPARAM>(sheet.get()));
    // Made no window: the pages are still ours to release.
    if (!sheet->window) return fail(*sheet, true);
    if (!sheet->applied) return 0;
    return sheet->restart ? sheet->restart : 1;
  }
  // From here the sheet is freed with its window (WM_NCDESTROY), if one was made.
  bool made = false;
  Sheet* modeless = sheet.release();
  modeless->made = &made;
  HWND window = CreateDialogIndirectParamW(header->hInstance, dialogTemplate, header->hwndParent, sheetProc,
                                           reinterpret_cast<LPARAM>(modeless));
  if (!made) {
    releasePages(*modeless);
    delete modeless;
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  if (!window) return -1;  // it ended during its creation and freed itself
  modeless->made = nullptr;
  return reinterpret_cast<INT_PTR>(window);
}
