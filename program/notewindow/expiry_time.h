// The arithmetic of the expiry choices and the text of the note window's expiry line.
#pragma once

#include <windows.h>

#include <string>

// One row of the expiry-choices menu, in menu order. The delta is added to the local time;
// "Never expire" has none.
struct ExpiryChoice {
  WORD command;
  const char16_t* text;
  SYSTEMTIME delta;
  bool neverExpires;
};

// A delta: a time record that is zero except for the fields named.
constexpr SYSTEMTIME TimeDelta(WORD days, WORD hours, WORD minutes, WORD seconds = 0) {
  SYSTEMTIME delta{};
  delta.wDay = days;
  delta.wHour = hours;
  delta.wMinute = minutes;
  delta.wSecond = seconds;
  return delta;
}

// The choices in the order the menu lists them.
inline constexpr ExpiryChoice kExpiryChoices[] = {
    {118, u"Never expire", {}, true},
    {111, u"10 minutes", TimeDelta(0, 0, 10), false},
    {112, u"15 minutes", TimeDelta(0, 0, 15), false},
    {113, u"30 minutes", TimeDelta(0, 0, 30), false},
    {114, u"1 hour", TimeDelta(0, 1, 0), false},
    {115, u"2 hours", TimeDelta(0, 2, 0), false},
    {116, u"Tomorrow", TimeDelta(1, 0, 0), false},
    {117, u"Next week", TimeDelta(7, 0, 0), false},
};

// The choice of a menu command, or null.
const ExpiryChoice* FindExpiryChoice(WORD command);

// Adds a delta of at most a week field by field, each field carrying at most once into the
// next (seconds to minutes up to months to years, with leap years). The day of the week and
// the milliseconds stay as they are.
void addDelta(SYSTEMTIME& time, const SYSTEMTIME& delta);

// The expiry after a choice made at `now`: now plus the delta, or `current` with the hour
// that means "never" for "Never expire" (its other fields are kept).
SYSTEMTIME ApplyExpiryChoice(const ExpiryChoice& choice, const SYSTEMTIME& current,
                             const SYSTEMTIME& now);

// Whether two expiry times are the same moment. A never-expiring time equals only another
// one, whatever its other fields; other times are compared as file times, and two that are no
// valid date (an all-zero record, a damaged file) field by field, so that a failed conversion
// never makes them equal to a real time.
bool SameExpiry(const SYSTEMTIME& a, const SYSTEMTIME& b);

// The expiry line for a note expiring at `expiry`, seen at `now` (one reading of the clock,
// so that the countdown cannot wrap when the expiry passes between two readings).
// `flaggedExpired` is the expired flag of a note that was read from its file.
std::u16string ExpiryLineText(const SYSTEMTIME& expiry, bool flaggedExpired, const SYSTEMTIME& now);
