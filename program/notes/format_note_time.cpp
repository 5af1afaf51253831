#include "notes/format_note_time.h"

namespace {

using Field = WCHAR[3];

// Every field is two digits; hour and minute are kept to two as well so that a damaged note
// file cannot make the text outgrow its buffer.
void twoDigits(unsigned value, Field& field) {
  wsprintfW(field, value % 100 < 10 ? u"0%d" : u"%d", static_cast<int>(value % 100));
}

// A locale answer of one digit; an unanswered query counts as neither "0" nor "1".
WCHAR localeDigit(LCTYPE type) {
  WCHAR answer[5] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, type, answer, 5) == 0) return 0;
  return answer[0];
}

}  // namespace

void FormatNoteTime(const SYSTEMTIME& time, WCHAR (&text)[kNoteTimeTextSize], bool withTime) {
  Field year, month, day;
  twoDigits(time.wYear, year);
  twoDigits(time.wMonth, month);
  twoDigits(time.wDay, day);

  WCHAR date[kNoteTimeTextSize];
  switch (localeDigit(LOCALE_ILDATE)) {
    case u'0':
      wsprintfW(date, u"%s.%s.%s", month, day, year);
      break;
    case u'1':
      wsprintfW(date, u"%s.%s.%s", day, month, year);
      break;
    default:
      wsprintfW(date, u"%s.%s.%s", year, month, day);
      break;
  }
  if (!withTime) {
    lstrcpyW(text, date);
    return;
  }

  Field minute, hour;
  twoDigits(time.wMinute, minute);
  if (localeDigit(LOCALE_ITIME) == u'0') {
    const unsigned shownHour = time.wHour % 100 > 12 ? time.wHour % 100 - 12 : time.wHour % 100;
    twoDigits(shownHour, hour);
    if (shownHour == 0) {
      wsprintfW(text, u"%s, 12:%s AM", date, minute);
    } else if (time.wHour % 100 >= 12) {
      wsprintfW(text, u"%s, %s:%s PM", date, hour, minute);
    } else {
      wsprintfW(text, u"%s, %s:%s AM", date, hour, minute);
    }
  } else {
    twoDigits(time.wHour, hour);
    wsprintfW(text, u"%s, %s:%s", date, hour, minute);
  }
}
