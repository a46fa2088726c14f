// The desktop lyrics: a borderless window over every other that shows the
// line of the moment large, with its first translation row and a karaoke
// fill, and lets the clicks through to the desktop while it is locked.
#pragma once

#include <windows.h>

namespace velomar {

// The window while it shows; null otherwise.
HWND OverlayWindow();

// Ctrl+Alt+L, a hot key of the main window's while the overlay shows.
constexpr int kOverlayLockHotKey = 1;

// What the player tells it. The line is an entry of the lyrics (-1: none);
// the fill moves only while the song plays.
void ShowOverlayLine(int index);
void OverlayPlaying(bool playing);
void OverlayTick();
void OverlayLyricsChanged();

// 設定 → デスクトップ歌詞: shows it, or hides it when it shows.
void ToggleOverlay();
// 設定 → デスクトップ歌詞の固定を解除 and Ctrl+Alt+L: unlocks it (a faint
// backdrop, dragged and sized with the mouse) or locks it again.
void ToggleOverlayLock();

// At start-up: follows the player and the lyrics, and shows it again when
// it showed as the program last ended.
void RestoreOverlay();
// As the main window goes: keeps its place and that it showed, and closes it.
void CloseOverlayAtExit();

}  // namespace velomar
