// Property sheets: premature and lazy pages, the callbacks in order, PSN_APPLY to each
// created page in order, refusals of KILLACTIVE and APPLY, cancel with QUERYCANCEL and RESET,
// the PSM_ messages, a sheet ended by its owner during PSN_APPLY, bad input and automation
// state. Each sheet runs modally: a script posted from PSCB_INITIALIZED drives it.
#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <nlohmann/json.hpp>

#include "controls_fixture.h"
#include "resource.h"

namespace handheld::testing {
namespace {

constexpr UINT kAutomationState = 0x03F0;
constexpr UINT kRunScript = WM_APP + 7;

struct SheetRun;

struct PageInfo {
  SheetRun* run = nullptr;
  int index = 0;
};

// What one sheet did, and how its pages answer.
struct SheetRun {
  std::vector<std::string> events;
  HWND sheet = nullptr;
  HWND pages[3] = {};
  LRESULT killActive[3] = {};
  LRESULT applyAnswer[3] = {};
  LRESULT queryCancel = 0;
  LRESULT siblings[3] = {};
  bool pspCreate = true;
  HWND destroyOnApply = nullptr;  // a window destroyed from page 0's PSN_APPLY
  PageInfo info[3];
  std::function<void(HWND)> script;
  HWND scriptWindow = nullptr;
};

SheetRun* running = nullptr;

std::string pspName(UINT code) {
  switch (code) {
    case 0u - 200u: return "setactive";
    case 0u - 201u: return "killactive";
    case 0u - 202u: return "apply";
    case 0u - 203u: return "reset";
    case 0u - 205u: return "help";
    case 0u - 209u: return "querycancel";
    default: return "other";
  }
}

INT_PTR CALLBACK pageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* info = reinterpret_cast<PageInfo*>(reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam);
    SetWindowLongPtrW(page, DWLP_USER, reinterpret_cast<LONG_PTR>(info));
    info->run->pages[info->index] = page;
    info->run->events.push_back("init " + std::to_string(info->index));
    return TRUE;
  }
  auto* info = reinterpret_cast<PageInfo*>(GetWindowLongPtrW(page, DWLP_USER));
  if (!info) return FALSE;
  SheetRun& run = *info->run;
  const int i = info->index;
  if (message == PSM_QUERYSIBLINGS) {
    run.events.push_back("siblings " + std::to_string(i));
    SetWindowLongPtrW(page, DWLP_MSGRESULT, run.siblings[i]);
    return TRUE;
  }
  if (message != WM_NOTIFY) return FALSE;
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  run.events.push_back(pspName(header->code) + " " + std::to_string(i));
  EXPECT_EQ(header->idFrom, 0u);
  EXPECT_EQ(header->hwndFrom, GetParent(page));
  LRESULT result = 0;
  switch (header->code) {
    case 0u - 201u: result = run.killActive[i]; break;
    case 0u - 202u:
      result = run.applyAnswer[i];
      if (i == 0 && run.destroyOnApply) DestroyWindow(run.destroyOnApply);
      break;
    case 0u - 209u: result = run.queryCancel; break;
    default: break;
  }
  SetWindowLongPtrW(page, DWLP_MSGRESULT, result);
  return TRUE;
}

UINT CALLBACK pageCallback(HWND, UINT message, PROPSHEETPAGEW* page) {
  auto* info = reinterpret_cast<PageInfo*>(page->lParam);
  info->run->events.push_back(std::string(message == PSPCB_CREATE ? "pspcb create " : "pspcb release ") +
                              std::to_string(info->index));
  return info->run->pspCreate ? 1 : 0;
}

int CALLBACK sheetCallback(HWND sheet, UINT message, LPARAM) {
  SheetRun& run = *running;
  switch (message) {
    case PSCB_GETVERSION:
      run.events.push_back(sheet ? "getversion with a window" : "getversion");
      return COMCTL32_VERSION;
    case PSCB_PRECREATE:
      run.events.push_back("precreate");
      return 0;
    case PSCB_INITIALIZED: {
      run.events.push_back("initialized");
      run.sheet = sheet;
      // The handheld's programs put the tabs at the bottom themselves.
      HWND tab = GetDlgItem(sheet, 0x3020);
      SetWindowLongW(tab, GWL_STYLE, GetWindowLongW(tab, GWL_STYLE) | TCS_BOTTOM);
      PostMessageW(run.scriptWindow, kRunScript, 0, reinterpret_cast<LPARAM>(sheet));
      return 0;
    }
    default:
      return 0;
  }
}

std::vector<WORD> emptyTemplate(const char16_t* caption) {
  const DWORD style = WS_CHILD | DS_CONTROL;
  std::vector<WORD> words = {LOWORD(style), HIWORD(style), 0, 0, 0, 0, 0, 160, 100, 0, 0};
  for (const char16_t* c = caption; *c; ++c) words.push_back(*c);
  words.push_back(0);
  return words;
}

class PropertySheets : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    running = &run;
    run.scriptWindow = parent;
    for (int i = 0; i < 3; ++i) run.info[i] = {&run, i};
    templates = {emptyTemplate(u"General"), emptyTemplate(u"Pinnote"), emptyTemplate(u"Sound")};
    recorder.react(kRunScript, [this](HWND, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
      HWND sheet = reinterpret_cast<HWND>(lParam);
      if (run.script) run.script(sheet);
      // A script that left the sheet open must not hang the test.
      if (IsWindow(sheet) && IsWindowVisible(sheet)) {
        ADD_FAILURE() << "the script left the sheet open";
        DestroyWindow(sheet);
      }
      return 0;
    });
  }
  void TearDown() override {
    running = nullptr;
    ControlsTest::TearDown();
  }

  PROPSHEETPAGEW page(int index, DWORD flags = PSP_PREMATURE) {
    PROPSHEETPAGEW p{};
    p.dwSize = sizeof(p);
    p.dwFlags = PSP_DLGINDIRECT | flags;
    p.pResource = reinterpret_cast<LPCDLGTEMPLATEW>(templates[index].data());
    p.pfnDlgProc = pageProc;
    p.lParam = reinterpret_cast<LPARAM>(&run.info[index]);
    if (flags & PSP_USECALLBACK) p.pfnCallback = pageCallback;
    return p;
  }

  INT_PTR runSheet(const PROPSHEETPAGEW* pages, UINT count, DWORD flags = 0, UINT start = 0,
                   LPCWSTR caption = MAKEINTRESOURCEW(IDS_SHEET_TITLE)) {
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_USECALLBACK | PSH_MAXIMIZE | flags;
    header.hwndParent = parent;
    header.hInstance = GetModuleHandleW(nullptr);
    header.pszCaption = caption;
    header.nPages = count;
    header.nStartPage = start;
    header.ppsp = pages;
    header.pfnCallback = sheetCallback;
    return PropertySheetW(&header);
  }

  INT_PTR runThree(DWORD pageFlags = PSP_PREMATURE, DWORD flags = 0, UINT start = 0) {
    const PROPSHEETPAGEW pages[] = {page(0, pageFlags), page(1, pageFlags), page(2, pageFlags)};
    return runSheet(pages, 3, flags, start);
  }

  static HWND tabOf(HWND sheet) { return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0)); }
  static HWND currentOf(HWND sheet) {
    return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  }
  static void tapTab(HWND sheet, int index) {
    HWND tab = tabOf(sheet);
    RECT r{};
    SendMessageW(tab, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(tab, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(tab, WM_LBUTTONUP, 0, at);
  }
  // The "ok" at the right end of the sheet's caption.
  static void tapOk(HWND sheet) {
    RECT client{};
    GetClientRect(sheet, &client);
    const LPARAM at = MAKELPARAM(client.right - 8, GetSystemMetrics(SM_CYCAPTION) / 2);
    SendMessageW(sheet, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(sheet, WM_LBUTTONUP, 0, at);
  }
  static nlohmann::json automation(HWND window) {
    nlohmann::json state = nlohmann::json::object();
    SendMessageW(window, kAutomationState, 0, reinterpret_cast<LPARAM>(&state));
    return state;
  }

  using Events = std::vector<std::string>;
  SheetRun run;
  std::vector<std::vector<WORD>> templates;
};

TEST_F(PropertySheets, ValuesThePlatformGives) {
  EXPECT_EQ(PSN_SETACTIVE, 0u - 200u);
  EXPECT_EQ(PSN_KILLACTIVE, 0u - 201u);
  EXPECT_EQ(PSN_APPLY, 0u - 202u);
  EXPECT_EQ(PSN_RESET, 0u - 203u);
  EXPECT_EQ(PSN_HELP, 0u - 205u);
  EXPECT_EQ(PSN_QUERYCANCEL, 0u - 209u);
  EXPECT_EQ(PSNRET_NOERROR, 0);
  EXPECT_EQ(PSNRET_INVALID, 1);
  EXPECT_EQ(PSNRET_INVALID_NOCHANGEPAGE, 2);
  EXPECT_EQ(PSH_PROPSHEETPAGE, 0x8);
  EXPECT_EQ(PSH_NOAPPLYNOW, 0x80);
  EXPECT_EQ(PSH_USECALLBACK, 0x100);
  EXPECT_EQ(PSH_HASHELP, 0x200);
  EXPECT_EQ(PSH_MODELESS, 0x400);
  EXPECT_EQ(PSH_MAXIMIZE, 0x2000);
  EXPECT_EQ(PSP_DLGINDIRECT, 0x1);
  EXPECT_EQ(PSP_USETITLE, 0x8);
  EXPECT_EQ(PSP_HASHELP, 0x20);
  EXPECT_EQ(PSP_USECALLBACK, 0x80);
  EXPECT_EQ(PSP_PREMATURE, 0x400);
  EXPECT_EQ(PSPCB_RELEASE, 1);
  EXPECT_EQ(PSPCB_CREATE, 2);
  EXPECT_EQ(PSCB_INITIALIZED, 1);
  EXPECT_EQ(PSCB_PRECREATE, 2);
  EXPECT_EQ(PSCB_GETVERSION, 3);
  EXPECT_EQ(COMCTL32_VERSION, 0x20C);
  EXPECT_EQ(PSM_SETCURSEL, 0x0465);
  EXPECT_EQ(PSM_CHANGED, 0x0468);
  EXPECT_EQ(PSM_QUERYSIBLINGS, 0x046C);
  EXPECT_EQ(PSM_UNCHANGED, 0x046D);
  EXPECT_EQ(PSM_APPLY, 0x046E);
  EXPECT_EQ(PSM_PRESSBUTTON, 0x0471);
  EXPECT_EQ(PSM_GETTABCONTROL, 0x0474);
  EXPECT_EQ(PSM_ISDIALOGMESSAGE, 0x0475);
  EXPECT_EQ(PSM_GETCURRENTPAGEHWND, 0x0476);
  EXPECT_EQ(PSM_SETTITLEW, 0x0478);
  EXPECT_EQ(PSBTN_OK, 3);
  EXPECT_EQ(PSBTN_APPLYNOW, 4);
  EXPECT_EQ(PSBTN_CANCEL, 5);
  EXPECT_EQ(PSBTN_HELP, 6);
  EXPECT_EQ(sizeof(PROPSHEETPAGEW), 72u);
  EXPECT_EQ(sizeof(PROPSHEETHEADERW), 72u);
}

TEST_F(PropertySheets, ThreePrematurePagesAppliedInOrderOnOk) {
  HWND seenTab = nullptr;
  run.script = [&](HWND sheet) {
    // Full screen, its tabs (child 0x3020) along the bottom, the first page above them.
    RECT rect{};
    GetWindowRect(sheet, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(rect.bottom, GetSystemMetrics(SM_CYSCREEN));
    seenTab = tabOf(sheet);
    EXPECT_EQ(seenTab, GetDlgItem(sheet, 0x3020));
    EXPECT_EQ(GetWindowLongW(seenTab, GWL_STYLE) & TCS_BOTTOM, TCS_BOTTOM);
    RECT tab{}, page{};
    GetWindowRect(seenTab, &tab);
    GetWindowRect(run.pages[0], &page);
    EXPECT_EQ(tab.bottom, rect.bottom);
    EXPECT_EQ(page.bottom, tab.top);
    EXPECT_EQ(page.top, GetSystemMetrics(SM_CYCAPTION));
    EXPECT_EQ(currentOf(sheet), run.pages[0]);
    EXPECT_TRUE(IsWindowVisible(run.pages[0]));
    EXPECT_FALSE(IsWindowVisible(run.pages[2]));
    EXPECT_EQ(GetParent(run.pages[1]), sheet);
    char16_t caption[64] = {};
    GetWindowTextW(sheet, caption, 64);
    EXPECT_EQ(std::u16string(caption), u"Sheet from a resource");
    EXPECT_FALSE(IsWindowEnabled(parent));  // modal
    const auto state = automation(sheet);
    EXPECT_EQ(state["pages"], nlohmann::json({"General", "Pinnote", "Sound"}));
    EXPECT_EQ(state["selection"], 0);
    EXPECT_EQ(automation(seenTab)["items"], nlohmann::json({"General", "Pinnote", "Sound"}));
    run.events.push_back("ok");
    tapOk(sheet);
  };
  EXPECT_EQ(runThree(PSP_PREMATURE, PSH_HASHELP), 1);
  EXPECT_EQ(run.events, (Events{"getversion", "precreate", "init 0", "init 1", "init 2", "setactive 0",
                                "initialized", "ok", "killactive 0", "apply 0", "apply 1", "apply 2"}));
  EXPECT_FALSE(IsWindow(run.sheet));
  EXPECT_TRUE(IsWindowEnabled(parent));
}

TEST_F(PropertySheets, PagesWithoutPrematureAreMadeWhenFirstSelected) {
  run.script = [&](HWND sheet) {
    EXPECT_EQ(run.pages[0], nullptr);
    EXPECT_EQ(run.pages[2], nullptr);
    EXPECT_EQ(SendMessageW(tabOf(sheet), TCM_GETCURSEL, 0, 0), 1);
    run.events.push_back("tap 2");
    tapTab(sheet, 2);
    EXPECT_EQ(currentOf(sheet), run.pages[2]);
    EXPECT_FALSE(IsWindowVisible(run.pages[1]));
    EXPECT_EQ(automation(sheet)["selection"], 2);
    run.events.push_back("ok");
    SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
  };
  EXPECT_EQ(runThree(PSP_USECALLBACK, 0, 1), 1);
  EXPECT_EQ(run.events,
            (Events{"getversion", "precreate", "pspcb create 1", "init 1", "setactive 1", "initialized", "tap 2",
                    "killactive 1", "pspcb create 2", "init 2", "setactive 2", "ok", "killactive 2", "apply 1",
                    "apply 2", "pspcb release 0", "pspcb release 1", "pspcb release 2"}));
}

TEST_F(PropertySheets, APageMayRefuseToBeLeft) {
  run.script = [&](HWND sheet) {
    run.killActive[0] = PSNRET_INVALID;
    tapTab(sheet, 1);
    EXPECT_EQ(SendMessageW(tabOf(sheet), TCM_GETCURSEL, 0, 0), 0);
    EXPECT_FALSE(SendMessageW(sheet, PSM_SETCURSEL, 2, 0));
    tapOk(sheet);
    EXPECT_TRUE(IsWindowVisible(sheet));
    EXPECT_EQ(currentOf(sheet), run.pages[0]);
    run.killActive[0] = PSNRET_NOERROR;
    EXPECT_TRUE(SendMessageW(sheet, PSM_SETCURSEL, 2, 0));
    EXPECT_EQ(currentOf(sheet), run.pages[2]);
    EXPECT_EQ(SendMessageW(tabOf(sheet), TCM_GETCURSEL, 0, 0), 2);
    run.events.push_back("cancel");
    SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
  };
  EXPECT_EQ(runThree(), 0);
  EXPECT_EQ(std::count(run.events.begin(), run.events.end(), "apply 0"), 0);
  EXPECT_EQ(std::count(run.events.begin(), run.events.end(), "killactive 0"), 4);
  const Events tail(run.events.end() - 5, run.events.end());
  EXPECT_EQ(tail, (Events{"cancel", "querycancel 2", "reset 0", "reset 1", "reset 2"}));
}

TEST_F(PropertySheets, APageMayRefuseItsChanges) {
  run.script = [&](HWND sheet) {
    // PSNRET_INVALID: the sheet stays open on the refusing page; later pages are not asked.
    run.applyAnswer[1] = PSNRET_INVALID;
    tapOk(sheet);
    EXPECT_TRUE(IsWindowVisible(sheet));
    EXPECT_EQ(currentOf(sheet), run.pages[1]);
    EXPECT_EQ(SendMessageW(tabOf(sheet), TCM_GETCURSEL, 0, 0), 1);
    // PSNRET_INVALID_NOCHANGEPAGE: open on the page that was current.
    run.applyAnswer[1] = PSNRET_NOERROR;
    run.applyAnswer[2] = PSNRET_INVALID_NOCHANGEPAGE;
    run.events.push_back("ok");
    tapOk(sheet);
    EXPECT_TRUE(IsWindowVisible(sheet));
    EXPECT_EQ(currentOf(sheet), run.pages[1]);
    run.applyAnswer[2] = PSNRET_NOERROR;
    run.events.push_back("ok");
    tapOk(sheet);
  };
  EXPECT_EQ(runThree(), 1);
  EXPECT_EQ(Events(run.events.begin() + 7, run.events.end()),
            (Events{"killactive 0", "apply 0", "apply 1", "setactive 1", "ok", "killactive 1", "apply 0", "apply 1",
                    "apply 2", "ok", "killactive 1", "apply 0", "apply 1", "apply 2"}));
}

TEST_F(PropertySheets, CancelAsksTheCurrentPageThenResetsEveryPage) {
  run.script = [&](HWND sheet) {
    run.queryCancel = TRUE;
    SendMessageW(sheet, WM_COMMAND, IDCANCEL, 0);  // escape, or WM_CLOSE
    EXPECT_TRUE(IsWindowVisible(sheet));
    run.queryCancel = FALSE;
    run.events.push_back("cancel");
    SendMessageW(sheet, WM_COMMAND, IDCANCEL, 0);
  };
  EXPECT_EQ(runThree(), 0);
  EXPECT_EQ(Events(run.events.begin() + 7, run.events.end()),
            (Events{"querycancel 0", "cancel", "querycancel 0", "reset 0", "reset 1", "reset 2"}));
}

TEST_F(PropertySheets, HelpOnlyWhenTheSheetOrPageHasIt) {
  run.script = [&](HWND sheet) {
    SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_HELP, 0);
    SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
  };
  runThree();
  EXPECT_EQ(std::count(run.events.begin(), run.events.end(), "help 0"), 0);
  run.events.clear();
  runThree(PSP_PREMATURE, PSH_HASHELP);
  EXPECT_EQ(std::count(run.events.begin(), run.events.end(), "help 0"), 1);
}

TEST_F(PropertySheets, TheOwnerMayEndTheSheetFromPsnApply) {
  // As an options window does: it closes itself, and the sheet it owns goes with it.
  HWND owner = create(WS_VISIBLE, nullptr, {0, 0, 240, 320});
  run.destroyOnApply = owner;
  run.script = [&](HWND sheet) { tapOk(sheet); };
  const PROPSHEETPAGEW pages[] = {page(0, PSP_PREMATURE | PSP_USECALLBACK), page(1), page(2)};
  PROPSHEETHEADERW header{};
  header.dwSize = sizeof(header);
  header.dwFlags = PSH_PROPSHEETPAGE | PSH_USECALLBACK;
  header.hwndParent = owner;
  header.pszCaption = u"Options";
  header.nPages = 3;
  header.ppsp = pages;
  header.pfnCallback = sheetCallback;
  EXPECT_EQ(PropertySheetW(&header), 1);
  EXPECT_FALSE(IsWindow(owner));
  EXPECT_FALSE(IsWindow(run.sheet));
  EXPECT_EQ(std::count(run.events.begin(), run.events.end(), "apply 1"), 0);
  EXPECT_EQ(run.events.back(), "pspcb release 0");
}

TEST_F(PropertySheets, BadInputAnswersMinusOne) {
  EXPECT_EQ(PropertySheetW(nullptr), -1);
  PROPSHEETHEADERW header{};
  header.dwSize = sizeof(header) - 8;
  header.dwFlags = PSH_PROPSHEETPAGE;
  header.nPages = 1;
  const PROPSHEETPAGEW one = page(0);
  header.ppsp = &one;
  EXPECT_EQ(PropertySheetW(&header), -1);
  header.dwSize = sizeof(header);
  header.nPages = 0;
  EXPECT_EQ(PropertySheetW(&header), -1);
  header.nPages = 1;
  header.ppsp = nullptr;
  EXPECT_EQ(PropertySheetW(&header), -1);
  // A page whose template does not exist fails the sheet; pages made before it are released.
  PROPSHEETPAGEW missing{};
  missing.dwSize = sizeof(missing);
  missing.hInstance = GetModuleHandleW(nullptr);
  missing.pszTemplate = MAKEINTRESOURCEW(9999);
  const PROPSHEETPAGEW pages[] = {page(0, PSP_USECALLBACK), missing};
  header.ppsp = pages;
  header.nPages = 2;
  EXPECT_EQ(PropertySheetW(&header), -1);
  EXPECT_EQ(run.events, (Events{"pspcb release 0"}));
  // Handles that are no pages.
  HPROPSHEETPAGE bogus[] = {reinterpret_cast<HPROPSHEETPAGE>(&header)};
  header.dwFlags = 0;
  header.phpage = bogus;
  header.nPages = 1;
  EXPECT_EQ(PropertySheetW(&header), -1);
  EXPECT_EQ(CreatePropertySheetPageW(nullptr), nullptr);
  PROPSHEETPAGEW small = page(0);
  small.dwSize = 40;
  EXPECT_EQ(CreatePropertySheetPageW(&small), nullptr);
  EXPECT_EQ(CreatePropertySheetPageW(&missing), nullptr);
  EXPECT_FALSE(DestroyPropertySheetPage(bogus[0]));
  HPROPSHEETPAGE made = CreatePropertySheetPageW(&one);
  ASSERT_NE(made, nullptr);
  EXPECT_TRUE(DestroyPropertySheetPage(made));
  EXPECT_FALSE(DestroyPropertySheetPage(made));  // once only
}

TEST_F(PropertySheets, PagesFromHandlesResourcesAndTitles) {
  PROPSHEETPAGEW fromResource{};
  fromResource.dwSize = sizeof(fromResource);
  fromResource.hInstance = GetModuleHandleW(nullptr);
  fromResource.pszTemplate = MAKEINTRESOURCEW(IDD_PAGE_NAME);
  fromResource.pfnDlgProc = pageProc;
  fromResource.lParam = reinterpret_cast<LPARAM>(&run.info[0]);
  PROPSHEETPAGEW titled = fromResource;
  titled.dwFlags = PSP_USETITLE;
  titled.pszTemplate = MAKEINTRESOURCEW(IDD_PAGE_OPTIONS);
  titled.pszTitle = u"Given title";
  titled.lParam = reinterpret_cast<LPARAM>(&run.info[1]);
  HPROPSHEETPAGE handles[] = {CreatePropertySheetPageW(&fromResource), CreatePropertySheetPageW(&titled)};
  ASSERT_NE(handles[0], nullptr);
  ASSERT_NE(handles[1], nullptr);
  run.script = [&](HWND sheet) {
    EXPECT_EQ(automation(sheet)["pages"], nlohmann::json({"Name", "Given title"}));
    // A page made from a popup template loses its frame: a child filling the page area.
    EXPECT_EQ(GetWindowLongW(run.pages[0], GWL_STYLE) & (WS_CHILD | WS_CAPTION), WS_CHILD);
    EXPECT_NE(GetDlgItem(run.pages[0], IDC_PAGE_EDIT), nullptr);
    EXPECT_EQ(SendMessageW(sheet, PSM_SETCURSEL, 0, reinterpret_cast<LPARAM>(handles[1])), TRUE);
    EXPECT_EQ(currentOf(sheet), run.pages[1]);
    SendMessageW(sheet, PSM_SETTITLEW, 0, reinterpret_cast<LPARAM>(u"Renamed"));
    char16_t caption[32] = {};
    GetWindowTextW(sheet, caption, 32);
    EXPECT_EQ(std::u16string(caption), u"Renamed");
    SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
  };
  PROPSHEETHEADERW header{};
  header.dwSize = sizeof(header);
  header.dwFlags = PSH_USECALLBACK;
  header.hwndParent = parent;
  header.pszCaption = u"Handles";
  header.nPages = 2;
  header.phpage = handles;
  header.pfnCallback = sheetCallback;
  EXPECT_EQ(PropertySheetW(&header), 0);
  EXPECT_FALSE(DestroyPropertySheetPage(handles[0]));  // the sheet released them
}

TEST_F(PropertySheets, QuerySiblingsApplyNowAndARefusedPage) {
  run.script = [&](HWND sheet) {
    run.siblings[1] = 42;
    EXPECT_EQ(SendMessageW(sheet, PSM_QUERYSIBLINGS, 1, 2), 42);
    run.events.push_back("apply now");
    EXPECT_TRUE(SendMessageW(sheet, PSM_APPLY, 0, 0));
    EXPECT_TRUE(IsWindowVisible(sheet));  // apply now keeps the sheet
    run.pspCreate = false;
    SendMessageW(sheet, PSM_SETCURSEL, 2, 0);  // its callback refuses the page
    EXPECT_EQ(currentOf(sheet), nullptr);
    EXPECT_EQ(run.pages[2], nullptr);
    SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
  };
  const PROPSHEETPAGEW pages[] = {page(0), page(1), page(2, PSP_USECALLBACK)};
  EXPECT_EQ(runSheet(pages, 3), 1);  // applied before the cancel
  EXPECT_EQ(Events(run.events.begin() + 6, run.events.begin() + 14),
            (Events{"siblings 0", "siblings 1", "apply now", "killactive 0", "apply 0", "apply 1", "killactive 0",
                    "pspcb create 2"}));
}

TEST_F(PropertySheets, AModelessSheetWaitsForItsOwnerToDestroyIt) {
  run.scriptWindow = nullptr;  // nothing to drive: the test itself runs it
  const PROPSHEETPAGEW pages[] = {page(0), page(1)};
  const INT_PTR result = runSheet(pages, 2, PSH_MODELESS);
  HWND sheet = reinterpret_cast<HWND>(result);
  ASSERT_TRUE(IsWindow(sheet));
  EXPECT_TRUE(IsWindowEnabled(parent));
  EXPECT_TRUE(IsWindowVisible(sheet));
  MSG tab{sheet, WM_KEYDOWN, VK_TAB, 0, 0, {}};
  EXPECT_TRUE(SendMessageW(sheet, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(&tab)));
  EXPECT_FALSE(SendMessageW(sheet, PSM_ISDIALOGMESSAGE, 0, 0));
  SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
  EXPECT_EQ(currentOf(sheet), nullptr);
  EXPECT_FALSE(IsWindowVisible(sheet));
  EXPECT_EQ(std::count(run.events.begin(), run.events.end(), "apply 1"), 1);
  DestroyWindow(sheet);
}

}  // namespace
}  // namespace handheld::testing
