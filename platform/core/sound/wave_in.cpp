// The wave-audio input: one device, the device's microphone. Each open recording has a
// thread that fills the queued buffers in turn; every buffer is one read the device answers
// once its samples have been heard, so the thread sleeps in real time and never polls.
#include <mmsystem.h>
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <set>
#include <thread>

#include "ipc/client.h"

namespace {

using handheld::ipc::DeviceClient;

class Recording {
 public:
  Recording(const WAVEFORMATEX& format, DWORD_PTR callback, DWORD_PTR instance, DWORD type)
      : format_(format), callback_(callback), instance_(instance), type_(type) {}

  HWAVEIN handle() { return reinterpret_cast<HWAVEIN>(this); }

  void begin() {
    worker_ = std::thread([this] { run(); });
    tell(MM_WIM_OPEN, nullptr);
  }

  MMRESULT add(WAVEHDR* header) {
    std::lock_guard lock(mutex_);
    header->dwFlags = (header->dwFlags & ~WHDR_DONE) | WHDR_INQUEUE;
    header->dwBytesRecorded = 0;
    queue_.push_back(header);
    changed_.notify_all();
    return MMSYSERR_NOERROR;
  }

  void start() {
    std::lock_guard lock(mutex_);
    started_ = true;
    changed_.notify_all();
  }

  // Stops taking samples: the buffer being filled comes back with what it has; the others
  // stay queued (`stop`) or come back empty (`reset`).
  void halt(bool returnAll) {
    std::unique_lock lock(mutex_);
    started_ = false;
    if (reading_) {
      lock.unlock();
      DeviceClient::get().call<handheld::ipc::MicCancel>({read_});
      lock.lock();
      changed_.wait(lock, [this] { return !reading_; });
    }
    std::deque<WAVEHDR*> returned;
    if (returnAll) returned.swap(queue_);
    lock.unlock();
    for (WAVEHDR* header : returned) {
      markDone(header);
      tell(MM_WIM_DATA, header);
    }
  }

  bool busy() {
    std::lock_guard lock(mutex_);
    return !queue_.empty();
  }

  void end() {
    {
      std::lock_guard lock(mutex_);
      closing_ = true;
      changed_.notify_all();
    }
    worker_.join();
    tell(MM_WIM_CLOSE, nullptr);
  }

 private:
  // Each read has a number of its own, so a cancel that overtakes its read still finds it.
  static inline std::atomic<uint32_t> lastRead{0};

  void run() {
    std::unique_lock lock(mutex_);
    for (;;) {
      changed_.wait(lock, [this] { return closing_ || (started_ && !queue_.empty()); });
      if (closing_) return;
      WAVEHDR* header = queue_.front();
      reading_ = true;
      read_ = ++lastRead;
      lock.unlock();
      auto reply = DeviceClient::get().call<handheld::ipc::MicRead>(
          {read_, format_.nSamplesPerSec, format_.nChannels, format_.wBitsPerSample, header->dwBufferLength});
      lock.lock();
      reading_ = false;
      if (reply && !reply->error) {
        const size_t n = std::min<size_t>(reply->data.size(), header->dwBufferLength);
        std::copy_n(reply->data.begin(), n, header->lpData);
        header->dwBytesRecorded = static_cast<DWORD>(n);
      }
      queue_.pop_front();
      // Done before a waiting stop or reset can return; the callback may come after.
      markDone(header);
      changed_.notify_all();
      lock.unlock();
      tell(MM_WIM_DATA, header);
      lock.lock();
    }
  }

  static void markDone(WAVEHDR* header) { header->dwFlags = (header->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE; }

  void tell(UINT message, WAVEHDR* header) {
    const auto param = reinterpret_cast<DWORD_PTR>(header);
    switch (type_) {
      case CALLBACK_WINDOW:
        PostMessageW(reinterpret_cast<HWND>(callback_), message, reinterpret_cast<WPARAM>(handle()),
                     static_cast<LPARAM>(param));
        break;
      case CALLBACK_THREAD:
        PostThreadMessageW(static_cast<DWORD>(callback_), message, reinterpret_cast<WPARAM>(handle()),
                           static_cast<LPARAM>(param));
        break;
      case CALLBACK_FUNCTION:
        reinterpret_cast<LPWAVEINPROC>(callback_)(handle(), message, instance_, param, 0);
        break;
      case CALLBACK_EVENT:
        SetEvent(reinterpret_cast<HANDLE>(callback_));
        break;
      default:
        break;
    }
  }

  const WAVEFORMATEX format_;
  const DWORD_PTR callback_;
  const DWORD_PTR instance_;
  const DWORD type_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<WAVEHDR*> queue_;
  bool started_ = false;
  bool reading_ = false;
  uint32_t read_ = 0;  // the read under way while reading_
  bool closing_ = false;
  std::thread worker_;
};

// The open recordings: a handle is used only while it is in here.
std::mutex openLock;
std::set<Recording*> openRecordings;

Recording* find(HWAVEIN device) {
  std::lock_guard lock(openLock);
  auto it = openRecordings.find(reinterpret_cast<Recording*>(device));
  return it == openRecordings.end() ? nullptr : *it;
}

bool recordable(const WAVEFORMATEX& f) {
  return f.wFormatTag == WAVE_FORMAT_PCM && (f.nChannels == 1 || f.nChannels == 2) &&
         (f.wBitsPerSample == 8 || f.wBitsPerSample == 16) && f.nSamplesPerSec >= 1000 &&
         f.nSamplesPerSec <= 192000 && f.nBlockAlign == f.nChannels * f.wBitsPerSample / 8;
}

bool headerUsable(const WAVEHDR* header, UINT size) {
  return header && size >= sizeof(WAVEHDR) && header->lpData && header->dwBufferLength;
}

}  // namespace

HANDHELD_API UINT WINAPI waveInGetNumDevs(void) { return 1; }

HANDHELD_API MMRESULT WINAPI waveInOpen(LPHWAVEIN device, UINT deviceId, LPCWAVEFORMATEX format, DWORD_PTR callback,
                                        DWORD_PTR instance, DWORD flags) {
  if (deviceId != 0 && deviceId != WAVE_MAPPER) return MMSYSERR_BADDEVICEID;
  if (!format) return MMSYSERR_INVALPARAM;
  if (!recordable(*format)) return WAVERR_BADFORMAT;
  if (flags & WAVE_FORMAT_QUERY) return MMSYSERR_NOERROR;
  const DWORD type = flags & CALLBACK_TYPEMASK;
  if (type != CALLBACK_NULL && type != CALLBACK_WINDOW && type != CALLBACK_THREAD && type != CALLBACK_FUNCTION &&
      type != CALLBACK_EVENT)
    return MMSYSERR_INVALFLAG;
  if (!device) return MMSYSERR_INVALPARAM;
  auto* recording = new Recording(*format, callback, instance, type);
  {
    std::lock_guard lock(openLock);
    openRecordings.insert(recording);
  }
  *device = recording->handle();
  recording->begin();
  return MMSYSERR_NOERROR;
}

HANDHELD_API MMRESULT WINAPI waveInClose(HWAVEIN device) {
  Recording* recording = find(device);
  if (!recording) return MMSYSERR_INVALHANDLE;
  if (recording->busy()) return WAVERR_STILLPLAYING;
  {
    std::lock_guard lock(openLock);
    openRecordings.erase(recording);
  }
  recording->end();
  delete recording;
  return MMSYSERR_NOERROR;
}

HANDHELD_API MMRESULT WINAPI waveInPrepareHeader(HWAVEIN device, LPWAVEHDR header, UINT size) {
  if (!find(device)) return MMSYSERR_INVALHANDLE;
  if (!headerUsable(header, size)) return MMSYSERR_INVALPARAM;
  header->dwFlags = (header->dwFlags & ~(WHDR_DONE | WHDR_INQUEUE)) | WHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

HANDHELD_API MMRESULT WINAPI waveInUnprepareHeader(HWAVEIN device, LPWAVEHDR header, UINT size) {
  if (!find(device)) return MMSYSERR_INVALHANDLE;
  if (!header || size < sizeof(WAVEHDR)) return MMSYSERR_INVALPARAM;
  if (header->dwFlags & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
  header->dwFlags &= ~WHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

HANDHELD_API MMRESULT WINAPI waveInAddBuffer(HWAVEIN device, LPWAVEHDR header, UINT size) {
  Recording* recording = find(device);
  if (!recording) return MMSYSERR_INVALHANDLE;
  if (!headerUsable(header, size)) return MMSYSERR_INVALPARAM;
  if (!(header->dwFlags & WHDR_PREPARED)) return WAVERR_UNPREPARED;
  if (header->dwFlags & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
  return recording->add(header);
}

HANDHELD_API MMRESULT WINAPI waveInStart(HWAVEIN device) {
  Recording* recording = find(device);
  if (!recording) return MMSYSERR_INVALHANDLE;
  recording->start();
  return MMSYSERR_NOERROR;
}

HANDHELD_API MMRESULT WINAPI waveInStop(HWAVEIN device) {
  Recording* recording = find(device);
  if (!recording) return MMSYSERR_INVALHANDLE;
  recording->halt(false);
  return MMSYSERR_NOERROR;
}

HANDHELD_API MMRESULT WINAPI waveInReset(HWAVEIN device) {
  Recording* recording = find(device);
  if (!recording) return MMSYSERR_INVALHANDLE;
  recording->halt(true);
  return MMSYSERR_NOERROR;
}
