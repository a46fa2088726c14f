// What the player decides, apart from carrying it out: which buttons a
// command leaves usable, what an MCI notice means, and what a clock tick
// shows. Windows-free so that every case can be checked natively.
#pragma once

#include <cstdint>

#include "lyrics/lyric_table.h"

namespace velomar {

enum class PlayState : std::int32_t { Idle = 0, Playing = 1, Stopped = 2, Paused = 3 };

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

// One tick of the clock. Compares the entry at `cursor` with the clock
// before the increment; returns the index of the entry to show, or -1.
int StepTick(const LyricTable& table, bool lyricsOn, double& playTicks, std::int32_t& cursor);

}  // namespace velomar
