#include "notewindow/expiry_time.h"

#include <algorithm>
#include <optional>

#include "notes/format_note_time.h"
#include "notes/note_record.h"
#include "pinnotes/note_file_layout.h"

namespace {

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int month, int year) {
  switch (month) {
    case 1: case 3: case 5: case 7: case 8: case 10: case 12:
      return 31;
    case 2:
      return isLeapYear(year) ? 29 : 28;
    default:
      return 30;
  }
}

std::optional<ULONGLONG> ticksOf(const SYSTEMTIME& time) {
  FILETIME file;
  if (!SystemTimeToFileTime(&time, &file)) return std::nullopt;
  return (static_cast<ULONGLONG>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
}

std::u16string number(unsigned value) {
  std::u16string text;
  for (char digit : std::to_string(value)) text.push_back(static_cast<char16_t>(digit));
  return text;
}

std::u16string expireAt(const SYSTEMTIME& expiry) {
  WCHAR text[kNoteTimeTextSize];
  FormatNoteTime(expiry, text, true);
  return u"Expire at : " + std::u16string(text);
}

constexpr ULONGLONG kTicksPerMinute = 60ULL * 10'000'000ULL;

}  // namespace

const ExpiryChoice* FindExpiryChoice(WORD command) {
  const auto* found = std::find_if(std::begin(kExpiryChoices), std::end(kExpiryChoices),
                                   [&](const ExpiryChoice& choice) { return choice.command == command; });
  return found == std::end(kExpiryChoices) ? nullptr : found;
}

void addDelta(SYSTEMTIME& time, const SYSTEMTIME& delta) {
  time.wDay += delta.wDay;
  time.wMonth += delta.wMonth;
  time.wYear += delta.wYear;
  time.wHour += delta.wHour;
  time.wMinute += delta.wMinute;
  time.wSecond += delta.wSecond;
  if (time.wSecond >= 60) {
    time.wSecond %= 60;
    time.wMinute += 1;
  }
  if (time.wMinute >= 60) {
    time.wMinute %= 60;
    time.wHour += 1;
  }
  if (time.wHour >= 24) {
    time.wHour %= 24;
    time.wDay += 1;
  }
  const int days = daysInMonth(time.wMonth, time.wYear);
  if (time.wDay > days) {
    time.wDay = static_cast<WORD>(time.wDay % days);
    time.wMonth += 1;
  }
  if (time.wMonth > 12) {
    time.wMonth %= 12;
    time.wYear += 1;
  }
}

bool SameExpiry(const SYSTEMTIME& a, const SYSTEMTIME& b) {
  if (NeverExpires(a) || NeverExpires(b)) return NeverExpires(a) && NeverExpires(b);
  const std::optional<ULONGLONG> first = ticksOf(a);
  const std::optional<ULONGLONG> second = ticksOf(b);
  if (first && second) return *first == *second;
  if (first || second) return false;
  // The day of the week is no part of the moment.
  return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
         a.wMinute == b.wMinute && a.wSecond == b.wSecond && a.wMilliseconds == b.wMilliseconds;
}

SYSTEMTIME ApplyExpiryChoice(const ExpiryChoice& choice, const SYSTEMTIME& current,
                             const SYSTEMTIME& now) {
  if (choice.neverExpires) {
    SYSTEMTIME never = current;
    never.wHour = NoteFileLayout::kNeverExpiresHour;
    return never;
  }
  SYSTEMTIME expiry = now;
  addDelta(expiry, choice.delta);
  return expiry;
}

std::u16string ExpiryLineText(const SYSTEMTIME& expiry, bool flaggedExpired, const SYSTEMTIME& now) {
  if (flaggedExpired) return u"Pinnote is expired";
  // Before any conversion: a never-expiring time is no date at all.
  if (NeverExpires(expiry)) return u"Never expire";
  const std::optional<ULONGLONG> expiryTicks = ticksOf(expiry);
  const std::optional<ULONGLONG> nowTicks = ticksOf(now);
  // A time that is no valid date (a damaged file) gets no countdown.
  if (!expiryTicks || !nowTicks || *nowTicks > *expiryTicks) return expireAt(expiry);
  SYSTEMTIME tomorrow = now;
  addDelta(tomorrow, TimeDelta(1, 0, 0));
  const std::optional<ULONGLONG> tomorrowTicks = ticksOf(tomorrow);
  if (!tomorrowTicks || *tomorrowTicks <= *expiryTicks) return expireAt(expiry);

  const ULONGLONG minutesLeft = (*expiryTicks - *nowTicks) / kTicksPerMinute;
  const auto hours = static_cast<unsigned>(minutesLeft / 60);
  const auto minutes = static_cast<unsigned>(minutesLeft % 60);
  if (hours == 0) return u"Expire after " + number(minutes) + u" minutes";
  std::u16string text = u"Expire after " + number(hours) + u" h";
  if (minutes >= 10) return text + u" " + number(minutes) + u" m";
  if (minutes > 0) return text + u" 0" + number(minutes) + u" m";
  return text;
}
