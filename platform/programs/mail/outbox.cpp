#include "outbox.h"

#include <shlobj.h>
#include <windows.h>

#include <cstdio>

#include "strings/utf.h"

namespace handheld::mail {

namespace {

// Files are named from 1 up; a full Outbox fails rather than overwrite a message.
constexpr unsigned kMaxMessages = 9999;

std::u16string oneLine(std::u16string_view field) {
  std::u16string out(field);
  for (char16_t& c : out)
    if (c == u'\r' || c == u'\n') c = u' ';
  return out;
}

std::u16string outboxFolder() {
  WCHAR documents[MAX_PATH] = {};
  if (!SHGetSpecialFolderPath(nullptr, documents, CSIDL_PERSONAL, TRUE)) return u"\\My Documents\\Outbox";
  return std::u16string(documents) + u"\\Outbox";
}

bool writeAll(HANDLE file, const std::string& bytes) {
  DWORD written = 0;
  return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

}  // namespace

std::string messageText(const Message& message) {
  return strings::toUtf8(u"To: " + oneLine(message.to) + u"\r\nSubject: " + oneLine(message.subject) + u"\r\n\r\n" +
                         message.body);
}

std::u16string keepInOutbox(const Message& message) {
  const std::u16string folder = outboxFolder();
  if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return {};
  const std::string bytes = messageText(message);
  for (unsigned n = 1; n <= kMaxMessages; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "\\Message%04u.txt", n);
    const std::u16string path = folder + strings::fromUtf8(name);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      if (GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_ALREADY_EXISTS) continue;
      return {};
    }
    const bool written = writeAll(file, bytes);
    const DWORD error = GetLastError();
    CloseHandle(file);
    if (written) return path;
    // A message cut short is worse than none.
    DeleteFileW(path.c_str());
    SetLastError(error);
    return {};
  }
  SetLastError(ERROR_FILE_EXISTS);
  return {};
}

}  // namespace handheld::mail
