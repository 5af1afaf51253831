// The text of an expiry time in every date order and with both clocks.
#include <gtest/gtest.h>

#include <string>

#include "notes/format_note_time.h"
#include "support/calendar_time.h"
#include "support/device_fixture.h"

namespace handheld::testing {
namespace {

class NoteTimeText : public DeviceFixture {
 protected:
  void useLocale(int dateOrder, int timeFormat) {
    ASSERT_EQ(ctl("locale --date-order " + std::to_string(dateOrder) + " --time-format " +
                  std::to_string(timeFormat)),
              0);
  }
  static std::u16string text(const SYSTEMTIME& time, bool withTime = true) {
    WCHAR buffer[kNoteTimeTextSize];
    FormatNoteTime(time, buffer, withTime);
    return buffer;
  }
};

TEST_F(NoteTimeText, TwelveHourClockWithDayMonthYear) {
  useLocale(1, 0);
  EXPECT_EQ(text(CalendarTime(2005, 3, 5, 14, 7)), u"05.03.05, 02:07 PM");
  EXPECT_EQ(text(CalendarTime(2005, 3, 5, 0, 30)), u"05.03.05, 12:30 AM");
  EXPECT_EQ(text(CalendarTime(2005, 3, 5, 12, 5)), u"05.03.05, 12:05 PM");
  EXPECT_EQ(text(CalendarTime(2005, 3, 5, 9, 59)), u"05.03.05, 09:59 AM");
  EXPECT_EQ(text(CalendarTime(2000, 11, 25, 23, 0)), u"25.11.00, 11:00 PM");
  EXPECT_EQ(text(CalendarTime(2005, 3, 5, 14, 7), false), u"05.03.05");
}

TEST_F(NoteTimeText, TwentyFourHourClockWithMonthDayYear) {
  useLocale(0, 1);
  EXPECT_EQ(text(CalendarTime(2005, 3, 5, 14, 7)), u"03.05.05, 14:07");
  EXPECT_EQ(text(CalendarTime(2005, 3, 5, 0, 0)), u"03.05.05, 00:00");
  EXPECT_EQ(text(CalendarTime(2010, 12, 31, 9, 3), false), u"12.31.10");
}

TEST_F(NoteTimeText, YearMonthDayAndOutOfRangeFields) {
  useLocale(2, 1);
  EXPECT_EQ(text(CalendarTime(2005, 12, 1, 8, 15)), u"05.12.01, 08:15");
  EXPECT_EQ(text(CalendarTime(2000, 1, 9, 23, 59), false), u"00.01.09");
  // A damaged note's fields still fit the buffer.
  EXPECT_EQ(text(CalendarTime(65535, 65535, 65535, 65535, 65535)), u"35.35.35, 35:35");
  useLocale(2, 0);
  EXPECT_EQ(text(CalendarTime(65535, 65535, 65535, 65535, 65535)), u"35.35.35, 23:35 PM");
}

}  // namespace
}  // namespace handheld::testing
