// The order of the note list and which notes are due: the sort state's moves, both columns in
// both directions, the never-expiring block by creation time, and the due rule with the
// fallback's limits.
#include <gtest/gtest.h>

#include <list>
#include <map>
#include <string>
#include <vector>

#include "notes/expiry_check.h"
#include "notes/note_sort.h"
#include "notes/note_time.h"
#include "support/calendar_time.h"

namespace handheld::testing {
namespace {

constexpr WORD kNever = 25;  // the hour of a note that never expires

SYSTEMTIME never() {
  SYSTEMTIME time = CalendarTime(2026, 12, 7, 0, 0);
  time.wHour = kNever;
  return time;
}

NoteEntry note(const std::u16string& name, const SYSTEMTIME& expiry, BYTE expired = 0,
               const std::u16string& title = u"") {
  NoteEntry entry;
  entry.path = u"\\My Documents\\My Pinnotes\\" + name + u".stk";
  entry.title = title.empty() ? name : title;
  entry.expiryTime = expiry;
  entry.expired = expired;
  return entry;
}

std::vector<std::string> titles(const std::list<NoteEntry>& notes) {
  std::vector<std::string> out;
  for (const NoteEntry& entry : notes) out.emplace_back(entry.title.begin(), entry.title.end());
  return out;
}

using Order = std::vector<std::string>;

// ---- sort state ----

TEST(SortState, StartsUnchosenAndMovesByTheArgument) {
  SortState state;
  EXPECT_EQ(state.column, -1);
  EXPECT_EQ(state.direction, -1);

  UpdateSortState(state, -2);  // keep, with nothing chosen yet: time ascending
  EXPECT_EQ(state.column, 0);
  EXPECT_EQ(state.direction, 0);
  UpdateSortState(state, 0);  // the same column again: reversed
  EXPECT_EQ(state.direction, 1);
  UpdateSortState(state, -2);  // keep
  EXPECT_EQ(state.column, 0);
  EXPECT_EQ(state.direction, 1);
  UpdateSortState(state, 0);
  EXPECT_EQ(state.direction, 0);
  UpdateSortState(state, 0);
  UpdateSortState(state, 1);  // the other column starts ascending
  EXPECT_EQ(state.column, 1);
  EXPECT_EQ(state.direction, 0);
  UpdateSortState(state, 1);
  EXPECT_EQ(state.direction, 1);
  UpdateSortState(state, -1);  // reset
  EXPECT_EQ(state.column, 0);
  EXPECT_EQ(state.direction, 0);
}

// ---- sorting ----

class Sorting : public ::testing::Test {
 protected:
  // Creation times by path, as the file system would report them.
  SYSTEMTIME created(const std::u16string& path) { return creation_.count(path) ? creation_[path] : SYSTEMTIME{}; }
  void sort(int column, int direction) {
    SortNotes(notes_, SortState{column, direction}, [this](const std::u16string& path) { return created(path); });
  }
  void add(NoteEntry entry, const SYSTEMTIME& createdAt = {}) {
    creation_[entry.path] = createdAt;
    notes_.push_back(std::move(entry));
  }

  std::list<NoteEntry> notes_;
  std::map<std::u16string, SYSTEMTIME> creation_;
};

TEST_F(Sorting, ByTimeComparesWholeMomentsNotFields) {
  // Each later moment has a smaller field somewhere, so a field-wise comparison fails.
  add(note(u"c", CalendarTime(2027, 1, 1, 0, 0)));
  add(note(u"a", CalendarTime(2026, 12, 31, 23, 59, 58)));
  add(note(u"b", CalendarTime(2026, 12, 31, 23, 59, 59)));
  add(note(u"d", CalendarTime(2027, 2, 1, 0, 0)));
  sort(0, 0);
  EXPECT_EQ(titles(notes_), (Order{"a", "b", "c", "d"}));
  sort(0, 1);
  EXPECT_EQ(titles(notes_), (Order{"d", "c", "b", "a"}));
}

TEST_F(Sorting, NeverExpiringNotesTrailNewestFirstAndLeadOldestFirst) {
  add(note(u"never-mid", never()), CalendarTime(2026, 5, 2, 10, 0));
  add(note(u"late", CalendarTime(2026, 12, 24, 18, 0)));
  add(note(u"never-old", never()), CalendarTime(2026, 1, 9, 8, 0));
  add(note(u"early", CalendarTime(2026, 12, 24, 9, 30)));
  add(note(u"never-new", never()), CalendarTime(2026, 11, 30, 23, 0));
  sort(0, 0);
  EXPECT_EQ(titles(notes_), (Order{"early", "late", "never-new", "never-mid", "never-old"}));
  sort(0, 1);
  EXPECT_EQ(titles(notes_), (Order{"never-old", "never-mid", "never-new", "late", "early"}));
  // The creation times were read for the entries.
  EXPECT_EQ(notes_.front().creationTime.wYear, 2026);
  EXPECT_EQ(notes_.front().creationTime.wMonth, 1);
}

TEST_F(Sorting, ByTitleIsCaseSensitiveCodeUnitOrder) {
  // Unsigned code units: a unit above 0x7FFF sorts after every letter.
  const std::u16string wide = u"\uff21wide";
  for (const std::u16string& title : {std::u16string(u"apple"), std::u16string(u"Zebra"), wide,
                                       std::u16string(u"\u00e9clair"), std::u16string(u"Apple")}) {
    add(note(title, CalendarTime(2026, 1, 1, 0, 0)));
  }
  const auto order = [&] {
    std::vector<std::u16string> out;
    for (const NoteEntry& entry : notes_) out.push_back(entry.title);
    return out;
  };
  sort(1, 0);
  EXPECT_EQ(order(), (std::vector<std::u16string>{u"Apple", u"Zebra", u"apple", u"\u00e9clair", wide}));
  sort(1, 1);
  EXPECT_EQ(order(), (std::vector<std::u16string>{wide, u"\u00e9clair", u"apple", u"Zebra", u"Apple"}));
}

TEST_F(Sorting, EqualKeysKeepTheirOrderAndOtherColumnsChangeNothing) {
  const SYSTEMTIME noon = CalendarTime(2026, 6, 1, 12, 0);
  add(note(u"first", noon, 0, u"same"));
  add(note(u"second", noon, 0, u"same"));
  add(note(u"third", noon, 0, u"same"));
  for (int column : {0, 1}) {
    for (int direction : {0, 1}) {
      sort(column, direction);
      EXPECT_EQ(notes_.front().path, u"\\My Documents\\My Pinnotes\\first.stk");
      EXPECT_EQ(notes_.back().path, u"\\My Documents\\My Pinnotes\\third.stk");
    }
  }
  notes_.clear();
  add(note(u"b", CalendarTime(2026, 1, 2, 0, 0)));
  add(note(u"a", CalendarTime(2026, 1, 1, 0, 0)));
  sort(2, 0);
  EXPECT_EQ(titles(notes_), (Order{"b", "a"}));
  sort(0, 0);
  EXPECT_EQ(titles(notes_), (Order{"a", "b"}));
}

// ---- the due rule ----

ULONGLONG ticks(const SYSTEMTIME& time) { return *TicksOf(time); }

TEST(DueRule, DueAtExactlyTheExpiryTimeAndNeverWithoutATime) {
  const SYSTEMTIME ten = CalendarTime(2026, 12, 7, 10, 0, 0);
  EXPECT_TRUE(IsDue(note(u"a", ten), ticks(ten)));
  EXPECT_TRUE(IsDue(note(u"a", ten), ticks(CalendarTime(2026, 12, 7, 10, 0, 1))));
  EXPECT_FALSE(IsDue(note(u"a", ten), ticks(CalendarTime(2026, 12, 7, 9, 59, 59))));
  EXPECT_FALSE(IsDue(note(u"a", ten, 1), ticks(CalendarTime(2027, 1, 1, 0, 0))));  // already expired
  EXPECT_FALSE(IsDue(note(u"a", never()), ticks(CalendarTime(2099, 1, 1, 0, 0))));
  // An hour of 25 is never taken for a moment, whatever the other fields say.
  SYSTEMTIME neverButPast = CalendarTime(2000, 1, 1, 0, 0);
  neverButPast.wHour = 25;
  EXPECT_FALSE(IsDue(note(u"a", neverButPast), ticks(CalendarTime(2026, 1, 1, 0, 0))));
}

TEST(DueRule, DuePathsInListOrder) {
  const SYSTEMTIME now = CalendarTime(2026, 12, 7, 10, 0);
  const std::list<NoteEntry> notes = {
      note(u"later", CalendarTime(2026, 12, 7, 10, 1)),   note(u"due2", CalendarTime(2026, 12, 7, 9, 0)),
      note(u"never", never()),                  note(u"expired", CalendarTime(2026, 12, 7, 8, 0), 1),
      note(u"due1", CalendarTime(2026, 12, 7, 10, 0)),
  };
  EXPECT_EQ(DuePaths(notes, ticks(now)),
            (std::vector<std::u16string>{u"\\My Documents\\My Pinnotes\\due2.stk",
                                         u"\\My Documents\\My Pinnotes\\due1.stk"}));
  // A hundred at once: none lost.
  std::list<NoteEntry> many;
  for (int i = 0; i < 100; ++i) many.push_back(note(u"n" + std::u16string(1, u'0' + i % 10), CalendarTime(2026, 12, 7, 9, i % 60)));
  EXPECT_EQ(DuePaths(many, ticks(now)).size(), 100u);
}

TEST(DueRule, FallbackTakesOnlyAnUnexpiredNoteWithinAMinute) {
  const SYSTEMTIME now = CalendarTime(2026, 12, 7, 10, 0, 0);
  const auto fallback = [&](std::list<NoteEntry> notes) {
    const std::optional<std::u16string> path = FallbackPath(notes, ticks(now));
    return path ? std::string(path->begin(), path->end()) : std::string("none");
  };
  const std::string dir = "\\My Documents\\My Pinnotes\\";
  // The timed start may come just before the minute: 60 seconds ahead is still taken...
  EXPECT_EQ(fallback({note(u"soon", CalendarTime(2026, 12, 7, 10, 1, 0))}), dir + "soon.stk");
  // ...61 seconds is not, nor anything far ahead.
  EXPECT_EQ(fallback({note(u"soon", CalendarTime(2026, 12, 7, 10, 1, 1))}), "none");
  EXPECT_EQ(fallback({note(u"far", CalendarTime(2027, 12, 7, 10, 0))}), "none");
  // Never one already marked expired, never one that never expires.
  EXPECT_EQ(fallback({note(u"expired", CalendarTime(2026, 12, 7, 9, 0), 1), note(u"never", never())}), "none");
  // The earliest wins; on equal times the later entry of the list.
  EXPECT_EQ(fallback({note(u"b", CalendarTime(2026, 12, 7, 10, 0, 40)), note(u"a", CalendarTime(2026, 12, 7, 10, 0, 20)),
                      note(u"c", CalendarTime(2026, 12, 7, 10, 0, 50))}),
            dir + "a.stk");
  EXPECT_EQ(fallback({note(u"x", CalendarTime(2026, 12, 7, 10, 0, 30)), note(u"y", CalendarTime(2026, 12, 7, 10, 0, 30))}),
            dir + "y.stk");
  EXPECT_EQ(kFallbackLead, 600'000'000ULL);  // one minute in 100 ns ticks
}

}  // namespace
}  // namespace handheld::testing
