// Scrolling a long list view: 1000 rows of two columns, scrolled from the top to the bottom
// one row at a time, in QVGA and VGA. Each sample is one step: the scroll (the pixels already
// drawn move) and the paint of the row it uncovers. "median_ms" is the median step, which
// must stay under one frame (16.7 ms).
#include <benchmark/benchmark.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "automation_client.h"
#include "bench_device.h"

namespace {

using namespace handheld;

constexpr int kRows = 1000;

HWND makeList() {
  WNDCLASSW frameClass{};
  frameClass.lpfnWndProc = DefWindowProcW;
  frameClass.lpszClassName = u"BenchListFrame";
  RegisterClassW(&frameClass);
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  HWND frame = CreateWindowExW(0, u"BenchListFrame", u"List", WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                               nullptr, nullptr);
  HWND list = CreateWindowExW(0, WC_LISTVIEW, u"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LVS_REPORT | LVS_SHOWSELALWAYS,
                              0, 0, width, height, frame, reinterpret_cast<HMENU>(1), nullptr, nullptr);
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
  const char16_t* headings[] = {u"Time", u"Title"};
  for (int c = 0; c < 2; ++c) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<LPWSTR>(headings[c]);
    column.cx = width / 2;
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
  }
  for (int i = 0; i < kRows; ++i) {
    std::u16string time = u"12/0" + std::u16string(1, static_cast<char16_t>(u'1' + i % 9)) + u"/2026 10:00";
    std::u16string title = u"Note number " + std::u16string(1, static_cast<char16_t>(u'0' + i % 10));
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = i;
    item.pszText = time.data();
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    item.iSubItem = 1;
    item.pszText = title.data();
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    if (i % 4 == 0) {
      LVITEMW selected{};
      selected.state = selected.stateMask = LVIS_SELECTED;
      SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&selected));
    }
  }
  UpdateWindow(frame);
  return list;
}

void ListViewScrollStep(benchmark::State& state, const char* mode) {
  static bench::BenchDevice device;
  std::string error;
  auto client = automation::AutomationClient::connect(device.root(), error);
  if (!client || !client->call<ipc::ScreenModeSet>({mode})) {
    state.SkipWithError("cannot set the screen mode");
    return;
  }
  HWND list = makeList();
  HWND frame = GetParent(list);
  const int last = kRows - static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
  std::vector<double> steps;
  for (auto _ : state) {
    if (SendMessageW(list, LVM_GETTOPINDEX, 0, 0) >= last) {
      SendMessageW(list, WM_VSCROLL, SB_TOP, 0);
      UpdateWindow(list);
    }
    const auto start = std::chrono::steady_clock::now();
    SendMessageW(list, WM_VSCROLL, SB_LINEDOWN, 0);
    UpdateWindow(list);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
    steps.push_back(seconds);
  }
  std::sort(steps.begin(), steps.end());
  if (!steps.empty()) state.counters["median_ms"] = steps[steps.size() / 2] * 1000.0;
  state.counters["rows_per_page"] = static_cast<double>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
  DestroyWindow(frame);
}
BENCHMARK_CAPTURE(ListViewScrollStep, qvga, "qvga")->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(kRows);
BENCHMARK_CAPTURE(ListViewScrollStep, vga, "vga")->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(kRows);

}  // namespace

BENCHMARK_MAIN();
