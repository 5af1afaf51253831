// The titles used before, most recently used first, kept in the settings key as "TitlesCount"
// and "Title0", "Title1", ... Every user loads the list afresh and saves it at once after a
// change, so the last writer wins.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class TitleList {
 public:
  // The title a note gets when its title box is empty; like the empty text it never enters
  // the list through addUnique or moveToFront.
  static constexpr WCHAR kNoTitle[] = u"---no title---";
  // Characters of a title read back, terminator included.
  static constexpr DWORD kTitleCapacity = 260;

  // An empty list, then loaded.
  TitleList();
  virtual ~TitleList() = default;

  void clear() { titles_.clear(); }
  void append(LPCWSTR text) { titles_.emplace_back(text); }
  // Appends a text that is neither reserved nor listed already (exact comparison).
  void addUnique(LPCWSTR text);
  // Moves a listed text to the front, or puts a new one there; reserved texts are ignored.
  void moveToFront(LPCWSTR text);
  // Copies the text at `index` into `buffer` (kTitleCapacity units); nothing when there is
  // none at that position.
  void getAt(int index, WCHAR* buffer) const;
  int count() const { return static_cast<int>(titles_.size()); }

  // Reads the list from the registry: an unopenable or just-created key gives an empty list.
  // The walk ends at the first missing "Title" value, so a damaged count cannot make it run
  // on; a value that cannot be read as a title is passed over.
  void load();
  // Writes the count and every title in order. Values beyond the count that a longer list
  // left stay; the count bounds every reading.
  void save() const;

 private:
  static bool isReserved(LPCWSTR text);

  std::vector<std::u16string> titles_;
};
