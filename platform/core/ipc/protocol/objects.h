// Named objects: the server keeps them while any process holds a reference.
#pragma once

#include <cstdint>
#include <string>

#include "ipc/protocol/ops.h"

namespace handheld::ipc {

struct OpenNamedEvent {
  static constexpr Op op = Op::OpenNamedEvent;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    std::u16string name;
    bool manualReset = false;
    bool initialState = false;
    HANDHELD_FIELDS(name, manualReset, initialState)
  };
  struct Reply {
    uint32_t error = 0;
    bool existed = false;
    bool manualReset = false;  // of the existing event when it existed
    uint64_t objectId = 0;
    Fd event;                  // eventfd shared by every holder
    HANDHELD_FIELDS(error, existed, manualReset, objectId, event)
  };
};

struct OpenNamedMapping {
  static constexpr Op op = Op::OpenNamedMapping;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    std::u16string name;  // empty: an unnamed mapping (still counted by the server)
    uint64_t size = 0;
    bool create = true;   // false: open an existing one only
    HANDHELD_FIELDS(name, size, create)
  };
  struct Reply {
    uint32_t error = 0;
    bool existed = false;
    uint64_t objectId = 0;
    uint64_t size = 0;
    Fd memory;
    HANDHELD_FIELDS(error, existed, objectId, size, memory)
  };
};

struct ReleaseObject {
  static constexpr Op op = Op::ReleaseObject;
  static constexpr Direction direction = Direction::Notice;
  uint64_t objectId = 0;
  HANDHELD_FIELDS(objectId)
};

// PulseEvent on a named event whose waits in the calling process did not settle the pulse:
// the server offers it to every other holder (manual reset) or to one after another until
// one releases a wait (auto reset), and replies when that is done.
struct PulseNamedEvent {
  static constexpr Op op = Op::PulseNamedEvent;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint64_t objectId = 0;
    HANDHELD_FIELDS(objectId)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};
// The server's offer to a holder: release every wait on the event there (all) or one; and
// the holder's answer.
struct EventPulseOffer {
  static constexpr Op op = Op::EventPulseOffer;
  static constexpr Direction direction = Direction::Push;
  uint64_t pulseId = 0;
  uint64_t objectId = 0;
  bool all = false;
  HANDHELD_FIELDS(pulseId, objectId, all)
};
struct EventPulseAnswer {
  static constexpr Op op = Op::EventPulseAnswer;
  static constexpr Direction direction = Direction::Notice;
  uint64_t pulseId = 0;
  bool released = false;
  HANDHELD_FIELDS(pulseId, released)
};

}  // namespace handheld::ipc
