// The stamp of a timing press, to the millisecond: the later of the clock's
// ticks and, while the clock runs, its real-time reading at the moment of
// the key, less the user's press offset, never below 0.
//
// How a window uses it, at any press (the timing window's button and F5, the
// main window's F5, the editor's "now"):
//   keyMs = ClockMilliseconds() - (GetTickCount() - GetMessageTime())
// (the wait in DWORD arithmetic, so that the tick count's wrap does no
// harm): the song position the real-time clock gives, moved back by how long
// the message waited, so that a press held up behind a busy thread keeps its
// own moment. Then
//   StampPress(Playback.PlayTicks, Playback.ClockRunning, keyMs, offset)
// with the offset of timing.ini (timing_settings.h), and the stamp goes into
// the lyrics through LyricDocument::Press or LyricDocument::SetTime.
#pragma once

#include <cstdint>

#include "lyrics/lyric_file.h"

namespace velomar {

// The stamp split the way a line holds it: `tick` is where the display shows
// the line, and the line's time in hundredths is tick * 10 + hundredths, as
// LineDetail keeps an LRC's.
struct PressStamp {
  std::int64_t ms = 0;         // 0 .. kLatestStampMs
  std::int32_t tick = 0;       // ms / 100, truncated
  std::int8_t hundredths = 0;  // ms / 10 % 10: 0..9
  bool operator==(const PressStamp& o) const {
    return ms == o.ms && tick == o.tick && hundredths == o.hundredths;
  }
};

// The last millisecond of the latest time a lyric file holds.
constexpr std::int64_t kLatestStampMs = std::int64_t{kLatestTime} * 100 + 99;

// max(playTicks * 100, keyMs) - offsetMs, in whole milliseconds (the
// fraction dropped), kept within 0..kLatestStampMs. A clock that is not
// running (stopped, paused) gives its ticks only: keyMs is not looked at.
// NaN reads as 0 for playTicks and as no reading for keyMs; infinities and
// huge values end at 0 or kLatestStampMs. With the clock held to its posted
// ticks (keyMs never ahead) and no offset, k ticks stamp k * 100 exactly:
// tick k, hundredths 0.
PressStamp StampPress(double playTicks, bool clockRunning, double keyMs, std::int32_t offsetMs);

}  // namespace velomar
