// The lyrics every lyric feature works on, the views that follow each of
// their changes, and the questions asked before unsaved work would be lost.
#pragma once

#include <windows.h>

#include "lyrics/lyric_document.h"

namespace velomar {

extern LyricDocument Lyrics;

// A window's view of the lyrics, brought up to date after every change of
// the document, wherever the change came from.
using LyricsView = void (*)();
void FollowLyrics(LyricsView view);
void UnfollowLyrics(LyricsView view);

// Unsaved lyrics with any line in them: what a load, the reset or the last
// close would lose (lyrics emptied by the reset hold nothing to lose).
bool LyricsUnsaved();

// True when nothing unsaved would be lost, or the user, asked in a box
// owned by `owner`, lets the program end anyway.
bool MayLoseUnsavedAdds(HWND owner);

// True when nothing unsaved would be lost, or the user, asked in a box
// owned by `owner`, lets a lyric file replace it.
bool MayReplaceUnsavedAdds(HWND owner);

// WM_QUERYENDSESSION for `window`: with unsaved lyrics a sign-out or
// shutdown is refused, with the reason Windows shows beside the program,
// and the window comes back from the taskbar for the user to save; with
// nothing to lose it is allowed. Returns the message's answer.
LRESULT AnswerEndSession(HWND window);

}  // namespace velomar
