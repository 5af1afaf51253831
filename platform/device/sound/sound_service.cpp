#include "sound/sound_service.h"

#include <cmath>
#include <cstdio>
#include <numbers>

#include "sound/sound_file.h"
#include "strings/utf.h"
#include "winerror.h"

namespace handheld::device {

namespace {

using Clock = EventLoop::Clock;

// The device's own sound, for a play whose data cannot be used: 0.2 s of 880 Hz.
constexpr WaveFormat kDefaultFormat{22050, 1, 16};
constexpr uint32_t kDefaultFrames = 4410;
constexpr double kDefaultHz = 880;

// Tones people hear; a higher one would only alias at the rates recorded.
constexpr uint32_t kHighestTone = 20000;

// A client has at most a few reads under way; older early cancels are long stale.
constexpr size_t kEarlyCancels = 64;

// A read waits at most this long: a client asking for an hour gets ten seconds' worth.
constexpr uint64_t kMostMicSeconds = 10;

void put32(ipc::Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void put16(ipc::Bytes& b, uint16_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}

ipc::Bytes defaultSoundImage() {
  const uint32_t dataBytes = kDefaultFrames * kDefaultFormat.frameBytes();
  ipc::Bytes b;
  b.insert(b.end(), {'R', 'I', 'F', 'F'});
  put32(b, 36 + dataBytes);
  b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  put32(b, 16);
  put16(b, 1);
  put16(b, kDefaultFormat.channels);
  put32(b, kDefaultFormat.rate);
  put32(b, kDefaultFormat.rate * kDefaultFormat.frameBytes());
  put16(b, static_cast<uint16_t>(kDefaultFormat.frameBytes()));
  put16(b, kDefaultFormat.bits);
  b.insert(b.end(), {'d', 'a', 't', 'a'});
  put32(b, dataBytes);
  for (uint32_t i = 0; i < kDefaultFrames; ++i) {
    // A short fade at both ends keeps it from clicking.
    const double fade = std::min({1.0, i / 200.0, (kDefaultFrames - i) / 200.0});
    const double v = 0.4 * fade * std::sin(2 * std::numbers::pi * kDefaultHz * i / kDefaultFormat.rate);
    put16(b, static_cast<uint16_t>(static_cast<int16_t>(std::lround(v * 32767))));
  }
  return b;
}

std::string seconds(int64_t us) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld.%03lld", static_cast<long long>(us / 1000000),
                static_cast<long long>(us % 1000000 / 1000));
  return text;
}

std::string inQuotes(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

SoundService::SoundService(Server& server)
    : server_(server),
      speaker_(std::make_unique<HeadlessSpeaker>()),
      started_(Clock::now()),
      defaultSound_(std::make_shared<const ipc::Bytes>(defaultSoundImage())) {
  server_.onAsyncRequest<ipc::SoundPlay>(
      [this](Connection& c, ipc::SoundPlay::Request& r, Responder<ipc::SoundPlay> responder) {
        play(c, r, std::move(responder));
      });
  server_.onRequest<ipc::SoundStop>([this](Connection& c, ipc::SoundStop::Request&) {
    return ipc::SoundStop::Reply{finish(c.id(), "stopped")};
  });
  server_.onRequest<ipc::SpeakerLogGet>(
      [this](Connection&, ipc::SpeakerLogGet::Request&) { return ipc::SpeakerLogGet::Reply{speakerLog()}; });
  server_.onRequest<ipc::MicChoose>([this](Connection&, ipc::MicChoose::Request& r) { return chooseMic(r); });
  server_.onAsyncRequest<ipc::MicRead>(
      [this](Connection& c, ipc::MicRead::Request& r, Responder<ipc::MicRead> responder) {
        readMic(c, r, std::move(responder));
      });
  server_.onRequest<ipc::MicCancel>([this](Connection& c, ipc::MicCancel::Request& r) {
    std::vector<uint64_t> mine;
    for (auto& [id, read] : micReads_)
      if (read.connection == c.id() && read.stream == r.stream) mine.push_back(id);
    if (mine.empty()) {
      cancelledEarly_.emplace_back(c.id(), r.stream);
      if (cancelledEarly_.size() > kEarlyCancels) cancelledEarly_.pop_front();
    }
    for (uint64_t id : mine) {
      auto& read = micReads_.at(id);
      const auto heard = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - read.start).count();
      answerMic(id, std::min<uint64_t>(read.frames, static_cast<uint64_t>(heard) * read.format.rate / 1000000));
    }
    return ipc::MicCancel::Reply{};
  });
  server_.onDisconnect([this](Connection& c) {
    finish(c.id(), "process gone");
    std::erase_if(cancelledEarly_, [&](auto& entry) { return entry.first == c.id(); });
    std::erase_if(micReads_, [&](auto& entry) {
      if (entry.second.connection != c.id()) return false;
      server_.loop().cancelTimer(entry.second.timer);
      return true;
    });
  });
}

SoundService::~SoundService() {
  for (auto& [connection, play] : playing_) server_.loop().cancelTimer(play.timer);
  for (auto& [id, read] : micReads_) server_.loop().cancelTimer(read.timer);
}

void SoundService::useDesktopAudio() {
  if (auto desktop = openDesktopSpeaker(server_.log())) speaker_ = std::move(desktop);
  capture_ = openDesktopCapture(server_.log());
  if (capture_) microphone_.chooseCapture(*capture_);
}

int64_t SoundService::nowUs() const {
  return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - started_).count();
}

void SoundService::record(const std::string& line) {
  server_.log().write("speaker: " + line);
  lines_.push_back(line);
  if (lines_.size() > kLogLines) lines_.pop_front();
}

std::string SoundService::speakerLog() const {
  std::string text;
  for (auto& line : lines_) text += line + "\n";
  for (auto& [connection, play] : playing_)
    text += "pid=" + std::to_string(play.pid) + " source=" + inQuotes(play.source) +
            " format=" + describeFormat(play.wave.format) +
            " length=" + seconds(play.wave.format.microseconds(play.wave.frames())) +
            " start=" + seconds(play.startUs) + " end=- result=playing\n";
  return text;
}

void SoundService::play(Connection& c, ipc::SoundPlay::Request& request, Responder<ipc::SoundPlay> responder) {
  const uint64_t id = c.id();
  const bool wait = request.flags & ipc::kSoundWait;
  if ((request.flags & ipc::kSoundNoStop) && playing_.contains(id)) {
    responder.send({ERROR_BUSY});
    return;
  }
  Play next;
  next.pid = c.pid;
  next.loop = (request.flags & ipc::kSoundLoop) && !wait;
  next.source = request.source.empty() ? "memory(" + std::to_string(request.wave.size()) + " bytes)"
                                       : strings::toUtf8(request.source);
  next.image = std::make_shared<const ipc::Bytes>(std::move(request.wave));

  WaveParse parsed;
  if (request.readError) {
    parsed.refusal = "cannot be read (error " + std::to_string(request.readError) + ")";
  } else {
    parsed = parseWave(*next.image);
  }
  for (auto& note : parsed.notes) record("pid=" + std::to_string(c.pid) + " source=" + inQuotes(next.source) + " note: " + note);
  if (!parsed.ok) {
    const bool fallBack = !(request.flags & ipc::kSoundNoDefault);
    record("pid=" + std::to_string(c.pid) + " source=" + inQuotes(next.source) + " refused: " + parsed.refusal +
           (fallBack ? "; the default sound instead" : ""));
    if (!fallBack) {
      responder.send({request.readError ? request.readError : static_cast<uint32_t>(ERROR_BAD_FORMAT)});
      return;
    }
    next.source = "default";
    next.image = defaultSound_;
    parsed = parseWave(*defaultSound_);
  }
  next.wave = parsed.wave;
  finish(id, "replaced");
  if (wait) {
    next.waiter = std::move(responder);
  } else {
    responder.send({0});
  }
  sound(id, std::move(next));
}

void SoundService::sound(uint64_t connection, Play play) {
  const auto& wave = play.wave;
  play.startUs = nowUs();
  play.voice = speaker_->start(wave.format, std::span(*play.image).subspan(wave.dataOffset, wave.dataBytes));
  const auto length = std::chrono::microseconds(wave.format.microseconds(wave.frames()));
  play.timer = server_.loop().addTimer(Clock::now() + length, [this, connection] {
    auto it = playing_.find(connection);
    if (it == playing_.end()) return;
    it->second.timer = 0;
    if (!it->second.loop) {
      finish(connection, "ended");
      return;
    }
    // A loop logs each pass and goes on with the same sound.
    Play again = it->second;
    again.waiter.reset();
    finish(connection, "ended");
    sound(connection, std::move(again));
  });
  playing_.insert_or_assign(connection, std::move(play));
}

bool SoundService::finish(uint64_t connection, const char* how) {
  auto it = playing_.find(connection);
  if (it == playing_.end()) return false;
  Play play = std::move(it->second);
  playing_.erase(it);
  if (play.timer) server_.loop().cancelTimer(play.timer);
  speaker_->stop(play.voice);
  record("pid=" + std::to_string(play.pid) + " source=" + inQuotes(play.source) +
         " format=" + describeFormat(play.wave.format) +
         " length=" + seconds(play.wave.format.microseconds(play.wave.frames())) + " start=" + seconds(play.startUs) +
         " end=" + seconds(nowUs()) + " result=" + how);
  if (play.waiter) play.waiter->send({0});
  return true;
}

ipc::MicChoose::Reply SoundService::chooseMic(ipc::MicChoose::Request& request) {
  switch (request.kind) {
    case ipc::MicSourceKind::Silence:
      microphone_.chooseSilence();
      break;
    case ipc::MicSourceKind::Tone:
      if (request.toneHz < 1 || request.toneHz > kHighestTone)
        return {ERROR_INVALID_PARAMETER, "a tone from 1 to 20000 Hz"};
      microphone_.chooseTone(request.toneHz);
      break;
    case ipc::MicSourceKind::Wave: {
      DecodedSound decoded;
      std::string error;
      if (!decodeSoundFile(request.wave, decoded, error)) return {ERROR_BAD_FORMAT, "not a sound file: " + error};
      microphone_.chooseSound(std::move(decoded));
      break;
    }
    default:
      return {ERROR_INVALID_PARAMETER, "no such microphone source"};
  }
  server_.log().write("microphone: hears " + microphone_.description() +
                      (request.name.empty() ? "" : " from " + inQuotes(request.name)));
  return {0, {}};
}

void SoundService::readMic(Connection& c, ipc::MicRead::Request& request, Responder<ipc::MicRead> responder) {
  const WaveFormat format{request.rate, request.channels, request.bits};
  if (!playable(format)) {
    responder.send({ERROR_INVALID_PARAMETER, {}});
    return;
  }
  if (std::erase(cancelledEarly_, std::pair{c.id(), request.stream})) {
    responder.send({0, {}});
    return;
  }
  const uint64_t frames = std::min<uint64_t>(request.bytes / format.frameBytes(), kMostMicSeconds * format.rate);
  const uint64_t id = nextMicRead_++;
  const auto start = Clock::now();
  const auto timer = server_.loop().addTimer(start + std::chrono::microseconds(format.microseconds(frames)),
                                             [this, id, frames] { answerMic(id, frames); });
  micReads_.emplace(id, MicReadPending{c.id(), request.stream, format, frames, start, timer, std::move(responder)});
}

void SoundService::answerMic(uint64_t id, uint64_t frames) {
  auto it = micReads_.find(id);
  if (it == micReads_.end()) return;
  MicReadPending read = std::move(it->second);
  micReads_.erase(it);
  server_.loop().cancelTimer(read.timer);
  read.responder.send({0, microphone_.hear(read.format, frames)});
}

}  // namespace handheld::device
