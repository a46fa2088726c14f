// The process-wide lyric table that every lyric feature works on.
#pragma once

#include "lyrics/lyric_table.h"

namespace velomar {

extern LyricTable Lyrics;

}  // namespace velomar
