// What every save of a lyric file from a form goes through: the user's
// confirmation, the save with its progress at screen pace, and a failure box
// that names the file, so that no failed save passes for a kept one.
#pragma once

#include <windows.h>

#include <string>

namespace velomar {

// Which lines of the lyrics a save writes, counted when it writes: the
// timing window's adds (entries 0..AddedCount-1) or every line.
enum class SavedLines { Added, All };

// Asks (a Yes/No box owned by `owner`), then saves the lines under the typed
// name beside the program, showing each line in the label `progressId` of
// `owner` (0: none). True when the file was saved; the lyrics then count as
// saved only when the file, read back, gives every line back, and a box
// says how many lines it holds, or which one does not come back, otherwise.
bool AskAndSaveLyrics(HWND owner, const std::string& typedName, SavedLines lines, int progressId);

// The save dialog (beside the open song as "<song name>.lrc", with no song
// beside the lyric file last chosen with its name, else beside the program
// with the typed name), then every line there through
// the LRC writer of velomar-lyrics (UTF-8). A line LRC cannot carry, or a
// failed write, is named in a failure box; what the writer warns of, one
// box. A written file that gives every line back counts the lyrics saved.
bool AskAndSaveLrc(HWND owner, const std::wstring& typedName);

// The save dialog as for LRC, offering SRT and ASS, then the lyrics there
// as subtitles (subtitle_write.h), in the format the name's extension or
// the chosen filter says. A failed write is named in a failure box; the
// lines left out, one box. The lyrics count as saved or not as before.
bool AskAndExportSubtitles(HWND owner, const std::wstring& typedName);

}  // namespace velomar
