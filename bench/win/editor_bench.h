// The lyric editor with the waveform of a long song: how soon the strip has
// the whole song, how the editor answers meanwhile, and what it costs in
// memory.
#pragma once

#include <string>

#include "tests/win/bench.h"

// `song` is a five-minute mp3 (a Windows path); without one the rows are
// left out, with a note saying so.
void EditorWaveFigures(velomar::test::Program& program, const std::string& song);
