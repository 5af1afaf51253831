#include "controls/date_format.h"

#include <winnls.h>

#include <algorithm>
#include <array>

namespace handheld::controls {

namespace {

constexpr std::array<const char16_t*, 12> kMonths = {
    u"January", u"February", u"March",     u"April",   u"May",      u"June",
    u"July",    u"August",   u"September", u"October", u"November", u"December"};
constexpr std::array<const char16_t*, 7> kDays = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                                  u"Thursday", u"Friday", u"Saturday"};

std::u16string locale(LCTYPE type, const char16_t* fallback) {
  char16_t buffer[16] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 16) <= 1) return fallback;
  return buffer;
}

DateField fieldOf(char16_t letter) {
  switch (letter) {
    case u'd': return DateField::Day;
    case u'M': return DateField::Month;
    case u'y': return DateField::Year;
    case u'h': return DateField::Hour12;
    case u'H': return DateField::Hour24;
    case u'm': return DateField::Minute;
    case u's': return DateField::Second;
    case u't': return DateField::AmPm;
    default: return DateField::Literal;
  }
}

int widestOf(DateField field) {
  switch (field) {
    case DateField::Day:
    case DateField::Month:
    case DateField::Year: return 4;
    default: return 2;
  }
}

std::u16string number(int value, int digits) {
  std::u16string text;
  do {
    text.insert(text.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value > 0);
  while (static_cast<int>(text.size()) < digits) text.insert(text.begin(), u'0');
  return text;
}

void addLiteral(std::vector<DateSegment>& segments, std::u16string_view text) {
  if (text.empty()) return;
  if (segments.empty() || segments.back().field != DateField::Literal) segments.push_back({DateField::Literal, 0, {}});
  segments.back().literal.append(text);
}

}  // namespace

std::vector<DateSegment> parsePicture(std::u16string_view picture) {
  std::vector<DateSegment> segments;
  size_t i = 0;
  while (i < picture.size()) {
    const char16_t c = picture[i];
    if (c == u'\'') {
      size_t end = picture.find(u'\'', i + 1);
      if (end == std::u16string_view::npos) end = picture.size();
      addLiteral(segments, picture.substr(i + 1, end - i - 1));
      i = end + 1;
      continue;
    }
    DateField field = fieldOf(c);
    if (field == DateField::Literal) {
      addLiteral(segments, picture.substr(i, 1));
      ++i;
      continue;
    }
    size_t run = 1;
    while (i + run < picture.size() && picture[i + run] == c) ++run;
    i += run;
    int width = std::min<int>(static_cast<int>(run), widestOf(field));
    if (field == DateField::Day && width >= 3) field = DateField::DayName;
    if (field == DateField::Year && width == 3) width = 4;
    segments.push_back({field, width, {}});
  }
  return segments;
}

std::u16string segmentText(const DateSegment& segment, const SYSTEMTIME& time) {
  const int w = segment.width;
  switch (segment.field) {
    case DateField::Literal: return segment.literal;
    case DateField::Day: return number(time.wDay, w);
    case DateField::DayName: {
      std::u16string name = dayName(time.wDayOfWeek % 7);
      return w == 3 ? name.substr(0, 3) : name;
    }
    case DateField::Month:
      if (w >= 3) {
        std::u16string name = monthName(time.wMonth);
        return w == 3 ? name.substr(0, 3) : name;
      }
      return number(time.wMonth, w);
    case DateField::Year:
      if (w >= 4) return number(time.wYear, 4);
      return number(time.wYear % (w == 1 ? 10 : 100), w);
    case DateField::Hour12: return number(time.wHour % 12 == 0 ? 12 : time.wHour % 12, w);
    case DateField::Hour24: return number(time.wHour, w);
    case DateField::Minute: return number(time.wMinute, w);
    case DateField::Second: return number(time.wSecond, w);
    case DateField::AmPm: {
      std::u16string marker = locale(time.wHour < 12 ? LOCALE_S1159 : LOCALE_S2359, time.wHour < 12 ? u"AM" : u"PM");
      return w == 1 ? marker.substr(0, 1) : marker;
    }
  }
  return {};
}

std::u16string formatTime(const std::vector<DateSegment>& segments, const SYSTEMTIME& time) {
  std::u16string text;
  for (const auto& segment : segments) text += segmentText(segment, time);
  return text;
}

std::u16string shortDatePicture() {
  const std::u16string s = locale(LOCALE_SDATE, u".");
  const std::u16string order = locale(LOCALE_IDATE, u"0");
  if (order == u"1") return u"dd" + s + u"MM" + s + u"yyyy";
  if (order == u"2") return u"yyyy" + s + u"MM" + s + u"dd";
  return u"MM" + s + u"dd" + s + u"yyyy";
}

std::u16string longDatePicture() {
  const std::u16string order = locale(LOCALE_ILDATE, u"0");
  if (order == u"1") return u"dddd, d MMMM yyyy";
  if (order == u"2") return u"yyyy MMMM d, dddd";
  return u"dddd, MMMM d, yyyy";
}

std::u16string timePicture() {
  const std::u16string s = locale(LOCALE_STIME, u":");
  if (locale(LOCALE_ITIME, u"0") == u"1") return u"HH" + s + u"mm";
  return u"h" + s + u"mm tt";
}

const char16_t* monthName(int month) { return kMonths[static_cast<size_t>(std::clamp(month, 1, 12) - 1)]; }
const char16_t* dayName(int dayOfWeek) { return kDays[static_cast<size_t>(std::clamp(dayOfWeek, 0, 6))]; }

}  // namespace handheld::controls
