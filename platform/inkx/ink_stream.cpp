#include "ink_stream.h"

#include "byte_io.h"
#include "wave_image.h"

namespace handheld::inkx {
namespace {

constexpr char kMagic[5] = "INKX";
enum ItemKind : uint16_t { kRecording = 1, kStroke = 2, kText = 3 };
// Fixed parts of each payload, before its variable data.
constexpr uint32_t kRecordingFixed = 8, kStrokeFixed = 12, kTextFixed = 12;
constexpr int32_t kMaxRecordingX = kPageWidth * kSubUnits, kMaxRecordingY = 100000 * kSubUnits;

// An icon's corner must lie on the page. Within these bounds the high bytes of both words
// are zero, so no four bytes of an item's header can spell "RIFF" ahead of its image.
bool onPage(InkPoint at) {
  return at.x >= 0 && at.x <= kMaxRecordingX && at.y >= 0 && at.y <= kMaxRecordingY;
}

void beginItem(ByteWriter& out, ItemKind kind, size_t& lengthAt) {
  out.u16(kind);
  out.u16(0);
  lengthAt = out.size();
  out.u32(0);
}
void endItem(ByteWriter& out, size_t lengthAt) {
  out.patch32(lengthAt, static_cast<uint32_t>(out.size() - lengthAt - 4));
}

bool readRecording(ByteReader in, InkDocument& document) {
  Recording recording;
  std::span<const uint8_t> image;
  if (!in.i32(recording.at.x) || !in.i32(recording.at.y) || !in.bytes(in.left(), image)) return false;
  if (!onPage(recording.at) || !checkWaveImage(image)) return false;
  recording.image = std::make_shared<const std::vector<uint8_t>>(image.begin(), image.end());
  document.recordings.push_back(std::move(recording));
  return true;
}

bool readStroke(ByteReader in, InkDocument& document) {
  Stroke stroke;
  uint16_t reserved;
  uint32_t count;
  if (!in.u32(stroke.color) || !in.u16(stroke.width) || !in.u16(reserved) || !in.u32(count)) return false;
  // The count must describe exactly the bytes that follow; checked before anything is allocated.
  if (count == 0 || in.left() / 8 != count || in.left() % 8 != 0) return false;
  stroke.points.resize(count);
  for (auto& p : stroke.points) {  // the count was checked against what is left
    in.i32(p.x);
    in.i32(p.y);
  }
  document.strokes.push_back(std::move(stroke));
  return true;
}

bool readText(ByteReader in, InkDocument& document) {
  InkText text;
  uint32_t count;
  if (!in.u32(text.height) || !in.u32(text.color) || !in.u32(count)) return false;
  if (count == 0 || in.left() / 2 != count || in.left() % 2 != 0) return false;
  text.chars.resize(count);
  for (auto& c : text.chars) {
    uint16_t unit = 0;
    in.u16(unit);
    c = static_cast<char16_t>(unit);
  }
  // Text arrives once per page; a second item continues the first.
  text.chars.insert(0, document.text.chars);
  document.text = std::move(text);
  return true;
}

}  // namespace

std::vector<uint8_t> writeStream(const InkDocument& document) {
  if (document.empty()) return {};
  ByteWriter out;
  out.bytes({reinterpret_cast<const uint8_t*>(kMagic), 4});
  out.u16(kStreamVersion);
  out.u16(0);
  out.u32(static_cast<uint32_t>(document.recordings.size() + document.strokes.size() +
                                (document.text.chars.empty() ? 0 : 1)));
  size_t lengthAt;
  // Recordings come first, in order, so that the first RIFF image in the bytes is the first
  // recording: nothing before it can hold those four letters.
  for (const auto& recording : document.recordings) {
    beginItem(out, kRecording, lengthAt);
    out.i32(recording.at.x);
    out.i32(recording.at.y);
    out.bytes(*recording.image);
    endItem(out, lengthAt);
  }
  for (const auto& stroke : document.strokes) {
    beginItem(out, kStroke, lengthAt);
    out.u32(stroke.color);
    out.u16(stroke.width);
    out.u16(0);
    out.u32(static_cast<uint32_t>(stroke.points.size()));
    for (const auto& p : stroke.points) {
      out.i32(p.x);
      out.i32(p.y);
    }
    endItem(out, lengthAt);
  }
  if (!document.text.chars.empty()) {
    beginItem(out, kText, lengthAt);
    out.u32(document.text.height);
    out.u32(document.text.color);
    out.u32(static_cast<uint32_t>(document.text.chars.size()));
    for (char16_t c : document.text.chars) out.u16(c);
    endItem(out, lengthAt);
  }
  return out.take();
}

ReadResult readStream(std::span<const uint8_t> bytes) {
  ReadResult result;
  if (bytes.empty()) return result;
  ByteReader in(bytes);
  uint16_t version, flags;
  uint32_t count;
  if (!in.tag(kMagic) || !in.u16(version) || !in.u16(flags) || !in.u32(count)) {
    result.status = ReadStatus::damaged;
    return result;
  }
  if (version > kStreamVersion) {
    result.status = ReadStatus::unknownVersion;
    return result;
  }
  bool damaged = false;
  uint32_t seen = 0;
  while (in.left() > 0) {
    uint16_t kind, itemFlags;
    uint32_t length;
    std::span<const uint8_t> payload;
    if (!in.u16(kind) || !in.u16(itemFlags) || !in.u32(length) || !in.bytes(length, payload)) {
      damaged = true;  // cut off inside an item: what came before stands
      break;
    }
    ++seen;
    ByteReader item(payload);
    switch (kind) {
      case kRecording: damaged |= payload.size() < kRecordingFixed || !readRecording(item, result.document); break;
      case kStroke: damaged |= payload.size() < kStrokeFixed || !readStroke(item, result.document); break;
      case kText: damaged |= payload.size() < kTextFixed || !readText(item, result.document); break;
      default: break;  // a kind of a later minor revision: skipped whole
    }
  }
  if (damaged || seen != count) result.status = ReadStatus::damaged;
  return result;
}

}  // namespace handheld::inkx
