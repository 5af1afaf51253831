// The open-file dialog: browsing into folders and up (never above the root), the filter,
// the must-exist checks and their messages, the buffer too small, cancel, the values.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "controls_fixture.h"

namespace handheld::testing {
namespace {

constexpr UINT kAutomationState = 0x03F0;
constexpr int kList = 0x0460;
constexpr int kReadOnly = 0x0410;

// "Wave files" *.wav, then "All files" *.*.
const WCHAR kFilters[] = u"Wave files\0*.wav\0All files\0*.*\0";

class FileDialogs : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    namespace fs = std::filesystem;
    fs::create_directories(hostPath("My Documents/Sounds/Deeper"));
    for (const char* name : {"My Documents/Sounds/a.wav", "My Documents/Sounds/b.WAV", "My Documents/Sounds/c.txt",
                             "My Documents/top.wav"})
      std::ofstream(hostPath(name)) << "x";
    ofn.lStructSize = sizeof(OPENFILENAMEW);
    ofn.hwndOwner = parent;
    ofn.lpstrFilter = kFilters;
    ofn.lpstrFile = file;
    ofn.nMaxFile = 260;
    ofn.lpstrTitle = u"Select notification sound";
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
  }

  // Runs the dialog; each step runs inside its loop after what the previous one posted.
  BOOL browse(std::vector<std::function<void(HWND dialog)>> steps) {
    size_t next = 0;
    recorder.react(WM_APP, [&](HWND, WPARAM, LPARAM) -> std::optional<LRESULT> {
      HWND dialog = FindWindowW(u"#32770", ofn.lpstrTitle ? ofn.lpstrTitle : u"Open");
      // A message box over the dialog has its title too.
      if (dialog && GetWindow(dialog, GW_OWNER) != parent) dialog = GetWindow(dialog, GW_OWNER);
      EXPECT_NE(dialog, nullptr);
      if (dialog && next < steps.size()) steps[next++](dialog);
      if (next < steps.size()) PostMessageW(parent, WM_APP, 0, 0);
      return 0;
    });
    PostMessageW(parent, WM_APP, 0, 0);
    BOOL result = GetOpenFileNameW(&ofn);
    EXPECT_EQ(next, steps.size()) << "steps left over";
    return result;
  }

  static nlohmann::json state(HWND window) {
    nlohmann::json out = nlohmann::json::object();
    SendMessageW(window, kAutomationState, 0, reinterpret_cast<LPARAM>(&out));
    return out;
  }

  // Selects the item shown as `text` and presses enter.
  static void open(HWND dialog, const std::string& text) {
    const auto items = state(dialog)["items"];
    int index = -1;
    for (size_t i = 0; i < items.size(); ++i)
      if (items[i] == text) index = static_cast<int>(i);
    ASSERT_GE(index, 0) << text << " is not listed in " << items.dump();
    SendDlgItemMessageW(dialog, kList, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    PostMessageW(dialog, WM_KEYDOWN, VK_RETURN, 1);
  }

  // The message box shown over the dialog (same caption), or null.
  static HWND messageBox(HWND dialog) {
    HWND box = GetWindow(dialog, GW_HWNDFIRST);
    for (; box; box = GetWindow(box, GW_HWNDNEXT))
      if (box != dialog && GetWindow(box, GW_OWNER) == dialog && state(box).contains("buttons")) return box;
    return nullptr;
  }

  WCHAR file[260] = {};
  OPENFILENAMEW ofn{};
};

TEST_F(FileDialogs, ValuesThePlatformGives) {
  EXPECT_EQ(OFN_READONLY, 0x1);
  EXPECT_EQ(OFN_OVERWRITEPROMPT, 0x2);
  EXPECT_EQ(OFN_HIDEREADONLY, 0x4);
  EXPECT_EQ(OFN_NOCHANGEDIR, 0x8);
  EXPECT_EQ(OFN_PATHMUSTEXIST, 0x800);
  EXPECT_EQ(OFN_FILEMUSTEXIST, 0x1000);
  EXPECT_EQ(OFN_CREATEPROMPT, 0x2000);
  EXPECT_EQ(CDERR_STRUCTSIZE, 0x1);
  EXPECT_EQ(CDERR_INITIALIZATION, 0x2);
  EXPECT_EQ(FNERR_INVALIDFILENAME, 0x3002);
  EXPECT_EQ(FNERR_BUFFERTOOSMALL, 0x3003);
}

TEST_F(FileDialogs, BrowsesIntoFoldersWithTheFilterAndReturnsThePath) {
  ofn.lpstrInitialDir = u"\\My Documents";
  std::u16string title;
  bool ownerEnabled = true;
  ASSERT_TRUE(browse({
      [&](HWND dialog) {
        WCHAR text[64] = {};
        GetWindowTextW(dialog, text, 64);
        title = text;
        ownerEnabled = IsWindowEnabled(parent);
        auto s = state(dialog);
        EXPECT_EQ(s["folder"], "\\My Documents");
        EXPECT_EQ(s["items"], nlohmann::json::array({"[..]", "[Sounds]", "top.wav"}));
        EXPECT_EQ(s["selection"], -1);
        EXPECT_EQ(s["filter"], "*.wav");
        open(dialog, "[Sounds]");
      },
      [&](HWND dialog) {
        auto s = state(dialog);
        EXPECT_EQ(s["folder"], "\\My Documents\\Sounds");
        // Folders first; c.txt is no wave file; the pattern ignores case.
        EXPECT_EQ(s["items"], nlohmann::json::array({"[..]", "[Deeper]", "a.wav", "b.WAV"}));
        open(dialog, "b.WAV");
      },
  }));
  EXPECT_EQ(title, u"Select notification sound");
  EXPECT_FALSE(ownerEnabled);
  EXPECT_TRUE(IsWindowEnabled(parent));
  EXPECT_EQ(std::u16string(file), u"\\My Documents\\Sounds\\b.WAV");
  EXPECT_EQ(ofn.nFileOffset, 21);
  EXPECT_EQ(ofn.nFileExtension, 23);
  EXPECT_EQ(ofn.nFilterIndex, 1u);
  EXPECT_EQ(CommDlgExtendedError(), 0u);
}

TEST_F(FileDialogs, AnotherFilterAndAPathGivenInTheBuffer) {
  ofn.nFilterIndex = 2;
  std::char_traits<char16_t>::copy(file, u"\\My Documents\\Sounds\\c.txt", 27);
  WCHAR name[8] = {};
  ofn.lpstrFileTitle = name;
  ofn.nMaxFileTitle = 8;
  ASSERT_TRUE(browse({[&](HWND dialog) {
    auto s = state(dialog);
    EXPECT_EQ(s["folder"], "\\My Documents\\Sounds");
    EXPECT_EQ(s["items"], nlohmann::json::array({"[..]", "[Deeper]", "a.wav", "b.WAV", "c.txt"}));
    EXPECT_EQ(s["selection"], 4);  // the name given is selected
    EXPECT_EQ(s["filter"], "*.*");
    PostMessageW(dialog, WM_KEYDOWN, VK_RETURN, 1);
  }}));
  EXPECT_EQ(std::u16string(file), u"\\My Documents\\Sounds\\c.txt");
  EXPECT_EQ(std::u16string(name), u"c.txt");
  EXPECT_EQ(ofn.nFilterIndex, 2u);
}

TEST_F(FileDialogs, UpStopsAtTheRootWhateverThePathSays) {
  ofn.lpstrInitialDir = u"\\..\\..\\My Documents\\..\\..";
  ASSERT_TRUE(browse({
      [&](HWND dialog) {
        auto s = state(dialog);
        EXPECT_EQ(s["folder"], "\\");
        // At the root there is no way up.
        for (const auto& item : s["items"]) EXPECT_NE(item, "[..]");
        open(dialog, "[My Documents]");
      },
      [&](HWND dialog) { open(dialog, "[..]"); },
      [&](HWND dialog) {
        auto s = state(dialog);
        EXPECT_EQ(s["folder"], "\\");
        // The folder left is selected.
        EXPECT_EQ(s["items"][s["selection"].get<int>()], "[My Documents]");
        open(dialog, "[My Documents]");
      },
      [&](HWND dialog) { open(dialog, "top.wav"); },
  }));
  EXPECT_EQ(std::u16string(file), u"\\My Documents\\top.wav");
  EXPECT_EQ(ofn.nFileOffset, 14);
}

TEST_F(FileDialogs, AFileGoneSinceTheListingIsRefusedWithTheMessage) {
  ofn.lpstrInitialDir = u"\\My Documents\\Sounds";
  std::string message;
  ASSERT_TRUE(browse({
      [&](HWND dialog) {
        std::filesystem::remove(hostPath("My Documents/Sounds/a.wav"));
        open(dialog, "a.wav");
      },
      [&](HWND dialog) {
        HWND box = messageBox(dialog);
        ASSERT_NE(box, nullptr);
        message = state(box)["text"];
        EXPECT_EQ(state(box)["caption"], "Select notification sound");
        PostMessageW(box, WM_KEYDOWN, VK_RETURN, 1);
      },
      [&](HWND dialog) {
        EXPECT_EQ(messageBox(dialog), nullptr);  // the dialog stays for another choice
        open(dialog, "b.WAV");
      },
  }));
  EXPECT_EQ(message, "a.wav\nFile not found.\nPlease verify the correct file name was given.");
  EXPECT_EQ(std::u16string(file), u"\\My Documents\\Sounds\\b.WAV");
}

TEST_F(FileDialogs, AFolderGoneSinceTheListingIsRefusedWithTheMessage) {
  ofn.lpstrInitialDir = u"\\My Documents\\Sounds";
  ofn.Flags = OFN_PATHMUSTEXIST;
  std::string message;
  EXPECT_FALSE(browse({
      [&](HWND dialog) {
        std::filesystem::remove_all(hostPath("My Documents/Sounds"));
        open(dialog, "a.wav");
      },
      [&](HWND dialog) {
        HWND box = messageBox(dialog);
        ASSERT_NE(box, nullptr);
        message = state(box)["text"];
        PostMessageW(box, WM_KEYDOWN, VK_RETURN, 1);
      },
      [&](HWND dialog) { PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 1); },
  }));
  EXPECT_EQ(message, "\\My Documents\\Sounds\nPath does not exist.\nPlease verify the correct path was given.");
  EXPECT_EQ(CommDlgExtendedError(), 0u);
}

TEST_F(FileDialogs, WithoutTheFlagsAFileGoneIsStillReturned) {
  ofn.lpstrInitialDir = u"\\My Documents\\Sounds";
  ofn.Flags = OFN_HIDEREADONLY;
  bool hasReadOnlyBox = true;
  ASSERT_TRUE(browse({[&](HWND dialog) {
    hasReadOnlyBox = GetDlgItem(dialog, kReadOnly) != nullptr;
    std::filesystem::remove(hostPath("My Documents/Sounds/a.wav"));
    open(dialog, "a.wav");
  }}));
  EXPECT_FALSE(hasReadOnlyBox);
  EXPECT_EQ(std::u16string(file), u"\\My Documents\\Sounds\\a.wav");
}

TEST_F(FileDialogs, ReadOnlyCheckBoxUnlessHidden) {
  ofn.lpstrInitialDir = u"\\My Documents";
  ofn.Flags = OFN_READONLY;
  ASSERT_TRUE(browse({[&](HWND dialog) {
    ASSERT_NE(GetDlgItem(dialog, kReadOnly), nullptr);
    EXPECT_EQ(IsDlgButtonChecked(dialog, kReadOnly), BST_CHECKED);
    CheckDlgButton(dialog, kReadOnly, BST_UNCHECKED);
    open(dialog, "top.wav");
  }}));
  EXPECT_EQ(ofn.Flags & OFN_READONLY, 0u);
}

TEST_F(FileDialogs, ABufferTooSmallFailsWithTheSizeNeeded) {
  ofn.lpstrInitialDir = u"\\My Documents";
  ofn.nMaxFile = 10;
  EXPECT_FALSE(browse({[&](HWND dialog) { open(dialog, "top.wav"); }}));
  EXPECT_EQ(CommDlgExtendedError(), 0x3003u);
  EXPECT_EQ(file[0], 22);  // "\My Documents\top.wav" and its terminator
}

TEST_F(FileDialogs, CancelAndFailures) {
  EXPECT_FALSE(browse({[&](HWND dialog) { PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 1); }}));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  EXPECT_FALSE(browse({[&](HWND dialog) {
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    PostMessageW(cancel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageW(cancel, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  }}));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  EXPECT_EQ(file[0], 0);

  ofn.lStructSize = 12;
  EXPECT_FALSE(GetOpenFileNameW(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), 1u);  // CDERR_STRUCTSIZE
  ofn.lStructSize = sizeof(OPENFILENAMEW);
  ofn.lpstrFile = nullptr;
  EXPECT_FALSE(GetOpenFileNameW(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), 2u);  // CDERR_INITIALIZATION

  // No title: "Open".
  ofn.lpstrFile = file;
  ofn.lpstrTitle = nullptr;
  EXPECT_FALSE(browse({[&](HWND dialog) { PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 1); }}));
}

}  // namespace
}  // namespace handheld::testing
