// The WAV parser against images that tell the truth, lie about their sizes, carry odd chunks
// or stop short: what plays, how much of it, and what is refused.
#include <gtest/gtest.h>

#include "sound/wave_parser.h"
#include "wave_images.h"

namespace handheld::testing {
namespace {

using device::parseWave;

TEST(WaveParser, ReadsEachPcmShapeWithItsFramesAndDataOffset) {
  struct Case {
    uint32_t rate;
    uint16_t channels, bits;
    const char* described;
  } cases[] = {{8000, 1, 8, "pcm8/mono/8000"},       {11025, 2, 8, "pcm8/stereo/11025"},
               {22050, 1, 16, "pcm16/mono/22050"},   {44100, 2, 16, "pcm16/stereo/44100"},
               {48000, 2, 16, "pcm16/stereo/48000"}, {96000, 1, 16, "pcm16/mono/96000"},
               {1000, 1, 8, "pcm8/mono/1000"},       {192000, 2, 16, "pcm16/stereo/192000"},
               {12345, 1, 16, "pcm16/mono/12345"}};
  for (auto& c : cases) {
    SCOPED_TRACE(c.described);
    auto image = waveImage({.rate = c.rate, .channels = c.channels, .bits = c.bits, .frames = 100});
    auto parsed = parseWave(image);
    ASSERT_TRUE(parsed.ok) << parsed.refusal;
    EXPECT_EQ(parsed.wave.format.rate, c.rate);
    EXPECT_EQ(parsed.wave.frames(), 100u);
    EXPECT_EQ(parsed.wave.dataOffset, 44u);
    EXPECT_EQ(parsed.wave.dataBytes, 100u * c.channels * c.bits / 8);
    EXPECT_EQ(device::describeFormat(parsed.wave.format), c.described);
    EXPECT_TRUE(parsed.notes.empty());
  }
}

TEST(WaveParser, LastsAsLongAsItsFrames) {
  auto parsed = parseWave(waveImage({.rate = 22050, .frames = 11025}));
  ASSERT_TRUE(parsed.ok);
  EXPECT_EQ(parsed.wave.format.microseconds(parsed.wave.frames()), 500000);
}

TEST(WaveParser, RefusesWhatIsNoPlayablePcm) {
  struct Case {
    const char* what;
    std::vector<uint8_t> image;
  } cases[] = {
      {"empty", {}},
      {"short header", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V'}},
      {"not RIFF", [] { auto i = waveImage({.frames = 10}); i[0] = 'X'; return i; }()},
      {"not WAVE", [] { auto i = waveImage({.frames = 10}); i[8] = 'A'; return i; }()},
      {"compressed", waveImage({.tag = 2, .frames = 10})},
      {"float", waveImage({.bits = 32, .tag = 3, .frames = 10})},
      {"24-bit", waveImage({.bits = 24, .frames = 10})},
      {"4-bit", waveImage({.bits = 4, .frames = 10})},
      {"no channels", waveImage({.channels = 0, .frames = 10})},
      {"six channels", waveImage({.channels = 6, .frames = 10})},
      {"zero rate", waveImage({.rate = 0, .frames = 10})},
      {"999 Hz", waveImage({.rate = 999, .frames = 10})},
      {"192001 Hz", waveImage({.rate = 192001, .frames = 10})},
      {"no samples", waveImage({.frames = 0})},
      {"less than a frame", waveImage({.channels = 2, .frames = 1, .dataSize = 3})},
      {"format chunk cut", [] { auto i = waveImage({.frames = 10}); i.resize(30); return i; }()},
      {"no data chunk", [] { auto i = waveImage({.frames = 10}); i.resize(36); return i; }()},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto parsed = parseWave(c.image);
    EXPECT_FALSE(parsed.ok);
    EXPECT_FALSE(parsed.refusal.empty());
  }
}

TEST(WaveParser, PlaysAsFarAsTheBytesGoWhenSizesLie) {
  // The data chunk claims far more than there is, up to the largest size it can say.
  for (uint32_t claimed : {1000u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
    auto parsed = parseWave(waveImage({.frames = 50, .riffSize = claimed, .dataSize = claimed}));
    ASSERT_TRUE(parsed.ok) << parsed.refusal;
    EXPECT_EQ(parsed.wave.dataBytes, 100u);
    EXPECT_EQ(parsed.notes.size(), 2u);  // the RIFF size and the data size
  }
  // Truncated in the middle of a frame: the partial frame is left out.
  auto image = waveImage({.channels = 2, .frames = 50});
  image.resize(image.size() - 3);
  auto parsed = parseWave(image);
  ASSERT_TRUE(parsed.ok);
  EXPECT_EQ(parsed.wave.frames(), 49u);
  EXPECT_EQ(parsed.wave.dataBytes, 196u);
}

TEST(WaveParser, BelievesTheBytesOverASmallerRiffSize) {
  auto parsed = parseWave(waveImage({.frames = 50, .riffSize = 4}));
  ASSERT_TRUE(parsed.ok) << parsed.refusal;
  EXPECT_EQ(parsed.wave.frames(), 50u);
  EXPECT_EQ(parsed.notes.size(), 1u);
}

TEST(WaveParser, TakesBlockSizeFromTheFormatWhenTheHeaderLies) {
  auto parsed = parseWave(waveImage({.channels = 2, .frames = 10, .blockAlign = 1}));
  ASSERT_TRUE(parsed.ok);
  EXPECT_EQ(parsed.wave.format.frameBytes(), 4u);
  EXPECT_EQ(parsed.wave.frames(), 10u);
  EXPECT_EQ(parsed.notes.size(), 1u);
}

TEST(WaveParser, WalksOddChunksAndEitherOrderOfFormatAndData) {
  auto withChunks = parseWave(waveImage({.frames = 20, .chunksBeforeFormat = {"LIST", "fact", "junk"}}));
  ASSERT_TRUE(withChunks.ok) << withChunks.refusal;
  EXPECT_EQ(withChunks.wave.dataOffset, 44u + 3 * 12);  // each odd chunk padded to 12 bytes
  EXPECT_EQ(withChunks.wave.frames(), 20u);

  auto dataFirst = parseWave(waveImage({.frames = 20, .dataBeforeFormat = true}));
  ASSERT_TRUE(dataFirst.ok) << dataFirst.refusal;
  EXPECT_EQ(dataFirst.wave.dataOffset, 20u);
  EXPECT_EQ(dataFirst.wave.frames(), 20u);

  // A data chunk first that claims everything leaves no format to find.
  EXPECT_FALSE(parseWave(waveImage({.frames = 20, .dataSize = 0xFFFFFFF0u, .dataBeforeFormat = true})).ok);
}

TEST(WaveParser, StopsAtAChunkSizePastTheEnd) {
  auto image = waveImage({.frames = 10, .chunksBeforeFormat = {"junk"}});
  image[16] = 0xFF;  // the junk chunk's size byte: now it runs past the end
  image[17] = 0xFF;
  image[18] = 0xFF;
  image[19] = 0x7F;
  EXPECT_FALSE(parseWave(image).ok);
}

}  // namespace
}  // namespace handheld::testing
