// Raw input without a device: the key-state table, the keyboard layout both ways, scripted
// gestures, what a stopped one leaves held, and their runner on a real loop, the desktop
// frame's geometry.
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
  runner.run(1, holdScript({1, 1}, 60), [&] { ++finished; });
  runner.run(2, tapScript({2, 2}), [&] {
    ++finished;
    loop.stop();
  });
  EXPECT_TRUE(seen.empty());  // nothing before the loop runs
  loop.run();
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(60));
  EXPECT_EQ(finished, 2);
  EXPECT_EQ(seen, (std::vector<StylusAction>{StylusAction::Down, StylusAction::Up, StylusAction::Down, StylusAction::Up}));
}

TEST(InputScript, AStoppedScriptLetsGoOfWhatItHolds) {
  auto stylusUp = [](const InputScript& release, POINT at) {
    if (release.size() != 1) return false;
    const auto* up = std::get_if<StylusStep>(&release[0].action);
    return up && up->action == StylusAction::Up && up->point.x == at.x && up->point.y == at.y;
  };
  auto hold = holdScript({30, 40}, 20000);
  EXPECT_TRUE(releaseSteps(hold, 0).empty());
  EXPECT_TRUE(stylusUp(releaseSteps(hold, 1), {30, 40}));
  EXPECT_TRUE(releaseSteps(hold, 2).empty());
  auto drag = dragScript({0, 0}, {100, 0}, 1000);
  EXPECT_TRUE(stylusUp(releaseSteps(drag, 3), std::get<StylusStep>(drag[2].action).point));

  // Shift and A down, A up, the control key down: control comes up first, then shift.
  const InputScript keys{{0, KeyStep{VK_SHIFT, true}}, {0, KeyStep{'A', true}}, {0, KeyStep{'A', false}},
                         {0, KeyStep{VK_CONTROL, true}}, {500, KeyStep{VK_CONTROL, false}}};
  auto release = releaseSteps(keys, 4);
  ASSERT_EQ(release.size(), 2u);
  EXPECT_EQ(std::get<KeyStep>(release[0].action).key, VK_CONTROL);
  EXPECT_FALSE(std::get<KeyStep>(release[0].action).down);
  EXPECT_EQ(std::get<KeyStep>(release[1].action).key, VK_SHIFT);
  EXPECT_FALSE(std::get<KeyStep>(release[1].action).down);
  EXPECT_EQ(releaseSteps(keys, 5).size(), 1u);  // shift alone
}

// A client that goes away mid-hold: its stylus comes up at once, its queued input never
// plays, and the next client's tap follows without waiting out the hold.
TEST(ScriptRunner, CancellingAnOwnerStopsItsScriptsAndPlaysTheRest) {
  EventLoop loop;
  std::vector<std::pair<StylusAction, LONG>> seen;  // action and x
  std::vector<int> finished;
  ScriptRunner runner(loop, [&](const ScriptStep& step) {
    const auto& stylus = std::get<StylusStep>(step.action);
    seen.push_back({stylus.action, stylus.point.x});
  });
  const auto start = std::chrono::steady_clock::now();
  runner.run(1, holdScript({1, 1}, 20000), [&] { finished.push_back(1); });
  runner.run(2, tapScript({2, 2}), [&] {
    finished.push_back(2);
    loop.stop();
  });
  runner.run(1, tapScript({3, 3}), [&] { finished.push_back(3); });
  loop.addTimer(EventLoop::Clock::now() + std::chrono::milliseconds(50), [&] { runner.cancel(1); });
  loop.run();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_EQ(finished, std::vector<int>{2});
  EXPECT_EQ(seen, (std::vector<std::pair<StylusAction, LONG>>{
                      {StylusAction::Down, 1}, {StylusAction::Up, 1}, {StylusAction::Down, 2}, {StylusAction::Up, 2}}));
  runner.cancel(2);  // nothing of it is left
  runner.cancel(7);  // nor of one that never asked
  EXPECT_EQ(seen.size(), 4u);
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
