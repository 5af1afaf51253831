// Raw input without a device: the key-state table, the keyboard layout both ways, scripted
// gestures and their runner on a real loop, the desktop frame's geometry.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <memory>

#include "display/device_frame.h"
#include "display/input_script.h"
#include "display/key_state.h"
#include "input/us_keyboard.h"

namespace handheld::device {
namespace {

TEST(KeyStateTable, DownWhileHeldAndToggledOncePerPress) {
  auto page = std::make_unique<ipc::DeviceInfoPage>();
  KeyStateTable keys(*page);
  EXPECT_FALSE(keys.press(VK_APP5));
  EXPECT_TRUE(keys.press(VK_APP5));  // a repeat: still one press
  EXPECT_EQ(page->keyState[VK_APP5].load(), 0x81);
  keys.release(VK_APP5);
  EXPECT_EQ(page->keyState[VK_APP5].load(), 0x01);
  keys.press(VK_APP5);
  keys.release(VK_APP5);
  EXPECT_EQ(page->keyState[VK_APP5].load(), 0x00);
}

TEST(KeyStateTable, EitherShiftHoldsShift) {
  auto page = std::make_unique<ipc::DeviceInfoPage>();
  KeyStateTable keys(*page);
  keys.press(VK_LSHIFT);
  keys.press(VK_RSHIFT);
  keys.release(VK_LSHIFT);
  EXPECT_TRUE(keys.down(VK_SHIFT));
  keys.release(VK_RSHIFT);
  EXPECT_FALSE(keys.down(VK_SHIFT));
  EXPECT_EQ(commonKey(VK_RCONTROL), VK_CONTROL);
  EXPECT_EQ(commonKey('A'), 'A');
}

TEST(UsKeyboard, EveryPrintableCharacterComesBackFromItsKey) {
  for (char16_t c = 0x20; c < 0x7F; ++c) {
    auto stroke = input::keyForCharacter(c);
    ASSERT_TRUE(stroke) << static_cast<int>(c);
    EXPECT_EQ(input::characterForKey(stroke->key, {stroke->shift, false, false}), c) << static_cast<int>(c);
  }
  EXPECT_FALSE(input::keyForCharacter(u'\u00E9'));
  EXPECT_EQ(input::characterForKey('A', {true, true, false}), u'a');  // shift undoes caps lock
  EXPECT_EQ(input::characterForKey('C', {false, false, true}), 3);    // control letters
  EXPECT_EQ(input::characterForKey(VK_APP5, {}), 0);
}

TEST(InputScript, DragMovesInSmallStepsOverItsTime) {
  auto script = dragScript({10, 10}, {110, 30}, 500);
  ASSERT_GE(script.size(), 3u);
  uint32_t total = 0;
  POINT last{10, 10};
  for (size_t i = 0; i < script.size(); ++i) {
    total += script[i].delayMs;
    const auto& step = std::get<StylusStep>(script[i].action);
    EXPECT_EQ(step.action, i == 0 ? StylusAction::Down : i + 1 == script.size() ? StylusAction::Up : StylusAction::Move);
    EXPECT_LE(std::labs(step.point.x - last.x), kDragStepPixels);
    EXPECT_LE(std::labs(step.point.y - last.y), kDragStepPixels);
    last = step.point;
  }
  EXPECT_EQ(total, 500u);
  EXPECT_EQ(last.x, 110);
  EXPECT_EQ(last.y, 30);
  EXPECT_EQ(dragScript({5, 5}, {5, 5}, 0).size(), 3u);  // down, one move, up
}

TEST(InputScript, TextUsesKeysWithShiftAndCharactersForTheRest) {
  auto script = textScript(u"a!\u00E9");
  ASSERT_EQ(script.size(), 7u);
  auto key = [&](size_t i) { return std::get<KeyStep>(script[i].action); };
  EXPECT_EQ(key(0).key, 'A');
  EXPECT_TRUE(key(0).down);
  EXPECT_FALSE(key(1).down);
  EXPECT_EQ(key(2).key, VK_SHIFT);  // '!' is shift+1
  EXPECT_EQ(key(3).key, '1');
  EXPECT_EQ(key(5).key, VK_SHIFT);
  EXPECT_FALSE(key(5).down);
  EXPECT_EQ(std::get<CharacterStep>(script[6].action).character, u'\u00E9');
}

TEST(ScriptRunner, PlaysScriptsInOrderOnTheLoopsTimers) {
  EventLoop loop;
  std::vector<StylusAction> seen;
  int finished = 0;
  ScriptRunner runner(loop, [&](const ScriptStep& step) { seen.push_back(std::get<StylusStep>(step.action).action); });
  const auto start = std::chrono::steady_clock::now();
  runner.run(holdScript({1, 1}, 60), [&] { ++finished; });
  runner.run(tapScript({2, 2}), [&] {
    ++finished;
    loop.stop();
  });
  EXPECT_TRUE(seen.empty());  // nothing before the loop runs
  loop.run();
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(60));
  EXPECT_EQ(finished, 2);
  EXPECT_EQ(seen, (std::vector<StylusAction>{StylusAction::Down, StylusAction::Up, StylusAction::Down, StylusAction::Up}));
}

TEST(DeviceFrame, MapsTheWindowToTheScreenAndButtons) {
  EXPECT_EQ(DeviceFrame::defaultScale(240, 320), 2);
  EXPECT_EQ(DeviceFrame::defaultScale(320, 240), 2);
  EXPECT_EQ(DeviceFrame::defaultScale(480, 640), 1);
  DeviceFrame frame(240, 320, 2);
  const RECT& screen = frame.screen();
  EXPECT_EQ(screen.right - screen.left, 480);
  EXPECT_EQ(screen.bottom - screen.top, 640);
  EXPECT_LE(screen.right, frame.windowWidth());
  auto corner = frame.screenPointAt(screen.right - 1, screen.bottom - 1);
  ASSERT_TRUE(corner);
  EXPECT_EQ(corner->x, 239);
  EXPECT_EQ(corner->y, 319);
  EXPECT_FALSE(frame.screenPointAt(screen.left - 1, screen.top));
  POINT clamped = frame.nearestScreenPoint(-500, 5000);
  EXPECT_EQ(clamped.x, 0);
  EXPECT_EQ(clamped.y, 319);
  for (const auto& button : frame.buttons()) {
    EXPECT_GE(button.rect.top, screen.bottom);
    EXPECT_LE(button.rect.bottom, frame.windowHeight());
    EXPECT_EQ(frame.buttonAt((button.rect.left + button.rect.right) / 2, (button.rect.top + button.rect.bottom) / 2),
              button.key);
  }
  EXPECT_EQ(frame.buttonAt(screen.left + 5, screen.top + 5), 0);
}

}  // namespace
}  // namespace handheld::device
