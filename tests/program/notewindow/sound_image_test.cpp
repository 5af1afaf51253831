// Finding the recording in content bytes: the first image that is whole, never one whose
// header or declared size does not hold up.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "notewindow/sound_image.h"
#include "sound_images.h"

namespace handheld::testing {
namespace {

using Bytes = std::vector<BYTE>;

void append(Bytes& to, const Bytes& more) { to.insert(to.end(), more.begin(), more.end()); }

// Where the found image starts in `content` and how long it is; {-1, 0} for none.
std::pair<long, size_t> found(const Bytes& content) {
  const std::span<const BYTE> image = FindSoundImage(content);
  if (image.empty()) return {-1, 0};
  return {static_cast<long>(image.data() - content.data()), image.size()};
}

TEST(SoundImage, TwoRecordingsGiveTheFirstWhole) {
  Bytes content = {'I', 'N', 'K', 'X', 1, 0, 0, 0, 2, 0, 0, 0};
  const Bytes first = WaveImage(40);
  const Bytes second = WaveImage(10);
  append(content, first);
  append(content, second);
  EXPECT_EQ(found(content), std::make_pair(12L, first.size()));
  // An image that ends exactly at the end of the bytes fits.
  EXPECT_EQ(found(second), std::make_pair(0L, second.size()));
}

TEST(SoundImage, SignaturesThatDoNotHoldUpArePassedOver) {
  const Bytes wave = WaveImage(8);

  Bytes withoutWave = {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '};
  append(withoutWave, wave);
  EXPECT_EQ(found(withoutWave), std::make_pair(12L, wave.size()));

  // The declared size reaches one byte past the end: no image, and the next is found.
  Bytes lying = wave;
  lying[4] = static_cast<BYTE>(lying[4] + 1);
  EXPECT_EQ(found(lying), std::make_pair(-1L, size_t{0}));
  Bytes lyingThenWhole = lying;
  lyingThenWhole[5] = 0x10;  // 4 KiB more than there is, even with the next image
  append(lyingThenWhole, wave);
  EXPECT_EQ(found(lyingThenWhole), std::make_pair(static_cast<long>(lying.size()), wave.size()));

  // A size near 4 GiB must not wrap around to something that seems to fit.
  Bytes huge = {'R', 'I', 'F', 'F', 0xF8, 0xFF, 0xFF, 0xFF, 'W', 'A', 'V', 'E', 0, 0, 0, 0};
  EXPECT_EQ(found(huge), std::make_pair(-1L, size_t{0}));
  // A size too small to hold its own "WAVE".
  Bytes tiny = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
  EXPECT_EQ(found(tiny), std::make_pair(-1L, size_t{0}));

  // "RIFF" inside the bytes of another "RIFF" that fails is still looked at.
  Bytes overlapping = {'R', 'I', 'F', 'F', 'R', 'I', 'F', 'F'};
  append(overlapping, wave);
  EXPECT_EQ(found(overlapping), std::make_pair(8L, wave.size()));
}

TEST(SoundImage, NothingInBytesTooShortOrEmpty) {
  EXPECT_EQ(found({}), std::make_pair(-1L, size_t{0}));
  EXPECT_EQ(found({'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V'}), std::make_pair(-1L, size_t{0}));
  EXPECT_EQ(found({'R', 'I', 'F'}), std::make_pair(-1L, size_t{0}));
}

}  // namespace
}  // namespace handheld::testing
