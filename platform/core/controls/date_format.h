// Format pictures of dates and times (d dd ddd dddd, M MM MMM MMMM, y yy yyyy, h hh H HH,
// m mm, s ss, t tt, 'quoted text'), split into fields so that a control can show, select and
// change each one; and the pictures the device's locale settings give.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace handheld::controls {

enum class DateField { Literal, Day, DayName, Month, Year, Hour12, Hour24, Minute, Second, AmPm };

struct DateSegment {
  DateField field = DateField::Literal;
  int width = 0;              // letters in the picture (MMM: 3)
  std::u16string literal;     // DateField::Literal only
};

std::vector<DateSegment> parsePicture(std::u16string_view picture);
std::u16string segmentText(const DateSegment& segment, const SYSTEMTIME& time);
std::u16string formatTime(const std::vector<DateSegment>& segments, const SYSTEMTIME& time);

// From LOCALE_IDATE, LOCALE_SDATE, LOCALE_ITIME, LOCALE_STIME, LOCALE_S1159/S2359.
std::u16string shortDatePicture();
std::u16string longDatePicture();
std::u16string timePicture();

const char16_t* monthName(int month);  // 1-12
const char16_t* dayName(int dayOfWeek);  // 0 = Sunday

}  // namespace handheld::controls
