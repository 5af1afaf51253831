// Sound: the speaker (plays of WAV images, stopping, the log of what was played) and the
// microphone (reads paced in real time, and the source automation chooses for it).
#pragma once

#include <cstdint>
#include <string>

#include "ipc/protocol/ops.h"

namespace handheld::ipc {

// What a play asks for, beside its bytes.
enum SoundPlayFlags : uint32_t {
  kSoundWait = 1,       // answer when the sound has ended or was stopped
  kSoundLoop = 2,       // start again at the end until stopped
  kSoundNoStop = 4,     // refuse while this client's sound plays
  kSoundNoDefault = 8,  // nothing instead of the device's own sound when the data is unusable
};

struct SoundPlay {
  static constexpr Op op = Op::SoundPlay;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t flags = 0;        // SoundPlayFlags
    std::u16string source;     // a device path, or empty for bytes from memory (for the log)
    Bytes wave;                // the RIFF WAVE image
    uint32_t readError = 0;    // why the file could not be read (then `wave` is empty)
    HANDHELD_FIELDS(flags, source, wave, readError)
  };
  struct Reply {
    // ERROR_BUSY for kSoundNoStop while a sound plays; ERROR_BAD_FORMAT or the read error
    // when nothing was played.
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

// Stops this client's sound; a waiting play is answered first.
struct SoundStop {
  static constexpr Op op = Op::SoundStop;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    HANDHELD_NO_FIELDS
  };
  struct Reply {
    bool stopped = false;  // a sound was playing
    HANDHELD_FIELDS(stopped)
  };
};

// The speaker log: one line per play, oldest first, the plays still sounding last.
struct SpeakerLogGet {
  static constexpr Op op = Op::SpeakerLogGet;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    HANDHELD_NO_FIELDS
  };
  struct Reply {
    std::string lines;
    HANDHELD_FIELDS(lines)
  };
};

enum class MicSourceKind : uint8_t { Silence = 0, Tone = 1, Wave = 2 };

// What the microphone hears when no desktop capture device serves it.
struct MicChoose {
  static constexpr Op op = Op::MicChoose;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    MicSourceKind kind = MicSourceKind::Silence;
    uint32_t toneHz = 0;
    Bytes wave;          // a sound file's bytes for Wave (any format the decoder reads)
    std::string name;    // the file's name, for the log
    HANDHELD_FIELDS(kind, toneHz, wave, name)
  };
  struct Reply {
    uint32_t error = 0;  // ERROR_INVALID_PARAMETER or ERROR_BAD_FORMAT, with `reason`
    std::string reason;
    HANDHELD_FIELDS(error, reason)
  };
};

// `bytes` of PCM in the given format, answered once they have been heard (real time).
struct MicRead {
  static constexpr Op op = Op::MicRead;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t stream = 0;  // the client's number for this read, for MicCancel
    uint32_t rate = 0;
    uint16_t channels = 0;
    uint16_t bits = 0;
    uint32_t bytes = 0;
    HANDHELD_FIELDS(stream, rate, channels, bits, bytes)
  };
  struct Reply {
    uint32_t error = 0;  // ERROR_INVALID_PARAMETER for a format the microphone cannot give
    Bytes data;          // whole frames; shorter when cut off by MicCancel
    HANDHELD_FIELDS(error, data)
  };
};

// Ends this client's read `stream` early with what was heard so far; one that has not come
// yet is answered at once, empty, when it comes.
struct MicCancel {
  static constexpr Op op = Op::MicCancel;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t stream = 0;
    HANDHELD_FIELDS(stream)
  };
  struct Reply {
    HANDHELD_NO_FIELDS
  };
};

}  // namespace handheld::ipc
