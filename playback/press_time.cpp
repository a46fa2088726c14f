#include "playback/press_time.h"

#include <windows.h>

#include <cmath>

#include "lyrics/timing_settings.h"
#include "playback/playback.h"
#include "system/app_data.h"

namespace velomar {

double MessageWaitMs() {
  // In DWORD arithmetic: the tick count's wrap does no harm.
  const DWORD waited = GetTickCount() - static_cast<DWORD>(GetMessageTime());
  // A wait beyond any a press could have is no reading: now stands for the
  // key.
  return waited < 60000 ? static_cast<double>(waited) : 0.0;
}

// The wait and the user's offset are real time: a slowed song moves on less
// meanwhile.
double KeyMilliseconds() { return ClockMilliseconds() - MessageWaitMs() * ClockRate(); }

PressStamp StampThisPress() {
  const auto offset = static_cast<std::int32_t>(std::lround(PressOffset() * ClockRate()));
  return StampPress(Playback.PlayTicks, Playback.ClockRunning, KeyMilliseconds(), offset);
}

std::int32_t PressOffset() { return ParseTimingSettings(ReadSettingsFile(kTimingSettingsFile)); }

bool KeepPressOffset(std::int32_t ms) {
  return WriteSettingsFile(kTimingSettingsFile, FormatTimingSettings(ms));
}

}  // namespace velomar
