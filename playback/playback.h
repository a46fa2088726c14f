// The song device (MCI), the playback clock and the lyric stepping.
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <mmsystem.h>

#include <cstdint>
#include <string>

#include "playback/playback_rules.h"

namespace velomar {

struct PlaybackState {
  MCI_OPEN_PARMSA OpenParms{};
  MCIDEVICEID DeviceId = 0;
  std::string SongPath;
  // The real path of the open song; empty while none is open.
  std::wstring SongWidePath;
  PlayState State = PlayState::Idle;  // PlayState
  std::int32_t DeviceOpen = 0;
  double PlayTicks = 0.0;
  std::int32_t LyricCursor = 0;
  // While TickTimer runs: the monotonic clock's reading at the last Play or
  // loop restart, from which the ticks are counted.
  bool ClockRunning = false;
  std::int64_t ClockStart = 0;
  // Counts the plays: Play, a play from a line and the loop's restart each
  // start a new one, which the timing window's presses are ordered within.
  std::int64_t PlayId = 0;
  // The tick the last play started at: 0, or where "play from here" began.
  double PlayStart = 0.0;
  // What the last tick saw, so that the display can catch up with lyrics
  // turned on or loaded under a playing song.
  bool LyricsWereOn = false;
  std::uint32_t RevisionSeen = 0;
};

extern PlaybackState Playback;

// TickTimer: timer id 0 of the main window, every 100 ms.
constexpr UINT_PTR kTickTimer = 0;
constexpr UINT kTickPeriodMs = 100;

// Microseconds of a monotonic clock. The playback clock reads it through a
// replaceable source, so that a test can hold real time still and move the
// clock by posted ticks alone; nullptr gives the monotonic clock back.
using ClockSource = std::int64_t (*)();
std::int64_t MonotonicMicroseconds();
void UseClockSource(ClockSource source);

// The clock brought up to this moment while TickTimer runs, else the count
// it was left at: the time an add stores.
double ClockNow();
// The clock in milliseconds to this moment, read between its ticks too
// while it runs, never behind them; else where the ticks left it.
double ClockMilliseconds();

// The song dialog, then OpenSongFile with the chosen file and the lyrics
// beside it.
void OpenSong();
// Opens a song by its real path, as chosen in the dialog, given on the
// command line or dropped; SongPath holds it in ANSI, the window shows it as
// it is. True when it opened.
bool OpenSongFile(const std::wstring& path);
// A file's name as Windows shows it (its extension hidden where Explorer
// hides it), in UTF-8; "" for no path or one the lookup refuses.
std::string FileTitle(const std::wstring& path);
void PlaySong();
// Play from a tick: the song from that moment (100 ms a tick), the clock from
// that tick, the display from the first line due then; otherwise as Play.
void PlaySongFrom(double tick);
// "Play from here" on lyric line `line`: from `leadIn` ticks before it, the
// display as playing from the beginning would stand then. False, changing
// nothing, without a song or when that start is at or past the song's end.
bool PlayFromLine(int line, double leadIn);
void StopSong();
void PauseSong();
// A window's button as a command leaves it (Keep: as it is).
void EnableAs(HWND window, int id, Switch state);
void OnMciNotify(UINT code);
void OnTick(UINT_PTR timerId);
void CloseSong();

// The speed songs play at from now on; a song playing goes on from the same
// moment at the new speed. A MIDI song keeps Full.
void SetSongSpeed(SongSpeed speed);
// Song milliseconds per real millisecond while a song plays.
double ClockRate();
// What the program's own path posts to the main window when a slowed song
// has played to its end: wParam the play it ends.
constexpr UINT kSlowSongEnd = WM_APP + 1;
void OnSlowSongEnd(WPARAM play);

}  // namespace velomar
