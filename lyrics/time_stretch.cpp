#include "lyrics/time_stretch.h"

#include <algorithm>
#include <cmath>

namespace velomar {

namespace {

constexpr double kPi = 3.14159265358979323846;

// How well `count` frames of `candidate` continue `wanted`, every `stride`
// frames: their correlation, over the candidate's own loudness so that a
// louder stretch is not taken for a closer one.
double Likeness(const float* wanted, const float* candidate, int count, int stride) {
  double dot = 0, energy = 1e-9;
  for (int j = 0; j < count; j += stride) {
    dot += static_cast<double>(wanted[j]) * candidate[j];
    energy += static_cast<double>(candidate[j]) * candidate[j];
  }
  return dot / std::sqrt(energy);
}

}  // namespace

TimeStretch::TimeStretch(int channels, std::uint32_t rate, double speed)
    : channels_(std::max(1, channels)), speed_(std::min(1.0, std::max(0.1, speed))) {
  window_ = std::max(16, static_cast<int>(rate * 0.030)) & ~1;
  hop_ = window_ / 2;
  reach_ = std::max(1, static_cast<int>(rate * 0.010));
  coarse_ = std::max(1, static_cast<int>(rate / 11025));
  // A periodic Hann window: two of them half a window apart sum to one.
  shape_.resize(static_cast<std::size_t>(window_));
  for (int j = 0; j < window_; ++j)
    shape_[j] = static_cast<float>(0.5 - 0.5 * std::cos(2 * kPi * j / window_));
  sum_.assign(static_cast<std::size_t>(window_) * channels_, 0.0f);
}

void TimeStretch::Push(const float* frames, std::size_t count) {
  if (finished_) return;
  pushed_ += static_cast<std::int64_t>(count);
  if (speed_ >= 1.0) {
    Emit(frames, count);
    return;
  }
  input_.insert(input_.end(), frames, frames + count * channels_);
  while (StepReady()) Step();
  DropOldInput();
}

void TimeStretch::Finish() {
  if (finished_) return;
  finished_ = true;
  target_ = speed_ >= 1.0 ? pushed_ : std::llround(pushed_ / speed_);
  // Past the end the source reads as silence, so every step can be made.
  while (speed_ < 1.0 && emitted_ < target_) Step();
  input_.clear();
}

std::size_t TimeStretch::Pull(float* out, std::size_t most) {
  const std::size_t frames = std::min(most, Available());
  const std::size_t values = frames * channels_;
  std::copy(ready_.begin() + readAt_, ready_.begin() + readAt_ + values, out);
  readAt_ += values;
  // What was pulled is let go once it is a good part of what is held.
  if (readAt_ == ready_.size() || readAt_ > (std::size_t{1} << 16)) {
    ready_.erase(ready_.begin(), ready_.begin() + readAt_);
    readAt_ = 0;
  }
  return frames;
}

bool TimeStretch::StepReady() const {
  const std::int64_t centre = std::llround(steps_ * hop_ * speed_);
  const std::int64_t needed = std::max(centre + reach_, last_ + hop_) + window_;
  return needed <= pushed_;
}

void TimeStretch::Step() {
  const std::int64_t centre = std::llround(steps_ * hop_ * speed_);
  const std::int64_t start = steps_ == 0 ? 0 : BestStart(centre);
  for (int j = 0; j < window_; ++j) {
    for (int c = 0; c < channels_; ++c) sum_[j * channels_ + c] += shape_[j] * At(start + j, c);
  }
  Emit(sum_.data(), static_cast<std::size_t>(hop_));
  std::copy(sum_.begin() + hop_ * channels_, sum_.end(), sum_.begin());
  std::fill(sum_.end() - hop_ * channels_, sum_.end(), 0.0f);
  last_ = start;
  ++steps_;
}

// The start near `centre` whose first half window best matches what follows
// the last window in the source: a rough search every few frames, then every
// frame around the best of it.
std::int64_t TimeStretch::BestStart(std::int64_t centre) const {
  const std::int64_t natural = last_ + hop_;
  const std::int64_t low = std::max<std::int64_t>(0, centre - reach_);
  const std::int64_t high = centre + reach_;
  const std::int64_t from = std::min(low, natural);
  std::vector<float> mono(static_cast<std::size_t>(std::max(high, natural) + hop_ - from));
  for (std::size_t i = 0; i < mono.size(); ++i)
    mono[i] = static_cast<float>(Mono(from + static_cast<std::int64_t>(i)));
  const float* wanted = mono.data() + (natural - from);
  std::int64_t best = low;
  double bestScore = -1e300;
  auto consider = [&](std::int64_t start, int stride) {
    const double score = Likeness(wanted, mono.data() + (start - from), hop_, stride);
    if (score > bestScore) {
      bestScore = score;
      best = start;
    }
  };
  for (std::int64_t start = low; start <= high; start += coarse_) consider(start, coarse_);
  const std::int64_t rough = best;
  for (std::int64_t start = std::max(low, rough - 2 * coarse_);
       start <= std::min(high, rough + 2 * coarse_); ++start) {
    consider(start, 1);
  }
  return best;
}

double TimeStretch::Mono(std::int64_t frame) const {
  double sum = 0;
  for (int c = 0; c < channels_; ++c) sum += At(frame, c);
  return sum;
}

float TimeStretch::At(std::int64_t frame, int channel) const {
  const std::int64_t i = (frame - inputStart_) * channels_ + channel;
  return frame < inputStart_ || i >= static_cast<std::int64_t>(input_.size()) ? 0.0f : input_[i];
}

void TimeStretch::Emit(const float* frames, std::size_t count) {
  if (finished_)
    count = static_cast<std::size_t>(std::min<std::int64_t>(count, target_ - emitted_));
  ready_.insert(ready_.end(), frames, frames + count * channels_);
  emitted_ += static_cast<std::int64_t>(count);
}

// Input no later window can reach is let go, a stretch at a time.
void TimeStretch::DropOldInput() {
  const std::int64_t centre = std::llround(steps_ * hop_ * speed_);
  const std::int64_t keep = std::min(centre - reach_, last_ + hop_);
  if (keep - inputStart_ < 4 * window_) return;
  input_.erase(input_.begin(), input_.begin() + (keep - inputStart_) * channels_);
  inputStart_ = keep;
}

}  // namespace velomar
