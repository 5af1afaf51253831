#include "device_audio.h"

#include <mmsystem.h>
#include <windows.h>

#include <array>
#include <atomic>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

namespace handheld::inkx {
namespace {

// Mono 16-bit at a rate every player takes; a tenth of a second per buffer keeps the stop
// prompt and four of them keep the device busy while one is being copied out.
constexpr uint32_t kRate = 22050;
constexpr DWORD kBufferBytes = kRate / 10 * 2;
constexpr size_t kBuffers = 4;

class WaveInRecorder : public Recorder {
 public:
  ~WaveInRecorder() override { stop(); }

  bool start() override {
    if (device_) return false;
    WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, kRate, kRate * 2, 2, 16, 0};
    ready_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (!ready_) return false;
    if (waveInOpen(&device_, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(ready_), 0, CALLBACK_EVENT) !=
        MMSYSERR_NOERROR) {
      device_ = nullptr;
      release();
      return false;
    }
    samples_.clear();
    order_.clear();
    for (auto& buffer : buffers_) {
      buffer.header = WAVEHDR{};
      buffer.header.lpData = reinterpret_cast<LPSTR>(buffer.bytes.data());
      buffer.header.dwBufferLength = kBufferBytes;
      if (waveInPrepareHeader(device_, &buffer.header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR ||
          waveInAddBuffer(device_, &buffer.header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
        stop();
        return false;
      }
      order_.push_back(&buffer.header);
    }
    if (waveInStart(device_) != MMSYSERR_NOERROR) {
      stop();
      return false;
    }
    stopping_ = false;
    capture_ = std::thread([this] { capture(); });
    return true;
  }

  std::vector<int16_t> stop() override {
    if (!device_) return {};
    stopping_ = true;
    if (capture_.joinable()) {
      SetEvent(ready_);
      capture_.join();
    }
    // Stop hands back the buffer being filled with what it holds, reset the rest empty; in
    // the order they were queued they finish the recording.
    waveInStop(device_);
    waveInReset(device_);
    collect(false);
    for (auto& buffer : buffers_)
      if (buffer.header.dwFlags & WHDR_PREPARED) waveInUnprepareHeader(device_, &buffer.header, sizeof(WAVEHDR));
    waveInClose(device_);
    device_ = nullptr;
    release();
    return std::move(samples_);
  }

  uint32_t sampleRate() const override { return kRate; }

 private:
  struct Buffer {
    std::array<uint8_t, kBufferBytes> bytes{};
    WAVEHDR header{};
  };

  // Sleeps until the device returns a buffer, takes its samples and queues it again.
  void capture() {
    while (WaitForSingleObject(ready_, INFINITE) == WAIT_OBJECT_0 && !stopping_) collect(true);
  }

  // Buffers come back in the order they were queued; only the front one can be done next.
  void collect(bool requeue) {
    while (!order_.empty() && (order_.front()->dwFlags & WHDR_DONE)) {
      WAVEHDR* header = order_.front();
      order_.pop_front();
      const size_t count = std::min(header->dwBytesRecorded, header->dwBufferLength) / 2;
      if (count > 0) {  // an empty buffer (the recording stopped at once) adds nothing
        const size_t at = samples_.size();
        samples_.resize(at + count);
        std::memcpy(samples_.data() + at, header->lpData, count * 2);
      }
      if (requeue && waveInAddBuffer(device_, header, sizeof(WAVEHDR)) == MMSYSERR_NOERROR)
        order_.push_back(header);
    }
  }

  void release() {
    if (ready_) CloseHandle(ready_);
    ready_ = nullptr;
  }

  HWAVEIN device_ = nullptr;
  HANDLE ready_ = nullptr;
  std::array<Buffer, kBuffers> buffers_;
  // Touched by the capture thread while it runs, by stop() only after it has ended.
  std::deque<WAVEHDR*> order_;
  std::vector<int16_t> samples_;
  std::atomic<bool> stopping_{false};
  std::thread capture_;
};

class SoundPlayer : public Player {
 public:
  // PlaySound copies a memory image before it returns (as far as its RIFF size says), so the
  // image need not outlive this call.
  void play(std::shared_ptr<const std::vector<uint8_t>> image) override {
    if (!image || image->empty()) return;
    playing_ = PlaySoundW(reinterpret_cast<LPCWSTR>(image->data()), nullptr, SND_MEMORY | SND_ASYNC | SND_NODEFAULT) != FALSE;
  }

  // The process has one sound: stopping when this player started none would cut off a sound
  // some other part of the program plays.
  void stop() override {
    if (playing_) PlaySoundW(nullptr, nullptr, 0);
    playing_ = false;
  }

 private:
  bool playing_ = false;
};

}  // namespace

Audio makeDeviceAudio() { return Audio{std::make_unique<WaveInRecorder>(), std::make_unique<SoundPlayer>()}; }

}  // namespace handheld::inkx
