// The ink control: its content streamed out and back in (about 1 MB), a page of 500 strokes
// drawn at 300 %, and a stylus move until the new piece of stroke is in the window.
#include <benchmark/benchmark.h>
#include <windows.h>

#include <inkx.h>

#include <cmath>

#include "bench_device.h"
#include "ink_control.h"
#include "ink_render.h"
#include "ink_stream.h"

namespace {

using namespace handheld::inkx;

// Strokes of 60 points wandering over the page, in document units.
InkDocument strokes(size_t count) {
  InkDocument document;
  for (size_t s = 0; s < count; ++s) {
    Stroke stroke;
    for (int i = 0; i < 60; ++i) {
      const double t = static_cast<double>(i) / 60;
      stroke.points.push_back({static_cast<int32_t>((20 + 200 * t) * kSubUnits),
                               static_cast<int32_t>((10 + static_cast<double>(s % 40) * 7 + 6 * std::sin(t * 12 + static_cast<double>(s))) * kSubUnits)});
    }
    document.strokes.push_back(std::move(stroke));
  }
  return document;
}

void BM_StreamOutAndInOfOneMegabyte(benchmark::State& state) {
  const InkDocument document = strokes(2100);  // 2100 x 500 bytes
  size_t bytes = 0;
  for (auto _ : state) {
    const auto out = writeStream(document);
    const auto in = readStream(out);
    benchmark::DoNotOptimize(in.document.strokes.data());
    bytes = out.size();
  }
  state.counters["bytes"] = static_cast<double>(bytes);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes * 2));
}
BENCHMARK(BM_StreamOutAndInOfOneMegabyte)->Unit(benchmark::kMillisecond);

void BM_DrawFiveHundredStrokesAtThreeHundredPercent(benchmark::State& state) {
  InkEditor editor;
  editor.replace(strokes(500));
  const InkText noText;
  const TextLayout layout(noText, textFrame(2, 16));
  View view;
  view.zoom = 300;
  view.width = 480;  // a VGA screen's page area
  view.height = 560;
  view.scrollY = 200;
  view.pageFlags = 2;
  view.pageHeight = pageHeight(editor.document(), 0);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, view.width, view.height);
  cairo_t* cr = cairo_create(surface);
  for (auto _ : state) {
    renderPage(cr, editor, layout, view, {});
    cairo_surface_flush(surface);
  }
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}
BENCHMARK(BM_DrawFiveHundredStrokesAtThreeHundredPercent)->Unit(benchmark::kMillisecond);

// From WM_MOUSEMOVE on the writing window to its paint done, on a device.
void BM_StylusMoveToStrokeInTheWindow(benchmark::State& state) {
  static handheld::bench::BenchDevice device;
  registerInkClasses();
  HWND control = CreateWindowExW(0, u"InkX", u"", WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 0, 0, 240, 294, nullptr,
                                 nullptr, nullptr, nullptr);
  HWND inner = reinterpret_cast<HWND>(SendMessageW(control, INKM_GET_INNER, 0, 0));
  SendMessageW(inner, INKM_SET_ZOOM, 0, 200);
  SendMessageW(inner, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  UpdateWindow(inner);
  int step = 0;
  for (auto _ : state) {
    const int x = 10 + step % 200, y = 10 + (step / 200) % 250;
    ++step;
    SendMessageW(inner, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
    UpdateWindow(inner);
  }
  SendMessageW(inner, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  DestroyWindow(control);
}
BENCHMARK(BM_StylusMoveToStrokeInTheWindow)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
