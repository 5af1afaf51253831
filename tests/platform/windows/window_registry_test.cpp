// The server's table of top-level windows: z-order with owned windows in front of their
// owner and topmost windows in front of the rest, activation and its successor, lookups.
#include <gtest/gtest.h>

#include "windows/window_registry.h"
#include "winerror.h"

using handheld::device::TopLevelRegistry;
using handheld::ipc::WindowRecord;
namespace ipc = handheld::ipc;

namespace {

WindowRecord window(uint32_t handle, uint32_t pid = 1, uint32_t owner = 0) {
  WindowRecord r;
  r.handle = handle;
  r.pid = pid;
  r.owner = owner;
  r.className = u"Class" + std::u16string(1, static_cast<char16_t>(u'0' + handle % 10));
  r.text = u"Title";
  r.right = 100;
  r.bottom = 100;
  r.visible = true;
  return r;
}

std::vector<uint32_t> order(const TopLevelRegistry& registry) {
  std::vector<uint32_t> handles;
  for (const auto& r : registry.frontToBack()) handles.push_back(r.handle);
  return handles;
}

}  // namespace

TEST(TopLevelRegistry, NewWindowsGoInFrontAndOwnedWindowsStayAboveTheirOwner) {
  TopLevelRegistry registry;
  ASSERT_EQ(registry.add(window(0x100001)), 0u);
  ASSERT_EQ(registry.add(window(0x100002)), 0u);
  ASSERT_EQ(registry.add(window(0x100003, 1, 0x100001)), 0u);  // owned by the back one
  EXPECT_EQ(order(registry), (std::vector<uint32_t>{0x100003, 0x100002, 0x100001}));

  // Raising the owner brings what it owns along, in front of it.
  ASSERT_TRUE(registry.arrange(0x100001, ipc::kInsertTop, true, false));
  EXPECT_EQ(order(registry), (std::vector<uint32_t>{0x100003, 0x100001, 0x100002}));

  // Sending an owned window to the bottom stops at its owner.
  ASSERT_TRUE(registry.arrange(0x100003, ipc::kInsertBottom, true, false));
  EXPECT_EQ(order(registry), (std::vector<uint32_t>{0x100003, 0x100001, 0x100002}));

  ASSERT_TRUE(registry.arrange(0x100001, 0x100002, true, false));  // behind 0x100002
  EXPECT_EQ(order(registry), (std::vector<uint32_t>{0x100002, 0x100003, 0x100001}));

  EXPECT_EQ(registry.add(window(0x100002)), static_cast<uint32_t>(ERROR_INVALID_PARAMETER));
  EXPECT_FALSE(registry.arrange(0x999999, ipc::kInsertTop, true, true));
}

TEST(TopLevelRegistry, TopmostWindowsStayInFront) {
  TopLevelRegistry registry;
  auto top = window(0x100001);
  top.topmost = true;
  registry.add(top);
  registry.add(window(0x100002));
  EXPECT_EQ(order(registry), (std::vector<uint32_t>{0x100001, 0x100002}));
  registry.arrange(0x100002, ipc::kInsertTop, true, true);
  EXPECT_EQ(order(registry), (std::vector<uint32_t>{0x100001, 0x100002}));
  registry.arrange(0x100002, ipc::kInsertTopmost, true, false);
  EXPECT_EQ(order(registry).front(), 0x100002u);
}

TEST(TopLevelRegistry, ActivationAndItsSuccessor) {
  TopLevelRegistry registry;
  registry.add(window(0x100001, 1));
  registry.add(window(0x200001, 2));
  registry.add(window(0x200002, 2, 0x200001));

  auto change = registry.arrange(0x100001, ipc::kInsertTop, false, true);
  ASSERT_TRUE(change);
  EXPECT_EQ(change->lost, 0u);
  EXPECT_EQ(change->gained, 0x100001u);
  EXPECT_EQ(order(registry).front(), 0x100001u);  // activation raises
  EXPECT_EQ(registry.arrange(0x100001, ipc::kInsertTop, true, true)->gained, 0u);  // no change

  change = registry.arrange(0x200002, ipc::kInsertTop, true, true);
  EXPECT_EQ(change->lost, 0x100001u);
  EXPECT_EQ(change->gained, 0x200002u);

  // The owner follows an owned window that goes, when it can be activated.
  auto removed = registry.remove(0x200002);
  EXPECT_EQ(removed.lost, 0x200002u);
  EXPECT_EQ(removed.gained, 0x200001u);
  EXPECT_EQ(registry.foreground(), 0x200001u);

  // Hiding the active window activates the front-most visible one; an older state never
  // replaces a newer one.
  auto hidden = window(0x200001, 2);
  hidden.visible = false;
  hidden.version = 2;
  EXPECT_EQ(registry.change(hidden).gained, 0x100001u);
  auto stale = window(0x200001, 2);
  stale.version = 1;
  registry.change(stale);
  EXPECT_FALSE(registry.find(0x200001)->visible);

  // A process that ends takes its windows along; the activation moves on.
  registry.arrange(0x200001, ipc::kInsertTop, true, true);
  auto gone = registry.removeProcess(2);
  EXPECT_EQ(gone.lost, 0x200001u);
  EXPECT_EQ(gone.gained, 0x100001u);
  EXPECT_EQ(order(registry), (std::vector<uint32_t>{0x100001}));
  EXPECT_EQ(registry.removeProcess(1).gained, 0u);
  EXPECT_EQ(registry.foreground(), 0u);
}

TEST(TopLevelRegistry, FindingByClassTitleAndPoint) {
  TopLevelRegistry registry;
  auto a = window(0x100001);
  a.className = u"PINNOTES";
  a.text = u"VORLA Pinnotes";
  a.visible = false;  // hidden windows are found as well
  registry.add(a);
  auto b = window(0x100002);
  b.className = u"TodayClass";
  b.text = u"VORLA Pinnotes";
  b.left = 10;
  b.top = 10;
  b.right = 50;
  b.bottom = 50;
  registry.add(b);

  const std::u16string pinnotes = u"pinnotes", title = u"VORLA Pinnotes", lower = u"vorla pinnotes";
  EXPECT_EQ(registry.findMatching(&pinnotes, &title, 0), 0x100001u);  // class without regard to case
  EXPECT_EQ(registry.findMatching(&pinnotes, &lower, 0), 0u);         // title exactly
  EXPECT_EQ(registry.findMatching(nullptr, &title, 0), 0x100002u);
  EXPECT_EQ(registry.findMatching(nullptr, &title, 0x100002), 0x100001u);
  EXPECT_EQ(registry.findMatching(nullptr, nullptr, 0x100001), 0u);

  EXPECT_EQ(registry.atPoint(20, 20), 0x100002u);
  EXPECT_EQ(registry.atPoint(5, 5), 0u);  // only the hidden window is there
  EXPECT_EQ(registry.atPoint(50, 50), 0u);  // right and bottom edges are outside
}

TEST(TopLevelRegistry, AProcessHasItsLimit) {
  TopLevelRegistry registry;
  for (uint32_t i = 1; i <= TopLevelRegistry::kMaxWindowsPerProcess; ++i)
    ASSERT_EQ(registry.add(window(0x100000 + i)), 0u);
  EXPECT_EQ(registry.add(window(0x100000 + 5000)), static_cast<uint32_t>(ERROR_NOT_ENOUGH_QUOTA));
  EXPECT_EQ(registry.add(window(0x200001, 2)), 0u);
}
