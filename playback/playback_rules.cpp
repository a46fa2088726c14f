#include "playback/playback_rules.h"

#include <algorithm>
#include <cmath>

#include "lyrics/lyric_edit.h"

namespace velomar {

ButtonStates ButtonsAfter(ButtonEvent event) {
  constexpr Switch K = Switch::Keep, I = Switch::On, O = Switch::Off;
  switch (event) {
    //                                          play stop browse pause mStop mPlay
    case ButtonEvent::Start: return ButtonStates{O, O, I, O, K, K};
    case ButtonEvent::Opened: return ButtonStates{I, K, K, K, K, K};
    case ButtonEvent::Play: return ButtonStates{O, I, O, I, I, O};
    // A failed play must not leave the main window with nothing to press.
    case ButtonEvent::PlayFailed: return ButtonStates{I, O, I, O, O, I};
    case ButtonEvent::Stop: return ButtonStates{I, O, I, O, O, I};
    case ButtonEvent::Pause: return ButtonStates{I, I, I, O, K, K};
    case ButtonEvent::SongEnded: return ButtonStates{I, O, I, K, O, I};
    case ButtonEvent::LoopRestartFailed: return ButtonStates{I, O, I, K, O, I};
  }
  return ButtonStates{K, K, K, K, K, K};
}

NoticeAction DecideNotice(unsigned code, bool loopOn, PlayState state) {
  const bool interrupted = code == kNotifyAborted || code == kNotifySuperseded;
  if (!loopOn) {
    // A play cut short by a newer play: the song is still playing.
    if (interrupted && state == PlayState::Playing) return NoticeAction::Ignore;
    return NoticeAction::EndSong;
  }
  if (code == kNotifyFailure) return NoticeAction::ReportFailure;
  if (code == kNotifySuccessful) return NoticeAction::RestartSong;
  return NoticeAction::Ignore;
}

double AdvanceClock(double playTicks, std::int64_t elapsedPeriods) {
  return std::max(playTicks + 1.0, static_cast<double>(elapsedPeriods));
}

double ClockNow(double playTicks, std::int64_t elapsedPeriods) {
  return std::max(playTicks, static_cast<double>(elapsedPeriods));
}

std::int32_t FirstLineDue(const LyricTable& table, double tick) {
  if (tick <= 0) return 0;
  // Past the entry where playing from the beginning stops, nothing is shown.
  const int stop = FirstUnreached(table);
  for (int i = 0; i < stop; ++i) {
    if (table.time[i] >= tick) return i;
  }
  return kLyricEntries;
}

PlayFrom DecidePlayFrom(const LyricTable& table, int line, double leadIn, double songTicks) {
  if (line < 0 || line >= kLyricEntries) return {true, 0.0, 0, -1};
  const double start = std::max(0.0, std::floor(table.time[line] - leadIn));
  if (start >= songTicks) return {true, start, 0, -1};
  const std::int32_t cursor = FirstLineDue(table, start);
  // The entry shown last before the start: the one before the cursor, or
  // when none is due any more the last one the display reaches.
  const int reached = cursor < kLyricEntries ? cursor : FirstUnreached(table);
  return {false, start, cursor, reached - 1};
}

int StepTicks(const LyricTable& table, bool lyricsOn, bool catchUp, double playStart,
              double& playTicks, std::int32_t& cursor, double to) {
  int shown = -1;
  double value = playTicks;
  if (lyricsOn && catchUp) {
    cursor = FirstLineDue(table, playStart);
    value = playStart;
  }
  // Values between entries show nothing, so jump from entry to entry; an
  // entry whose time has passed is never equal again and stops the display.
  while (lyricsOn && cursor >= 0 && cursor < kLyricEntries && value < to) {
    const double time = table.time[cursor];
    if (time < value || time >= to) break;
    shown = cursor;
    ++cursor;
    value = time + 1.0;
  }
  playTicks = to;
  return shown;
}

}  // namespace velomar
