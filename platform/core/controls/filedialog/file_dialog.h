// The open-file dialog's window: a full-screen "#32770" dialog without a template whose
// procedure builds its controls, lists the folder and checks the choice. GetOpenFileNameW
// (file_dialog.cpp) owns the state on its stack and writes the result back.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include "controls/filedialog/file_browser.h"
#include "user/dialogs/title_band.h"

namespace handheld::controls {

// The controls' ids, as the platform's own open dialog numbers them.
inline constexpr int kReadOnlyId = 0x0410;  // "Open as read-only" (without OFN_HIDEREADONLY)
inline constexpr int kFolderId = 0x0440;    // the folder shown
inline constexpr int kListId = 0x0460;      // its folders and files
inline constexpr int kTypesId = 0x0470;     // the filters (when the combo box class exists)
inline constexpr int kNameId = 0x0480;      // the name typed (when the edit class exists)

struct FileDialogState {
  DWORD flags = 0;
  std::u16string title;
  std::vector<FileFilter> filters;
  size_t filterIndex = 0;  // into filters
  FolderPath folder;
  std::u16string initialName;  // selected when the first listing holds it
  std::vector<BrowserEntry> entries;  // as listed; ".." first below the root
  bool readOnly = false;              // the check box's state at the end
  std::u16string chosen;              // the path accepted
  user::dialogs::TitleFont titleFont;
  RECT titleBand{};
};

INT_PTR CALLBACK fileDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace handheld::controls
