// The all-notes window: how it is made, what its rows show, and its whole table of messages
// and commands, each as the slot calls it must make.
#include <aygshell.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <string>
#include <thread>

#include "app/app_references.h"
#include "notes_window_fixture.h"
#include "support/message_recorder.h"

namespace handheld::testing {
namespace {

std::u16string windowText(HWND window) {
  WCHAR text[128] = {};
  GetWindowTextW(window, text, 128);
  return text;
}

std::u16string className(HWND window) {
  WCHAR text[128] = {};
  GetClassNameW(window, text, 128);
  return text;
}

std::u16string cellText(HWND list, int row, int column) {
  WCHAR text[64] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = 64;
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return text;
}

LVITEMW itemOf(HWND list, int row) {
  LVITEMW item{};
  item.mask = LVIF_IMAGE | LVIF_PARAM;
  item.iItem = row;
  SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return item;
}

std::u16string columnText(HWND list, int column) {
  WCHAR text[32] = {};
  LVCOLUMNW info{};
  info.mask = LVCF_TEXT;
  info.pszText = text;
  info.cchTextMax = 32;
  SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
  return text;
}

LOGFONTW fontOf(HWND list) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font;
}

// The top-level windows of a class owned by `owner`.
int ownedWindows(HWND owner, const char16_t* windowClass) {
  int count = 0;
  for (HWND window = FindWindowW(windowClass, nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
    if (className(window) == windowClass && GetWindow(window, GW_OWNER) == owner) ++count;
  }
  return count;
}

class AllNotesWindowTest : public NotesWindowTest {};

TEST_F(AllNotesWindowTest, CreationMakesTheYellowFullScreenWindowWithItsList) {
  notes_->addNote(u"Dentist", Time(2030, 1, 2, 3, 4));
  notes_->showAll();
  const HWND window = notes_->window();
  ASSERT_NE(window, nullptr);
  // Shown and activated, then sorted to the first order and filled.
  EXPECT_EQ(notes_->takeCalls(), (Calls{"activated", "sortNotes(-1)"}));
  EXPECT_EQ(className(window), u"AllPinnotesWnd");
  EXPECT_EQ(windowText(window), u"VORLA Pinnotes");
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(GetForegroundWindow(), window);
  EXPECT_EQ(GetClassLongPtrW(window, GCL_STYLE) & (CS_HREDRAW | CS_VREDRAW), ULONG_PTR{CS_HREDRAW | CS_VREDRAW});
  LOGBRUSH background{};
  GetObjectW(reinterpret_cast<HGDIOBJ>(GetClassLongPtrW(window, GCLP_HBRBACKGROUND)), sizeof background, &background);
  EXPECT_EQ(background.lbColor, COLORREF{0x00FFFF});
  // Full screen as the shell sizes it: below the navigation bar, above the menu bar.
  RECT bounds{};
  GetWindowRect(window, &bounds);
  EXPECT_EQ(bounds.left, 0);
  EXPECT_EQ(bounds.top, 26);
  EXPECT_EQ(bounds.right, 240);
  EXPECT_EQ(bounds.bottom, 294);
  EXPECT_EQ(ownedWindows(window, u"HandheldMenuBar"), 1);

  const HWND list = GetDlgItem(window, 1);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(className(list), u"SysListView32");
  const LONG style = GetWindowLongW(list, GWL_STYLE);
  const LONG wanted = WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS;
  EXPECT_EQ(style & wanted, wanted);
  EXPECT_EQ(style & LVS_SINGLESEL, 0);
  EXPECT_EQ(SendMessageW(list, LVM_GETBKCOLOR, 0, 0), 0x00FFFF);
  EXPECT_EQ(SendMessageW(list, LVM_GETTEXTBKCOLOR, 0, 0), 0x00FFFF);
  EXPECT_EQ(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & 0x20, 0x20);
  // Only its top border shows: one border out on the left, right and bottom.
  RECT client{};
  GetClientRect(window, &client);
  RECT listBounds{};
  GetWindowRect(list, &listBounds);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&listBounds), 2);
  EXPECT_EQ(listBounds.left, -1);
  EXPECT_EQ(listBounds.top, 0);
  EXPECT_EQ(listBounds.right - listBounds.left, client.right + 2);
  EXPECT_EQ(listBounds.bottom - listBounds.top, client.bottom + 1);

  EXPECT_EQ(columnText(list, 0), u"Time");
  EXPECT_EQ(columnText(list, 1), u"Title");
  EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), 100);  // (240 - 40) / 2
  EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0), 100);
  const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  int cx = 0, cy = 0;
  ASSERT_TRUE(ImageList_GetIconSize(images, &cx, &cy));
  EXPECT_EQ(cx, 16);
  EXPECT_EQ(cy, 16);
  EXPECT_EQ(ImageList_GetImageCount(images), 3);
  const LOGFONTW font = fontOf(list);
  EXPECT_EQ(font.lfHeight, -9);  // FontSize 9 of the first run
  EXPECT_EQ(std::u16string(font.lfFaceName), u"Tahoma");
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 1);
}

std::u16string itemText(HMENU menu, UINT position) {
  WCHAR text[64] = {};
  GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
  return text;
}

// Menu 122: "New" on the left, the "Tools" menu on the right, grayed by position once after
// creation and not again when the bar is made anew.
TEST_F(AllNotesWindowTest, TheMenuBarHoldsNewAndTools) {
  showWithNotes(0);
  const HWND window = notes_->window();
  auto barMenu = [&] {
    const HWND bar = FindWindowW(u"HandheldMenuBar", nullptr);
    return reinterpret_cast<HMENU>(SendMessageW(bar, SHCMBM_GETMENU, 0, 0));
  };
  HMENU menu = barMenu();
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(GetMenuItemCount(menu), 2);
  EXPECT_EQ(itemText(menu, 0), u"New");
  EXPECT_EQ(GetMenuItemID(menu, 0), 1113u);
  EXPECT_EQ(itemText(menu, 1), u"Tools");
  EXPECT_NE(GetMenuState(menu, 1, MF_BYPOSITION) & MF_GRAYED, 0u);
  HMENU tools = GetSubMenu(menu, 1);
  ASSERT_NE(tools, nullptr);
  ASSERT_EQ(GetMenuItemCount(tools), 3);
  EXPECT_EQ(itemText(tools, 0), u"Titles editor...");
  EXPECT_EQ(GetMenuItemID(tools, 0), 1144u);
  EXPECT_EQ(itemText(tools, 1), u"Options...");
  EXPECT_EQ(GetMenuItemID(tools, 1), 1122u);
  EXPECT_EQ(itemText(tools, 2), u"About...");
  EXPECT_EQ(GetMenuItemID(tools, 2), 1158u);
  SendMessageW(window, 1424, 0, 0);
  menu = barMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(GetMenuState(menu, 1, MF_BYPOSITION) & MF_GRAYED, 0u);
}

TEST_F(AllNotesWindowTest, HighResolutionDoublesTheColumnsImagesAndFont) {
  ASSERT_EQ(ctl("screen vga"), 0);
  readScreen();
  ASSERT_EQ(theScreen.scaleX, 2);
  showWithNotes(1);
  const HWND list = this->list();
  EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), 200);  // (480 - 80) / 2
  EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0), 200);
  int cx = 0, cy = 0;
  ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0)), &cx, &cy);
  EXPECT_EQ(cx, 32);
  EXPECT_EQ(cy, 32);
  EXPECT_EQ(fontOf(list).lfHeight, -18);
  RECT listBounds{};
  GetWindowRect(list, &listBounds);
  MapWindowPoints(nullptr, notes_->window(), reinterpret_cast<POINT*>(&listBounds), 2);
  EXPECT_EQ(listBounds.left, -2);
}

// The strips are drawn on magenta, which the list takes as transparent: the corners of each
// picture are see-through, their middles are white (clock face and white disc) or red.
TEST_F(AllNotesWindowTest, StatePicturesReadFromBothStrips) {
  for (const auto& [resource, size] : {std::pair{123, 16}, std::pair{196, 32}}) {
    HBITMAP strip = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource));
    ASSERT_NE(strip, nullptr) << resource;
    BITMAP info{};
    GetObjectW(strip, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 3 * size);
    EXPECT_EQ(info.bmHeight, size);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, strip);
    for (int image = 0; image < 3; ++image) {
      EXPECT_EQ(GetPixel(dc, image * size, 0), COLORREF{0xFF00FF}) << resource << " image " << image;
    }
    EXPECT_EQ(GetPixel(dc, size / 4, size * 3 / 4), COLORREF{0xFFFFFF}) << resource;  // clock face
    EXPECT_EQ(GetPixel(dc, size + size / 2, size / 2), COLORREF{0x0000FF}) << resource;  // red disc
    EXPECT_EQ(GetPixel(dc, 2 * size + size / 2, size / 2), COLORREF{0xFFFFFF}) << resource;
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(strip);
  }
}

TEST_F(AllNotesWindowTest, RowsShowTimeTitleAndStatePicture) {
  ASSERT_EQ(ctl("locale --date-order 1 --time-format 0"), 0);
  notes_->addNote(u"Dentist", Time(2005, 3, 5, 14, 7));
  notes_->addNote(u"Forever", NeverTime());
  notes_->addNote(u"Late", Time(2099, 1, 1, 0, 0), 1);
  notes_->addNote(u"Gone for good", NeverTime(), 1);
  notes_->showAll();
  const HWND list = this->list();
  ASSERT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 4);
  EXPECT_EQ(cellText(list, 0, 0), u"05.03.05, 02:07 PM");
  EXPECT_EQ(cellText(list, 0, 1), u"Dentist");
  EXPECT_EQ(itemOf(list, 0).iImage, 0);  // pending clock
  EXPECT_EQ(cellText(list, 1, 0), u"Never expire");
  EXPECT_EQ(cellText(list, 1, 1), u"Forever");
  EXPECT_EQ(itemOf(list, 1).iImage, 2);  // white disc
  // An expired note shows the red disc, even with its time ahead or no time at all.
  EXPECT_EQ(cellText(list, 2, 0), u"01.01.99, 12:00 AM");
  EXPECT_EQ(itemOf(list, 2).iImage, 1);
  EXPECT_EQ(cellText(list, 3, 0), u"Never expire");
  EXPECT_EQ(itemOf(list, 3).iImage, 1);
  for (int row = 0; row < 4; ++row) EXPECT_EQ(itemOf(list, row).lParam, 1);
}

TEST_F(AllNotesWindowTest, RefillShowsTheNotesInTheirNewOrderAndNothingWhileClosed) {
  notes_->refill();  // no window yet: nothing to do, nothing to crash
  EXPECT_EQ(notes_->window(), nullptr);
  notes_->addNote(u"B", Time(2030, 1, 1, 1, 0));
  notes_->addNote(u"A", Time(2030, 1, 1, 2, 0));
  notes_->addNote(u"C", Time(2030, 1, 1, 3, 0));
  notes_->onSort = [this](int column) {
    if (column == 1) notes_->reorder([](const NoteEntry& a, const NoteEntry& b) { return a.title < b.title; });
  };
  showWithNotes(0);
  const HWND list = this->list();
  // A tap on the "Title" heading: slot 4 with column 1, then the rows again in the new order.
  NMLISTVIEW click{};
  click.hdr.hwndFrom = list;
  click.hdr.idFrom = 1;
  click.hdr.code = LVN_COLUMNCLICK;
  click.iItem = -1;
  click.iSubItem = 1;
  EXPECT_EQ(SendMessageW(notes_->window(), WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&click)), 0);
  EXPECT_EQ(notes_->takeCalls(), (Calls{"sortNotes(1)"}));
  ASSERT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(cellText(list, 0, 1), u"A");
  EXPECT_EQ(cellText(list, 1, 1), u"B");
  EXPECT_EQ(cellText(list, 2, 1), u"C");
  // A column click from another control is not the list's.
  click.hdr.idFrom = 2;
  SendMessageW(notes_->window(), WM_NOTIFY, 2, reinterpret_cast<LPARAM>(&click));
  EXPECT_EQ(notes_->takeCalls(), Calls{});

  notes_->removeFirst();
  notes_->refill();
  ASSERT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(cellText(list, 0, 1), u"B");
}

// The rows change only under the note lock: while another thread holds it, a refill waits.
TEST_F(AllNotesWindowTest, RefillWaitsForTheNoteLock) {
  showWithNotes(2);
  std::promise<void> locked;
  std::atomic<bool> released{false};
  auto holder = std::async(std::launch::async, [&] {
    notes_->noteLock().lock();
    locked.set_value();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    released = true;
    notes_->noteLock().unlock();
  });
  locked.get_future().wait();
  notes_->refill();
  EXPECT_TRUE(released);
  holder.wait();
  EXPECT_EQ(SendMessageW(list(), LVM_GETITEMCOUNT, 0, 0), 2);
}

TEST_F(AllNotesWindowTest, EveryMessageIsItsSlot) {
  showWithNotes(3);
  const HWND window = notes_->window();
  // Row 2 marked, rows 1 and 2 selected.
  SendMessageW(list(), LVM_SETSELECTIONMARK, 0, 2);
  struct Row {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    Calls calls;
  };
  const Row rows[] = {
      {WM_ACTIVATE, WA_ACTIVE, 0, {"activated"}},
      {WM_ACTIVATE, WA_CLICKACTIVE, 0, {}},
      {WM_ACTIVATE, WA_INACTIVE, 0, {}},
      {1126, 0, 0, {"openNoteAt(2)"}},  // open the marked note
      {1424, 0, 0, {"applyOptions"}},   // the options changed
      {WM_COMMAND, 102, 0, {"openNoteAt(2)"}},
      {WM_COMMAND, 107, 0, {"deleteSelectedNotes"}},
      {WM_COMMAND, 108, 0, {"setSelectedNotesExpired"}},
      {WM_COMMAND, 1113, 0, {"newNote(0)"}},
      {WM_COMMAND, 1122, 0, {"openOptions(list window)"}},
      {WM_COMMAND, 1158, 0, {"about"}},
      {WM_COMMAND, 4242, 0, {}},
  };
  for (const Row& row : rows) {
    SendMessageW(window, row.message, row.wParam, row.lParam);
    pump();
    EXPECT_EQ(notes_->takeCalls(), row.calls) << messageName(row.message) << " " << row.wParam;
  }
  EXPECT_EQ(notes_->window(), window);
}

TEST_F(AllNotesWindowTest, SelectAllMarksAndFocusesTheFirstRow) {
  showWithNotes(5);
  SendMessageW(notes_->window(), WM_COMMAND, 111, 0);
  EXPECT_EQ(selectedRows(), (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(notes_->selectedCount(), 5);
  EXPECT_EQ(mark(), 0);
  EXPECT_EQ(focusedRow(), 0);
  EXPECT_EQ(notes_->takeCalls(), Calls{});
}

TEST_F(AllNotesWindowTest, ChangedSettingsSignalTheTodayItemRebuildTheMenuBarAndTheFont) {
  showWithNotes(1);
  const HWND window = notes_->window();
  notes_->onApplyOptions = [this] {
    theNoteApp->setFontSize(12);
    notes_->updateListFont();
  };
  HANDLE event = CreateEventW(nullptr, FALSE, FALSE, u"VORLA Pinnotes Event");
  ASSERT_NE(event, nullptr);
  ResetEvent(event);
  const HWND oldBar = FindWindowW(u"HandheldMenuBar", nullptr);
  SendMessageW(window, 1424, 0, 0);
  EXPECT_EQ(notes_->takeCalls(), (Calls{"applyOptions"}));
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
  CloseHandle(event);
  EXPECT_FALSE(IsWindow(oldBar));
  EXPECT_EQ(ownedWindows(window, u"HandheldMenuBar"), 1);
  EXPECT_EQ(fontOf(list()).lfHeight, -12);
}

TEST_F(AllNotesWindowTest, HelpOpensTheListTopic) {
  showWithNotes(0);
  SendMessageW(notes_->window(), WM_HELP, 0, 0);
  std::string processes;
  for (int attempt = 0; attempt < 100; ++attempt) {
    processes.clear();
    ctl("ps", &processes);
    if (processes.find(" PegHelp.exe file:Pinnotes.htm#AllPnts\n") != std::string::npos) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_NE(processes.find(" PegHelp.exe file:Pinnotes.htm#AllPnts\n"), std::string::npos) << processes;
}

TEST_F(AllNotesWindowTest, CloseTellsTheMainWindowAndTearsEverythingDown) {
  MessageRecorder main;
  main.registerClass(u"MainDouble");
  HWND mainWindow = CreateWindowExW(0, u"MainDouble", u"", 0, 0, 0, 10, 10, nullptr, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
  notes_->setMainWindow(mainWindow);
  showWithNotes(2);
  const HWND window = notes_->window();
  const HWND list = this->list();
  const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  ASSERT_EQ(ImageList_GetImageCount(images), 3);
  main.clear();
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(IsWindow(list));
  // The list freed itself, its images with it.
  EXPECT_NE(ImageList_GetImageCount(images), 3);
  EXPECT_EQ(notes_->window(), nullptr);
  EXPECT_EQ(notes_->selectedCount(), 0);
  EXPECT_EQ(notes_->selectionMark(), -1);
  main.pumpPending();
  EXPECT_TRUE(main.matches({{WM_CLOSE, kPosted}, {WM_DESTROY, kOptional}, {WM_NCDESTROY, kOptional}}, mainWindow));
  // The class went with it, so a later show registers it again.
  WNDCLASSW unused{};
  EXPECT_FALSE(GetClassInfoW(GetModuleHandleW(nullptr), u"AllPinnotesWnd", &unused));
  notes_->refill();
  notes_->showAll();
  EXPECT_NE(notes_->window(), nullptr);
  EXPECT_EQ(SendMessageW(this->list(), LVM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(notes_->takeCalls(), (Calls{"activated", "sortNotes(-1)"}));
}

TEST_F(AllNotesWindowTest, CloseAllDestroysTheWindowAndShowAllMakesANewOne) {
  showWithNotes(2);
  const HWND window = notes_->window();
  notes_->closeAll();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(notes_->window(), nullptr);
  notes_->closeAll();  // twice is harmless
  notes_->showAll();
  EXPECT_TRUE(IsWindow(notes_->window()));
}

TEST_F(AllNotesWindowTest, ShowAllAgainBringsTheWindowToTheFront) {
  showWithNotes(1);
  const HWND window = notes_->window();
  HWND other = CreateWindowExW(0, u"STATIC", u"other", WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  SetForegroundWindow(other);
  ASSERT_EQ(ctl("sip up"), 0);
  pump();
  SIPINFO sip{};
  sip.cbSize = sizeof sip;
  ASSERT_TRUE(SipGetInfo(&sip));
  ASSERT_EQ(sip.fdwFlags & SIPF_ON, 1u);
  notes_->showAll();
  EXPECT_EQ(notes_->window(), window);
  EXPECT_EQ(GetForegroundWindow(), window);
  ASSERT_TRUE(SipGetInfo(&sip));
  EXPECT_EQ(sip.fdwFlags & SIPF_ON, 0u);
  EXPECT_EQ(notes_->takeCalls(), (Calls{"activated"}));  // no second sort or fill
  DestroyWindow(other);
}

// The titles editor runs modally over the list window; while it is open, show-all brings the
// editor to the front instead.
TEST_F(AllNotesWindowTest, TitlesEditorRunsOwnedByTheListAndStaysInFront) {
  showWithNotes(1);
  const HWND window = notes_->window();
  MessageRecorder helper;
  helper.registerClass(u"Helper");
  HWND helperWindow = CreateWindowExW(0, u"Helper", u"", 0, 0, 0, 10, 10, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
  HWND seenEditor = nullptr;
  HWND frontAfterShowAll = nullptr;
  HWND editorOwner = nullptr;
  helper.react(WM_APP, [&](HWND, WPARAM, LPARAM) -> std::optional<LRESULT> {
    seenEditor = FindWindowW(nullptr, u"Titles editor");
    editorOwner = GetParent(seenEditor);
    notes_->showAll();
    frontAfterShowAll = GetForegroundWindow();
    PostMessageW(seenEditor, WM_COMMAND, IDOK, 0);
    return 0;
  });
  auto prod = std::async(std::launch::async, [&] {
    for (int attempt = 0; attempt < 200 && !FindWindowW(nullptr, u"Titles editor"); ++attempt) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    PostMessageW(helperWindow, WM_APP, 0, 0);
  });
  SendMessageW(window, WM_COMMAND, 1144, 0);
  prod.wait();
  ASSERT_NE(seenEditor, nullptr);
  EXPECT_EQ(editorOwner, window);
  EXPECT_EQ(frontAfterShowAll, seenEditor);
  EXPECT_FALSE(IsWindow(seenEditor));
  // Active again once the editor is gone.
  EXPECT_EQ(notes_->takeCalls(), (Calls{"activated"}));
  DestroyWindow(helperWindow);
}

}  // namespace
}  // namespace handheld::testing
