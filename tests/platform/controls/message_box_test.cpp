// Message boxes: the button sets and their answers by tap and by key, the default button,
// escape and close, the owner's state, nesting, failures, the look and the automation state.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "controls_fixture.h"
#include "platform/controls/resource.h"

namespace handheld::testing {
namespace {

constexpr UINT kAutomationState = 0x03F0;

class MessageBoxes : public ControlsTest {
 protected:
  // Shows the box; `act` runs inside its modal loop once the box exists.
  int show(UINT type, const std::function<void(HWND box)>& act, const char16_t* text = u"Text",
           const char16_t* caption = u"Caption", HWND owner = nullptr) {
    recorder.react(WM_APP, [&, caption](HWND, WPARAM, LPARAM) -> std::optional<LRESULT> {
      HWND box = FindWindowW(u"#32770", caption ? caption : u"Error");
      EXPECT_NE(box, nullptr);
      if (box) act(box);
      return 0;
    });
    PostMessageW(parent, WM_APP, 0, 0);
    return MessageBoxW(owner ? owner : parent, text, caption, type);
  }

  // Through the box's loop, which hands keys to the dialog manager whichever of its windows
  // they are addressed to.
  static void post(HWND box, UINT message, WPARAM wParam) { PostMessageW(box, message, wParam, 1); }
  static void key(HWND box, UINT vk) { post(box, WM_KEYDOWN, vk); }
  static void character(HWND box, char16_t c) { post(box, WM_CHAR, c); }

  // A tap in the middle of the button as the stylus gives it.
  static void tap(HWND button) {
    RECT r;
    GetClientRect(button, &r);
    const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
    PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(button, WM_LBUTTONUP, 0, at);
  }

  static std::u16string text(HWND window) {
    WCHAR buffer[128] = {};
    GetWindowTextW(window, buffer, 128);
    return buffer;
  }

  static std::vector<HWND> buttons(HWND box) {
    std::vector<HWND> found;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) found.push_back(c);
    return found;
  }

  nlohmann::json state(HWND box) {
    nlohmann::json out = nlohmann::json::object();
    EXPECT_EQ(SendMessageW(box, kAutomationState, 0, reinterpret_cast<LPARAM>(&out)), 0);
    return out;
  }
};

TEST_F(MessageBoxes, ValuesThePlatformGives) {
  EXPECT_EQ(MB_OK, 0x0);
  EXPECT_EQ(MB_OKCANCEL, 0x1);
  EXPECT_EQ(MB_ABORTRETRYIGNORE, 0x2);
  EXPECT_EQ(MB_YESNOCANCEL, 0x3);
  EXPECT_EQ(MB_YESNO, 0x4);
  EXPECT_EQ(MB_RETRYCANCEL, 0x5);
  EXPECT_EQ(MB_ICONHAND, 0x10);
  EXPECT_EQ(MB_ICONERROR, 0x10);
  EXPECT_EQ(MB_ICONSTOP, 0x10);
  EXPECT_EQ(MB_ICONQUESTION, 0x20);
  EXPECT_EQ(MB_ICONEXCLAMATION, 0x30);
  EXPECT_EQ(MB_ICONWARNING, 0x30);
  EXPECT_EQ(MB_ICONASTERISK, 0x40);
  EXPECT_EQ(MB_ICONINFORMATION, 0x40);
  EXPECT_EQ(MB_DEFBUTTON1, 0x0);
  EXPECT_EQ(MB_DEFBUTTON2, 0x100);
  EXPECT_EQ(MB_DEFBUTTON3, 0x200);
  EXPECT_EQ(MB_APPLMODAL, 0x0);
  EXPECT_EQ(MB_SETFOREGROUND, 0x10000);
  EXPECT_EQ(MB_TOPMOST, 0x40000);
  EXPECT_EQ(IDOK, 1);
  EXPECT_EQ(IDCANCEL, 2);
  EXPECT_EQ(IDABORT, 3);
  EXPECT_EQ(IDRETRY, 4);
  EXPECT_EQ(IDIGNORE, 5);
  EXPECT_EQ(IDYES, 6);
  EXPECT_EQ(IDNO, 7);
}

struct ButtonSet {
  UINT type;
  std::vector<std::u16string> texts;
  std::vector<int> answers;
};

const ButtonSet kSets[] = {
    {0x0, {u"OK"}, {1}},
    {0x1, {u"OK", u"Cancel"}, {1, 2}},
    {0x2, {u"&Abort", u"&Retry", u"&Ignore"}, {3, 4, 5}},
    {0x3, {u"&Yes", u"&No", u"Cancel"}, {6, 7, 2}},
    {0x4, {u"&Yes", u"&No"}, {6, 7}},
    {0x5, {u"&Retry", u"Cancel"}, {4, 2}},
};

TEST_F(MessageBoxes, EveryButtonOfEverySetAnswersByTap) {
  for (const auto& set : kSets) {
    for (size_t chosen = 0; chosen < set.answers.size(); ++chosen) {
      std::vector<std::u16string> seen;
      int result = show(set.type, [&](HWND box) {
        auto row = buttons(box);
        for (HWND b : row) seen.push_back(text(b));
        if (chosen < row.size()) tap(row[chosen]);
      });
      EXPECT_EQ(seen, set.texts) << "type " << set.type;
      EXPECT_EQ(result, set.answers[chosen]) << "type " << set.type << " button " << chosen;
    }
  }
}

TEST_F(MessageBoxes, EnterPressesTheDefaultButton) {
  struct Case {
    UINT type;
    int answer;
  };
  const Case cases[] = {
      {0x4, 6},          // MB_YESNO: the first
      {0x4 | 0x100, 7},  // MB_DEFBUTTON2
      {0x3 | 0x200, 2},  // MB_YESNOCANCEL, MB_DEFBUTTON3
      {0x4 | 0x200, 6},  // a third default of two buttons falls back to the first
      {0x2 | 0x100, 4},  // MB_ABORTRETRYIGNORE, MB_DEFBUTTON2
  };
  for (const auto& c : cases) {
    int focused = 0;
    LONG defaultStyle = 0;
    int result = show(c.type, [&](HWND box) {
      recorder.pumpPending();  // shown and activated: the focus is where the box put it
      focused = GetDlgCtrlID(GetFocus());
      defaultStyle = GetWindowLongW(GetFocus(), GWL_STYLE) & 0xF;
      key(box, VK_RETURN);
    });
    EXPECT_EQ(result, c.answer) << "type " << c.type;
    EXPECT_EQ(focused, c.answer) << "type " << c.type;
    EXPECT_EQ(defaultStyle, BS_DEFPUSHBUTTON);
  }
}

TEST_F(MessageBoxes, TabArrowsAndMnemonicsChooseOtherButtons) {
  // Tab then enter: the focused push button is the one enter presses.
  EXPECT_EQ(show(MB_YESNOCANCEL, [&](HWND box) {
              key(box, VK_TAB);
              key(box, VK_RETURN);
            }),
            7);
  // The arrows move along the row.
  EXPECT_EQ(show(MB_ABORTRETRYIGNORE, [&](HWND box) {
              key(box, VK_RIGHT);
              key(box, VK_RIGHT);
              key(box, VK_RETURN);
            }),
            5);
  // A button's letter, in either case, chooses it.
  EXPECT_EQ(show(MB_YESNO, [&](HWND box) { character(box, u'n'); }), 7);
  EXPECT_EQ(show(MB_ABORTRETRYIGNORE, [&](HWND box) { character(box, u'R'); }), 4);
  EXPECT_EQ(show(MB_ABORTRETRYIGNORE, [&](HWND box) {
              character(box, u'x');  // no button's letter: nothing
              character(box, u'i');
            }),
            5);
}

TEST_F(MessageBoxes, EscapeAndCloseAnswerOnlyWhereThereIsSomethingToCancel) {
  EXPECT_EQ(show(MB_OK, [&](HWND box) { key(box, VK_ESCAPE); }), 1);
  EXPECT_EQ(show(MB_OKCANCEL, [&](HWND box) { key(box, VK_ESCAPE); }), 2);
  EXPECT_EQ(show(MB_YESNOCANCEL, [&](HWND box) { key(box, VK_ESCAPE); }), 2);
  EXPECT_EQ(show(MB_RETRYCANCEL, [&](HWND box) { key(box, VK_ESCAPE); }), 2);
  // Yes/No and Abort/Retry/Ignore ignore escape and WM_CLOSE: the next key answers.
  EXPECT_EQ(show(MB_YESNO, [&](HWND box) {
              key(box, VK_ESCAPE);
              PostMessageW(box, WM_CLOSE, 0, 0);
              character(box, u'y');
            }),
            6);
  EXPECT_EQ(show(MB_ABORTRETRYIGNORE, [&](HWND box) {
              key(box, VK_ESCAPE);
              PostMessageW(box, WM_CLOSE, 0, 0);
              character(box, u'a');
            }),
            3);
  EXPECT_EQ(show(MB_OK, [&](HWND box) { PostMessageW(box, WM_CLOSE, 0, 0); }), 1);
  EXPECT_EQ(show(MB_YESNOCANCEL, [&](HWND box) { PostMessageW(box, WM_CLOSE, 0, 0); }), 2);
}

TEST_F(MessageBoxes, TheOwnerIsDisabledWhileTheBoxShows) {
  bool enabledDuring = true;
  HWND owner = nullptr;
  RECT frame{};
  EXPECT_EQ(show(MB_OK, [&](HWND box) {
              enabledDuring = IsWindowEnabled(parent);
              owner = GetWindow(box, GW_OWNER);
              GetWindowRect(box, &frame);
              key(box, VK_RETURN);
            }),
            1);
  EXPECT_FALSE(enabledDuring);
  EXPECT_EQ(owner, parent);
  EXPECT_TRUE(IsWindowEnabled(parent));
  // The screen's width, whatever the owner's.
  EXPECT_EQ(frame.left, 0);
  EXPECT_EQ(frame.right, 240);
  // A child as the owner: its top-level window is disabled.
  HWND child = control(u"BUTTON", u"Child", BS_PUSHBUTTON, 9);
  EXPECT_EQ(show(MB_OK, [&](HWND box) {
              enabledDuring = IsWindowEnabled(parent);
              key(box, VK_RETURN);
            }, u"Text", u"Caption", child),
            1);
  EXPECT_FALSE(enabledDuring);
  EXPECT_TRUE(IsWindowEnabled(parent));
}

INT_PTR CALLBACK askingDialog(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) {
    PostMessageW(dialog, WM_APP, 0, 0);
    return TRUE;
  }
  if (message == WM_APP) {
    // The box's own loop runs inside this dialog's; the dialog is its owner.
    HWND owner = GetParent(dialog);
    PostMessageW(owner, WM_APP + 2, 0, 0);
    int answer = MessageBoxW(dialog, u"Inner", u"Nested", MB_YESNO);
    EndDialog(dialog, answer * 10 + (IsWindowEnabled(dialog) ? 1 : 0));
    return TRUE;
  }
  return FALSE;
}

TEST_F(MessageBoxes, NestedInAModalDialog) {
  bool dialogEnabledDuring = true, parentEnabledDuring = true;
  recorder.react(WM_APP + 2, [&](HWND, WPARAM, LPARAM) -> std::optional<LRESULT> {
    PostMessageW(parent, WM_APP + 3, 0, 0);  // after the box exists
    return 0;
  });
  recorder.react(WM_APP + 3, [&](HWND, WPARAM, LPARAM) -> std::optional<LRESULT> {
    HWND box = FindWindowW(u"#32770", u"Nested");
    EXPECT_NE(box, nullptr);
    HWND dialog = box ? GetWindow(box, GW_OWNER) : nullptr;
    dialogEnabledDuring = dialog && IsWindowEnabled(dialog);
    parentEnabledDuring = IsWindowEnabled(parent);
    if (box) PostMessageW(GetFocus() ? GetFocus() : box, WM_CHAR, u'n', 1);
    return 0;
  });
  EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_FORM), parent, askingDialog, 0), 71);
  EXPECT_FALSE(dialogEnabledDuring);
  EXPECT_FALSE(parentEnabledDuring);
  EXPECT_TRUE(IsWindowEnabled(parent));
}

TEST_F(MessageBoxes, AnOwnerDestroyedEndsTheBoxWithoutAnAnswer) {
  HWND box = nullptr;
  SetLastError(0);
  EXPECT_EQ(show(MB_YESNO, [&](HWND shown) {
              box = shown;
              DestroyWindow(parent);
            }),
            0);
  EXPECT_EQ(GetLastError(), 1400u);  // ERROR_INVALID_WINDOW_HANDLE
  EXPECT_FALSE(IsWindow(box));
}

TEST_F(MessageBoxes, FailuresAndNullTexts) {
  SetLastError(0);
  EXPECT_EQ(MessageBoxW(parent, u"Text", u"Caption", 0x6), 0);  // no such button set
  EXPECT_EQ(GetLastError(), 87u);                                 // ERROR_INVALID_PARAMETER
  EXPECT_EQ(MessageBoxW(parent, u"Text", u"Caption", 0x50), 0);   // no such icon
  EXPECT_EQ(GetLastError(), 87u);
  HWND gone = create(0);
  DestroyWindow(gone);
  EXPECT_EQ(MessageBoxW(gone, u"Text", u"Caption", MB_OK), 0);
  EXPECT_EQ(GetLastError(), 1400u);

  // A null caption reads "Error"; a null text is empty.
  nlohmann::json seen;
  std::u16string title;
  EXPECT_EQ(show(MB_OK, [&](HWND box) {
              seen = state(box);
              title = text(box);
              key(box, VK_RETURN);
            }, nullptr, nullptr),
            1);
  EXPECT_EQ(title, u"Error");
  EXPECT_EQ(seen["caption"], "Error");
  EXPECT_EQ(seen["text"], "");
  // Without an owner nothing is disabled.
  EXPECT_EQ(show(MB_OK, [&](HWND box) { key(box, VK_RETURN); }, u"Alone", u"Caption", nullptr), 1);
}

TEST_F(MessageBoxes, AutomationStateListsTextCaptionButtonsAndDefault) {
  nlohmann::json seen;
  EXPECT_EQ(show(MB_YESNOCANCEL | MB_DEFBUTTON2 | MB_ICONQUESTION, [&](HWND box) {
              seen = state(box);
              key(box, VK_ESCAPE);
            }, u"Do you really want to delete selected pinnote?", u"Warning!"),
            2);
  EXPECT_EQ(seen["text"], "Do you really want to delete selected pinnote?");
  EXPECT_EQ(seen["caption"], "Warning!");
  EXPECT_EQ(seen["buttons"], nlohmann::json::array({"Yes", "No", "Cancel"}));
  EXPECT_EQ(seen["defaultButton"], 1);
}

class MessageBoxLook : public MessageBoxes {
 protected:
  struct Look {
    RECT frame{};
    COLORREF corner = 0, title = 0, body = 0, icon = 0;
    int darkInText = 0;
    RECT firstButton{}, lastButton{};
  };

  Look look(UINT type, int unit, const char16_t* message = u"Text") {
    Look seen;
    show(type, [&](HWND box) {
      recorder.pumpPending();
      GetWindowRect(box, &seen.frame);
      HDC hdc = GetDC(box);
      seen.corner = GetPixel(hdc, 0, 0);
      seen.title = GetPixel(hdc, 3 * unit, 3 * unit);
      seen.body = GetPixel(hdc, 3 * unit, seen.frame.bottom - seen.frame.top - 3 * unit);
      // The icon starts a margin (6 lines) below the title band.
      int titleBottom = unit;
      while (GetPixel(hdc, 3 * unit, titleBottom) == seen.title) ++titleBottom;
      const int iconTop = titleBottom + 6 * unit;
      const int side = 32 * unit, left = unit + 6 * unit;
      // Inside the disc or triangle, clear of the marks on it.
      seen.icon = GetPixel(hdc, left + side / 4, iconTop + side * 7 / 10);
      for (int x = left + side; x < 200 * unit; ++x)
        for (int y = iconTop; y < iconTop + side; ++y)
          if (GetRValue(GetPixel(hdc, x, y)) < 64 && GetBValue(GetPixel(hdc, x, y)) < 64) ++seen.darkInText;
      ReleaseDC(box, hdc);
      auto row = buttons(box);
      GetWindowRect(row.front(), &seen.firstButton);
      GetWindowRect(row.back(), &seen.lastButton);
      key(box, VK_ESCAPE);
    }, message);
    return seen;
  }
};

TEST_F(MessageBoxLook, FullWidthWithTitleIconTextAndButtonRowInQvga) {
  Look stop = look(MB_OKCANCEL | MB_ICONHAND, 1, u"Written here");
  EXPECT_EQ(stop.frame.left, 0);
  EXPECT_EQ(stop.frame.right, 240);
  EXPECT_EQ(stop.corner, RGB(0, 0, 0));                    // a black frame
  EXPECT_EQ(stop.title, GetSysColor(COLOR_HIGHLIGHT));     // the caption's band
  EXPECT_EQ(stop.body, RGB(255, 255, 255));                // a white face
  EXPECT_EQ(stop.icon, RGB(204, 0, 0));                    // the stop sign's red
  EXPECT_GT(stop.darkInText, 20);                          // the text beside the icon
  // The buttons share one row at the bottom, centred, a margin above the frame.
  EXPECT_EQ(stop.firstButton.top, stop.lastButton.top);
  EXPECT_EQ(stop.lastButton.bottom, stop.frame.bottom - 1 - 6);
  EXPECT_EQ(stop.firstButton.left - stop.frame.left, stop.frame.right - stop.lastButton.right);
  // Centred on the screen.
  EXPECT_NEAR(stop.frame.top, 320 - stop.frame.bottom, 1);

  EXPECT_EQ(look(MB_OK | MB_ICONEXCLAMATION, 1).icon, RGB(255, 204, 0));
  EXPECT_EQ(look(MB_OK | MB_ICONQUESTION, 1).icon, RGB(0, 72, 200));
  EXPECT_EQ(look(MB_OK | MB_ICONASTERISK, 1).icon, RGB(0, 72, 200));
}

TEST_F(MessageBoxLook, EveryFigureDoublesInVga) {
  ASSERT_EQ(ctl("screen vga"), 0);
  Look stop = look(MB_YESNOCANCEL | MB_ICONHAND, 2, u"Written here");
  EXPECT_EQ(stop.frame.right, 480);
  EXPECT_EQ(stop.corner, RGB(0, 0, 0));
  EXPECT_EQ(stop.title, GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(stop.icon, RGB(204, 0, 0));
  EXPECT_GT(stop.darkInText, 40);
  EXPECT_EQ(stop.lastButton.bottom, stop.frame.bottom - 2 - 12);
  EXPECT_NEAR(stop.frame.top, 640 - stop.frame.bottom, 1);
}

TEST_F(MessageBoxLook, LongTextWrapsAndTheBoxGrows) {
  const Look one = look(MB_OK, 1, u"Short");
  const Look many = look(MB_OK, 1,
                         u"A long message that cannot fit on one line of a small screen wraps at the "
                         u"spaces between its words onto as many lines as it needs");
  EXPECT_GT(many.frame.bottom - many.frame.top, one.frame.bottom - one.frame.top + 3 * 13);
  // Text longer than the screen is cut off: the box never grows beyond it.
  std::u16string endless;
  for (int i = 0; i < 200; ++i) endless += u"word ";
  const Look cut = look(MB_OK, 1, endless.c_str());
  EXPECT_GE(cut.frame.top, 0);
  EXPECT_LE(cut.frame.bottom, 320);
  EXPECT_LE(cut.lastButton.bottom, 320);
}

}  // namespace
}  // namespace handheld::testing
