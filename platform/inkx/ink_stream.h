// The control's content as one versioned byte stream (docs/ink.md): written whole, read
// defensively. An empty page is no bytes at all.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "ink_document.h"

namespace handheld::inkx {

inline constexpr uint16_t kStreamVersion = 1;

std::vector<uint8_t> writeStream(const InkDocument& document);

enum class ReadStatus { ok, damaged, unknownVersion };

struct ReadResult {
  InkDocument document;  // whatever was sound
  ReadStatus status = ReadStatus::ok;
};

// Never reads past `bytes` and never allocates more than the bytes can hold.
ReadResult readStream(std::span<const uint8_t> bytes);

}  // namespace handheld::inkx
