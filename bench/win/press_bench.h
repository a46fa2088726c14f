// How exactly the program stamps a timing press under Wine: the stamp
// against the clock at the key, for keys handled at once and 300 ms late,
// and the clock against an mp3 device's own position over a long play.
#pragma once

#include <string>

#include "tests/win/bench.h"

// `seconds` is how long the mp3 `song` (a Windows path) plays for the clock
// rows; without a song those rows are left out, with a note saying so.
void PressFigures(velomar::test::Program& program, int seconds, const std::string& song);
