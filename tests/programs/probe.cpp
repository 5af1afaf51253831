// A device program for tests: its command line says what to do, its exit code tells.
//   exit N                      end with N
//   cmdline FILE                write the exact command line (UTF-16) to device file FILE
//   event-set NAME              set the named manual-reset event
//   event-wait NAME MS [READY]  wait for it (setting the named event READY first); exit 0 when
//                               set or pulsed, 1 on time-out
//   event-pulse NAME            pulse the named event
//   map-write NAME TEXT EVENT   put TEXT into the 520-byte mapping NAME, keep it until EVENT is set
//   map-read NAME FILE          copy the mapping's text to FILE; exit 2 when it did not exist
#include <windows.h>

#include <string>
#include <vector>

#include "command_words.h"

namespace {

bool writeFile(const std::u16string& path, const std::u16string& text) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(WCHAR)), &written, nullptr);
  CloseHandle(file);
  return ok;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPWSTR commandLine, int) {
  auto w = words(commandLine);
  if (w.empty()) return 100;
  if (w[0] == u"exit" && w.size() == 2) return _wtoi(w[1].c_str());
  if (w[0] == u"cmdline" && w.size() >= 2) {
    std::u16string line = commandLine;
    return writeFile(w[1], line) ? 0 : 3;
  }
  if (w[0] == u"event-set" && w.size() == 2) {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, w[1].c_str());
    return event && SetEvent(event) ? 0 : 3;
  }
  if (w[0] == u"event-pulse" && w.size() == 2) {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, w[1].c_str());
    return event && PulseEvent(event) ? 0 : 3;
  }
  if (w[0] == u"event-wait" && (w.size() == 3 || w.size() == 4)) {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, w[1].c_str());
    if (!event) return 3;
    if (w.size() == 4) {
      HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, w[3].c_str());
      if (!ready || !SetEvent(ready)) return 3;
    }
    return WaitForSingleObject(event, static_cast<DWORD>(_wtoi(w[2].c_str()))) == WAIT_OBJECT_0 ? 0 : 1;
  }
  if (w[0] == u"map-write" && w.size() == 4) {
    HANDLE map = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 520, w[1].c_str());
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, w[3].c_str());
    if (!map || !done) return 3;
    auto* view = static_cast<WCHAR*>(MapViewOfFile(map, FILE_MAP_WRITE, 0, 0, 0));
    if (!view) return 3;
    lstrcpynW(view, w[2].c_str(), 260);
    UnmapViewOfFile(view);
    WaitForSingleObject(done, 10000);
    CloseHandle(map);
    return 0;
  }
  if (w[0] == u"map-read" && w.size() == 3) {
    HANDLE map = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 520, w[1].c_str());
    if (!map) return 3;
    bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    auto* view = static_cast<WCHAR*>(MapViewOfFile(map, FILE_MAP_WRITE, 0, 0, 0));
    if (!view) return 3;
    std::u16string text(view);
    UnmapViewOfFile(view);
    CloseHandle(map);
    if (!writeFile(w[2], text)) return 3;
    return existed ? 0 : 2;
  }
  return 101;
}
