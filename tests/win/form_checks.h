// What every window test needs of the program's forms: opening one from the
// main window's menu, closing it by its caption, and checking its controls
// against their table.
#pragma once

#include <windows.h>

#include <cstddef>

#include "forms/main_window.h"
#include "tests/win/bench.h"
#include "ui/form_host.h"

namespace velomar::test {

// Runs a menu command of the main window and waits until the form it opens
// is on screen; `handle` is the program's handle of that form.
HWND OpenByMenu(Program& program, int command, HWND (*handle)());
inline HWND OpenKashiList(Program& program) {
  return OpenByMenu(program, main_ids::kMenuKashiList, &KashiListWindow);
}
inline HWND OpenKashi(Program& program) {
  return OpenByMenu(program, main_ids::kMenuKashi, &KashiWindow);
}
inline HWND OpenMini(Program& program) {
  return OpenByMenu(program, main_ids::kMenuMini, &MiniWindow);
}
inline HWND OpenVersion(Program& program) {
  return OpenByMenu(program, main_ids::kMenuVersion, &VersionWindow);
}
inline HWND OpenEditor(Program& program) {
  return OpenByMenu(program, main_ids::kMenuKashiEdit, &KashiEditWindow);
}

// A key as the keyboard sends it to the window with the focus; a held key
// repeats with bit 30 set. With `control`, Ctrl is down meanwhile in the
// program's keyboard state, which is where GetKeyState reads it.
void Key(Program& program, HWND window, WPARAM key, bool repeat = false, bool control = false);
// Selects line `index` of the lyric editor's list.
void SelectLine(Program& program, HWND editor, int index);

// Opens the lyric list, picks `path` in its open dialog and presses OK;
// returns the list window, gone once the load is done.
HWND LoadInList(Program& program, const std::string& path);

// The caption's close box: WM_CLOSE, then the form is gone.
void CloseByCaption(Program& program, HWND form);

// Moves the main window to (x, y), size and z-order kept; returns where it
// stands then.
RECT MoveMain(Program& program, int x, int y);
// The form's outer rectangle starts at (left, top) with its own size.
void ExpectPlaced(HWND form, int left, int top, int width, int height);

struct ControlRow {
  int id;
  const char* className;
  const char* text;
  LONG exStyle;  // of WS_EX_STATICEDGE and WS_EX_CLIENTEDGE
  LONG style;    // besides WS_CHILD: visibility, scroll bars and the control's own bits
  int x, y, w, h;
};

// The window's children, in creation order, are exactly `rows`: ids, classes,
// texts, edges, styles (never WS_TABSTOP or WS_GROUP), client positions and
// font. `addedBits` are window styles a control may add on its own (edit
// controls draw their edge with WS_BORDER).
void ExpectControls(HWND window, const ControlRow* rows, size_t count, HFONT font,
                    LONG addedBits = 0);
template <size_t N>
void ExpectControls(HWND window, const ControlRow (&rows)[N], HFONT font, LONG addedBits = 0) {
  ExpectControls(window, rows, N, font, addedBits);
}

}  // namespace velomar::test
