#include "lyrics/click_track.h"

#include <algorithm>
#include <cmath>

namespace velomar {

namespace {

constexpr std::uint32_t kRate = 44100;
constexpr std::int64_t kClickSamples = kRate * 30 / 1000;
constexpr std::int64_t kTailMs = 1000;
constexpr int kLoudest = 16000;  // about -6 dB: a click, not a blast
// Half a period of each tone's square wave, in samples.
constexpr std::int64_t kCountInHalfPeriod = 22;   // 1002 Hz
constexpr std::int64_t kMeasuredHalfPeriod = 11;  // 2004 Hz

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string WaveHeader(std::uint32_t dataBytes) {
  std::string h = "RIFF";
  PutLittleEndian(h, 36 + dataBytes, 4);
  h += "WAVEfmt ";
  PutLittleEndian(h, 16, 4);         // the format chunk's size
  PutLittleEndian(h, 1, 2);          // PCM
  PutLittleEndian(h, 1, 2);          // mono
  PutLittleEndian(h, kRate, 4);      // samples a second
  PutLittleEndian(h, kRate * 2, 4);  // bytes a second
  PutLittleEndian(h, 2, 2);          // bytes a sample
  PutLittleEndian(h, 16, 2);         // bits a sample
  h += "data";
  PutLittleEndian(h, dataBytes, 4);
  return h;
}

}  // namespace

std::vector<std::int64_t> ClickTimes() {
  std::vector<std::int64_t> times;
  for (int i = 0; i < kCountInClicks + kMeasuredClicks; ++i) {
    times.push_back((i + 1) * kClickIntervalMs);
  }
  return times;
}

std::string ClickTrackWave() {
  const std::vector<std::int64_t> clicks = ClickTimes();
  const std::int64_t samples = (clicks.back() + kTailMs) * kRate / 1000;
  std::vector<std::int16_t> sound(static_cast<std::size_t>(samples), 0);
  for (std::size_t c = 0; c < clicks.size(); ++c) {
    const std::int64_t half =
        static_cast<int>(c) < kCountInClicks ? kCountInHalfPeriod : kMeasuredHalfPeriod;
    const std::int64_t start = clicks[c] * kRate / 1000;
    for (std::int64_t n = 0; n < kClickSamples; ++n) {
      const std::int64_t strength = kLoudest * (kClickSamples - n) / kClickSamples;
      sound[static_cast<std::size_t>(start + n)] =
          static_cast<std::int16_t>(n / half % 2 == 0 ? strength : -strength);
    }
  }
  std::string wave = WaveHeader(static_cast<std::uint32_t>(samples * 2));
  for (std::int16_t s : sound) PutLittleEndian(wave, static_cast<std::uint16_t>(s), 2);
  return wave;
}

MeasuredLag MeasureLag(const std::vector<double>& pressMs) {
  const std::vector<std::int64_t> clicks = ClickTimes();
  const double half = kClickIntervalMs / 2.0;
  std::vector<double> lags;
  for (double press : pressMs) {
    for (std::size_t c = kCountInClicks; c < clicks.size(); ++c) {
      const double lag = press - static_cast<double>(clicks[c]);
      if (lag > -half && lag <= half) lags.push_back(lag);
    }
  }
  MeasuredLag result;
  result.presses = static_cast<int>(lags.size());
  result.measured = result.presses >= kFewestPressesMeasured;
  if (!result.measured) return result;
  std::sort(lags.begin(), lags.end());
  const std::size_t mid = lags.size() / 2;
  const double median = lags.size() % 2 != 0 ? lags[mid] : (lags[mid - 1] + lags[mid]) / 2;
  result.ms = static_cast<std::int32_t>(std::lround(median));
  return result;
}

}  // namespace velomar
