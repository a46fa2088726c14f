// The process-wide lyric table that every lyric feature works on, and the
// questions asked before adds that were never saved would be lost.
#pragma once

#include <windows.h>

#include "lyrics/lyric_table.h"

namespace velomar {

extern LyricTable Lyrics;

// True when no unsaved adds would be lost, or the user, asked in a box
// owned by `owner`, lets the program end anyway.
bool MayLoseUnsavedAdds(HWND owner);

// True unless the open Kashi form holds unsaved adds and the user, asked in
// a box owned by `owner`, keeps them rather than load a lyric file.
bool MayReplaceUnsavedAdds(HWND owner);

}  // namespace velomar
