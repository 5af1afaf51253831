// The titles list against a device registry: loading, storing, the order of use, reserved
// texts, and damaged counts.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "notewindow/title_list.h"
#include "support/device_fixture.h"

namespace handheld::testing {
namespace {

constexpr WCHAR kKey[] = u"SOFTWARE\\VORLA\\Pinnotes";

class Titles : public DeviceFixture {
 protected:
  static std::vector<std::u16string> titlesOf(const TitleList& list) {
    std::vector<std::u16string> titles;
    for (int index = 0; index < list.count(); ++index) {
      WCHAR text[260] = u"untouched";
      list.getAt(index, text);
      titles.emplace_back(text);
    }
    return titles;
  }
  static void set(LPCWSTR name, DWORD type, const void* data, DWORD size) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
  }
  static void setCount(DWORD count) { set(u"TitlesCount", REG_DWORD, &count, 4); }
  static void setTitle(LPCWSTR name, const std::u16string& text) {
    set(name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * 2));
  }
  // A note closed with this title, as the note window records it.
  static void use(LPCWSTR title) {
    TitleList list;
    list.moveToFront(title);
    list.save();
  }
};

TEST_F(Titles, UsingTitlesKeepsTheMostRecentFirst) {
  EXPECT_EQ(TitleList().count(), 0);  // no settings key yet
  use(u"A");
  use(u"B");
  use(u"A");
  EXPECT_EQ(titlesOf(TitleList()), (std::vector<std::u16string>{u"A", u"B"}));
  use(u"---no title---");
  use(u"");
  use(u"C");
  use(u"B");
  EXPECT_EQ(titlesOf(TitleList()), (std::vector<std::u16string>{u"B", u"C", u"A"}));
  // Comparison is exact: both spellings stay.
  use(u"Work");
  use(u"work");
  EXPECT_EQ(titlesOf(TitleList()), (std::vector<std::u16string>{u"work", u"Work", u"B", u"C", u"A"}));

  HKEY key;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD count = 0;
  DWORD size = 4;
  EXPECT_EQ(RegQueryValueExW(key, u"TitlesCount", nullptr, nullptr, reinterpret_cast<BYTE*>(&count), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(count, 5u);
  WCHAR text[16] = {};
  size = sizeof text;
  EXPECT_EQ(RegQueryValueExW(key, u"Title1", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size), ERROR_SUCCESS);
  EXPECT_EQ(std::u16string(text), u"Work");
  RegCloseKey(key);
}

TEST_F(Titles, AddUniqueSkipsReservedAndListedTexts) {
  TitleList list;
  list.clear();
  for (LPCWSTR text : {u"one", u"", u"two", u"one", u"---no title---", u"One"}) list.addUnique(text);
  EXPECT_EQ(titlesOf(list), (std::vector<std::u16string>{u"one", u"two", u"One"}));
  list.append(u"two");  // append checks nothing
  EXPECT_EQ(list.count(), 4);
  WCHAR text[260] = u"untouched";
  list.getAt(4, text);
  list.getAt(-1, text);
  EXPECT_EQ(std::u16string(text), u"untouched");

  // Storing a shorter list leaves older values beyond the count unread.
  list.save();
  TitleList shorter;
  shorter.clear();
  shorter.append(u"only");
  shorter.save();
  EXPECT_EQ(titlesOf(TitleList()), std::vector<std::u16string>{u"only"});
}

TEST_F(Titles, DamagedCountsLoadWhatIsThere) {
  { TitleList first; first.save(); }  // the key exists and is not new
  setTitle(u"Title0", u"first");
  setTitle(u"Title1", u"second");
  setCount(5);
  EXPECT_EQ(titlesOf(TitleList()), (std::vector<std::u16string>{u"first", u"second"}));

  // A huge count must not make loading walk four billion names.
  setCount(0xFFFFFFFF);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(TitleList().count(), 2);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

  // A value that is no title (wrong type, too long) is passed over; the walk goes on.
  const DWORD number = 7;
  set(u"Title1", REG_DWORD, &number, 4);
  setTitle(u"Title2", std::u16string(300, u'x'));
  setTitle(u"Title3", u"fourth");
  setCount(4);
  EXPECT_EQ(titlesOf(TitleList()), (std::vector<std::u16string>{u"first", u"fourth"}));

  // A missing count is an empty list.
  HKEY key;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  RegDeleteValueW(key, u"TitlesCount");
  RegCloseKey(key);
  EXPECT_EQ(TitleList().count(), 0);
}

}  // namespace
}  // namespace handheld::testing
