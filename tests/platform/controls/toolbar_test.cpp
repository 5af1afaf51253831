// The toolbar: buttons and their states, taps sending the command on release inside,
// check groups, drop-downs, strings and image strips, layout, tooltips while the stylus is
// held (the array a menu bar gives, or the owner's text), bad input and automation state.
#include <gtest/gtest.h>

#include <commctrl.h>

#include <chrono>
#include <nlohmann/json.hpp>

#include "controls_fixture.h"
#include "resource.h"

namespace handheld::testing {
namespace {

constexpr UINT kAutomationState = 0x03F0;

TBBUTTON button(int image, int command, BYTE state = TBSTATE_ENABLED, BYTE style = TBSTYLE_BUTTON,
                INT_PTR string = -1) {
  TBBUTTON b{};
  b.iBitmap = image;
  b.idCommand = command;
  b.fsState = state;
  b.fsStyle = style;
  b.iString = string;
  return b;
}

class Toolbars : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    recorder.react(WM_NOTIFY, [this](HWND, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      codes.push_back(header->code);
      if (header->code == 0u - 710u) {
        dropped = reinterpret_cast<NMTOOLBARW*>(lParam)->iItem;
        if (destroyOnDropDown) DestroyWindow(header->hwndFrom);
        return dropDownAnswer;
      }
      if (header->code == 0u - 719u && !infoTip.empty()) {
        auto* info = reinterpret_cast<NMTBGETINFOTIPW*>(lParam);
        std::copy(infoTip.begin(), infoTip.end(), info->pszText);
        info->pszText[infoTip.size()] = 0;
      }
      if (header->code == 0u - 530u) {
        auto* display = reinterpret_cast<NMTTDISPINFOW*>(lParam);
        displayId = header->idFrom;
        if (fromResource) {
          display->hinst = GetModuleHandleW(nullptr);
          display->lpszText = MAKEINTRESOURCEW(IDS_TOOL_TIP);
        } else {
          std::copy_n(u"Owner tip", 10, display->szText);
        }
      }
      return 0;
    });
  }

  HWND toolbar(DWORD style = CCS_NORESIZE | CCS_NOPARENTALIGN) {
    HWND t = control(u"ToolbarWindow32", u"", style, 40, {0, 150, 240, 180});
    EXPECT_NE(t, nullptr);
    SendMessageW(t, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    return t;
  }

  // Zoom out, zoom in, a separator, pen mode (a check button), two in a check group.
  HWND filled(DWORD style = CCS_NORESIZE | CCS_NOPARENTALIGN) {
    HWND t = toolbar(style);
    const TBBUTTON buttons[] = {
        button(3, 1132), button(4, 1131), button(0, 0, 0, TBSTYLE_SEP), button(8, 110, TBSTATE_ENABLED, TBSTYLE_CHECK),
        button(1, 201, TBSTATE_ENABLED, TBSTYLE_CHECKGROUP), button(2, 202, TBSTATE_ENABLED, TBSTYLE_CHECKGROUP)};
    EXPECT_TRUE(SendMessageW(t, TB_ADDBUTTONSW, 6, reinterpret_cast<LPARAM>(buttons)));
    codes.clear();
    return t;
  }

  static RECT rectOf(HWND t, WPARAM index) {
    RECT r{};
    EXPECT_TRUE(SendMessageW(t, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)));
    return r;
  }
  static LPARAM middleOf(RECT r) { return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2); }

  void tap(HWND t, WPARAM index) {
    const LPARAM at = middleOf(rectOf(t, index));
    SendMessageW(t, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(t, WM_LBUTTONUP, 0, at);
  }

  std::vector<WORD> commands() {
    std::vector<WORD> out;
    for (const auto& m : recorder.messages())
      if (m.window == parent && m.message == WM_COMMAND) out.push_back(LOWORD(m.wParam));
    return out;
  }

  static HWND tipOf(HWND t) { return reinterpret_cast<HWND>(SendMessageW(t, TB_GETTOOLTIPS, 0, 0)); }
  static std::u16string textOf(HWND window) {
    char16_t buffer[64] = {};
    GetWindowTextW(window, buffer, 64);
    return buffer;
  }
  bool tipShows(HWND t, DWORD timeoutMs = 3000) {
    return recorder.pumpUntil([&] { return tipOf(t) && IsWindowVisible(tipOf(t)); }, timeoutMs);
  }

  std::vector<UINT> codes;
  int dropped = 0;
  LRESULT dropDownAnswer = 0;
  bool destroyOnDropDown = false;
  std::u16string infoTip;
  bool fromResource = false;
  UINT_PTR displayId = 0;
};

TEST_F(Toolbars, ValuesThePlatformGives) {
  EXPECT_EQ(std::u16string(TOOLBARCLASSNAMEW), u"ToolbarWindow32");
  EXPECT_EQ(TBSTATE_CHECKED, 0x01);
  EXPECT_EQ(TBSTATE_PRESSED, 0x02);
  EXPECT_EQ(TBSTATE_ENABLED, 0x04);
  EXPECT_EQ(TBSTATE_HIDDEN, 0x08);
  EXPECT_EQ(TBSTATE_INDETERMINATE, 0x10);
  EXPECT_EQ(TBSTYLE_BUTTON, 0x00);
  EXPECT_EQ(TBSTYLE_SEP, 0x01);
  EXPECT_EQ(TBSTYLE_CHECK, 0x02);
  EXPECT_EQ(TBSTYLE_GROUP, 0x04);
  EXPECT_EQ(TBSTYLE_CHECKGROUP, 0x06);
  EXPECT_EQ(TBSTYLE_DROPDOWN, 0x08);
  EXPECT_EQ(TBSTYLE_TOOLTIPS, 0x0100);
  EXPECT_EQ(CCS_BOTTOM, 0x3);
  EXPECT_EQ(CCS_NORESIZE, 0x4);
  EXPECT_EQ(I_IMAGENONE, -2);
  EXPECT_EQ(TB_ENABLEBUTTON, 0x0401);
  EXPECT_EQ(TB_CHECKBUTTON, 0x0402);
  EXPECT_EQ(TB_PRESSBUTTON, 0x0403);
  EXPECT_EQ(TB_HIDEBUTTON, 0x0404);
  EXPECT_EQ(TB_ISBUTTONENABLED, 0x0409);
  EXPECT_EQ(TB_ISBUTTONCHECKED, 0x040A);
  EXPECT_EQ(TB_ISBUTTONPRESSED, 0x040B);
  EXPECT_EQ(TB_ISBUTTONHIDDEN, 0x040C);
  EXPECT_EQ(TB_SETSTATE, 0x0411);
  EXPECT_EQ(TB_GETSTATE, 0x0412);
  EXPECT_EQ(TB_ADDBITMAP, 0x0413);
  EXPECT_EQ(TB_DELETEBUTTON, 0x0416);
  EXPECT_EQ(TB_GETBUTTON, 0x0417);
  EXPECT_EQ(TB_BUTTONCOUNT, 0x0418);
  EXPECT_EQ(TB_COMMANDTOINDEX, 0x0419);
  EXPECT_EQ(TB_GETITEMRECT, 0x041D);
  EXPECT_EQ(TB_BUTTONSTRUCTSIZE, 0x041E);
  EXPECT_EQ(TB_SETBUTTONSIZE, 0x041F);
  EXPECT_EQ(TB_SETBITMAPSIZE, 0x0420);
  EXPECT_EQ(TB_AUTOSIZE, 0x0421);
  EXPECT_EQ(TB_GETTOOLTIPS, 0x0423);
  EXPECT_EQ(TB_SETTOOLTIPS, 0x0424);
  EXPECT_EQ(TB_GETBUTTONINFOW, 0x043F);
  EXPECT_EQ(TB_SETBUTTONINFOW, 0x0440);
  EXPECT_EQ(TB_INSERTBUTTONW, 0x0443);
  EXPECT_EQ(TB_ADDBUTTONSW, 0x0444);
  EXPECT_EQ(TB_ADDSTRINGW, 0x044D);
  EXPECT_EQ(TBIF_TEXT, 0x2);
  EXPECT_EQ(TBIF_STATE, 0x4);
  EXPECT_EQ(TBIF_BYINDEX, 0x80000000u);
  EXPECT_EQ(TBN_DROPDOWN, 0u - 710u);
  EXPECT_EQ(TBN_GETINFOTIPW, 0u - 719u);
  EXPECT_EQ(TTN_GETDISPINFOW, 0u - 530u);
  EXPECT_EQ(TBDDRET_DEFAULT, 0);
  EXPECT_EQ(TBDDRET_NODEFAULT, 1);
  EXPECT_EQ(TBDDRET_TREATPRESSED, 2);
  EXPECT_EQ(sizeof(TBBUTTON), 32u);
  EXPECT_EQ(sizeof(TBBUTTONINFOW), 48u);
}

TEST_F(Toolbars, ButtonsAddedInsertedFoundAndDeleted) {
  HWND t = filled();
  EXPECT_EQ(SendMessageW(t, TB_BUTTONCOUNT, 0, 0), 6);
  EXPECT_EQ(SendMessageW(t, TB_COMMANDTOINDEX, 110, 0), 3);
  EXPECT_EQ(SendMessageW(t, TB_COMMANDTOINDEX, 0, 0), -1);  // a separator has no command
  const TBBUTTON undo = button(6, 1134, 0);
  EXPECT_TRUE(SendMessageW(t, TB_INSERTBUTTONW, 2, reinterpret_cast<LPARAM>(&undo)));
  TBBUTTON read{};
  ASSERT_TRUE(SendMessageW(t, TB_GETBUTTON, 2, reinterpret_cast<LPARAM>(&read)));
  EXPECT_EQ(read.idCommand, 1134);
  EXPECT_EQ(read.iBitmap, 6);
  EXPECT_EQ(read.fsState, 0);
  EXPECT_EQ(SendMessageW(t, TB_COMMANDTOINDEX, 110, 0), 4);
  EXPECT_TRUE(SendMessageW(t, TB_DELETEBUTTON, 0, 0));
  EXPECT_EQ(SendMessageW(t, TB_COMMANDTOINDEX, 1134, 0), 1);
  EXPECT_EQ(SendMessageW(t, TB_BUTTONCOUNT, 0, 0), 6);
}

TEST_F(Toolbars, BadInputAnswersFailureAndChangesNothing) {
  HWND t = filled();
  EXPECT_FALSE(SendMessageW(t, TB_ADDBUTTONSW, 1, 0));
  EXPECT_FALSE(SendMessageW(t, TB_INSERTBUTTONW, 0, 0));
  const TBBUTTON one = button(0, 9);
  EXPECT_FALSE(SendMessageW(t, TB_INSERTBUTTONW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&one)));
  EXPECT_FALSE(SendMessageW(t, TB_DELETEBUTTON, 6, 0));
  EXPECT_FALSE(SendMessageW(t, TB_DELETEBUTTON, static_cast<WPARAM>(-1), 0));
  TBBUTTON read{};
  EXPECT_FALSE(SendMessageW(t, TB_GETBUTTON, 6, reinterpret_cast<LPARAM>(&read)));
  EXPECT_FALSE(SendMessageW(t, TB_GETBUTTON, 0, 0));
  EXPECT_EQ(SendMessageW(t, TB_GETSTATE, 999, 0), -1);
  EXPECT_FALSE(SendMessageW(t, TB_SETSTATE, 999, TBSTATE_ENABLED));
  EXPECT_FALSE(SendMessageW(t, TB_ENABLEBUTTON, 999, TRUE));
  EXPECT_FALSE(SendMessageW(t, TB_CHECKBUTTON, 999, TRUE));
  EXPECT_EQ(SendMessageW(t, TB_ISBUTTONENABLED, 999, 0), 0);
  RECT r{};
  EXPECT_FALSE(SendMessageW(t, TB_GETITEMRECT, 6, reinterpret_cast<LPARAM>(&r)));
  EXPECT_FALSE(SendMessageW(t, TB_GETITEMRECT, 0, 0));
  TBBUTTONINFOW info{};
  info.cbSize = sizeof(info) - 8;  // a size this platform does not know
  info.dwMask = TBIF_STATE;
  EXPECT_EQ(SendMessageW(t, TB_GETBUTTONINFOW, 110, reinterpret_cast<LPARAM>(&info)), -1);
  EXPECT_FALSE(SendMessageW(t, TB_SETBUTTONINFOW, 110, reinterpret_cast<LPARAM>(&info)));
  info.cbSize = sizeof(info);
  EXPECT_EQ(SendMessageW(t, TB_GETBUTTONINFOW, 999, reinterpret_cast<LPARAM>(&info)), -1);
  EXPECT_EQ(SendMessageW(t, TB_ADDSTRINGW, 0, 0), -1);
  TBADDBITMAP missing{GetModuleHandleW(nullptr), 9999};
  EXPECT_EQ(SendMessageW(t, TB_ADDBITMAP, 1, reinterpret_cast<LPARAM>(&missing)), -1);
  EXPECT_EQ(SendMessageW(t, TB_ADDBITMAP, 1, 0), -1);
  // Buttons of a structure size it does not know are refused, not misread.
  SendMessageW(t, TB_BUTTONSTRUCTSIZE, 20, 0);
  EXPECT_FALSE(SendMessageW(t, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&one)));
  EXPECT_EQ(SendMessageW(t, TB_BUTTONCOUNT, 0, 0), 6);
}

TEST_F(Toolbars, StatesByCommand) {
  HWND t = filled();
  // The values a program writes directly: 6 enabled and pressed, 4 enabled.
  EXPECT_TRUE(SendMessageW(t, TB_SETSTATE, 110, MAKELONG(6, 0)));
  EXPECT_EQ(SendMessageW(t, TB_GETSTATE, 110, 0), 6);
  EXPECT_TRUE(SendMessageW(t, TB_ISBUTTONPRESSED, 110, 0));
  EXPECT_TRUE(SendMessageW(t, TB_SETSTATE, 110, MAKELONG(4, 0)));
  EXPECT_FALSE(SendMessageW(t, TB_ISBUTTONPRESSED, 110, 0));
  EXPECT_TRUE(SendMessageW(t, TB_ENABLEBUTTON, 1131, FALSE));
  EXPECT_EQ(SendMessageW(t, TB_GETSTATE, 1131, 0), 0);
  EXPECT_FALSE(SendMessageW(t, TB_ISBUTTONENABLED, 1131, 0));
  SendMessageW(t, TB_ENABLEBUTTON, 1131, TRUE);
  EXPECT_EQ(SendMessageW(t, TB_GETSTATE, 1131, 0), 4);
  SendMessageW(t, TB_PRESSBUTTON, 1132, TRUE);
  EXPECT_EQ(SendMessageW(t, TB_GETSTATE, 1132, 0), 6);
  SendMessageW(t, TB_HIDEBUTTON, 1132, TRUE);
  EXPECT_TRUE(SendMessageW(t, TB_ISBUTTONHIDDEN, 1132, 0));
  const RECT hidden = rectOf(t, 0);
  EXPECT_EQ(hidden.right - hidden.left, 0);
  EXPECT_EQ(rectOf(t, 1).left, 0);  // the next button takes its place
  // Checking a member of a check group unchecks the others.
  SendMessageW(t, TB_CHECKBUTTON, 201, TRUE);
  SendMessageW(t, TB_CHECKBUTTON, 202, TRUE);
  EXPECT_FALSE(SendMessageW(t, TB_ISBUTTONCHECKED, 201, 0));
  EXPECT_TRUE(SendMessageW(t, TB_ISBUTTONCHECKED, 202, 0));
  TBBUTTONINFOW info{};
  info.cbSize = sizeof(info);
  info.dwMask = TBIF_STATE | TBIF_STYLE | TBIF_IMAGE;
  EXPECT_EQ(SendMessageW(t, TB_GETBUTTONINFOW, 202, reinterpret_cast<LPARAM>(&info)), 5);
  EXPECT_EQ(info.fsState, TBSTATE_ENABLED | TBSTATE_CHECKED);
  EXPECT_EQ(info.fsStyle, TBSTYLE_CHECKGROUP);
  EXPECT_EQ(info.iImage, 2);
  info.dwMask = TBIF_STATE;
  info.fsState = 0;
  EXPECT_TRUE(SendMessageW(t, TB_SETBUTTONINFOW, 202, reinterpret_cast<LPARAM>(&info)));
  EXPECT_EQ(SendMessageW(t, TB_GETSTATE, 202, 0), 0);
  info.dwMask = TBIF_STATE | TBIF_BYINDEX;
  EXPECT_EQ(SendMessageW(t, TB_GETBUTTONINFOW, 3, reinterpret_cast<LPARAM>(&info)), 3);
  EXPECT_EQ(info.fsState, TBSTATE_ENABLED);
}

TEST_F(Toolbars, ATapSendsTheCommandOnReleaseInside) {
  HWND t = filled();
  tap(t, 1);
  EXPECT_EQ(commands(), (std::vector<WORD>{1131}));
  EXPECT_EQ(GetCapture(), nullptr);
  // Lifted off the button: nothing.
  SendMessageW(t, WM_LBUTTONDOWN, MK_LBUTTON, middleOf(rectOf(t, 0)));
  EXPECT_EQ(GetCapture(), t);
  SendMessageW(t, WM_MOUSEMOVE, MK_LBUTTON, middleOf(rectOf(t, 3)));
  SendMessageW(t, WM_LBUTTONUP, 0, middleOf(rectOf(t, 3)));
  EXPECT_EQ(commands().size(), 1u);
  // A disabled button and a separator do nothing.
  SendMessageW(t, TB_ENABLEBUTTON, 1132, FALSE);
  tap(t, 0);
  tap(t, 2);
  EXPECT_EQ(commands().size(), 1u);
  // A check button toggles; a check group's member stays checked when tapped again.
  tap(t, 3);
  EXPECT_TRUE(SendMessageW(t, TB_ISBUTTONCHECKED, 110, 0));
  tap(t, 3);
  EXPECT_FALSE(SendMessageW(t, TB_ISBUTTONCHECKED, 110, 0));
  tap(t, 4);
  tap(t, 5);
  tap(t, 5);
  EXPECT_FALSE(SendMessageW(t, TB_ISBUTTONCHECKED, 201, 0));
  EXPECT_TRUE(SendMessageW(t, TB_ISBUTTONCHECKED, 202, 0));
  EXPECT_EQ(commands(), (std::vector<WORD>{1131, 110, 110, 201, 202, 202}));
  EXPECT_TRUE(codes.empty());
}

TEST_F(Toolbars, DropDownsAskTheOwnerAsTheStylusGoesDown) {
  HWND t = toolbar();
  const TBBUTTON edit = button(I_IMAGENONE, 500, TBSTATE_ENABLED, TBSTYLE_DROPDOWN);
  SendMessageW(t, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&edit));
  SendMessageW(t, WM_LBUTTONDOWN, MK_LBUTTON, middleOf(rectOf(t, 0)));
  EXPECT_EQ(codes, (std::vector<UINT>{0u - 710u}));
  EXPECT_EQ(dropped, 500);
  SendMessageW(t, WM_LBUTTONUP, 0, middleOf(rectOf(t, 0)));
  EXPECT_TRUE(commands().empty());  // the owner handled it
  dropDownAnswer = TBDDRET_TREATPRESSED;
  tap(t, 0);
  EXPECT_EQ(commands(), (std::vector<WORD>{500}));
  destroyOnDropDown = true;
  SendMessageW(t, WM_LBUTTONDOWN, MK_LBUTTON, middleOf(rectOf(t, 0)));
  EXPECT_FALSE(IsWindow(t));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Toolbars, StringsTextButtonsAndImageStrips) {
  HWND t = toolbar();
  EXPECT_EQ(SendMessageW(t, TB_ADDSTRINGW, 0, reinterpret_cast<LPARAM>(u"Edit\0View\0")), 0);
  EXPECT_EQ(SendMessageW(t, TB_ADDSTRINGW, 0, reinterpret_cast<LPARAM>(u"Tools\0")), 2);
  // Images are cut square by the strip's height: three of 2 x 2 pixels.
  TBADDBITMAP strip{GetModuleHandleW(nullptr), IDB_TOOLSTRIP};
  EXPECT_EQ(SendMessageW(t, TB_ADDBITMAP, 3, reinterpret_cast<LPARAM>(&strip)), 0);
  EXPECT_EQ(SendMessageW(t, TB_ADDBITMAP, 3, reinterpret_cast<LPARAM>(&strip)), 3);
  EXPECT_FALSE(SendMessageW(t, TB_SETBITMAPSIZE, 0, MAKELONG(16, 16)));  // too late: images exist
  const TBBUTTON buttons[] = {button(I_IMAGENONE, 1, TBSTATE_ENABLED, TBSTYLE_BUTTON, 2), button(0, 2),
                              button(I_IMAGENONE, 3, TBSTATE_ENABLED, TBSTYLE_BUTTON,
                                     reinterpret_cast<INT_PTR>(u"Direct"))};
  SendMessageW(t, TB_ADDBUTTONSW, 3, reinterpret_cast<LPARAM>(buttons));
  char16_t text[16] = {};
  TBBUTTONINFOW info{};
  info.cbSize = sizeof(info);
  info.dwMask = TBIF_TEXT | TBIF_SIZE;
  info.pszText = text;
  info.cchText = 16;
  EXPECT_EQ(SendMessageW(t, TB_GETBUTTONINFOW, 1, reinterpret_cast<LPARAM>(&info)), 0);
  EXPECT_EQ(std::u16string(text), u"Tools");
  const WORD textWidth = info.cx;
  SendMessageW(t, TB_GETBUTTONINFOW, 3, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(std::u16string(text), u"Direct");
  const RECT image = rectOf(t, 1);
  EXPECT_EQ(image.right - image.left, 2 + 6 * GetSystemMetrics(SM_CXBORDER));  // the image and a border
  EXPECT_GT(textWidth, image.right - image.left);
  // TB_SETBUTTONSIZE widens image buttons; text buttons keep their text's width.
  SendMessageW(t, TB_SETBUTTONSIZE, 0, MAKELONG(30, 24));
  const RECT sized = rectOf(t, 1);
  EXPECT_EQ(sized.right - sized.left, 30);
  EXPECT_EQ(sized.bottom - sized.top, 24);
  EXPECT_EQ(rectOf(t, 0).right, sized.left);
}

TEST_F(Toolbars, MagentaInAStripIsTransparent) {
  HWND t = toolbar();
  // One 2 x 2 image: magenta on the left, red on the right.
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP strip = CreateCompatibleBitmap(screen, 2, 2);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(memory, strip);
  for (int y = 0; y < 2; ++y) {
    SetPixel(memory, 0, y, RGB(255, 0, 255));
    SetPixel(memory, 1, y, RGB(255, 0, 0));
  }
  SelectObject(memory, old);
  DeleteDC(memory);
  TBADDBITMAP added{nullptr, reinterpret_cast<UINT_PTR>(strip)};
  ASSERT_EQ(SendMessageW(t, TB_ADDBITMAP, 1, reinterpret_cast<LPARAM>(&added)), 0);
  const TBBUTTON image = button(0, 1);
  SendMessageW(t, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&image));
  UpdateWindow(t);
  const RECT r = rectOf(t, 0);
  const int x = r.left + (r.right - r.left - 2) / 2, y = r.top + (r.bottom - r.top - 2) / 2;
  HDC hdc = GetDC(t);
  const COLORREF face = GetPixel(hdc, r.left + 1, y);
  EXPECT_EQ(GetPixel(hdc, x, y), face);
  EXPECT_NE(face, RGB(255, 0, 255));
  EXPECT_EQ(GetPixel(hdc, x + 1, y), RGB(255, 0, 0));
  ReleaseDC(t, hdc);
  DeleteObject(strip);
}

TEST_F(Toolbars, AutoSizeFitsTheParentAtTheBottom) {
  HWND t = filled(CCS_BOTTOM);
  SendMessageW(t, TB_SETBUTTONSIZE, 0, MAKELONG(24, 22));
  SendMessageW(t, TB_AUTOSIZE, 0, 0);
  RECT r{};
  GetWindowRect(t, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right, 240);
  EXPECT_EQ(r.bottom, 200);
  EXPECT_EQ(r.bottom - r.top, 22 + 2 * GetSystemMetrics(SM_CXBORDER));
}

TEST_F(Toolbars, TheMenuBarsArrayOfTipsShowsWhileHeld) {
  HWND t = filled();
  // One text per button that is no separator, in order.
  static const LPCWSTR tips[] = {u"Zoom out", u"Zoom in", u"Pen mode"};
  SendMessageW(t, TB_SETTOOLTIPS, 3, reinterpret_cast<LPARAM>(tips));
  const auto start = std::chrono::steady_clock::now();
  SendMessageW(t, WM_LBUTTONDOWN, MK_LBUTTON, middleOf(rectOf(t, 3)));
  EXPECT_FALSE(tipOf(t) && IsWindowVisible(tipOf(t)));  // not before the hold time
  ASSERT_TRUE(tipShows(t));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
  EXPECT_EQ(textOf(tipOf(t)), u"Pen mode");
  RECT tip{}, bar{};
  GetWindowRect(tipOf(t), &tip);
  GetWindowRect(t, &bar);
  EXPECT_LE(tip.bottom, bar.top);  // above the bar
  SendMessageW(t, WM_LBUTTONUP, 0, middleOf(rectOf(t, 3)));
  EXPECT_FALSE(IsWindowVisible(tipOf(t)));
  EXPECT_EQ(commands(), (std::vector<WORD>{110}));  // still a tap
  // A button beyond the array has none; neither does one the stylus left.
  SendMessageW(t, WM_LBUTTONDOWN, MK_LBUTTON, middleOf(rectOf(t, 4)));
  EXPECT_FALSE(tipShows(t, 900));
  SendMessageW(t, WM_LBUTTONUP, 0, middleOf(rectOf(t, 4)));
  SendMessageW(t, WM_LBUTTONDOWN, MK_LBUTTON, middleOf(rectOf(t, 0)));
  SendMessageW(t, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(230, 5));
  EXPECT_FALSE(tipShows(t, 900));
  SendMessageW(t, WM_LBUTTONUP, 0, MAKELPARAM(230, 5));
  EXPECT_TRUE(codes.empty());  // the array asks the owner nothing
}

TEST_F(Toolbars, TheOwnerGivesTipsWhenAsked) {
  HWND t = filled(CCS_NORESIZE | CCS_NOPARENTALIGN | TBSTYLE_TOOLTIPS);
  infoTip = u"Info tip";
  SendMessageW(t, WM_LBUTTONDOWN, MK_LBUTTON, middleOf(rectOf(t, 1)));
  ASSERT_TRUE(tipShows(t));
  EXPECT_EQ(textOf(tipOf(t)), u"Info tip");
  SendMessageW(t, WM_LBUTTONUP, 0, middleOf(rectOf(t, 1)));
  infoTip.clear();  // then TTN_GETDISPINFO, with the button's command as its id
  SendMessageW(t, WM_LBUTTONDOWN, MK_LBUTTON, middleOf(rectOf(t, 0)));
  ASSERT_TRUE(tipShows(t));
  EXPECT_EQ(textOf(tipOf(t)), u"Owner tip");
  EXPECT_EQ(displayId, 1132u);
  SendMessageW(t, WM_LBUTTONUP, 0, middleOf(rectOf(t, 0)));
  fromResource = true;
  SendMessageW(t, WM_LBUTTONDOWN, MK_LBUTTON, middleOf(rectOf(t, 0)));
  ASSERT_TRUE(tipShows(t));
  EXPECT_EQ(textOf(tipOf(t)), u"Tip from a resource");
  SendMessageW(t, WM_LBUTTONUP, 0, middleOf(rectOf(t, 0)));
  // Without TBSTYLE_TOOLTIPS and without an array, no tips.
  HWND plain = filled();
  SendMessageW(plain, WM_LBUTTONDOWN, MK_LBUTTON, middleOf(rectOf(plain, 0)));
  EXPECT_FALSE(tipShows(plain, 900));
  SendMessageW(plain, WM_LBUTTONUP, 0, middleOf(rectOf(plain, 0)));
}

TEST_F(Toolbars, AutomationStateListsTheButtons) {
  HWND t = toolbar();
  const TBBUTTON buttons[] = {button(0, 1132), button(0, 0, 0, TBSTYLE_SEP),
                              button(I_IMAGENONE, 500, TBSTATE_ENABLED | TBSTATE_PRESSED, TBSTYLE_DROPDOWN,
                                     reinterpret_cast<INT_PTR>(u"Edit"))};
  SendMessageW(t, TB_ADDBUTTONSW, 3, reinterpret_cast<LPARAM>(buttons));
  nlohmann::json state = nlohmann::json::object();
  EXPECT_EQ(SendMessageW(t, kAutomationState, 0, reinterpret_cast<LPARAM>(&state)), 0);
  EXPECT_EQ(state["buttons"], nlohmann::json::parse(R"([{"command":1132,"state":4,"text":""},
                                                        {"command":500,"state":6,"text":"Edit"}])"));
}

}  // namespace
}  // namespace handheld::testing
