// The byte layout of a note file ("Pinnote<n>.stk"). Every field is little-endian and the
// fields follow each other without padding; there is no magic number, version or checksum.
//
//   offset  size  field
//        0    16  expiry time: year, month, day of week, day, hour, minute, second,
//                 milliseconds, each an unsigned 16-bit number (hour 25: never expires)
//       16   510  title: 255 UTF-16 units, NUL-terminated within the field
//      526     1  expired flag: 0 or 1
//      527     4  zoom in percent, signed
//      531     4  content length N, unsigned
//      535     N  content: the ink control's stream, opaque here
//
// The store and the Today item read only the header, the first 527 bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace NoteFileLayout {

inline constexpr std::size_t kExpiryTimeOffset = 0;
inline constexpr std::size_t kExpiryTimeFields = 8;
inline constexpr std::size_t kExpiryTimeSize = kExpiryTimeFields * 2;
inline constexpr std::size_t kExpiryHourField = 4;  // index of the hour among the eight fields
inline constexpr std::size_t kTitleOffset = 16;
inline constexpr std::size_t kTitleUnits = 255;  // at most 254 characters and the terminator
inline constexpr std::size_t kTitleSize = kTitleUnits * 2;
inline constexpr std::size_t kExpiredFlagOffset = 526;
inline constexpr std::size_t kZoomOffset = 527;
inline constexpr std::size_t kContentLengthOffset = 531;
inline constexpr std::size_t kContentOffset = 535;

inline constexpr std::size_t kHeaderSize = kZoomOffset;       // what a list reader needs
inline constexpr std::size_t kFixedPartSize = kContentOffset;  // a note without content

// The expiry hour of a note that never expires; its other time fields mean nothing.
inline constexpr std::uint16_t kNeverExpiresHour = 25;

// Note files are "<notes folder>\Pinnote<n><extension>" with n from 0 to kMaxNoteFiles - 1.
inline constexpr char16_t kFileNamePrefix[] = u"Pinnote";
inline constexpr char16_t kFileExtension[] = u".stk";
inline constexpr int kMaxNoteFiles = 1000;

static_assert(kTitleOffset == kExpiryTimeOffset + kExpiryTimeSize);
static_assert(kExpiredFlagOffset == kTitleOffset + kTitleSize);
static_assert(kZoomOffset == kExpiredFlagOffset + 1);
static_assert(kContentLengthOffset == kZoomOffset + 4);
static_assert(kContentOffset == kContentLengthOffset + 4);

}  // namespace NoteFileLayout
