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

// Opens the songs among `files` as the song dialog would and loads the lyric
// files (".tolvenkari", ".lrc") as the KashiList form would, without the
// form; a failure shows the box the dialogs' road shows.
void OpenGivenFiles(const std::vector<std::wstring>& files);

// WM_DROPFILES on the main window: the dropped files as given files, unless
// a form has disabled the main window.
void OnDropFiles(HDROP drop);

}  // namespace velomar
