// The input panel's geometry and the on-screen keyboard's keys, without a device.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <set>

#include "input_panel/keyboard_layout.h"
#include "ipc/protocol/input_panel.h"

namespace handheld::testing {
namespace {

using ipc::PanelRect;

TEST(InputPanelLayout, QvgaHasTheHandheldsFigures) {
  const auto layout = ipc::panelLayout(240, 320, 1);
  EXPECT_EQ(layout.workArea, (PanelRect{0, 26, 240, 294}));
  EXPECT_EQ(layout.panel, (PanelRect{0, 214, 240, 294}));
  EXPECT_EQ(layout.visibleUp, (PanelRect{0, 26, 240, 214}));
  EXPECT_EQ(layout.visibleDown, (PanelRect{0, 26, 240, 320}));
}

TEST(InputPanelLayout, VgaDoublesEveryFigureAndLandscapeKeepsThem) {
  const auto vga = ipc::panelLayout(480, 640, 2);
  EXPECT_EQ(vga.workArea, (PanelRect{0, 52, 480, 588}));
  EXPECT_EQ(vga.panel, (PanelRect{0, 428, 480, 588}));
  EXPECT_EQ(vga.visibleUp, (PanelRect{0, 52, 480, 428}));
  EXPECT_EQ(vga.visibleDown, (PanelRect{0, 52, 480, 640}));
  const auto landscape = ipc::panelLayout(320, 240, 1);
  EXPECT_EQ(landscape.panel, (PanelRect{0, 134, 320, 214}));
  EXPECT_EQ(landscape.visibleUp, (PanelRect{0, 26, 320, 134}));
}

// Every key lies on the grid, no two share a cell, and every cell of the grid has a key, so
// that no tap on the panel falls between keys.
TEST(KeyboardLayout, KeysTileTheGridWithoutOverlap) {
  std::set<std::pair<int, int>> cells;
  for (const auto& key : shell::keyboardKeys()) {
    ASSERT_GE(key.span, 1);
    ASSERT_GE(key.row, 0);
    ASSERT_LT(key.row, 5);
    ASSERT_GE(key.column, 0);
    ASSERT_LE(key.column + key.span, 13);
    for (int c = key.column; c < key.column + key.span; ++c)
      EXPECT_TRUE(cells.insert({key.row, c}).second) << "row " << key.row << " column " << c;
  }
  EXPECT_EQ(cells.size(), 5u * 13u);
}

// Letters, digits, punctuation with their shifted characters as the US keyboard has them,
// and the keys that are not characters.
TEST(KeyboardLayout, HasEveryKeyTheTaskNeeds) {
  std::map<char16_t, char16_t> shifted;
  std::map<uint8_t, int> virtualKeys;
  int shiftKeys = 0;
  for (const auto& key : shell::keyboardKeys()) {
    if (key.kind == shell::KeyKind::Character) shifted[key.plain] = key.shifted;
    else if (key.kind == shell::KeyKind::Virtual) ++virtualKeys[key.virtualKey];
    else ++shiftKeys;
  }
  for (char16_t c = u'a'; c <= u'z'; ++c) EXPECT_EQ(shifted[c], c - u'a' + u'A') << char(c);
  const std::u16string digits = u"1234567890", digitsShifted = u"!@#$%^&*()";
  for (size_t i = 0; i < digits.size(); ++i) EXPECT_EQ(shifted[digits[i]], digitsShifted[i]);
  const std::u16string marks = u"-=[]\\;',./`", marksShifted = u"_+{}|:\"<>?~";
  for (size_t i = 0; i < marks.size(); ++i) EXPECT_EQ(shifted[marks[i]], marksShifted[i]) << char(marks[i]);
  EXPECT_EQ(virtualKeys[0x08], 1);  // backspace
  EXPECT_EQ(virtualKeys[0x0D], 1);  // enter
  EXPECT_EQ(virtualKeys[0x20], 1);  // space
  EXPECT_EQ(shiftKeys, 1);
}

TEST(KeyboardLayout, TapsFindTheirKeysAtBothDensities) {
  // QVGA: 240 x 80, five rows of 16 pixels, columns of 240/13 pixels.
  auto q = shell::keyAt(240, 80, POINT{5, 16 + 5});
  ASSERT_TRUE(q);
  EXPECT_EQ(q->plain, u'q');
  auto back = shell::keyAt(240, 80, POINT{235, 5});
  ASSERT_TRUE(back);
  EXPECT_EQ(back->virtualKey, 0x08);
  auto space = shell::keyAt(240, 80, POINT{120, 75});
  ASSERT_TRUE(space);
  EXPECT_EQ(space->virtualKey, 0x20);
  // VGA: the same keys at twice the coordinates.
  auto vgaQ = shell::keyAt(480, 160, POINT{10, 42});
  ASSERT_TRUE(vgaQ);
  EXPECT_EQ(vgaQ->plain, u'q');
  // Outside the panel, or a panel of no size: no key.
  EXPECT_FALSE(shell::keyAt(240, 80, POINT{240, 10}));
  EXPECT_FALSE(shell::keyAt(240, 80, POINT{10, 80}));
  EXPECT_FALSE(shell::keyAt(240, 80, POINT{-1, 10}));
  EXPECT_FALSE(shell::keyAt(0, 0, POINT{0, 0}));
}

}  // namespace
}  // namespace handheld::testing
