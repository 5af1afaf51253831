// Recording through the wave-audio input from the sources automation chooses: the format
// asked for, real-time pacing, the callbacks, and stopping.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "support/device_fixture.h"
#include "wave_images.h"

namespace handheld::testing {
namespace {

using Clock = std::chrono::steady_clock;

constexpr UINT kNoError = 0;
constexpr UINT kBadDeviceId = 2;
constexpr UINT kInvalidHandle = 5;
constexpr UINT kBadFormat = 32;
constexpr UINT kStillPlaying = 33;
constexpr UINT kUnprepared = 34;
constexpr DWORD kCallbackEvent = 0x00050000;
constexpr DWORD kCallbackWindow = 0x00010000;
constexpr UINT kWimData = 0x3C0;
constexpr UINT kWimOpen = 0x3BE;
constexpr DWORD kDone = 0x1;
constexpr DWORD kPrepared = 0x2;
constexpr DWORD kInQueue = 0x10;

WAVEFORMATEX pcm(DWORD rate, WORD channels, WORD bits) {
  WAVEFORMATEX f{};
  f.wFormatTag = 1;
  f.nChannels = channels;
  f.nSamplesPerSec = rate;
  f.nBlockAlign = static_cast<WORD>(channels * bits / 8);
  f.nAvgBytesPerSec = rate * f.nBlockAlign;
  f.wBitsPerSample = bits;
  return f;
}

// A buffer with its header; the header points into the buffer, so it stays where it is.
struct Buffer {
  explicit Buffer(size_t bytes) : data(bytes, 0x55) {
    header.lpData = reinterpret_cast<LPSTR>(data.data());
    header.dwBufferLength = static_cast<DWORD>(bytes);
  }
  Buffer(const Buffer&) = delete;
  std::vector<uint8_t> data;
  WAVEHDR header{};
};

int peak16(const Buffer& b) {
  int peak = 0;
  for (size_t i = 0; i + 1 < b.header.dwBytesRecorded; i += 2)
    peak = std::max(peak, std::abs(static_cast<int16_t>(b.data[i] | (b.data[i + 1] << 8))));
  return peak;
}

class Microphone : public DeviceFixture {
 protected:
  // Records `buffers` buffers of `bytes` each with an event callback; returns them done.
  std::vector<std::unique_ptr<Buffer>> record(const WAVEFORMATEX& format, size_t bytes, int buffers) {
    HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    HWAVEIN in = nullptr;
    EXPECT_EQ(waveInOpen(&in, 0, &format, reinterpret_cast<DWORD_PTR>(event), 0, kCallbackEvent), kNoError);
    EXPECT_EQ(WaitForSingleObject(event, 5000), WAIT_OBJECT_0);  // the open
    std::vector<std::unique_ptr<Buffer>> result;
    for (int i = 0; i < buffers; ++i) {
      result.push_back(std::make_unique<Buffer>(bytes));
      EXPECT_EQ(waveInPrepareHeader(in, &result.back()->header, sizeof(WAVEHDR)), kNoError);
      EXPECT_EQ(waveInAddBuffer(in, &result.back()->header, sizeof(WAVEHDR)), kNoError);
    }
    EXPECT_EQ(waveInStart(in), kNoError);
    for (auto& b : result) {
      while (!(b->header.dwFlags & kDone)) EXPECT_EQ(WaitForSingleObject(event, 5000), WAIT_OBJECT_0);
    }
    EXPECT_EQ(waveInStop(in), kNoError);
    for (auto& b : result) EXPECT_EQ(waveInUnprepareHeader(in, &b->header, sizeof(WAVEHDR)), kNoError);
    EXPECT_EQ(waveInClose(in), kNoError);
    CloseHandle(event);
    return result;
  }
};

TEST_F(Microphone, ToneGivesNonSilentSamplesOfTheFormatAskedInRealTime) {
  ASSERT_EQ(ctl("mic tone 440"), 0);
  const auto start = Clock::now();
  auto buffers = record(pcm(8000, 1, 16), 1600, 2);  // 0.1 s each
  EXPECT_GE(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count(), 200);
  for (auto& b : buffers) {
    EXPECT_EQ(b->header.dwBytesRecorded, 1600u);
    EXPECT_EQ(b->header.dwFlags & (kDone | kPrepared | kInQueue), kDone);
    // Half of full scale, give or take the sampling of the sine.
    EXPECT_GT(peak16(*b), 15000);
    EXPECT_LT(peak16(*b), 17000);
  }
  // 8-bit stereo: unsigned samples around 128, both channels alike.
  auto eight = record(pcm(11025, 2, 8), 2000, 1);
  int low = 255, high = 0;
  for (size_t i = 0; i < 2000; i += 2) {
    EXPECT_EQ(eight[0]->data[i], eight[0]->data[i + 1]);
    low = std::min<int>(low, eight[0]->data[i]);
    high = std::max<int>(high, eight[0]->data[i]);
  }
  EXPECT_LT(low, 80);
  EXPECT_GT(high, 176);
}

TEST_F(Microphone, SilenceByDefaultAndAgainWhenChosen) {
  auto quiet = record(pcm(8000, 1, 16), 800, 1);
  EXPECT_EQ(quiet[0]->header.dwBytesRecorded, 800u);
  EXPECT_EQ(peak16(*quiet[0]), 0);
  ASSERT_EQ(ctl("mic tone 1000"), 0);
  ASSERT_EQ(ctl("mic silence"), 0);
  auto eight = record(pcm(8000, 1, 8), 400, 1);
  for (uint8_t v : eight[0]->data) EXPECT_EQ(v, 128);
}

TEST_F(Microphone, AFileIsHeardConvertedToTheFormatAsked) {
  // 16-bit stereo at 22050 Hz holding a constant quarter of full scale on both channels.
  auto image = waveImage({.rate = 22050, .channels = 2, .frames = 22050});
  for (size_t i = 44; i + 1 < image.size(); i += 2) {
    image[i] = 0x00;
    image[i + 1] = 0x20;  // 8192
  }
  const auto file = root() / "loud.wav";
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), image.size());
  ASSERT_EQ(ctl("mic " + file.string()), 0);
  auto buffers = record(pcm(8000, 1, 16), 800, 1);
  for (size_t i = 0; i < 800; i += 2) {
    const int v = static_cast<int16_t>(buffers[0]->data[i] | (buffers[0]->data[i + 1] << 8));
    ASSERT_NEAR(v, 8192, 2);
  }
  EXPECT_NE(ctl("mic " + (root() / "missing.wav").string()), 0);
  const auto text = root() / "text.wav";
  std::ofstream(text) << "not a sound";
  EXPECT_NE(ctl("mic " + text.string()), 0);
  EXPECT_NE(ctl("mic tone 0"), 0);
  EXPECT_NE(ctl("mic tone 20001"), 0);
  EXPECT_EQ(ctl("mic tone 20000"), 0);
}

TEST_F(Microphone, ResetReturnsEveryQueuedBufferAndCloseRefusesWhileBuffersAreQueued) {
  ASSERT_EQ(ctl("mic tone 300"), 0);
  HWAVEIN in = nullptr;
  const auto format = pcm(8000, 1, 16);
  ASSERT_EQ(waveInOpen(&in, 0, &format, 0, 0, 0), kNoError);
  Buffer first(16000), second(16000);  // a second each
  EXPECT_EQ(waveInAddBuffer(in, &first.header, sizeof(WAVEHDR)), kUnprepared);
  ASSERT_EQ(waveInPrepareHeader(in, &first.header, sizeof(WAVEHDR)), kNoError);
  ASSERT_EQ(waveInPrepareHeader(in, &second.header, sizeof(WAVEHDR)), kNoError);
  ASSERT_EQ(waveInAddBuffer(in, &first.header, sizeof(WAVEHDR)), kNoError);
  ASSERT_EQ(waveInAddBuffer(in, &second.header, sizeof(WAVEHDR)), kNoError);
  EXPECT_EQ(waveInAddBuffer(in, &first.header, sizeof(WAVEHDR)), kStillPlaying);
  EXPECT_EQ(waveInUnprepareHeader(in, &first.header, sizeof(WAVEHDR)), kStillPlaying);
  ASSERT_EQ(waveInStart(in), kNoError);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(waveInClose(in), kStillPlaying);

  const auto start = Clock::now();
  EXPECT_EQ(waveInReset(in), kNoError);
  EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count(), 500);
  // The first comes back with what was heard so far, the second empty.
  EXPECT_TRUE(first.header.dwFlags & kDone);
  EXPECT_GT(first.header.dwBytesRecorded, 0u);
  EXPECT_LT(first.header.dwBytesRecorded, 16000u);
  EXPECT_EQ(first.header.dwBytesRecorded % 2, 0u);
  EXPECT_TRUE(second.header.dwFlags & kDone);
  EXPECT_EQ(second.header.dwBytesRecorded, 0u);
  EXPECT_EQ(waveInClose(in), kNoError);
  EXPECT_EQ(waveInClose(in), kInvalidHandle);
}

LRESULT CALLBACK plainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }

TEST_F(Microphone, WindowCallbackGetsOpenAndEachFilledBuffer) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = plainProc;
  wc.lpszClassName = u"MicTestWindow";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, u"MicTestWindow", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  HWAVEIN in = nullptr;
  const auto format = pcm(16000, 1, 16);
  ASSERT_EQ(waveInOpen(&in, 0, &format, reinterpret_cast<DWORD_PTR>(window), 0, kCallbackWindow), kNoError);
  Buffer buffer(3200);
  ASSERT_EQ(waveInPrepareHeader(in, &buffer.header, sizeof(WAVEHDR)), kNoError);
  ASSERT_EQ(waveInAddBuffer(in, &buffer.header, sizeof(WAVEHDR)), kNoError);
  ASSERT_EQ(waveInStart(in), kNoError);
  std::vector<UINT> seen;
  MSG msg;
  while (seen.size() < 2 && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == kWimOpen || msg.message == kWimData) {
      EXPECT_EQ(msg.hwnd, window);
      EXPECT_EQ(msg.wParam, reinterpret_cast<WPARAM>(in));
      if (msg.message == kWimData) EXPECT_EQ(msg.lParam, reinterpret_cast<LPARAM>(&buffer.header));
      seen.push_back(msg.message);
    }
  }
  EXPECT_EQ(seen, (std::vector<UINT>{kWimOpen, kWimData}));
  EXPECT_EQ(buffer.header.dwBytesRecorded, 3200u);
  EXPECT_EQ(waveInClose(in), kNoError);
  DestroyWindow(window);
}

TEST_F(Microphone, OpenChecksDeviceAndFormat) {
  HWAVEIN in = nullptr;
  auto good = pcm(8000, 1, 16);
  EXPECT_EQ(waveInOpen(&in, 1, &good, 0, 0, 0), kBadDeviceId);
  auto stereo24 = pcm(8000, 2, 24);
  EXPECT_EQ(waveInOpen(&in, 0, &stereo24, 0, 0, 0), kBadFormat);
  auto lying = good;
  lying.nBlockAlign = 4;
  EXPECT_EQ(waveInOpen(&in, 0, &lying, 0, 0, 0), kBadFormat);
  EXPECT_EQ(waveInOpen(nullptr, 0xFFFFFFFFu, &good, 0, 0, 0x0001), kNoError);  // the mapper, a query
  EXPECT_EQ(waveInStart(reinterpret_cast<HWAVEIN>(&good)), kInvalidHandle);
}

}  // namespace
}  // namespace handheld::testing
