// The edit's lines and look: word wrap measured independently, lines kept right across many
// edits, a large text edited without delay, and the colours of the field, the selection, the
// caret and the frame.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "edit_fixture.h"

namespace handheld::testing {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kSelection = RGB(0, 0, 128);

class EditLayout : public Edits {
 protected:
  void TearDown() override {
    if (font_) DeleteObject(font_);
    Edits::TearDown();
  }
  HFONT font() {
    if (!font_) {
      LOGFONTW lf{};
      lf.lfHeight = -11;
      std::u16string face = u"Tahoma";
      std::copy(face.begin(), face.end(), lf.lfFaceName);
      font_ = CreateFontIndirectW(&lf);
    }
    return font_;
  }
  int widthOf(const std::u16string& text) {
    HDC hdc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(hdc, font());
    SIZE size{};
    GetTextExtentPoint32W(hdc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(hdc, old);
    ReleaseDC(nullptr, hdc);
    return size.cx;
  }
  static std::vector<LRESULT> lineStarts(HWND e) {
    std::vector<LRESULT> starts;
    const LRESULT count = SendMessageW(e, EM_GETLINECOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) starts.push_back(SendMessageW(e, EM_LINEINDEX, static_cast<WPARAM>(i), 0));
    return starts;
  }
  static std::u16string line(HWND e, int index) {
    char16_t buffer[512] = {};
    buffer[0] = 511;
    const LRESULT count = SendMessageW(e, EM_GETLINE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
    return std::u16string(buffer, static_cast<size_t>(count));
  }
  // The screen pixel once what this process drew has reached the server.
  uint32_t screenPixel(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    GetForegroundWindow();
    auto reply = device().call<ipc::ScreenPixel>({p.x, p.y});
    return reply && reply->error == 0 ? reply->color : 0xFF000000u;
  }

 private:
  HFONT font_ = nullptr;
};

std::u16string trimmed(std::u16string text) {
  while (!text.empty() && text.back() == u' ') text.pop_back();
  return text;
}

TEST_F(EditLayout, WordWrapFillsEachLineAsFarAsTheNextWordAllows) {
  const std::u16string text =
      u"The quick brown fox jumps over the lazy dog while a very patient editor wraps every "
      u"word exactly where it must, and an unbreakablelongwordthatcannotfitonanylineatall too.";
  HWND e = edit(ES_MULTILINE, 5, text.c_str(), {10, 10, 130, 190});
  SendMessageW(e, WM_SETFONT, reinterpret_cast<WPARAM>(font()), TRUE);
  RECT format{};
  SendMessageW(e, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  const int width = format.right - format.left;
  ASSERT_GT(width, 50);
  const int count = static_cast<int>(SendMessageW(e, EM_GETLINECOUNT, 0, 0));
  ASSERT_GT(count, 4);
  std::u16string joined;
  for (int i = 0; i < count; ++i) {
    const std::u16string shown = line(e, i);
    joined += shown;
    const bool longWord = shown.find(u"unbreakable") != std::u16string::npos && shown.find(u' ') == std::u16string::npos;
    if (!longWord) EXPECT_LE(widthOf(trimmed(shown)), width) << "line " << i;
    if (i + 1 == count) break;
    // The next line's first word would not have fitted here.
    const std::u16string next = line(e, i + 1);
    const std::u16string word = next.substr(0, next.find(u' '));
    if (!longWord && shown.back() == u' ') EXPECT_GT(widthOf(shown + word), width) << "line " << i;
  }
  EXPECT_EQ(joined, text);  // soft breaks add and lose nothing
  EXPECT_EQ(SendMessageW(e, EM_GETLINE, count, 0), 0);
}

TEST_F(EditLayout, LinesStayAsIfWrappedAfreshAcrossEdits) {
  HWND e = edit(ES_MULTILINE | ES_AUTOVSCROLL, 5, u"", {10, 10, 110, 190});
  HWND fresh = edit(ES_MULTILINE | ES_AUTOVSCROLL, 6, u"", {120, 10, 220, 190});
  SendMessageW(e, EM_LIMITTEXT, 0, 0);
  const std::u16string pieces[] = {u"word ", u"a ", u"longerword ", u"x", u"\r\n", u"  ", u"tiny ", u"\U0001F600 "};
  unsigned seed = 12345;
  auto next = [&seed](unsigned range) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % range;
  };
  std::u16string text;
  for (int step = 0; step < 300; ++step) {
    const auto length = static_cast<unsigned>(GetWindowTextLengthW(e));
    const unsigned at = next(length + 1);
    const unsigned op = next(6);
    if (op == 0 && length > 0) {  // erase a stretch, maybe over line breaks
      SendMessageW(e, EM_SETSEL, at, at + next(12));
      SendMessageW(e, WM_CLEAR, 0, 0);
    } else if (op == 1 && length > 0) {
      SendMessageW(e, EM_SETSEL, at, at);
      type(e, u"\b");
    } else {
      SendMessageW(e, EM_SETSEL, at, at);
      SendMessageW(e, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(pieces[next(8)].c_str()));
    }
    text = textOf(e);
    SetWindowTextW(fresh, text.c_str());
    ASSERT_EQ(lineStarts(e), lineStarts(fresh)) << "after step " << step;
  }
  EXPECT_GT(text.size(), 200u);
}

TEST_F(EditLayout, LargeTextEditsWithoutDelay) {
  std::u16string text;
  while (text.size() < 64 * 1024) text += u"Lorem ipsum dolor sit amet, consectetur adipiscing elit sed do.\r\n";
  HWND e = edit(ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 5, u"", {10, 10, 230, 190});
  SendMessageW(e, EM_LIMITTEXT, 0x7FFFFFFE, 0);
  SetWindowTextW(e, text.c_str());
  const LRESULT lines = SendMessageW(e, EM_GETLINECOUNT, 0, 0);
  EXPECT_GT(lines, 1000);
  SetFocus(e);
  const DWORD middle = static_cast<DWORD>(text.size() / 2);
  SendMessageW(e, EM_SETSEL, middle, middle);
  SendMessageW(e, EM_SCROLLCARET, 0, 0);
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 200; ++i) type(e, i % 40 == 39 ? u"\r" : u"w ");
  for (int i = 0; i < 50; ++i) type(e, u"\b");
  recorder.pumpPending();
  const auto spent = std::chrono::steady_clock::now() - start;
  EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(spent).count(), 2000);
  // 195 "w " and 5 line breaks in, then 50 back: the first takes the last break whole.
  EXPECT_EQ(static_cast<size_t>(GetWindowTextLengthW(e)), text.size() + 400 - 51);
  EXPECT_GT(SendMessageW(e, EM_GETFIRSTVISIBLELINE, 0, 0), 400);
}

TEST_F(EditLayout, ParentColoursAndTheSelection) {
  HBRUSH green = CreateSolidBrush(RGB(0, 160, 0));
  HBRUSH red = CreateSolidBrush(RGB(200, 0, 0));
  recorder.react(WM_CTLCOLOREDIT, [&](HWND, WPARAM, LPARAM) -> std::optional<LRESULT> { return reinterpret_cast<LRESULT>(green); });
  recorder.react(WM_CTLCOLORSTATIC, [&](HWND, WPARAM, LPARAM) -> std::optional<LRESULT> { return reinterpret_cast<LRESULT>(red); });
  HWND field = edit(0, 5, u"MMMM", {10, 10, 110, 34});
  HWND fixed = edit(ES_READONLY, 6, u"MMMM", {10, 40, 110, 64});
  HWND disabled = edit(0, 7, u"MMMM", {10, 70, 110, 94});
  EnableWindow(disabled, FALSE);
  RECT client{};
  GetClientRect(field, &client);
  EXPECT_EQ(pixel(field, client.right - 2, 1), RGB(0, 160, 0));
  EXPECT_EQ(pixel(fixed, client.right - 2, 1), RGB(200, 0, 0));
  EXPECT_EQ(pixel(disabled, client.right - 2, 1), RGB(200, 0, 0));
  recorder.react(WM_CTLCOLOREDIT, nullptr);
  recorder.react(WM_CTLCOLORSTATIC, nullptr);

  // The selection in the selection colours while focused; hidden without the focus unless
  // ES_NOHIDESEL keeps it.
  HWND text = edit(0, 8, u"MMMM", {10, 100, 110, 124});
  HWND kept = edit(ES_NOHIDESEL, 9, u"MMMM", {10, 130, 110, 154});
  SendMessageW(text, EM_SETSEL, 0, -1);
  SendMessageW(kept, EM_SETSEL, 0, -1);
  const LRESULT at = SendMessageW(text, EM_POSFROMCHAR, 0, 0);
  const int x = static_cast<short>(LOWORD(at)), y = static_cast<short>(HIWORD(at));
  EXPECT_EQ(pixel(text, x + 1, y), kWhite);
  EXPECT_EQ(pixel(kept, x + 1, y), kSelection);
  SetFocus(text);
  EXPECT_EQ(pixel(text, x + 1, y), kSelection);
  SendMessageW(text, EM_SETSEL, 1, 1);
  EXPECT_EQ(pixel(text, x + 1, y), kWhite);
  DeleteObject(green);
  DeleteObject(red);
}

TEST_F(EditLayout, CaretAndFrame) {
  ASSERT_TRUE(SetCaretBlinkTime(INFINITE));  // steady, so that pixels can be compared
  HWND e = edit(WS_BORDER, 5, u"", {10, 10, 110, 34});
  UpdateWindow(parent);
  RECT window{};
  GetWindowRect(e, &window);
  GetForegroundWindow();
  auto frame = device().call<ipc::ScreenPixel>({window.left, window.top});
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->color, 0x000000u);
  auto inside = device().call<ipc::ScreenPixel>({window.left + 4, window.top + 4});
  EXPECT_EQ(inside->color, 0xFFFFFFu);

  SetFocus(e);
  UpdateWindow(e);
  const LRESULT at = SendMessageW(e, EM_POSFROMCHAR, 0, 0);
  const int x = static_cast<short>(LOWORD(at)), y = static_cast<short>(HIWORD(at));
  POINT caret{};
  GetCaretPos(&caret);
  EXPECT_EQ(caret.x, x);
  EXPECT_EQ(caret.y, y);
  EXPECT_EQ(screenPixel(e, x, y + 2), 0x000000u);  // the caret inverts the white field
  EXPECT_EQ(screenPixel(e, x + 2, y + 2), 0xFFFFFFu);
  type(e, u"ab");
  GetCaretPos(&caret);
  EXPECT_EQ(caret.x, static_cast<short>(LOWORD(SendMessageW(e, EM_POSFROMCHAR, 2, 0))));
  EXPECT_GT(caret.x, x);
  SetFocus(parent);
  EXPECT_EQ(screenPixel(e, x, y + 2), 0xFFFFFFu);  // gone with the focus
}

TEST_F(EditLayout, AlignmentsAndMargins) {
  HWND left = edit(0, 5, u"ab", {10, 10, 110, 34});
  HWND centre = edit(ES_CENTER | ES_MULTILINE, 6, u"ab", {10, 40, 110, 64});
  HWND right = edit(ES_RIGHT | ES_MULTILINE, 7, u"ab", {10, 70, 110, 94});
  auto xOf = [](HWND e, int index) { return static_cast<short>(LOWORD(SendMessageW(e, EM_POSFROMCHAR, index, 0))); };
  RECT format{};
  SendMessageW(right, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  const int width = xOf(left, 2) - xOf(left, 0);
  EXPECT_EQ(xOf(left, 0), format.left);
  EXPECT_EQ(xOf(right, 2), format.right);
  EXPECT_NEAR(xOf(centre, 0) - format.left, format.right - xOf(centre, 2), 1);
  EXPECT_EQ(xOf(right, 2) - xOf(right, 0), width);

  SendMessageW(left, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(10, 20));
  EXPECT_EQ(SendMessageW(left, EM_GETMARGINS, 0, 0), MAKELONG(10, 20));
  RECT client{};
  GetClientRect(left, &client);
  SendMessageW(left, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  EXPECT_EQ(format.left, 10);
  EXPECT_EQ(format.right, client.right - 20);
  EXPECT_EQ(xOf(left, 0), 10);
}

}  // namespace
}  // namespace handheld::testing
