// The note window's menu bar: its buttons, images and tooltips as the table gives them, the
// "Edit" menu, the image strips, and the toolbar states the window keeps after each command.
#include <gtest/gtest.h>

#include <aygshell.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/commands.h"
#include "note_window_fixture.h"
#include "notewindow/note_menu_bar.h"

namespace handheld::testing {
namespace {

// Toolbar states: 6 enabled and pressed, 4 enabled, 0 disabled.
constexpr int kPressed = 6;
constexpr int kEnabled = 4;
constexpr int kDisabled = 0;

class NoteToolbar : public NoteWindowFixture {
 protected:
  int state(HWND note, int command) {
    return static_cast<int>(SendMessageW(menuBarOf(note), TB_GETSTATE, static_cast<WPARAM>(command), 0));
  }
  void command(HWND note, WORD id) {
    SendMessageW(note, WM_COMMAND, id, 0);
    pump();
  }
  nlohmann::json canvas(HWND note) { return stateOf(child(note, 105)); }
};

TEST_F(NoteToolbar, ButtonsImagesAndEditMenuFollowTheTable) {
  RecordingNoteWindow& note = open();
  HWND bar = menuBarOf(note.window());
  ASSERT_NE(bar, nullptr);
  const nlohmann::json buttons = stateOf(bar)["buttons"];
  std::vector<int> commands, images;
  for (const auto& b : buttons) {
    commands.push_back(b["command"]);
    images.push_back(b["image"]);
  }
  EXPECT_EQ(commands, (std::vector<int>{1121, 1132, 1131, 1134, 1133, 110, 120}));
  EXPECT_EQ(images, (std::vector<int>{I_IMAGENONE, 3, 4, 6, 5, 8, 10}));
  EXPECT_EQ(buttons[0]["text"], "Edit");
  EXPECT_EQ(buttons[0]["menu"], true);
  // The separator stands between Undo and Record.
  ASSERT_EQ(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0), 8);
  TBBUTTON separator = {};
  SendMessageW(bar, TB_GETBUTTON, 4, reinterpret_cast<LPARAM>(&separator));
  EXPECT_TRUE(separator.fsStyle & TBSTYLE_SEP);

  HMENU edit = reinterpret_cast<HMENU>(SendMessageW(bar, SHCMBM_GETSUBMENU, 0, 1121));
  ASSERT_NE(edit, nullptr);
  ASSERT_EQ(GetMenuItemCount(edit), 5);
  const std::vector<std::pair<UINT, std::u16string>> items = {
      {57635, u"Cut"}, {57634, u"Copy"}, {57637, u"Paste"}, {0, u""}, {1143, u"Clear all"}};
  for (int i = 0; i < 5; ++i) {
    WCHAR label[32] = {};
    GetMenuStringW(edit, static_cast<UINT>(i), label, 32, MF_BYPOSITION);
    if (items[static_cast<size_t>(i)].first == 0) {
      EXPECT_TRUE(GetMenuState(edit, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR);
      continue;
    }
    EXPECT_EQ(GetMenuItemID(edit, i), items[static_cast<size_t>(i)].first);
    EXPECT_EQ(std::u16string(label), items[static_cast<size_t>(i)].second);
  }
}

TEST_F(NoteToolbar, TooltipsComeFromTheStringTableForImageButtonsOnly) {
  MessageRecorder parents;
  parents.registerClass(u"BarOwner");
  HWND owner = CreateWindowExW(0, u"BarOwner", u"", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  NoteMenuBar bar;
  ASSERT_TRUE(bar.create(owner, GetModuleHandleW(nullptr)));
  const std::vector<std::pair<int, std::u16string>> tips = {{1132, u"Zoom out"}, {1131, u"Zoom in"},
                                                            {1134, u"Undo"},     {1133, u"Record"},
                                                            {110, u"Pen mode"},  {120, u"Show/hide grid"}};
  for (const auto& [command, tip] : tips) {
    ASSERT_NE(bar.tooltip(command), nullptr) << command;
    EXPECT_EQ(std::u16string(bar.tooltip(command)), tip);
  }
  EXPECT_EQ(bar.tooltip(1121), nullptr);
  HWND window = bar.window();
  bar.destroy();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(bar.state(1131), -1);
  DestroyWindow(owner);
}

TEST_F(NoteToolbar, StripsHoldElevenSmallIconSquaresOnMagenta) {
  for (const auto& [id, size] : {std::pair{170, 16}, std::pair{189, 32}}) {
    HBITMAP strip = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
    ASSERT_NE(strip, nullptr) << id;
    BITMAP info = {};
    GetObjectW(strip, sizeof(info), &info);
    EXPECT_EQ(info.bmHeight, size);
    EXPECT_EQ(info.bmWidth, 11 * size);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, strip);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 255));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(strip);
  }
}

TEST_F(NoteToolbar, StartStateAndZoomSteps) {
  RecordingNoteWindow& note = open();
  HWND w = note.window();
  EXPECT_EQ(state(w, 1132), kEnabled);
  EXPECT_EQ(state(w, 1131), kEnabled);
  EXPECT_EQ(state(w, 1134), kDisabled);
  EXPECT_EQ(state(w, 1133), kEnabled);
  EXPECT_EQ(state(w, 110), kPressed);
  EXPECT_EQ(state(w, 120), kEnabled);
  EXPECT_EQ(canvas(w)["zoom"], 100);

  command(w, 1131);  // 150
  command(w, 1131);  // 200
  EXPECT_EQ(state(w, 1131), kEnabled);
  command(w, 1131);  // 300: no further step
  EXPECT_EQ(canvas(w)["zoom"], 300);
  EXPECT_EQ(state(w, 1131), kDisabled);
  EXPECT_EQ(state(w, 1132), kEnabled);
  for (int i = 0; i < 5; ++i) command(w, 1132);  // 200, 150, 100, 75, 50
  EXPECT_EQ(state(w, 1132), kEnabled);
  EXPECT_EQ(state(w, 1131), kEnabled);
  command(w, 1132);  // 25
  EXPECT_EQ(canvas(w)["zoom"], 25);
  EXPECT_EQ(state(w, 1132), kDisabled);
}

TEST_F(NoteToolbar, ZoomSettingAtTheEndsDisablesOneButton) {
  app_->setZoom(0);
  RecordingNoteWindow& smallest = open();
  EXPECT_EQ(canvas(smallest.window())["zoom"], 25);
  EXPECT_EQ(state(smallest.window(), 1132), kDisabled);
  EXPECT_EQ(state(smallest.window(), 1131), kEnabled);
  smallest.destroy();
  app_->setZoom(6);
  RecordingNoteWindow& largest = open();
  EXPECT_EQ(canvas(largest.window())["zoom"], 300);
  EXPECT_EQ(state(largest.window(), 1131), kDisabled);
  EXPECT_EQ(state(largest.window(), 1132), kEnabled);
}

TEST_F(NoteToolbar, PenModeAndPageToggles) {
  app_->setMode(1);
  app_->setPage(2);  // ruled lines
  RecordingNoteWindow& note = open();
  HWND w = note.window();
  EXPECT_EQ(state(w, 110), kEnabled);
  EXPECT_EQ(canvas(w)["mode"], 1);
  EXPECT_EQ(state(w, 120), kPressed);
  EXPECT_EQ(canvas(w)["pageFlags"], 2);
  command(w, 110);
  EXPECT_EQ(state(w, 110), kPressed);
  EXPECT_EQ(canvas(w)["mode"], 0);
  command(w, 120);
  EXPECT_EQ(state(w, 120), kEnabled);
  EXPECT_EQ(canvas(w)["pageFlags"], 16);
  command(w, 120);
  EXPECT_EQ(canvas(w)["pageFlags"], 2);
  EXPECT_TRUE(note.finishes.empty());
}

TEST_F(NoteToolbar, BlankPageSettingTogglesAGrid) {
  app_->setPage(0);
  RecordingNoteWindow& note = open();
  EXPECT_EQ(canvas(note.window())["pageFlags"], 16);
  command(note.window(), 120);
  EXPECT_EQ(state(note.window(), 120), kPressed);
  EXPECT_EQ(canvas(note.window())["pageFlags"], 4);
}

TEST_F(NoteToolbar, UndoFollowsTheCanvasAndClearAllDisablesIt) {
  app_->setMode(1);
  RecordingNoteWindow& note = open();
  HWND w = note.window();
  ASSERT_EQ(type("ab"), 0);
  EXPECT_EQ(state(w, 1134), kEnabled);
  for (int i = 0; i < 10 && state(w, 1134) == kEnabled; ++i) command(w, 1134);
  EXPECT_EQ(state(w, 1134), kDisabled);
  EXPECT_EQ(canvas(w)["canUndo"], false);
  EXPECT_EQ(state(w, 1131), kEnabled);

  ASSERT_EQ(type("cd"), 0);
  EXPECT_EQ(state(w, 1134), kEnabled);
  command(w, 1143);
  EXPECT_EQ(state(w, 1134), kDisabled);
  EXPECT_EQ(canvas(w)["text"], "");
  // Made anew, it keeps the mode.
  EXPECT_EQ(canvas(w)["mode"], 1);
}

TEST_F(NoteToolbar, DragWritesIntoTheCanvas) {
  RecordingNoteWindow& note = open();
  HWND canvasWindow = child(note.window(), 105);
  RECT r;
  GetWindowRect(canvasWindow, &r);
  const int y = (r.top + r.bottom) / 2, x1 = r.left + 40, x2 = r.right - 40;
  const std::string mid = std::to_string((x1 + x2) / 2) + " " + std::to_string(y);
  std::string before, after;
  ASSERT_EQ(ctlPumping("wait-idle"), 0);
  ASSERT_EQ(ctlPumping("pixel " + mid, &before), 0);
  ASSERT_EQ(ctlPumping("drag " + std::to_string(x1) + " " + std::to_string(y) + " " + std::to_string(x2) + " " +
                       std::to_string(y)),
            0);
  ASSERT_EQ(ctlPumping("wait-idle"), 0);
  EXPECT_GE(canvas(note.window())["strokes"], 1);
  ASSERT_EQ(ctlPumping("pixel " + mid, &after), 0);
  EXPECT_NE(after, before);
  SendMessageW(note.window(), PNM_NOTE_CLOSE, 0, 0);
  EXPECT_EQ(note.finishes, std::vector<bool>{true});
}

}  // namespace
}  // namespace handheld::testing
