// The titles editor in a device: its dialog resource, the buttons' states, adding, refusing a
// duplicate, reordering, deleting, clearing, storing on "ok", the list box's layout, the grey
// band and the help topic. Each test runs the modal dialog on the test thread and drives it
// from a script that runs inside the dialog's own message loop.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <map>
#include <sstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <aygshell.h>

#include <nlohmann/json.hpp>

#include "app/app_references.h"
#include "app/note_app.h"
#include "notewindow/titles_editor.h"
#include "support/device_fixture.h"
#include "support/message_recorder.h"

namespace handheld::testing {
namespace {

constexpr WCHAR kKey[] = u"SOFTWARE\\VORLA\\Pinnotes";
constexpr UINT kAutomationState = 0x03F0;
constexpr UINT kRunScript = WM_APP;
constexpr UINT kAnswerBox = WM_APP + 1;

// The dialog's controls.
constexpr int kEdit = 1037, kAdd = 1038, kDelete = 1039, kList = 1040, kMoveUp = 1041, kMoveDown = 1042,
              kDeleteAll = 1043;

using Texts = std::vector<std::u16string>;

class TitlesEditorDialog : public DeviceFixture {
 protected:
  void SetUp() override {
    DeviceFixture::SetUp();
    app_ = std::make_unique<NoteApp>();
    app_->setInstance(GetModuleHandleW(nullptr));
    theNoteApp = app_.get();
    theScreen = ScreenMetrics{};
    recorder.registerClass(u"TitlesOwner");
    owner = CreateWindowExW(0, u"TitlesOwner", u"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override {
    DestroyWindow(owner);
    theNoteApp = nullptr;
    app_.reset();
    DeviceFixture::TearDown();
  }

  // Runs the editor; `script` gets the dialog once it is shown and must leave it.
  INT_PTR runEditor(const std::function<void(HWND dialog)>& script) {
    recorder.react(kRunScript, [&](HWND, WPARAM, LPARAM) -> std::optional<LRESULT> {
      shownWindow = editor.window();
      EXPECT_NE(shownWindow, nullptr);
      if (shownWindow) script(shownWindow);
      return 0;
    });
    PostMessageW(owner, kRunScript, 0, 0);
    const INT_PTR result = editor.run(owner);
    EXPECT_EQ(editor.window(), nullptr);  // none again once the dialog is gone
    return result;
  }

  // Has the next message box answered with the button of this text; its automation state
  // goes to `seen`.
  void answerNextBox(const std::u16string& caption, const std::u16string& button, nlohmann::json* seen) {
    recorder.react(kAnswerBox, [this, caption, button, seen](HWND, WPARAM, LPARAM) -> std::optional<LRESULT> {
      HWND box = FindWindowW(u"#32770", caption.c_str());
      EXPECT_NE(box, nullptr) << "no box captioned as asked";
      if (!box) return 0;
      *seen = nlohmann::json::object();
      SendMessageW(box, kAutomationState, 0, reinterpret_cast<LPARAM>(seen));
      for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (textOf(child) != button) continue;
        RECT r;
        GetClientRect(child, &r);
        PostMessageW(child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right / 2, r.bottom / 2));
        PostMessageW(child, WM_LBUTTONUP, 0, MAKELPARAM(r.right / 2, r.bottom / 2));
      }
      return 0;
    });
    PostMessageW(owner, kAnswerBox, 0, 0);
  }

  static std::u16string textOf(HWND window) {
    WCHAR text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
  }
  static void press(HWND dialog, int id, int code = BN_CLICKED) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  }
  static void type(HWND dialog, const std::u16string& text) { SetWindowTextW(GetDlgItem(dialog, kEdit), text.c_str()); }
  // Selects a row as a tap would, with the notification the list box sends for a tap.
  static void select(HWND dialog, int row) {
    SendMessageW(GetDlgItem(dialog, kList), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    press(dialog, kList, LBN_SELCHANGE);
  }
  static int selected(HWND dialog) {
    return static_cast<int>(SendMessageW(GetDlgItem(dialog, kList), LB_GETCURSEL, 0, 0));
  }
  static Texts items(HWND dialog) {
    HWND list = GetDlgItem(dialog, kList);
    Texts texts;
    const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
      std::u16string text(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, index, 0)) + 1, u'\0');
      SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
      text.pop_back();
      texts.push_back(text);
    }
    return texts;
  }
  // "1" for each enabled control of Add, Delete, Move up, Move down, Delete all, else "0".
  static std::string enabled(HWND dialog) {
    std::string states;
    for (int id : {kAdd, kDelete, kMoveUp, kMoveDown, kDeleteAll})
      states += IsWindowEnabled(GetDlgItem(dialog, id)) ? '1' : '0';
    return states;
  }

  static void setValue(LPCWSTR name, DWORD type, const void* data, DWORD size) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
  }
  static void storeTitles(const Texts& titles) {
    const DWORD count = static_cast<DWORD>(titles.size());
    setValue(u"TitlesCount", REG_DWORD, &count, 4);
    for (size_t index = 0; index < titles.size(); ++index) {
      const std::u16string name = u"Title" + std::u16string(1, static_cast<char16_t>(u'0' + index));
      setValue(name.c_str(), REG_SZ, titles[index].c_str(), static_cast<DWORD>((titles[index].size() + 1) * 2));
    }
  }
  // The stored titles as the registry holds them, "TitlesCount" bounding the reading.
  static Texts storedTitles() {
    HKEY key;
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD count = 0xFFFF;
    DWORD size = 4;
    EXPECT_EQ(RegQueryValueExW(key, u"TitlesCount", nullptr, nullptr, reinterpret_cast<BYTE*>(&count), &size),
              ERROR_SUCCESS);
    Texts titles;
    for (DWORD index = 0; index < count && index < 10; ++index) {
      const std::u16string name = u"Title" + std::u16string(1, static_cast<char16_t>(u'0' + index));
      WCHAR text[600] = {};
      size = sizeof text;
      RegQueryValueExW(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
      titles.emplace_back(text);
    }
    RegCloseKey(key);
    return titles;
  }

  MessageRecorder recorder;
  HWND owner = nullptr;
  HWND shownWindow = nullptr;
  TitlesEditor editor;

 private:
  std::unique_ptr<NoteApp> app_;
};

// ---- the dialog resource, read from the template the program carries ----

struct TemplateItem {
  DWORD style;
  short x, y, cx, cy;
  WORD id;
  WORD classAtom;
  std::u16string text;
};

class TemplateReader {
 public:
  explicit TemplateReader(const BYTE* data) : start_(data), at_(data) {}
  template <typename T>
  T read() {
    T value;
    memcpy(&value, at_, sizeof value);
    at_ += sizeof value;
    return value;
  }
  // A name or class: 0xFFFF and an ordinal (returned), or a string (returned in `text`).
  WORD nameOrOrdinal(std::u16string* text) {
    const WORD first = read<WORD>();
    if (first == 0xFFFF) return read<WORD>();
    for (WORD unit = first; unit; unit = read<WORD>()) text->push_back(static_cast<char16_t>(unit));
    return 0;
  }
  void alignItem() {
    while ((at_ - start_) % 4) ++at_;
  }

 private:
  const BYTE* start_;
  const BYTE* at_;
};

TEST_F(TitlesEditorDialog, TheResourceHoldsTheNineControlsAtTheirPlaces) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(179), MAKEINTRESOURCEW(5));
  ASSERT_NE(found, nullptr);
  TemplateReader reader(static_cast<const BYTE*>(LockResource(LoadResource(module, found))));
  const DWORD style = reader.read<DWORD>();
  reader.read<DWORD>();
  const WORD count = reader.read<WORD>();
  const short position[4] = {reader.read<short>(), reader.read<short>(), reader.read<short>(), reader.read<short>()};
  std::u16string menu, windowClass, caption, font;
  EXPECT_EQ(reader.nameOrOrdinal(&menu), 0);
  EXPECT_EQ(reader.nameOrOrdinal(&windowClass), 0);
  reader.nameOrOrdinal(&caption);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | DS_SETFONT), static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | DS_SETFONT));
  EXPECT_EQ(caption, u"Titles editor");
  EXPECT_EQ(position[2], 157);
  EXPECT_EQ(position[3], 194);
  EXPECT_EQ(reader.read<WORD>(), 8);
  reader.nameOrOrdinal(&font);
  EXPECT_EQ(font, u"MS Sans Serif");

  std::vector<TemplateItem> controls;
  for (WORD index = 0; index < count; ++index) {
    reader.alignItem();
    TemplateItem item{};
    item.style = reader.read<DWORD>();
    reader.read<DWORD>();
    item.x = reader.read<short>();
    item.y = reader.read<short>();
    item.cx = reader.read<short>();
    item.cy = reader.read<short>();
    item.id = reader.read<WORD>();
    std::u16string className;
    item.classAtom = reader.nameOrOrdinal(&className);
    reader.nameOrOrdinal(&item.text);
    reader.read<WORD>();
    controls.push_back(item);
  }
  constexpr WORD kButton = 0x80, kEditAtom = 0x81, kStatic = 0x82, kListBox = 0x83;
  struct Expected {
    WORD id;
    WORD classAtom;
    const char16_t* text;
    short x, y, cx, cy;
  };
  const Expected expected[] = {
      {0xFFFF, kStatic, u"Title", 2, 2, 14, 8},
      {1037, kEditAtom, u"", 2, 10, 101, 14},
      {1038, kButton, u"Add", 105, 10, 24, 14},
      {1039, kButton, u"Delete", 130, 10, 25, 14},
      {1040, kListBox, u"", 2, 34, 101, 128},
      {0xFFFF, kStatic, u"List of all titles", 2, 25, 76, 8},
      {1041, kButton, u"Move up", 105, 34, 50, 14},
      {1042, kButton, u"Move down", 105, 49, 50, 14},
      {1043, kButton, u"Delete all", 105, 64, 50, 14},
  };
  ASSERT_EQ(controls.size(), std::size(expected));
  for (size_t index = 0; index < controls.size(); ++index) {
    const TemplateItem& item = controls[index];
    const Expected& want = expected[index];
    SCOPED_TRACE(index);
    EXPECT_EQ(item.id, want.id);
    EXPECT_EQ(item.classAtom, want.classAtom);
    EXPECT_EQ(item.text, want.text);
    EXPECT_EQ((std::vector<short>{item.x, item.y, item.cx, item.cy}),
              (std::vector<short>{want.x, want.y, want.cx, want.cy}));
    if (want.classAtom == kButton) {
      EXPECT_EQ(item.style & 0xF, static_cast<DWORD>(BS_PUSHBUTTON));
    }
  }
  EXPECT_EQ(controls[1].style & (ES_AUTOHSCROLL | WS_BORDER), static_cast<DWORD>(ES_AUTOHSCROLL | WS_BORDER));
  const DWORD list = controls[4].style;
  EXPECT_EQ(list & (LBS_NOTIFY | WS_VSCROLL | WS_BORDER | LBS_NOINTEGRALHEIGHT),
            static_cast<DWORD>(LBS_NOTIFY | WS_VSCROLL | WS_BORDER | LBS_NOINTEGRALHEIGHT));
  EXPECT_EQ(list & LBS_SORT, 0u);
}

// ---- editing ----

TEST_F(TitlesEditorDialog, AddsReordersAndDeletesThenStoresOnOk) {
  const INT_PTR result = runEditor([&](HWND dialog) {
    EXPECT_EQ(textOf(dialog), u"Titles editor");
    EXPECT_EQ(items(dialog), Texts{});
    EXPECT_EQ(enabled(dialog), "00000");  // nothing listed: "Delete all" too

    // Add follows the edit text; a new title goes to the top.
    type(dialog, u"Work");
    EXPECT_EQ(enabled(dialog), "10000");
    press(dialog, kAdd);
    type(dialog, u"Home");
    press(dialog, kAdd);
    EXPECT_EQ(items(dialog), (Texts{u"Home", u"Work"}));
    EXPECT_EQ(textOf(GetDlgItem(dialog, kEdit)), u"Home");  // the edit text stays
    EXPECT_EQ(enabled(dialog), "10001");
    type(dialog, u"");
    EXPECT_EQ(enabled(dialog), "00001");
    press(dialog, kAdd);  // an empty text is never added
    EXPECT_EQ(items(dialog).size(), 2u);
    type(dialog, u"Car");
    press(dialog, kAdd);
    EXPECT_EQ(items(dialog), (Texts{u"Car", u"Home", u"Work"}));

    // Moving: the first cannot go up, the last cannot go down.
    select(dialog, 0);
    EXPECT_EQ(enabled(dialog).substr(1, 3), "101");
    select(dialog, 1);
    EXPECT_EQ(enabled(dialog).substr(1, 3), "111");
    select(dialog, 2);
    EXPECT_EQ(enabled(dialog).substr(1, 3), "110");
    press(dialog, kMoveDown);  // refused on the last, even when asked
    EXPECT_EQ(items(dialog), (Texts{u"Car", u"Home", u"Work"}));
    press(dialog, kMoveUp);
    EXPECT_EQ(items(dialog), (Texts{u"Car", u"Work", u"Home"}));
    EXPECT_EQ(selected(dialog), 1);
    press(dialog, kMoveUp);
    EXPECT_EQ(items(dialog), (Texts{u"Work", u"Car", u"Home"}));
    EXPECT_EQ(selected(dialog), 0);
    EXPECT_EQ(enabled(dialog).substr(1, 3), "101");
    press(dialog, kMoveUp);  // refused on the first
    EXPECT_EQ(items(dialog), (Texts{u"Work", u"Car", u"Home"}));
    press(dialog, kMoveDown);
    EXPECT_EQ(items(dialog), (Texts{u"Car", u"Work", u"Home"}));
    EXPECT_EQ(selected(dialog), 1);

    // Deleting leaves no selection; one item left can move neither way.
    press(dialog, kDelete);
    EXPECT_EQ(items(dialog), (Texts{u"Car", u"Home"}));
    EXPECT_EQ(enabled(dialog).substr(1, 4), "0001");
    select(dialog, 0);
    press(dialog, kDelete);
    select(dialog, 0);
    EXPECT_EQ(items(dialog), Texts{u"Home"});
    EXPECT_EQ(enabled(dialog).substr(1, 4), "1001");
    press(dialog, kDelete);
    EXPECT_EQ(enabled(dialog).substr(1, 4), "0000");  // empty: "Delete all" off
    press(dialog, kDelete);  // nothing selected: nothing happens

    type(dialog, u"Shop");
    press(dialog, kAdd);
    type(dialog, u"Bank");
    press(dialog, kAdd);
    press(dialog, IDOK);
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(storedTitles(), (Texts{u"Bank", u"Shop"}));
}

TEST_F(TitlesEditorDialog, ADuplicateInAnyCaseIsRefusedWithAMessage) {
  storeTitles({u"Work", u"Home"});
  nlohmann::json box;
  runEditor([&](HWND dialog) {
    EXPECT_EQ(items(dialog), (Texts{u"Work", u"Home"}));  // loaded in list order
    EXPECT_EQ(enabled(dialog), "00001");
    type(dialog, u"wORK");
    answerNextBox(u"Already exists", u"OK", &box);
    press(dialog, kAdd);
    EXPECT_EQ(items(dialog), (Texts{u"Work", u"Home"}));
    // Back in the edit with its whole text selected, ready to be typed over.
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, kEdit));
    DWORD from = 99, to = 99;
    SendMessageW(GetDlgItem(dialog, kEdit), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 0u);
    EXPECT_EQ(to, 4u);
    press(dialog, IDOK);
  });
  EXPECT_EQ(box.value("text", ""), "Title with the same text already exists!");
  EXPECT_EQ(box.value("caption", ""), "Already exists");
  EXPECT_EQ(box["buttons"], nlohmann::json::array({"OK"}));
  EXPECT_EQ(storedTitles(), (Texts{u"Work", u"Home"}));
}

TEST_F(TitlesEditorDialog, DeleteAllAsksFirstAndOkThenStoresNothing) {
  storeTitles({u"One", u"Two", u"Three"});
  nlohmann::json refused, agreed;
  runEditor([&](HWND dialog) {
    select(dialog, 1);
    answerNextBox(u"Delete all", u"&No", &refused);
    press(dialog, kDeleteAll);
    EXPECT_EQ(items(dialog), (Texts{u"One", u"Two", u"Three"}));
    answerNextBox(u"Delete all", u"&Yes", &agreed);
    press(dialog, kDeleteAll);
    EXPECT_EQ(items(dialog), Texts{});
    EXPECT_EQ(enabled(dialog), "00000");
    press(dialog, IDOK);
  });
  EXPECT_EQ(refused.value("text", ""), "Are you sure you want to delete all titles?");
  EXPECT_EQ(refused.value("caption", ""), "Delete all");
  EXPECT_EQ(refused["buttons"], nlohmann::json::array({"Yes", "No"}));
  EXPECT_EQ(agreed.value("text", ""), "Are you sure you want to delete all titles?");
  EXPECT_EQ(storedTitles(), Texts{});  // "TitlesCount" 0
}

TEST_F(TitlesEditorDialog, StoringKeepsOneOfEqualTextsButBothSpellings) {
  // Only loading can put the same text twice into the list box.
  storeTitles({u"A", u"Work", u"A", u"work"});
  runEditor([&](HWND dialog) {
    EXPECT_EQ(items(dialog), (Texts{u"A", u"Work", u"A", u"work"}));
    press(dialog, IDOK);
  });
  EXPECT_EQ(storedTitles(), (Texts{u"A", u"Work", u"work"}));
}

TEST_F(TitlesEditorDialog, LongTextsAreCutToWhatATitleHolds) {
  const std::u16string longText(300, u'x');
  const std::u16string longItem(1000, u'y');
  runEditor([&](HWND dialog) {
    type(dialog, longText);
    press(dialog, kAdd);
    EXPECT_EQ(items(dialog), Texts{std::u16string(259, u'x')});
    // An item longer than any buffer of the editor, moved and stored.
    SendMessageW(GetDlgItem(dialog, kList), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(longItem.c_str()));
    select(dialog, 1);
    press(dialog, kMoveUp);
    EXPECT_EQ(items(dialog), (Texts{std::u16string(259, u'y'), std::u16string(259, u'x')}));
    press(dialog, IDOK);
  });
  EXPECT_EQ(storedTitles(), (Texts{std::u16string(259, u'y'), std::u16string(259, u'x')}));
}

// Every window's help request names one of these anchors; the viewer refuses an anchor the
// file lacks, and a topic must be more than its heading.
TEST_F(TitlesEditorDialog, TheInstalledHelpFileHasATopicForEveryAnchor) {
  std::ifstream file(hostPath("Windows/Pinnotes.htm"));
  ASSERT_TRUE(file) << "the help file is not installed";
  std::stringstream whole;
  whole << file.rdbuf();
  const std::string text = whole.str();
  for (const char* anchor : {"Edit", "Titles", "AllPnts", "PGeneral", "PToday"}) {
    SCOPED_TRACE(anchor);
    const size_t at = text.find(std::string("<a name=\"") + anchor + "\"></a>");
    ASSERT_NE(at, std::string::npos);
    const size_t heading = text.find_first_not_of(" \r\n", text.find('>', text.find("</a>", at)) + 1);
    EXPECT_EQ(text.compare(heading, 4, "<h2>"), 0) << "the anchor does not open a topic";
    const size_t next = text.find("<a name=", at + 1);
    const size_t end = next == std::string::npos ? text.size() : next;
    EXPECT_GT(end - heading, 600u) << "the topic is hardly more than its heading";
  }
}

// ---- as a person uses it ----

// The controls of a window as `tree` describes them, by control id.
std::map<int64_t, nlohmann::json> controlsById(const nlohmann::json& node) {
  std::map<int64_t, nlohmann::json> found;
  for (const auto& child : node.value("children", nlohmann::json::array())) {
    if (child.value("id", int64_t{0}) > 0) found[child["id"].get<int64_t>()] = child;
    found.merge(controlsById(child));
  }
  return found;
}

TEST_F(TitlesEditorDialog, TapsAndTypingThroughAutomation) {
  storeTitles({u"Work"});
  std::atomic<INT_PTR> result{0};
  // No owner: disabling a window of this thread would wait for it while it runs handheld-ctl.
  std::thread shown([&] { result = editor.run(nullptr); });
  std::string handle;
  for (int attempt = 0; attempt < 100 && handle.empty(); ++attempt) {
    if (ctl("find '#32770' 'Titles editor'", &handle) != 0) handle.clear();
    if (handle.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  while (!handle.empty() && (handle.back() == '\n' || handle.back() == ' ')) handle.pop_back();
  ASSERT_FALSE(handle.empty()) << "the dialog did not appear";
  // Ends the dialog and its thread however the test leaves.
  struct Closer {
    std::function<void()> close;
    ~Closer() { close(); }
  } closer{[&] {
    if (!shown.joinable()) return;
    ctl("post " + handle + " WM_COMMAND 1 0");
    shown.join();
  }};
  // The controls once `ready` holds for them (the dialog's thread handles what the taps did
  // meanwhile).
  const auto controlsOnce = [&](const std::function<bool(std::map<int64_t, nlohmann::json>&)>& ready) {
    std::map<int64_t, nlohmann::json> found;
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string out;
      EXPECT_EQ(ctl("tree " + handle, &out), 0) << out;
      found = controlsById(nlohmann::json::parse(out));
      if (ready(found)) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return found;
  };
  const auto tapOn = [&](const nlohmann::json& control) {
    const auto& r = control["rect"];
    const int x = r[0].get<int>() + r[2].get<int>() / 2;
    const int y = r[1].get<int>() + r[3].get<int>() / 2;
    EXPECT_EQ(ctl("tap " + std::to_string(x) + " " + std::to_string(y)), 0);
  };

  auto before = controlsOnce([](auto& c) { return c.count(1043) > 0; });
  EXPECT_EQ(before[1040]["state"]["items"], nlohmann::json::array({"Work"}));
  EXPECT_EQ(before[1038]["text"], "Add");
  EXPECT_EQ(before[1038]["enabled"], false);
  EXPECT_EQ(before[1043]["enabled"], true);
  tapOn(before[1037]);
  ASSERT_EQ(ctl("text Errand"), 0);
  auto typed = controlsOnce([](auto& c) { return c[1037]["state"]["text"] == "Errand"; });
  EXPECT_EQ(typed[1037]["state"]["text"], "Errand");
  EXPECT_EQ(typed[1038]["enabled"], true);
  tapOn(typed[1038]);
  auto added = controlsOnce([](auto& c) { return c[1040]["state"]["items"].size() == 2; });
  EXPECT_EQ(added[1040]["state"]["items"], nlohmann::json::array({"Errand", "Work"}));
  // A tap on the second row selects it; "Move up" takes it to the top.
  const auto& list = added[1040]["rect"];
  EXPECT_EQ(ctl("tap " + std::to_string(list[0].get<int>() + 10) + " " + std::to_string(list[1].get<int>() + 1)), 0);
  auto first = controlsOnce([](auto& c) { return c[1040]["state"]["selection"] == 0; });
  ASSERT_EQ(first[1040]["state"]["selection"], 0);
  EXPECT_EQ(first[1041]["enabled"], false);
  EXPECT_EQ(first[1042]["enabled"], true);
  tapOn(first[1042]);
  auto moved = controlsOnce([](auto& c) { return c[1040]["state"]["selection"] == 1; });
  EXPECT_EQ(moved[1040]["state"]["items"], nlohmann::json::array({"Work", "Errand"}));
  EXPECT_EQ(moved[1040]["state"]["selection"], 1);

  closer.close();
  EXPECT_EQ(result.load(), 1);
  EXPECT_EQ(storedTitles(), (Texts{u"Work", u"Errand"}));
}

// ---- the window ----

TEST_F(TitlesEditorDialog, TheListFillsTheHeightAboveTheBandOrThePanel) {
  runEditor([&](HWND dialog) {
    RECT shown;
    GetWindowRect(GetDlgItem(dialog, kList), &shown);
    POINT corner = {shown.left, shown.top};
    ScreenToClient(dialog, &corner);
    EXPECT_EQ(corner.x, 3);  // laid out from the start, not where the template put it
    EXPECT_EQ(corner.y, 55);
    for (int scale : {1, 2}) {
      SCOPED_TRACE(scale);
      theScreen.scaleX = theScreen.scaleY = scale;
      SendMessageW(dialog, WM_SIZE, 0, 0);
      SIPINFO panel = {};
      panel.cbSize = sizeof panel;
      ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &panel, 0));
      RECT window, list;
      GetWindowRect(dialog, &window);
      GetWindowRect(GetDlgItem(dialog, kList), &list);
      POINT at = {list.left, list.top};
      ScreenToClient(dialog, &at);
      EXPECT_EQ(at.x, 3 * scale);
      EXPECT_EQ(at.y, 55 * scale);
      EXPECT_EQ(list.right - list.left, 151 * scale);
      const LONG bottom = (panel.fdwFlags & SIPF_ON) ? panel.rcVisibleDesktop.bottom - 60 * scale
                                                     : window.bottom - 85 * scale;
      EXPECT_EQ(list.bottom - list.top, bottom - window.top);
    }
    // The panel's change is followed too.
    theScreen.scaleX = theScreen.scaleY = 1;
    SendMessageW(dialog, WM_SETTINGCHANGE, 224, 0);
    RECT list;
    GetWindowRect(GetDlgItem(dialog, kList), &list);
    EXPECT_EQ(list.right - list.left, 151);
    press(dialog, IDOK);
  });
}

TEST_F(TitlesEditorDialog, TheInputPanelFollowsTheTitleField) {
  const auto panelUp = [] {
    SIPINFO panel = {};
    panel.cbSize = sizeof panel;
    EXPECT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &panel, 0));
    return (panel.fdwFlags & SIPF_ON) != 0;
  };
  runEditor([&](HWND dialog) {
    EXPECT_TRUE(panelUp());  // raised when the dialog opened
    press(dialog, kEdit, EN_KILLFOCUS);
    EXPECT_FALSE(panelUp());
    press(dialog, kEdit, EN_SETFOCUS);
    EXPECT_TRUE(panelUp());
    press(dialog, IDOK);
  });
}

TEST_F(TitlesEditorDialog, PaintsAGreyBandAlongTheBottom) {
  COLORREF band = 0, above = 0;
  runEditor([&](HWND dialog) {
    InvalidateRect(dialog, nullptr, TRUE);
    UpdateWindow(dialog);
    RECT client;
    GetClientRect(dialog, &client);
    HDC dc = GetDC(dialog);
    band = GetPixel(dc, client.right / 2, client.bottom - 3);
    above = GetPixel(dc, client.right / 2, client.bottom - 30);
    ReleaseDC(dialog, dc);
    press(dialog, IDOK);
  });
  EXPECT_EQ(band, RGB(192, 192, 192));
  EXPECT_NE(above, RGB(192, 192, 192));
}

TEST_F(TitlesEditorDialog, HelpOpensTheTitlesTopic) {
  runEditor([&](HWND dialog) {
    HELPINFO info = {};
    info.cbSize = sizeof info;
    SendMessageW(dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    press(dialog, IDOK);
  });
  std::string processes;
  for (int attempt = 0; attempt < 100; ++attempt) {
    processes.clear();
    ctl("ps", &processes);
    if (processes.find(" PegHelp.exe file:Pinnotes.htm#Titles\n") != std::string::npos) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_NE(processes.find(" PegHelp.exe file:Pinnotes.htm#Titles\n"), std::string::npos) << processes;
}

}  // namespace
}  // namespace handheld::testing
