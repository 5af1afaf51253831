// The device's sound: one sound at a time per client on the speaker, each timed here in real
// time whatever the speaker is, and logged when it ends (the speaker log and device.log); and
// the microphone, whose reads are answered once their samples have been heard.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "server.h"
#include "sound/microphone.h"
#include "sound/speaker.h"
#include "sound/wave_parser.h"

namespace handheld::device {

class SoundService {
 public:
  // Lines the speaker log keeps; older ones are still in device.log.
  static constexpr size_t kLogLines = 512;

  SoundService(Server& server);
  ~SoundService();
  SoundService(const SoundService&) = delete;
  SoundService& operator=(const SoundService&) = delete;

  // Plays on the host's audio output and hears the host's microphone from now on (when the
  // device has a desktop window); each falls back to silence, logged, when SDL has no device.
  void useDesktopAudio();
  const char* speakerName() const { return speaker_->name(); }

 private:
  struct Play {
    uint32_t pid = 0;
    std::string source;
    std::shared_ptr<const ipc::Bytes> image;
    ParsedWave wave;
    bool loop = false;
    int64_t startUs = 0;
    Speaker::Voice voice = 0;
    EventLoop::TimerId timer = 0;
    std::optional<Responder<ipc::SoundPlay>> waiter;
  };
  struct MicReadPending {
    uint64_t connection;
    uint32_t stream;
    WaveFormat format;
    uint64_t frames;
    EventLoop::Clock::time_point start;
    EventLoop::TimerId timer;
    Responder<ipc::MicRead> responder;
  };

  void play(Connection& c, ipc::SoundPlay::Request& request, Responder<ipc::SoundPlay> responder);
  void sound(uint64_t connection, Play play);
  // Ends the client's play and logs it with `how` ("ended", "stopped", ...); answers a waiter
  // unless the client has gone.
  bool finish(uint64_t connection, const char* how);
  void record(const std::string& line);
  int64_t nowUs() const;
  std::string speakerLog() const;

  ipc::MicChoose::Reply chooseMic(ipc::MicChoose::Request& request);
  void readMic(Connection& c, ipc::MicRead::Request& request, Responder<ipc::MicRead> responder);
  void answerMic(uint64_t id, uint64_t frames);

  Server& server_;
  std::unique_ptr<Speaker> speaker_;
  const EventLoop::Clock::time_point started_;
  std::unordered_map<uint64_t, Play> playing_;  // by connection
  std::deque<std::string> lines_;
  std::shared_ptr<const ipc::Bytes> defaultSound_;
  std::unique_ptr<DesktopCapture> capture_;  // before the microphone that reads it
  Microphone microphone_;
  std::unordered_map<uint64_t, MicReadPending> micReads_;  // by an id of their own
  uint64_t nextMicRead_ = 1;
  // Cancels that came before their read (connection, stream), the latest few.
  std::deque<std::pair<uint64_t, uint32_t>> cancelledEarly_;
};

}  // namespace handheld::device
