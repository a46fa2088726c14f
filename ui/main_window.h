// The player's main window as the other windows and playback reach it: its
// handle and its controls' ids (its procedure lives with the forms).
#pragma once

#include <windows.h>

#include <string>

namespace velomar {

constexpr char kMainClass[] = "NORMAL0";

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
};

extern HWND MainWindow;
extern std::string VersionText;

// 1 exactly while the Mini form is open: lyric phrases then go to its label
// instead of the lyric line.
extern int MiniModeActive;

}  // namespace velomar
