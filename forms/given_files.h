// Files handed to the program rather than chosen in its dialogs: on the
// command line ("velomar.exe SONG [LYRICS]", also what Explorer's "Open
// with" runs) and dropped on the main window.
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <string>
#include <vector>

namespace velomar {

// Opens the first song among `files` as the song dialog would and loads the
// first lyric file (".tolvenkari", ".lrc") as the KashiList form would,
// without the form; with none given, the lyrics beside the song. A failure
// shows the box the dialogs' road shows, a lyric file that cannot be opened
// a box naming it, and the files not taken one box naming them.
void OpenGivenFiles(const std::vector<std::wstring>& files);

// WM_DROPFILES on the main window: the dropped files as given files, unless
// a form has disabled the main window.
void OnDropFiles(HDROP drop);

}  // namespace velomar
