// The window procedures of the forms and the keys they share; the forms
// reach the form host through the tables UseProgramForms hands it.
#pragma once

#include <windows.h>

#include <string>

#include "ui/form_host.h"

namespace velomar {

// Hands the program's forms and shared keys to the form host; at each
// start-up, before the main window is made.
void UseProgramForms();

constexpr char VersionText[] = "0.1β";

// The lyric file last chosen in the KashiList form, as shown (ANSI) and as
// Windows names it; outlives the form, empty at each start-up.
struct LyricFileChoice {
  std::string shown;
  std::wstring wide;
};
extern LyricFileChoice LyricFilePath;

LRESULT CALLBACK VersionFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK KashiFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK KashiEditFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK KashiListFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MiniFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PressOffsetFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The editor's own keys, wherever the focus is in its windows: true when
// the message was such a key and has been used.
bool KashiEditKeys(const MSG& message);
bool PressOffsetKeys(const MSG& message);

// Shared keys (see SharedKey): F5 and F6 press and take back in the timing
// window, also from the main window; F7 and F8 move every line in every
// window that shows the lyrics; Ctrl+Alt+L locks the desktop lyrics.
bool KashiPressKey(Form in, const MSG& message);
// F5 in the editor stamps the selected line's words again instead.
bool KashiEditWordKey(Form in, const MSG& message);
bool ShiftKey(Form in, const MSG& message);
bool OverlayLockKey(Form in, const MSG& message);

}  // namespace velomar
