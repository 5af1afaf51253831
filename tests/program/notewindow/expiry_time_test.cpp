// The expiry choices, their calendar arithmetic across month and year ends and leap years,
// and the texts of the expiry line.
#include <gtest/gtest.h>

#include <string>

#include "notewindow/expiry_time.h"
#include "support/calendar_time.h"
#include "support/device_fixture.h"

namespace handheld::testing {
namespace {

SYSTEMTIME choose(WORD command, const SYSTEMTIME& now, const SYSTEMTIME& current = {}) {
  const ExpiryChoice* choice = FindExpiryChoice(command);
  EXPECT_NE(choice, nullptr) << command;
  return choice ? ApplyExpiryChoice(*choice, current, now) : SYSTEMTIME{};
}

void expectAt(const SYSTEMTIME& time, WORD year, WORD month, WORD day, WORD hour, WORD minute) {
  EXPECT_EQ(time.wYear, year);
  EXPECT_EQ(time.wMonth, month);
  EXPECT_EQ(time.wDay, day);
  EXPECT_EQ(time.wHour, hour);
  EXPECT_EQ(time.wMinute, minute);
}

TEST(ExpiryChoices, MenuOrderCommandsAndTexts) {
  const std::pair<WORD, std::u16string> expected[] = {
      {118, u"Never expire"}, {111, u"10 minutes"}, {112, u"15 minutes"}, {113, u"30 minutes"},
      {114, u"1 hour"},       {115, u"2 hours"},    {116, u"Tomorrow"},   {117, u"Next week"},
  };
  ASSERT_EQ(std::size(kExpiryChoices), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(kExpiryChoices[i].command, expected[i].first);
    EXPECT_EQ(std::u16string(kExpiryChoices[i].text), expected[i].second);
  }
  EXPECT_EQ(FindExpiryChoice(110), nullptr);
  EXPECT_EQ(FindExpiryChoice(119), nullptr);
}

TEST(ExpiryChoices, EachDeltaCountsFromNow) {
  const SYSTEMTIME now = CalendarTime(2005, 6, 15, 10, 0);
  expectAt(choose(111, now), 2005, 6, 15, 10, 10);
  expectAt(choose(112, now), 2005, 6, 15, 10, 15);
  expectAt(choose(113, now), 2005, 6, 15, 10, 30);
  expectAt(choose(114, now), 2005, 6, 15, 11, 0);
  expectAt(choose(115, now), 2005, 6, 15, 12, 0);
  expectAt(choose(116, now), 2005, 6, 16, 10, 0);
  expectAt(choose(117, now), 2005, 6, 22, 10, 0);

  // "Never expire" keeps the other fields of the current expiry and sets the hour to 25.
  const SYSTEMTIME never = choose(118, now, CalendarTime(2004, 2, 3, 7, 8));
  expectAt(never, 2004, 2, 3, 25, 8);
}

TEST(ExpiryChoices, CarriesAcrossDayMonthAndYearEnds) {
  // Tomorrow at 23:30 on 31 December 2004.
  expectAt(choose(116, CalendarTime(2004, 12, 31, 23, 30)), 2005, 1, 1, 23, 30);
  // Next week from 26 February: 29 days in 2004, 28 in 2100 (not a leap year), 29 in 2000.
  expectAt(choose(117, CalendarTime(2004, 2, 26, 10, 0)), 2004, 3, 4, 10, 0);
  expectAt(choose(117, CalendarTime(2100, 2, 26, 10, 0)), 2100, 3, 5, 10, 0);
  expectAt(choose(117, CalendarTime(2000, 2, 26, 10, 0)), 2000, 3, 4, 10, 0);
  expectAt(choose(117, CalendarTime(2005, 2, 26, 10, 0)), 2005, 3, 5, 10, 0);
  // 30 minutes at 23:45, and across the end of a 30-day and a 31-day month.
  expectAt(choose(113, CalendarTime(2005, 6, 15, 23, 45)), 2005, 6, 16, 0, 15);
  expectAt(choose(113, CalendarTime(2005, 4, 30, 23, 45)), 2005, 5, 1, 0, 15);
  expectAt(choose(113, CalendarTime(2005, 12, 31, 23, 45)), 2006, 1, 1, 0, 15);
  expectAt(choose(116, CalendarTime(2005, 1, 31, 9, 0)), 2005, 2, 1, 9, 0);

  // Seconds carry too; the day of the week and the milliseconds are untouched.
  SYSTEMTIME time = CalendarTime(2005, 6, 30, 23, 59, 50);
  time.wDayOfWeek = 4;
  time.wMilliseconds = 123;
  addDelta(time, TimeDelta(0, 0, 0, 15));
  expectAt(time, 2005, 7, 1, 0, 0);
  EXPECT_EQ(time.wSecond, 5);
  EXPECT_EQ(time.wDayOfWeek, 4);
  EXPECT_EQ(time.wMilliseconds, 123);
}

TEST(ExpiryComparison, NeverEqualsOnlyNeverAndTimesCompareAsMoments) {
  SYSTEMTIME never = {};
  never.wHour = 25;
  SYSTEMTIME otherNever = CalendarTime(2005, 3, 5, 25, 7);
  const SYSTEMTIME timed = CalendarTime(2005, 3, 5, 10, 7);
  EXPECT_TRUE(SameExpiry(never, otherNever));
  EXPECT_FALSE(SameExpiry(never, timed));
  EXPECT_FALSE(SameExpiry(timed, never));
  // A never-expiring time with the same other fields is still no time.
  EXPECT_FALSE(SameExpiry(otherNever, CalendarTime(2005, 3, 5, 10, 7)));

  // The day of the week is not compared; the seconds and milliseconds are.
  SYSTEMTIME sameMoment = timed;
  sameMoment.wDayOfWeek = 3;
  EXPECT_TRUE(SameExpiry(timed, sameMoment));
  EXPECT_FALSE(SameExpiry(timed, CalendarTime(2005, 3, 5, 10, 7, 1)));
  SYSTEMTIME later = timed;
  later.wMilliseconds = 1;
  EXPECT_FALSE(SameExpiry(timed, later));
  EXPECT_FALSE(SameExpiry(timed, CalendarTime(2005, 3, 6, 10, 7)));
}

TEST(ExpiryComparison, TimesThatAreNoDateNeverEqualARealOne) {
  // An all-zero record, as a note has before it gets an expiry.
  const SYSTEMTIME zero = {};
  const SYSTEMTIME timed = CalendarTime(2005, 3, 5, 10, 7);
  EXPECT_FALSE(SameExpiry(zero, timed));
  EXPECT_FALSE(SameExpiry(timed, zero));
  EXPECT_TRUE(SameExpiry(zero, SYSTEMTIME{}));
  SYSTEMTIME never = {};
  never.wHour = 25;
  EXPECT_FALSE(SameExpiry(zero, never));
  // Damaged times equal only the same fields.
  EXPECT_TRUE(SameExpiry(CalendarTime(2005, 13, 40, 10, 0), CalendarTime(2005, 13, 40, 10, 0)));
  EXPECT_FALSE(SameExpiry(CalendarTime(2005, 13, 40, 10, 0), CalendarTime(2005, 13, 41, 10, 0)));
  EXPECT_FALSE(SameExpiry(CalendarTime(2005, 2, 30, 10, 0), CalendarTime(2005, 3, 2, 10, 0)));
}

class ExpiryLine : public DeviceFixture {};

TEST_F(ExpiryLine, CountdownDuringTheLastDay) {
  const SYSTEMTIME now = CalendarTime(2005, 3, 5, 10, 0, 0);
  EXPECT_EQ(ExpiryLineText(CalendarTime(2005, 3, 5, 12, 5, 30), false, now), u"Expire after 2 h 05 m");
  EXPECT_EQ(ExpiryLineText(CalendarTime(2005, 3, 5, 12, 15), false, now), u"Expire after 2 h 15 m");
  EXPECT_EQ(ExpiryLineText(CalendarTime(2005, 3, 5, 11, 0), false, now), u"Expire after 1 h");
  EXPECT_EQ(ExpiryLineText(CalendarTime(2005, 3, 5, 10, 45), false, now), u"Expire after 45 minutes");
  EXPECT_EQ(ExpiryLineText(CalendarTime(2005, 3, 5, 10, 0, 30), false, now), u"Expire after 0 minutes");
  EXPECT_EQ(ExpiryLineText(CalendarTime(2005, 3, 5, 10, 0, 0), false, now), u"Expire after 0 minutes");
  // Across midnight, still less than a day away.
  EXPECT_EQ(ExpiryLineText(CalendarTime(2005, 3, 6, 9, 59), false, now), u"Expire after 23 h 59 m");
  EXPECT_EQ(ExpiryLineText(CalendarTime(2005, 3, 6, 9, 59, 59), false, now), u"Expire after 23 h 59 m");
  // "Tomorrow" counts calendar days: 28 February 2100 is followed by 1 March (no leap year),
  // 28 February 2004 by the 29th.
  EXPECT_EQ(ExpiryLineText(CalendarTime(2100, 3, 1, 9, 0), false, CalendarTime(2100, 2, 28, 10, 0)), u"Expire after 23 h");
  EXPECT_EQ(ExpiryLineText(CalendarTime(2004, 2, 29, 9, 30), false, CalendarTime(2004, 2, 28, 10, 0)), u"Expire after 23 h 30 m");
  // "30 minutes" chosen at 23:45 reads as 30 minutes left.
  const SYSTEMTIME lateEvening = CalendarTime(2005, 6, 15, 23, 45);
  EXPECT_EQ(ExpiryLineText(choose(113, lateEvening), false, lateEvening), u"Expire after 30 minutes");
  EXPECT_EQ(ExpiryLineText(choose(115, lateEvening), false, lateEvening), u"Expire after 2 h");
}

TEST_F(ExpiryLine, DateFormFlagsAndNever) {
  ASSERT_EQ(ctl("locale --date-order 1 --time-format 1"), 0);
  const SYSTEMTIME now = CalendarTime(2005, 3, 5, 10, 0, 0);
  // A day or more away, and already past (but not flagged), show the date and time.
  EXPECT_EQ(ExpiryLineText(CalendarTime(2005, 3, 6, 10, 0), false, now), u"Expire at : 06.03.05, 10:00");
  EXPECT_EQ(ExpiryLineText(CalendarTime(2005, 4, 1, 8, 30), false, now), u"Expire at : 01.04.05, 08:30");
  EXPECT_EQ(ExpiryLineText(CalendarTime(2005, 3, 5, 9, 59), false, now), u"Expire at : 05.03.05, 09:59");
  // A note flagged expired says so whatever its time; a never-expiring one says never.
  EXPECT_EQ(ExpiryLineText(CalendarTime(2005, 3, 5, 12, 0), true, now), u"Pinnote is expired");
  EXPECT_EQ(ExpiryLineText(CalendarTime(0, 0, 0, 25, 0), false, now), u"Never expire");
  // A time that is no date (a damaged file) gets the date form and no countdown.
  EXPECT_EQ(ExpiryLineText(CalendarTime(2005, 13, 40, 10, 0), false, now).rfind(u"Expire at : ", 0), 0u);
}

}  // namespace
}  // namespace handheld::testing
