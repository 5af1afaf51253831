// The WM_NOTIFY codes a parent received, with a copy of each structure, for the common
// control tests. `answer` is what the parent returns; `onCode` runs inside a notification
// (to destroy the control, for instance).
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include "support/message_recorder.h"

namespace handheld::testing {

struct Notification {
  UINT code;
  UINT_PTR id;
  HWND from;
  std::vector<unsigned char> bytes;  // the whole structure, as large as its code makes it

  template <class T>
  T as() const {
    T value{};
    std::memcpy(&value, bytes.data(), std::min(sizeof(T), bytes.size()));
    return value;
  }
};

class NotifyLog {
 public:
  // Logs what reaches *listener (the other windows handle their own); sizeOf: how large the
  // structure of a code is (an NMHDR for codes it does not know).
  NotifyLog(MessageRecorder& recorder, const HWND* listener, std::function<size_t(UINT)> sizeOf) {
    recorder.react(WM_NOTIFY, [this, listener, sizeOf](HWND window, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
      if (window != *listener) return std::nullopt;
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      const size_t size = std::max(sizeof(NMHDR), sizeOf(header->code));
      Notification n{header->code, header->idFrom, header->hwndFrom, {}};
      n.bytes.assign(reinterpret_cast<const unsigned char*>(header), reinterpret_cast<const unsigned char*>(header) + size);
      entries.push_back(n);
      if (onCode) onCode(n);
      return answer;
    });
  }

  std::vector<UINT> codes() const {
    std::vector<UINT> result;
    for (const auto& n : entries) result.push_back(n.code);
    return result;
  }
  const Notification* last(UINT code) const {
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
      if (it->code == code) return &*it;
    return nullptr;
  }

  std::vector<Notification> entries;
  LRESULT answer = 0;
  std::function<void(const Notification&)> onCode;
};

// A notification code as the platform's literal (the codes are negative numbers as UINT).
inline UINT code(int value) { return static_cast<UINT>(value); }

inline SYSTEMTIME date(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0) {
  SYSTEMTIME t{};
  t.wYear = year;
  t.wMonth = month;
  t.wDay = day;
  t.wHour = hour;
  t.wMinute = minute;
  t.wSecond = second;
  return t;
}

}  // namespace handheld::testing
