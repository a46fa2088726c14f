// Loading a lyric file the user chose, by its real path: a ".tolvenkari"
// file as the KashiList form always has, an LRC file through the LRC
// conversion the velomar-lyrics tool shares.
#pragma once

#include <windows.h>

#include <string>

#include "lyrics/lrc_convert.h"

namespace velomar {

// Loads `path` as the lyrics' new document, running `progress` on the table
// being read after each of the 3001 entries. A lyric file that cannot be
// opened leaves the lyrics as they were. An LRC file from-lrc would refuse
// is named in an error box owned by `owner`, with the line and the reason;
// the lyrics are then left as they were and the result is false.
bool LoadLyricPath(HWND owner, const std::wstring& path, const TableProgress& progress);

// A lyric file the user gave without the KashiList form (a drop, the
// command line, the file beside a song): the question about unsaved adds,
// then the load as the form would do it, except that a file that cannot be
// opened is named in an error box rather than read as empty. True when it
// was loaded.
bool LoadGivenLyricPath(HWND owner, const std::wstring& path);

// The lyrics a song brings: "<song name>.lrc", else "<song name>.tolvenkari"
// in the song's folder (the name without the song's extension, any case),
// loaded as a given file; with neither, nothing changes.
void LoadLyricsBeside(HWND owner, const std::wstring& song);

}  // namespace velomar
