// Changing one field of the picker's value: steps that wrap within the field, typed numbers.
#include <algorithm>

#include "controls/datetime/date_time_picker.h"
#include "kernel/time_convert.h"

namespace handheld::controls {

namespace {

int wrap(int value, int first, int last) {
  const int span = last - first + 1;
  return first + ((value - first) % span + span) % span;
}

// The day kept within the month after the month or year moved.
SYSTEMTIME fixDay(SYSTEMTIME time) {
  time.wDay = static_cast<WORD>(std::min<int>(time.wDay, kernel::daysInMonth(time.wYear, time.wMonth)));
  time.wDayOfWeek = static_cast<WORD>(kernel::dayOfWeek(time.wYear, time.wMonth, time.wDay));
  return time;
}

}  // namespace

SYSTEMTIME stepField(const SYSTEMTIME& value, DateField field, int delta) {
  SYSTEMTIME t = value;
  switch (field) {
    case DateField::Day:
    case DateField::DayName:
      t.wDay = static_cast<WORD>(wrap(t.wDay + delta, 1, kernel::daysInMonth(t.wYear, t.wMonth)));
      break;
    case DateField::Month: t.wMonth = static_cast<WORD>(wrap(t.wMonth + delta, 1, 12)); break;
    case DateField::Year:
      t.wYear = static_cast<WORD>(std::clamp(t.wYear + delta, kernel::kFirstYear, kernel::kLastYear));
      break;
    case DateField::Hour12:
    case DateField::Hour24: t.wHour = static_cast<WORD>(wrap(t.wHour + delta, 0, 23)); break;
    case DateField::Minute: t.wMinute = static_cast<WORD>(wrap(t.wMinute + delta, 0, 59)); break;
    case DateField::Second: t.wSecond = static_cast<WORD>(wrap(t.wSecond + delta, 0, 59)); break;
    case DateField::AmPm: t.wHour = static_cast<WORD>((t.wHour + 12) % 24); break;
    case DateField::Literal: break;
  }
  return fixDay(t);
}

std::optional<SYSTEMTIME> typeIntoField(const SYSTEMTIME& value, const DateSegment& segment, int number) {
  SYSTEMTIME t = value;
  switch (segment.field) {
    case DateField::Day:
      if (number < 1 || number > kernel::daysInMonth(t.wYear, t.wMonth)) return std::nullopt;
      t.wDay = static_cast<WORD>(number);
      break;
    case DateField::Month:
      if (number < 1 || number > 12) return std::nullopt;
      t.wMonth = static_cast<WORD>(number);
      break;
    case DateField::Year:
      if (segment.width < 4) number += t.wYear - t.wYear % (segment.width == 1 ? 10 : 100);
      if (number < kernel::kFirstYear || number > kernel::kLastYear) return std::nullopt;
      t.wYear = static_cast<WORD>(number);
      break;
    case DateField::Hour12:
      if (number < 1 || number > 12) return std::nullopt;
      t.wHour = static_cast<WORD>(number % 12 + (t.wHour >= 12 ? 12 : 0));
      break;
    case DateField::Hour24:
      if (number > 23) return std::nullopt;
      t.wHour = static_cast<WORD>(number);
      break;
    case DateField::Minute:
      if (number > 59) return std::nullopt;
      t.wMinute = static_cast<WORD>(number);
      break;
    case DateField::Second:
      if (number > 59) return std::nullopt;
      t.wSecond = static_cast<WORD>(number);
      break;
    default: return std::nullopt;
  }
  return fixDay(t);
}

int fieldDigits(const DateSegment& segment) {
  if (segment.field == DateField::Year) return segment.width >= 4 ? 4 : segment.width;
  return 2;
}

}  // namespace handheld::controls
