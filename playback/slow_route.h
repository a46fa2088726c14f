// The slowed songs' side of the player (slow_route.cpp), for playback.cpp:
// which path a play takes, and the program's own path while it plays.
#pragma once

namespace velomar {

// True when a play now goes through the program's own path: a slower speed
// is chosen and the open song is not a MIDI song.
bool SlowWanted();
// Plays the open song from `ms` through it; false, with nothing playing,
// when the song cannot be read as samples or the sound does not open.
bool StartSlow(double ms);
void PauseSlow();
void StopSlow();
// Playing or paused through it.
bool SlowActive();
double SlowMs();
// Back to Full, as a song that cannot be slowed leaves it.
void UseFullSpeed();
// A song opened: a MIDI song plays at Full and allows no other.
void NoteSongOpened(bool midi);

// In playback.cpp: goes on from `ms` of the song through the path the speed
// now asks for, the clock going on from there.
void ContinueSongAt(double ms);

}  // namespace velomar
