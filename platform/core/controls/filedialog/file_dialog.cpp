// GetOpenFileNameW and CommDlgExtendedError: the caller's structure read (every string within
// its stated size), the dialog run, the chosen path written back.
#include "controls/filedialog/file_dialog.h"

#include <algorithm>

#include "user/dialogs/dialogs.h"

using namespace handheld;
using namespace handheld::controls;

namespace {

thread_local DWORD t_lastError = 0;

// Longer titles and folders than this are not taken from the caller.
constexpr size_t kMaxText = 32768;

BOOL fail(DWORD error) {
  t_lastError = error;
  return FALSE;
}

std::u16string bounded(const WCHAR* text, size_t limit) {
  std::u16string out;
  if (!text) return out;
  for (size_t i = 0; i < limit && text[i]; ++i) out += text[i];
  return out;
}

// Where the dialog starts: the folder of a path in lpstrFile, else lpstrInitialDir, else
// "\My Documents", else the root; the name in lpstrFile is selected.
void startAt(const OPENFILENAMEW& ofn, FileDialogState& state) {
  const std::u16string file = bounded(ofn.lpstrFile, ofn.nMaxFile);
  const size_t cut = file.find_last_of(u"\\/");
  state.initialName = cut == std::u16string::npos ? file : file.substr(cut + 1);
  if (cut != std::u16string::npos) {
    FolderPath folder = FolderPath::parse(file.substr(0, cut));
    if (folder.exists()) {
      state.folder = folder;
      return;
    }
  }
  if (ofn.lpstrInitialDir) {
    FolderPath folder = FolderPath::parse(bounded(ofn.lpstrInitialDir, kMaxText));
    if (folder.exists()) {
      state.folder = folder;
      return;
    }
  }
  FolderPath documents = FolderPath::parse(u"\\My Documents");
  if (documents.exists()) state.folder = documents;
}

// The chosen path into the caller's structure; false when lpstrFile cannot hold it.
bool writeBack(OPENFILENAMEW& ofn, const FileDialogState& state) {
  const std::u16string& path = state.chosen;
  if (path.size() + 1 > ofn.nMaxFile) {
    // The characters needed, in the buffer's first WORD.
    if (ofn.nMaxFile >= 1) ofn.lpstrFile[0] = static_cast<WCHAR>(std::min<size_t>(path.size() + 1, 0xFFFF));
    return false;
  }
  std::copy(path.begin(), path.end(), ofn.lpstrFile);
  ofn.lpstrFile[path.size()] = 0;
  const size_t nameAt = path.find_last_of(u'\\') + 1;
  const size_t dot = path.find_last_of(u'.');
  ofn.nFileOffset = static_cast<WORD>(nameAt);
  if (dot == std::u16string::npos || dot < nameAt) ofn.nFileExtension = static_cast<WORD>(path.size());
  else if (dot + 1 == path.size()) ofn.nFileExtension = 0;  // a name that ends with a dot
  else ofn.nFileExtension = static_cast<WORD>(dot + 1);
  if (ofn.lpstrFileTitle && ofn.nMaxFileTitle > 0) {
    const size_t count = std::min<size_t>(path.size() - nameAt, ofn.nMaxFileTitle - 1);
    std::copy_n(path.begin() + static_cast<std::ptrdiff_t>(nameAt), count, ofn.lpstrFileTitle);
    ofn.lpstrFileTitle[count] = 0;
  }
  if (!state.filters.empty()) ofn.nFilterIndex = static_cast<DWORD>(state.filterIndex + 1);
  if (!(ofn.Flags & OFN_HIDEREADONLY)) {
    if (state.readOnly) ofn.Flags |= OFN_READONLY;
    else ofn.Flags &= ~static_cast<DWORD>(OFN_READONLY);
  }
  return true;
}

}  // namespace

HANDHELD_API BOOL WINAPI GetOpenFileNameW(LPOPENFILENAMEW ofn) {
  t_lastError = 0;
  if (!ofn || ofn->lStructSize != sizeof(OPENFILENAMEW)) return fail(CDERR_STRUCTSIZE);
  if (!ofn->lpstrFile || (ofn->hwndOwner && !IsWindow(ofn->hwndOwner))) return fail(CDERR_INITIALIZATION);

  FileDialogState state;
  state.flags = ofn->Flags;
  state.title = ofn->lpstrTitle ? bounded(ofn->lpstrTitle, kMaxText) : u"Open";
  state.filters = parseFilters(ofn->lpstrFilter);
  if (ofn->nFilterIndex >= 1 && ofn->nFilterIndex <= state.filters.size()) state.filterIndex = ofn->nFilterIndex - 1;
  startAt(*ofn, state);

  resources::DialogTemplate page;
  // Full screen; the dialog paints its own title, as the device draws no captions.
  page.style = WS_POPUP;
  page.caption = state.title;
  HWND dialog = user::dialogs::createDialog(nullptr, page, ofn->hwndOwner, fileDialogProc,
                                            reinterpret_cast<LPARAM>(&state), true);
  if (!dialog) return fail(CDERR_INITIALIZATION);
  if (user::dialogs::runModal(dialog) != IDOK || state.chosen.empty()) return FALSE;  // cancelled
  if (!writeBack(*ofn, state)) return fail(FNERR_BUFFERTOOSMALL);
  return TRUE;
}

HANDHELD_API DWORD WINAPI CommDlgExtendedError(void) { return t_lastError; }
