// The clipboard: one for the device, kept by the server.
#pragma once

#include <cstdint>
#include <vector>

#include "ipc/protocol/ops.h"

namespace handheld::ipc {

// A thread of a process opens it (threadId: the host thread id) and only that thread may
// change or read it until it closes or its process ends. Data is what the program put there,
// byte for byte; formats are 1-0xFFFF. Refusals: ERROR_ACCESS_DENIED (open elsewhere),
// ERROR_CLIPBOARD_NOT_OPEN, ERROR_INVALID_PARAMETER, ERROR_NOT_ENOUGH_QUOTA (limits below),
// ERROR_NOT_FOUND (no such format).

// Another process's data is bounded: one format holds text or a private record, not files,
// and the server keeps every format in memory until the clipboard is emptied.
inline constexpr size_t kMaxClipboardFormatBytes = 1 << 20;
inline constexpr size_t kMaxClipboardBytes = 4 << 20;
inline constexpr size_t kMaxClipboardFormats = 64;

// window: the caller's window to become the owner at the next ClipboardEmpty, or 0.
struct ClipboardOpen {
  static constexpr Op op = Op::ClipboardOpen;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t threadId = 0;
    uint32_t window = 0;
    HANDHELD_FIELDS(threadId, window)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

struct ClipboardClose {
  static constexpr Op op = Op::ClipboardClose;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t threadId = 0;
    HANDHELD_FIELDS(threadId)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

// Drops every format; the opener's window becomes the owner.
struct ClipboardEmpty {
  static constexpr Op op = Op::ClipboardEmpty;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t threadId = 0;
    HANDHELD_FIELDS(threadId)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

// Sets one format's data, replacing what it held.
struct ClipboardPut {
  static constexpr Op op = Op::ClipboardPut;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t threadId = 0;
    uint32_t format = 0;
    Bytes data;
    HANDHELD_FIELDS(threadId, format, data)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

struct ClipboardTake {
  static constexpr Op op = Op::ClipboardTake;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t threadId = 0;
    uint32_t format = 0;
    HANDHELD_FIELDS(threadId, format)
  };
  struct Reply {
    uint32_t error = 0;
    Bytes data;
    HANDHELD_FIELDS(error, data)
  };
};

// What anyone may ask without opening it: the formats in the order they were set, the owner
// window (0 when there is none or its process ended), and whether threadId of the asking
// process has it open.
struct ClipboardState {
  static constexpr Op op = Op::ClipboardState;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t threadId = 0;
    HANDHELD_FIELDS(threadId)
  };
  struct Reply {
    std::vector<uint32_t> formats;
    uint32_t owner = 0;
    bool openByCaller = false;
    HANDHELD_FIELDS(formats, owner, openByCaller)
  };
};

}  // namespace handheld::ipc
