// When a timing press happened on the song's clock: the moment of its key
// or click, not the moment it was handled, less the user's press offset.
#pragma once

#include <cstdint>

#include "lyrics/press_stamp.h"

namespace velomar {

// How long ago the key or click of the message being handled happened, in
// milliseconds: how long it waited behind a busy thread.
double MessageWaitMs();

// The song position at the moment of the message being handled (its key or
// click), in milliseconds of the song, without any offset; the clock's ticks alone while
// it does not run.
double KeyMilliseconds();

// The stamp of the press being handled now (press_stamp.h).
PressStamp StampThisPress();

// The press offset kept in timing.ini; 0 when it is missing or broken.
std::int32_t PressOffset();
// Writes it whole; false when it could not be written.
bool KeepPressOffset(std::int32_t ms);

}  // namespace velomar
