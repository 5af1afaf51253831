#include "notes/note_save_failure.h"

#include <memory>
#include <utility>

#include "pinnotes/crossing_names.h"
#include "pinnotes/unique_handle.h"

namespace {

std::u16string reasonOf(DWORD error) {
  switch (error) {
    case kNoFreeNoteName:
      return u"all 1000 pinnote file names are taken. Delete a pinnote first";
    case ERROR_ACCESS_DENIED:
      return u"the notes folder is read-only";
    case ERROR_DISK_FULL:
      return u"the storage is full. Make room first";
    case ERROR_PATH_NOT_FOUND:
      return u"the notes folder is missing";
    default:
      return u"its file cannot be written";
  }
}

DWORD WINAPI showBox(LPVOID parameter) {
  const std::unique_ptr<std::u16string> text(static_cast<std::u16string*>(parameter));
  MessageBoxW(nullptr, text->c_str(), CrossingNames::kWindowTitle,
              MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND | MB_TOPMOST);
  return 0;
}

void showDetached(std::u16string message) {
  auto text = std::make_unique<std::u16string>(std::move(message));
  // The thread owns the text; nobody waits for it, the box ends with the user's "OK".
  const UniqueHandle thread(CreateThread(nullptr, 0, showBox, text.get(), 0, nullptr));
  if (thread.isOpen()) text.release();
}

}  // namespace

std::u16string SaveFailureText(DWORD error) {
  return u"The pinnote could not be saved: " + reasonOf(error) +
         u".\n\nIt stays open: close it again to save it, or clear it and close it to discard it.";
}

std::u16string OpenFailureText() {
  return u"The pinnote could not be opened: its file is damaged or cannot be read.";
}

void ShowSaveFailure(DWORD error) { showDetached(SaveFailureText(error)); }

void ShowOpenFailure() { showDetached(OpenFailureText()); }
