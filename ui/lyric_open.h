// Loading a lyric file the user chose, by its real path: a ".tolvenkari"
// file as the KashiList form always has, an LRC file through the LRC
// conversion the velomar-lyrics tool shares.
#pragma once

#include <windows.h>

#include <string>

#include "lyrics/lyric_file.h"

namespace velomar {

// Loads `path` into the lyric table, running `progress` after each of the
// 3001 entries. An LRC file from-lrc would refuse is named in an error box
// owned by `owner`, with the line and the reason; the table is then left as
// it was and the result is false.
bool LoadLyricPath(HWND owner, const std::wstring& path, const LoadProgress& progress);

}  // namespace velomar
