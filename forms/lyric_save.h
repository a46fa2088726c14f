// What every save of a lyric file from a form goes through: the user's
// confirmation, the save with its progress at screen pace, and a failure box
// that names the file, so that no failed save passes for a kept one.
#pragma once

#include <windows.h>

#include <string>

namespace velomar {

// Asks (a Yes/No box owned by `owner`), then saves entries 0..count-1 under
// the typed name beside the program, showing each line in the label
// `progressId` of `owner` (0: none). True when the file was saved.
bool AskAndSaveLyrics(HWND owner, const std::string& typedName, int count, int progressId);

// The save dialog (beside the open song as "<song name>.lrc", with no song
// beside the program with the typed name), then entries 0..count-1 there
// through the LRC writer of velomar-lyrics (UTF-8). A line LRC cannot
// carry, or a failed write, is named in a failure box.
bool AskAndSaveLrc(HWND owner, const std::string& typedName, int count);

}  // namespace velomar
