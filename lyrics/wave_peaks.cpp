#include "lyrics/wave_peaks.h"

#include <algorithm>
#include <cmath>

namespace velomar {

PeakBlocks::PeakBlocks(std::uint32_t rate, std::uint32_t channels)
    : rate_(rate == 0 ? 1 : rate), channels_(channels == 0 ? 1 : channels) {}

void PeakBlocks::Add(const float* samples, std::size_t frames) {
  for (std::size_t f = 0; f < frames; ++f) {
    float sum = 0.0f;
    for (std::uint32_t c = 0; c < channels_; ++c) sum += samples[f * channels_ + c];
    const float mean = sum / static_cast<float>(channels_);
    if (filled_ == 0) {
      open_ = {mean, mean};
    } else {
      open_.low = std::min(open_.low, mean);
      open_.high = std::max(open_.high, mean);
    }
    if (++filled_ == kPeakBlockFrames) {
      blocks_.push_back(open_);
      filled_ = 0;
    }
  }
}

std::vector<Peak> PeakBlocks::Blocks() const {
  std::vector<Peak> all = blocks_;
  if (filled_ > 0) all.push_back(open_);
  return all;
}

double PeakBlocks::BlockMs() const { return 1000.0 * kPeakBlockFrames / rate_; }

std::vector<Peak> ColumnPeaks(const std::vector<Peak>& blocks, double blockMs, double fromMs,
                              double toMs, int columns) {
  std::vector<Peak> out(columns > 0 ? static_cast<std::size_t>(columns) : 0);
  if (out.empty() || blockMs <= 0 || toMs <= fromMs) return out;
  const double msPerColumn = (toMs - fromMs) / columns;
  const double count = static_cast<double>(blocks.size());
  for (int c = 0; c < columns; ++c) {
    const double start = (fromMs + c * msPerColumn) / blockMs;
    const double end = (fromMs + (c + 1) * msPerColumn) / blockMs;
    // The blocks the column's time touches: at least the one it starts in.
    const double first = std::max(0.0, std::floor(start));
    const double last = std::min(count, std::max(first + 1, std::ceil(end)));
    if (first >= last) continue;
    Peak peak = blocks[static_cast<std::size_t>(first)];
    for (auto b = static_cast<std::size_t>(first) + 1; b < static_cast<std::size_t>(last); ++b) {
      peak.low = std::min(peak.low, blocks[b].low);
      peak.high = std::max(peak.high, blocks[b].high);
    }
    out[static_cast<std::size_t>(c)] = peak;
  }
  return out;
}

StripSpan SpanAround(double centreMs, double spanMs, double songMs) {
  if (songMs <= spanMs) return {0.0, std::max(songMs, spanMs)};
  const double from = std::clamp(centreMs - spanMs / 2, 0.0, songMs - spanMs);
  return {from, from + spanMs};
}

double ZoomedSpan(double spanMs, int notches, double songMs) {
  const double most = std::max(songMs, kStripLeastMs);
  return std::clamp(spanMs * std::pow(2.0, -notches), kStripLeastMs, most);
}

int NearestLine(const std::vector<double>& lineMs, double ms) {
  int best = -1;
  for (std::size_t i = 0; i < lineMs.size(); ++i) {
    if (lineMs[i] < 0) continue;
    if (best < 0 || std::abs(lineMs[i] - ms) < std::abs(lineMs[best] - ms)) {
      best = static_cast<int>(i);
    }
  }
  return best;
}

}  // namespace velomar
