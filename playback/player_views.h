// The windows that show what the player does. The player names no window's
// controls: it tells every window that follows it what changed, and each
// draws itself; the switches it reads belong to the window that holds them.
#pragma once

#include <functional>
#include <string>

#include "playback/playback_rules.h"

namespace velomar {

// What a window may follow; it takes only what it shows.
class PlayerView {
 public:
  virtual ~PlayerView() = default;
  // Entry `entry` of Lyrics.Table() falls due: its phrase shows.
  virtual void ShowLine(int /*entry*/) {}
  // The lyric line empties: a song opened, Play, Stop, the loop's restart.
  virtual void ClearLine() {}
  // The clock, at every tick.
  virtual void ShowTicks(double /*ticks*/) {}
  // Whether the song plays: Play, the loop's restart (true); Pause, Stop,
  // the song's end (false).
  virtual void ShowPlaying(bool /*playing*/) {}
  // What a command or the song's end leaves usable.
  virtual void ShowButtons(const ButtonStates& /*states*/) {}
  // A song being opened, in UTF-8: its path as soon as it is chosen, its
  // title once it has opened.
  virtual void ShowPath(const std::string& /*path*/) {}
  virtual void ShowTitle(const std::string& /*title*/) {}
  // The speed songs play at, and whether the open song may play slower (a
  // MIDI song may not).
  virtual void ShowSpeed(SongSpeed /*speed*/, bool /*slowerAllowed*/) {}
};

// A window follows from its creation to its destruction; several may, each
// told in the order it began to follow.
void FollowPlayer(PlayerView& view);
void UnfollowPlayer(PlayerView& view);

// "歌詞を表示" and "ループ再生", read when the player needs them; without a
// window to ask (none given, or nullptr), both are off.
struct PlayerSwitches {
  bool (*lyricsOn)() = nullptr;
  bool (*loopOn)() = nullptr;
};
void UsePlayerSwitches(const PlayerSwitches& switches);
bool LyricsOn();
bool LoopOn();

// The player's side: `tell` is given every view in turn. A view may stop
// following while it is told.
void TellViews(const std::function<void(PlayerView&)>& tell);

}  // namespace velomar
