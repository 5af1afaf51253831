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

Field fieldOf(char16_t letter) {
  switch (letter) {
    case u'd': return Field::Day;
    case u'M': return Field::Month;
    case u'y': return Field::Year;
    case u'h': return Field::Hour12;
    case u'H': return Field::Hour24;
    case u'm': return Field::Minute;
    case u's': return Field::Second;
    case u't': return Field::AmPm;
    default: return Field::Literal;
  }
}

int widestOf(Field field) {
  switch (field) {
    case Field::Day:
    case Field::Month:
    case Field::Year: return 4;
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

void addLiteral(std::vector<Segment>& segments, std::u16string_view text) {
  if (text.empty()) return;
  if (segments.empty() || segments.back().field != Field::Literal) segments.push_back({Field::Literal, 0, {}});
  segments.back().literal.append(text);
}

}  // namespace

std::vector<Segment> parsePicture(std::u16string_view picture) {
  std::vector<Segment> segments;
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
    Field field = fieldOf(c);
    if (field == Field::Literal) {
      addLiteral(segments, picture.substr(i, 1));
      ++i;
      continue;
    }
    size_t run = 1;
    while (i + run < picture.size() && picture[i + run] == c) ++run;
    i += run;
    int width = std::min<int>(static_cast<int>(run), widestOf(field));
    if (field == Field::Day && width >= 3) field = Field::DayName;
    if (field == Field::Year && width == 3) width = 4;
    segments.push_back({field, width, {}});
  }
  return segments;
}

std::u16string segmentText(const Segment& segment, const SYSTEMTIME& time) {
  const int w = segment.width;
  switch (segment.field) {
    case Field::Literal: return segment.literal;
    case Field::Day: return number(time.wDay, w);
    case Field::DayName: {
      std::u16string name = dayName(time.wDayOfWeek % 7);
      return w == 3 ? name.substr(0, 3) : name;
    }
    case Field::Month:
      if (w >= 3) {
        std::u16string name = monthName(time.wMonth);
        return w == 3 ? name.substr(0, 3) : name;
      }
      return number(time.wMonth, w);
    case Field::Year:
      if (w >= 4) return number(time.wYear, 4);
      return number(time.wYear % (w == 1 ? 10 : 100), w);
    case Field::Hour12: return number(time.wHour % 12 == 0 ? 12 : time.wHour % 12, w);
    case Field::Hour24: return number(time.wHour, w);
    case Field::Minute: return number(time.wMinute, w);
    case Field::Second: return number(time.wSecond, w);
    case Field::AmPm: {
      std::u16string marker = locale(time.wHour < 12 ? LOCALE_S1159 : LOCALE_S2359, time.wHour < 12 ? u"AM" : u"PM");
      return w == 1 ? marker.substr(0, 1) : marker;
    }
  }
  return {};
}

std::u16string formatTime(const std::vector<Segment>& segments, const SYSTEMTIME& time) {
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
