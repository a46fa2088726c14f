// What the player decides, apart from carrying it out: which buttons a
// command leaves usable, what an MCI notice means, and what a clock tick
// shows. Windows-free so that every case can be checked natively.
#pragma once

#include <cstdint>

#include "lyrics/lyric_table.h"

namespace velomar {

enum class PlayState : std::int32_t { Idle = 0, Playing = 1, Stopped = 2, Paused = 3 };

// 設定 → 再生速度. Every start is at Full; a slower one plays the song
// through the program's own path, Full through MCI.
enum class SongSpeed : std::int8_t { Full, ThreeQuarters, Half };
constexpr double SpeedFactor(SongSpeed speed) {
  return speed == SongSpeed::Half ? 0.5 : speed == SongSpeed::ThreeQuarters ? 0.75 : 1.0;
}

// MCI notice codes (wParam of MM_MCINOTIFY).
constexpr unsigned kNotifySuccessful = 1;
constexpr unsigned kNotifySuperseded = 2;
constexpr unsigned kNotifyAborted = 4;
constexpr unsigned kNotifyFailure = 8;

enum class Switch : std::int8_t { Keep, On, Off };

struct ButtonStates {
  Switch play, stop, browse, pause;  // main window
  Switch miniStop, miniPlay;         // Mini form, while it is open
};

enum class ButtonEvent {
  Start,
  Opened,
  Play,
  PlayFailed,
  Stop,
  Pause,
  SongEnded,          // a notice with looping off
  LoopRestartFailed,  // the song could not be started again
};

ButtonStates ButtonsAfter(ButtonEvent event);

enum class NoticeAction {
  Ignore,         // nothing changes
  EndSong,        // stopped state, clock killed
  RestartSong,    // play again from the beginning
  ReportFailure,  // error box only
};

NoticeAction DecideNotice(unsigned code, bool loopOn, PlayState state);

// The clock at a timer message: whole 100 ms periods since Play, read from a
// monotonic clock, and never less than one more than before, so that late or
// merged timer messages are made up and a tick that comes early still counts.
double AdvanceClock(double playTicks, std::int64_t elapsedPeriods);
// The clock brought up to the moment, without the tick's own count.
double ClockNow(double playTicks, std::int64_t elapsedPeriods);

// The entry the display starts from when the song starts at `tick`: entry 0
// from the beginning, else the first one due at or after that tick among
// those that playing from the beginning reaches (kLyricEntries: none).
std::int32_t FirstLineDue(const LyricTable& table, double tick);

// "Play from line i": the song, the clock and the display start `leadIn`
// ticks before the line (not before 0), the display as playing from the
// beginning would stand at that tick.
struct PlayFrom {
  bool refused;  // the start is at or past the song's end: nothing changes
  double start;
  std::int32_t cursor;  // the entry the display steps to next
  int shown;            // the entry on show at the start, -1: none
};
PlayFrom DecidePlayFrom(const LyricTable& table, int line, double leadIn, double songTicks);

// Moves the clock from `playTicks` to `to`, stepping the display once for
// every tick value passed, in order: the entry at `cursor` is shown when its
// time equals the value, at most one entry per value. With `catchUp` the
// cursor first goes back to where the play started (`playStart`) and the
// values since then are stepped too, as if the lyrics had been shown all
// along. Returns the index of the last entry stepped, or -1.
int StepTicks(const LyricTable& table, bool lyricsOn, bool catchUp, double playStart,
              double& playTicks, std::int32_t& cursor, double to);

}  // namespace velomar
