#include "lyrics/wave_peaks.h"

#include <gtest/gtest.h>

#include <vector>

namespace velomar {
namespace {

// A stereo song at 1280 Hz, so that a block is 100 ms: block b's left
// channel holds b/8 and its right b/16 (their mean 3b/32), except one frame
// of block 7 where both leap to 1, a click a column must not lose.
std::vector<Peak> KnownBlocks(std::size_t frames) {
  PeakBlocks peaks(1280, 2);
  std::vector<float> samples;
  for (std::size_t f = 0; f < frames; ++f) {
    const float level = static_cast<float>(f / kPeakBlockFrames) / 8;
    const bool click = f == 7 * kPeakBlockFrames + 50;
    samples.push_back(click ? 1.0f : level);
    samples.push_back(click ? 1.0f : level / 2);
  }
  peaks.Add(samples.data(), frames / 2);
  peaks.Add(samples.data() + frames / 2 * 2, frames - frames / 2);
  EXPECT_DOUBLE_EQ(peaks.BlockMs(), 100.0);
  return peaks.Blocks();
}

TEST(WavePeaks, EachColumnHoldsTheLowAndHighOfTheTimeItCovers) {
  const std::vector<Peak> blocks = KnownBlocks(10 * kPeakBlockFrames + 3);
  constexpr float k = 3 / 32.0f;  // a block's step
  ASSERT_EQ(blocks.size(), 11u);  // the last, short block counts
  EXPECT_EQ(blocks[7], (Peak{21 / 32.0f, 1}));
  struct Case {
    const char* what;
    double from, to;
    int columns;
    std::vector<Peak> expected;
  } const cases[] = {
      {"a block a column", 0, 300, 3, {{0, 0}, {k * 1, k * 1}, {k * 2, k * 2}}},
      {"zoomed in: a column inside one block", 310, 350, 2, {{k * 3, k * 3}, {k * 3, k * 3}}},
      {"zoomed out: the click kept", 0, 1000, 2, {{0, k * 4}, {k * 5, 1}}},
      {"past the song: silence", 1000, 1400, 4, {{k * 10, k * 10}, {0, 0}, {0, 0}, {0, 0}}},
      {"no columns", 0, 1000, 0, {}},
      {"an empty span", 500, 500, 1, {{0, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ColumnPeaks(blocks, 100.0, c.from, c.to, c.columns), c.expected);
  }
}

TEST(WavePeaks, SpanFollowsTheLineAndTheWheel) {
  struct Case {
    const char* what;
    double centre, span, song;
    StripSpan expected;
  } const spans[] = {
      {"centred on the line", 30000, 10000, 60000, {25000, 35000}},
      {"near the start", 2000, 10000, 60000, {0, 10000}},
      {"near the end", 59000, 10000, 60000, {50000, 60000}},
      {"a short song shows whole", 1000, 10000, 4000, {0, 10000}},
  };
  for (const Case& c : spans) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(SpanAround(c.centre, c.span, c.song), c.expected);
  }
  EXPECT_DOUBLE_EQ(ZoomedSpan(10000, 1, 60000), 5000);
  EXPECT_DOUBLE_EQ(ZoomedSpan(10000, 3, 60000), 2000);  // never closer than 2 s
  EXPECT_DOUBLE_EQ(ZoomedSpan(10000, -2, 60000), 40000);
  EXPECT_DOUBLE_EQ(ZoomedSpan(40000, -1, 60000), 60000);  // never past the song
  EXPECT_EQ(NearestLine({1000, -1, 3000, 7000}, 4900), 2);
  EXPECT_EQ(NearestLine({1000, -1, 3000, 7000}, 5100), 3);
  EXPECT_EQ(NearestLine({-1, -1}, 0), -1);
}

}  // namespace
}  // namespace velomar
