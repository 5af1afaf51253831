// Text drawing throughput in a memory bitmap the size of a VGA screen: a short line with
// ExtTextOutW, a word-wrapped paragraph with DrawTextW, and measuring a line. Reported as
// characters per second.
#include <benchmark/benchmark.h>
#include <windows.h>

#include <string>

#include "bench_device.h"

namespace {

constexpr int kWidth = 480, kHeight = 640;

struct Canvas {
  Canvas() {
    static handheld::bench::BenchDevice device;  // fonts and metrics come from a device
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    dc = CreateCompatibleDC(nullptr);
    oldBitmap = SelectObject(dc, bitmap);
    LOGFONTW logFont{};
    logFont.lfHeight = -12;
    lstrcpyW(logFont.lfFaceName, u"Tahoma");
    font = CreateFontIndirectW(&logFont);
    oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
  }
  ~Canvas() {
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(font);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  HBITMAP bitmap = nullptr;
  HFONT font = nullptr;
  HDC dc = nullptr;
  HGDIOBJ oldBitmap = nullptr, oldFont = nullptr;
};

const std::u16string kLine = u"Call the dentist before 10:30";
const std::u16string kParagraph =
    u"Buy milk, bread and apples on the way home. Ring Anna about the weekend and ask whether "
    u"the train on Saturday morning still leaves at 8:15 from platform two; book the tickets "
    u"if it does. Water the plants on the balcony and take the letters to the post office.";

void countCharacters(benchmark::State& state, size_t perIteration) {
  state.counters["chars/s"] = benchmark::Counter(static_cast<double>(state.iterations() * perIteration),
                                                 benchmark::Counter::kIsRate);
}

void ExtTextOutLine(benchmark::State& state) {
  Canvas canvas;
  int y = 0;
  for (auto _ : state) {
    ExtTextOutW(canvas.dc, 4, y, 0, nullptr, kLine.c_str(), static_cast<UINT>(kLine.size()), nullptr);
    y = (y + 16) % (kHeight - 16);
  }
  countCharacters(state, kLine.size());
}
BENCHMARK(ExtTextOutLine);

void DrawTextWrappedParagraph(benchmark::State& state) {
  Canvas canvas;
  for (auto _ : state) {
    RECT box{4, 4, kWidth - 4, kHeight - 4};
    DrawTextW(canvas.dc, kParagraph.c_str(), -1, &box, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  }
  countCharacters(state, kParagraph.size());
}
BENCHMARK(DrawTextWrappedParagraph);

void MeasureLine(benchmark::State& state) {
  Canvas canvas;
  for (auto _ : state) {
    SIZE size{};
    GetTextExtentPoint32W(canvas.dc, kLine.c_str(), static_cast<int>(kLine.size()), &size);
    benchmark::DoNotOptimize(size);
  }
  countCharacters(state, kLine.size());
}
BENCHMARK(MeasureLine);

}  // namespace

BENCHMARK_MAIN();
