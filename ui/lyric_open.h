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

}  // namespace velomar
