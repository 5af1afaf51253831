// The microphone's sources converted to the format a recording asks for: a file heard once
// from its start, channels mixed or copied, the tone's level, and reads that follow on.
#include <gtest/gtest.h>

#include <cstdlib>

#include "sound/microphone.h"

namespace handheld::testing {
namespace {

using device::DecodedSound;
using device::Microphone;
using device::WaveFormat;

int16_t sample16(const std::vector<uint8_t>& bytes, size_t index) {
  return static_cast<int16_t>(bytes[2 * index] | (bytes[2 * index + 1] << 8));
}

TEST(MicrophoneSources, AFileIsHeardOnceFromItsStartAcrossReadsThenSilence) {
  Microphone mic;
  mic.chooseSound(DecodedSound{1000, 1, std::vector<float>(100, 0.5f)});  // 0.1 s
  const WaveFormat format{8000, 1, 16};
  auto first = mic.hear(format, 400);   // 0.05 s
  auto second = mic.hear(format, 600);  // the next 0.075 s
  ASSERT_EQ(first.size(), 800u);
  ASSERT_EQ(second.size(), 1200u);
  for (size_t i = 0; i < 400; ++i) ASSERT_EQ(sample16(first, i), 16384) << i;
  for (size_t i = 0; i < 400; ++i) ASSERT_EQ(sample16(second, i), 16384) << i;
  for (size_t i = 400; i < 600; ++i) ASSERT_EQ(sample16(second, i), 0) << i;
}

TEST(MicrophoneSources, StereoIsMixedForMonoAndMonoFeedsBothChannels) {
  Microphone mic;
  mic.chooseSound(DecodedSound{8000, 2, {0.5f, -0.25f, 0.5f, -0.25f}});
  auto mono = mic.hear({8000, 1, 16}, 2);
  EXPECT_EQ(sample16(mono, 0), 4096);  // (0.5 - 0.25) / 2

  mic.chooseSound(DecodedSound{8000, 1, {0.25f, 0.25f}});
  auto stereo = mic.hear({8000, 2, 8}, 2);
  ASSERT_EQ(stereo.size(), 4u);
  for (uint8_t v : stereo) EXPECT_EQ(v, 160);  // 128 + 0.25 * 127, rounded
}

TEST(MicrophoneSources, ToneIsHalfScaleAndSilenceIsTheMidpoint) {
  Microphone mic;
  EXPECT_EQ(mic.description(), "silence");
  for (uint8_t v : mic.hear({8000, 1, 8}, 50)) EXPECT_EQ(v, 128);
  mic.chooseTone(1000);
  EXPECT_EQ(mic.description(), "tone 1000 Hz");
  auto tone = mic.hear({8000, 1, 16}, 8);  // one period: 0, peak, 0, trough ...
  EXPECT_EQ(sample16(tone, 0), 0);
  EXPECT_EQ(sample16(tone, 2), 16384);
  EXPECT_EQ(sample16(tone, 6), -16384);
}

}  // namespace
}  // namespace handheld::testing
