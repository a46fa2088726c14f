// The main window's controls and its menu, by id: what the player's tools
// and the tests reach it by.
#pragma once

#include <windows.h>

#include "playback/playback_rules.h"

namespace velomar {

namespace main_ids {

enum MainControl : int {
  kPlayButton = 1000,
  kStopButton = 1001,
  kPathLine = 1002,
  kBrowseButton = 1003,
  kFileNameCaption = 1004,
  kFileNameLabel = 1005,
  kStatusCaption = 1006,
  kStatusLabel = 1007,
  kLoopToggle = 1008,
  kPathCaption = 1009,
  kLyricsToggle = 1010,
  kLyricLine = 1011,
  kPauseButton = 1012,
  // Made only while the lyrics hold a translation: the line's first row.
  kRowLine = 1013,
};

enum MainMenu : int {
  kMenuKashiList = 1018,
  kMenuKashi = 1019,
  kMenuReset = 1020,
  kMenuMini = 1021,
  kMenuVersion = 1022,
  kMenuKashiEdit = 1023,
  kMenuOverlay = 1024,
  kMenuOverlayUnlock = 1025,
  kMenuPressOffset = 1026,
  kMenuSpeedFull = 1027,
  kMenuSpeedThreeQuarters = 1028,
  kMenuSpeedHalf = 1029,
};

}  // namespace main_ids

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The items of 設定, filled into the menu the shell owns.
void FillSettingsMenu(HMENU menu);
// 再生速度 as the player tells it: the speed checked, the slower ones
// greyed while they are not allowed.
void ShowSpeedMenu(SongSpeed speed, bool slowerAllowed);

}  // namespace velomar
