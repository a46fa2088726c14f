// Playback figures of the program under Wine: its CPU time against the bare
// MCI player playing the same song, and the regularity of its clock.
#pragma once

#include "tests/win/bench.h"

// `seconds` is the playback each CPU figure gets in all, in rounds.
void PlaybackFigures(velomar::test::Program& program, int seconds);
