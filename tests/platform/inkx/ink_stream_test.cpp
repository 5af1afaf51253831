// The content stream and the recordings' WAVE images: exact bytes, round trips, and damaged
// or hostile input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "ink_stream.h"
#include "wave_image.h"

namespace handheld::inkx {
namespace {

std::vector<int16_t> tone(double hertz, size_t count, uint32_t rate = 8000) {
  std::vector<int16_t> samples(count);
  for (size_t i = 0; i < count; ++i)
    samples[i] = static_cast<int16_t>(std::lround(8000 * std::sin(2 * M_PI * hertz * static_cast<double>(i) / rate)));
  return samples;
}

Recording recording(double hertz, InkPoint at = {100, 200}) {
  return {at, std::make_shared<const std::vector<uint8_t>>(makeWaveImage(tone(hertz, 400), 8000))};
}

InkDocument fullDocument() {
  InkDocument document;
  document.recordings = {recording(440), recording(880, {300, 600})};
  document.strokes.push_back({0x0000FF, 32, {{16, 16}, {160, 48}, {320, 320}}});
  document.strokes.push_back({0, 48, {{-5, 7}}});
  document.text = {u"Two lines\rand \xD83D\xDE00 more", 16, 0x123456};
  return document;
}

size_t find(const std::vector<uint8_t>& bytes, const char* what) {
  const auto at = std::search(bytes.begin(), bytes.end(), what, what + std::strlen(what));
  return static_cast<size_t>(at - bytes.begin());
}

TEST(InkStream, EmptyPageIsNoBytesAndNoBytesIsAnEmptyPage) {
  EXPECT_TRUE(writeStream({}).empty());
  const auto read = readStream({});
  EXPECT_TRUE(read.document.empty());
  EXPECT_EQ(read.status, ReadStatus::ok);
}

TEST(InkStream, OneStrokeHasTheDocumentedBytes) {
  InkDocument document;
  document.strokes.push_back({0x00FF0000, 32, {{16, -1}}});
  const std::vector<uint8_t> expected = {
      'I', 'N', 'K', 'X', 1, 0, 0, 0, 1, 0, 0, 0,  // magic, version 1, flags, one item
      2, 0, 0, 0, 20, 0, 0, 0,                      // stroke, flags, 20 bytes
      0, 0, 0xFF, 0, 32, 0, 0, 0, 1, 0, 0, 0,       // colour, width, reserved, one point
      16, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};         // x 16, y -1
  EXPECT_EQ(writeStream(document), expected);
}

TEST(InkStream, RoundTripKeepsEveryByteAndEveryValue) {
  const InkDocument document = fullDocument();
  const auto bytes = writeStream(document);
  const auto read = readStream(bytes);
  EXPECT_EQ(read.status, ReadStatus::ok);
  EXPECT_EQ(read.document, document);
  EXPECT_EQ(writeStream(read.document), bytes);
}

TEST(InkStream, TheFirstRiffInTheBytesIsTheFirstRecording) {
  const auto bytes = writeStream(fullDocument());
  const size_t at = find(bytes, "RIFF");
  ASSERT_LT(at, bytes.size());
  // The image's own RIFF size says how far it reaches.
  const uint32_t size = bytes[at + 4] | bytes[at + 5] << 8 | bytes[at + 6] << 16 | static_cast<uint32_t>(bytes[at + 7]) << 24;
  std::span<const uint8_t> image(bytes.data() + at, size + 8);
  EXPECT_EQ(waveSamples(image), tone(440, 400));
}

TEST(InkStream, EveryTruncationLoadsWhatCameBeforeAndSaysItIsDamaged) {
  const auto bytes = writeStream(fullDocument());
  for (size_t n = 1; n < bytes.size(); ++n) {
    const auto read = readStream({bytes.data(), n});
    ASSERT_EQ(read.status, ReadStatus::damaged) << n;
    // Items come whole or not at all, in order.
    const auto& d = read.document;
    ASSERT_LE(d.recordings.size(), 2u);
    if (!d.strokes.empty()) ASSERT_EQ(d.recordings.size(), 2u) << n;
    for (size_t i = 0; i < d.strokes.size(); ++i) ASSERT_EQ(d.strokes[i], fullDocument().strokes[i]) << n;
    ASSERT_TRUE(d.text.chars.empty()) << n;
  }
}

// Writes a stream with one stroke item whose fields are given raw.
std::vector<uint8_t> strokeStream(uint32_t itemCount, uint32_t length, uint32_t pointCount, size_t pointBytes) {
  std::vector<uint8_t> bytes = {'I', 'N', 'K', 'X', 1, 0, 0, 0};
  auto u32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  u32(itemCount);
  bytes.insert(bytes.end(), {2, 0, 0, 0});
  u32(length);
  u32(0);
  bytes.insert(bytes.end(), {32, 0, 0, 0});
  u32(pointCount);
  bytes.insert(bytes.end(), pointBytes, 7);
  return bytes;
}

TEST(InkStream, LyingCountsAndSizesAreRefusedWithoutReadingOrAllocatingBeyondTheData) {
  // A sound stream as the baseline: 2 points in 28 bytes.
  EXPECT_EQ(readStream(strokeStream(1, 28, 2, 16)).status, ReadStatus::ok);
  // The point count claims four billion points in a 28-byte item.
  auto read = readStream(strokeStream(1, 28, 0xFFFFFFFF, 16));
  EXPECT_EQ(read.status, ReadStatus::damaged);
  EXPECT_TRUE(read.document.strokes.empty());
  // A point count that is one too many or too few.
  EXPECT_EQ(readStream(strokeStream(1, 28, 3, 16)).status, ReadStatus::damaged);
  EXPECT_EQ(readStream(strokeStream(1, 28, 1, 16)).status, ReadStatus::damaged);
  // An item length beyond the end of the bytes.
  EXPECT_EQ(readStream(strokeStream(1, 0xFFFFFFF0, 2, 16)).status, ReadStatus::damaged);
  // The header's item count disagrees with what is there: the item still loads.
  read = readStream(strokeStream(1000000, 28, 2, 16));
  EXPECT_EQ(read.status, ReadStatus::damaged);
  EXPECT_EQ(read.document.strokes.size(), 1u);
  // A stroke without points.
  EXPECT_EQ(readStream(strokeStream(1, 12, 0, 0)).status, ReadStatus::damaged);
}

TEST(InkStream, ADamagedItemIsSkippedAndTheRestLoads) {
  InkDocument document = fullDocument();
  auto bytes = writeStream(document);
  // Corrupt the first recording's RIFF size: that recording goes, everything else stays.
  const size_t riff = find(bytes, "RIFF");
  bytes[riff + 4] ^= 0x01;
  const auto read = readStream(bytes);
  EXPECT_EQ(read.status, ReadStatus::damaged);
  ASSERT_EQ(read.document.recordings.size(), 1u);
  EXPECT_EQ(read.document.recordings[0], document.recordings[1]);
  EXPECT_EQ(read.document.strokes, document.strokes);
  EXPECT_EQ(read.document.text, document.text);
}

TEST(InkStream, ARecordingOffThePageIsRefusedSoNoHeaderCanSpellRiff) {
  InkDocument document;
  document.recordings = {recording(440)};
  auto bytes = writeStream(document);
  // The icon's x as the four letters R, I, F, F: the image would no longer be the first RIFF.
  std::memcpy(bytes.data() + 20, "RIFF", 4);
  const auto read = readStream(bytes);
  EXPECT_EQ(read.status, ReadStatus::damaged);
  EXPECT_TRUE(read.document.recordings.empty());
  document.recordings[0].at = {-1, 0};
  EXPECT_TRUE(readStream(writeStream(document)).document.recordings.empty());
  document.recordings[0].at = {240 * 16, 100000 * 16};
  EXPECT_EQ(readStream(writeStream(document)).document.recordings.size(), 1u);
}

TEST(InkStream, LaterVersionsAreRefusedAndUnknownKindsSkipped) {
  auto bytes = strokeStream(1, 28, 2, 16);
  bytes[4] = 2;
  EXPECT_EQ(readStream(bytes).status, ReadStatus::unknownVersion);
  EXPECT_TRUE(readStream(bytes).document.empty());
  bytes = strokeStream(1, 28, 2, 16);
  bytes[12] = 9;  // a kind this reader does not know
  const auto read = readStream(bytes);
  EXPECT_EQ(read.status, ReadStatus::ok);
  EXPECT_TRUE(read.document.empty());
  EXPECT_EQ(readStream(std::vector<uint8_t>{'N', 'O', 'P', 'E', 1, 0, 0, 0, 0, 0, 0, 0}).status, ReadStatus::damaged);
}

TEST(WaveImage, MadeImagesArePcmWithTheirSamples) {
  const auto samples = tone(1000, 800, 16000);
  const auto image = makeWaveImage(samples, 16000);
  ASSERT_GE(image.size(), 44u);
  EXPECT_EQ(std::memcmp(image.data(), "RIFF", 4), 0);
  const auto format = checkWaveImage(image);
  ASSERT_TRUE(format);
  EXPECT_EQ(format->channels, 1);
  EXPECT_EQ(format->sampleRate, 16000u);
  EXPECT_EQ(format->bitsPerSample, 16);
  EXPECT_EQ(format->dataSize, 1600u);
  EXPECT_EQ(waveSamples(image), samples);
}

TEST(WaveImage, WrongSizesAndFormatsAreRefused) {
  const auto good = makeWaveImage(tone(500, 100), 8000);
  ASSERT_TRUE(checkWaveImage(good));
  auto longer = good;
  longer.push_back(0);  // the RIFF size no longer covers the image
  EXPECT_FALSE(checkWaveImage(longer));
  const size_t data = find(good, "data");
  auto beyond = good;
  beyond[data + 4] = 0xFF;  // the data chunk reaches past the end
  beyond[data + 5] = 0xFF;
  EXPECT_FALSE(checkWaveImage(beyond));
  const size_t fmt = find(good, "fmt ");
  auto compressed = good;
  compressed[fmt + 8] = 2;  // not PCM
  EXPECT_FALSE(checkWaveImage(compressed));
  for (size_t n = 0; n < good.size(); ++n) EXPECT_FALSE(checkWaveImage({good.data(), n})) << n;
}

}  // namespace
}  // namespace handheld::inkx
