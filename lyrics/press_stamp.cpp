#include "lyrics/press_stamp.h"

#include <algorithm>
#include <cmath>

namespace velomar {

PressStamp StampPress(double playTicks, bool clockRunning, double keyMs, std::int32_t offsetMs) {
  double ms = std::isnan(playTicks) ? 0.0 : playTicks * 100.0;
  if (clockRunning && !std::isnan(keyMs)) ms = std::max(ms, keyMs);
  ms -= offsetMs;
  // Kept within range before converting: casting an out-of-range double is
  // undefined.
  ms = std::min(std::max(ms, 0.0), static_cast<double>(kLatestStampMs));
  PressStamp stamp;
  stamp.ms = static_cast<std::int64_t>(ms);
  stamp.tick = static_cast<std::int32_t>(stamp.ms / 100);
  stamp.hundredths = static_cast<std::int8_t>(stamp.ms / 10 % 10);
  return stamp;
}

}  // namespace velomar
