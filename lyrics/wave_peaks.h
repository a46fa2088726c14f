// The waveform under the lyric editor: the song's sound as one low and high
// pair per pixel column, and the span of the song the strip shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velomar {

struct Peak {
  float low = 0.0f;
  float high = 0.0f;
  bool operator==(const Peak& other) const { return low == other.low && high == other.high; }
};

// Frames a block of the kept peaks holds: about 3 ms at 44.1 kHz, finer than
// a column at the closest zoom (2 s over the editor's width), so that a
// column never falls between two blocks.
constexpr std::uint32_t kPeakBlockFrames = 128;

// The song's peaks as they are read: the low and high of the channels'
// mean over each kPeakBlockFrames frames; a last, shorter block counts too.
class PeakBlocks {
 public:
  PeakBlocks(std::uint32_t rate, std::uint32_t channels);
  // Interleaved samples, -1 to 1, of `frames` frames.
  void Add(const float* samples, std::size_t frames);
  // The blocks so far, the last one when it is still filling included.
  std::vector<Peak> Blocks() const;
  // Milliseconds of the song a block covers.
  double BlockMs() const;
  std::uint32_t rate() const { return rate_; }

 private:
  std::uint32_t rate_;
  std::uint32_t channels_;
  std::vector<Peak> blocks_;
  Peak open_;
  std::uint32_t filled_ = 0;
};

// One pair per column for the song from `fromMs` to `toMs` over `columns`
// columns: the lowest and highest block a column's time touches, so that a
// short peak never falls between columns when zoomed out. Columns past the
// blocks read are silent (0, 0).
std::vector<Peak> ColumnPeaks(const std::vector<Peak>& blocks, double blockMs, double fromMs,
                              double toMs, int columns);

struct StripSpan {
  double fromMs = 0.0;
  double toMs = 0.0;
  bool operator==(const StripSpan& other) const {
    return fromMs == other.fromMs && toMs == other.toMs;
  }
};

// The strip shows 10 s around the selected line at first; the wheel zooms
// from 2 s to the whole song.
constexpr double kStripSpanMs = 10000.0;
constexpr double kStripLeastMs = 2000.0;

// `spanMs` of the song centred on `centreMs`, kept inside the song where the
// song is longer than the span (a song shorter than it shows whole, from 0).
StripSpan SpanAround(double centreMs, double spanMs, double songMs);
// The span after `notches` turns of the wheel (positive: closer), each
// halving or doubling it, between kStripLeastMs and the whole song.
double ZoomedSpan(double spanMs, int notches, double songMs);

// The line whose time (milliseconds; negative: not a line the strip shows)
// lies nearest to `ms`; -1 when none does.
int NearestLine(const std::vector<double>& lineMs, double ms);

}  // namespace velomar
