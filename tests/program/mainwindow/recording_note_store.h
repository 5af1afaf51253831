// A double of the note store for the main window's tests: linked in place of the real store
// (the same class, other definitions), it records every call the main window makes and
// answers as the test tells it.
#pragma once

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace handheld::testing {

class StoreRecording {
 public:
  static StoreRecording& instance();

  void add(std::string call);
  std::vector<std::string> calls() const;
  void clear();
  // Waits until `call` has been recorded; false after the time-out.
  bool waitFor(const std::string& call, std::chrono::milliseconds timeout = std::chrono::seconds(10));

  // Answers of the double.
  bool expiryCheckAlarms = false;
  HWND newNoteWindow = nullptr;
  // closeNoteWindow: the note's save failed and it is shown again.
  bool noteStaysOpen = false;
  // The main window the store was given, as seen at listChanged.
  HWND mainWindow = nullptr;
  HWND todayWindow = nullptr;

 private:
  mutable std::mutex lock_;
  std::condition_variable changed_;
  std::vector<std::string> calls_;
};

std::string narrow(const std::u16string& text);

}  // namespace handheld::testing
