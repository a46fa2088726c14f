// The desktop lyrics: a borderless window over every other that shows the
// line of the moment large, with its first translation row and a karaoke
// fill, and lets the clicks through to the desktop while it is locked.
#pragma once

#include <windows.h>

namespace velomar {

// The window while it shows; null otherwise.
extern HWND OverlayWindow;

// What the player tells it. The line is an entry of the lyrics (-1: none);
// the fill moves only while the song plays.
void ShowOverlayLine(int index);
void OverlayPlaying(bool playing);
void OverlayLyricsChanged();

// 設定 → デスクトップ歌詞: shows it, or hides it when it shows.
void ToggleOverlay();
// 設定 → デスクトップ歌詞の固定を解除 and Ctrl+Alt+L: unlocks it (a faint
// backdrop, dragged and sized with the mouse) or locks it again.
void ToggleOverlayLock();
// WM_HOTKEY of the main window, which holds Ctrl+Alt+L while the overlay
// shows.
void OnOverlayHotKey(int id);

// At start-up: follows the player and the lyrics, and shows it again when
// it showed as the program last ended.
void RestoreOverlay();
// As the main window goes: keeps its place and that it showed, and closes it.
void CloseOverlayAtExit();

}  // namespace velomar
